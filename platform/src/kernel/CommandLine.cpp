// The process's command line as one text, and its splitting by the Windows
// rules: argument 0 ends at the closing quote or the first blank; in other
// arguments 2n backslashes before a quote give n backslashes and a quote
// that toggles quoting, 2n+1 give n backslashes and a literal quote, and
// inside quotes a doubled quote gives one literal quote and ends quoting.
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "kernel/Text.h"
#include "win32/Errors.h"
#include "win32/Files.h"
#include "win32/Processes.h"

namespace pk = platform::kernel;

namespace {

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

// Quotes one argument so that the rules above give it back unchanged.
std::wstring Quote(const std::wstring& arg) {
  if (!arg.empty() && arg.find_first_of(L" \t\"") == std::wstring::npos) return arg;
  std::wstring out = L"\"";
  size_t backslashes = 0;
  for (wchar_t c : arg) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    if (c == L'"') out.append(backslashes * 2 + 1, L'\\');
    else out.append(backslashes, L'\\');
    backslashes = 0;
    out.push_back(c);
  }
  out.append(backslashes * 2, L'\\');
  out.push_back(L'"');
  return out;
}

std::wstring BuildCommandLine() {
  std::ifstream file("/proc/self/cmdline", std::ios::binary);
  std::string raw((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  std::vector<std::wstring> args;
  for (size_t start = 0; start < raw.size();) {
    size_t end = raw.find('\0', start);
    if (end == std::string::npos) end = raw.size();
    args.push_back(pk::FromNative(raw.substr(start, end - start)));
    start = end + 1;
  }
  std::wstring line;
  for (size_t i = 0; i < args.size(); ++i) {
    if (i) line.push_back(L' ');
    // The program name cannot carry escapes; it is only quoted.
    line += i == 0 ? (args[0].find_first_of(L" \t") == std::wstring::npos ? args[0] : L"\"" + args[0] + L"\"")
                   : Quote(args[i]);
  }
  return line;
}

}  // namespace

LPWSTR WINAPI GetCommandLineW() {
  static std::wstring line = BuildCommandLine();
  return line.data();
}

LPWSTR* WINAPI CommandLineToArgvW(LPCWSTR lpCmdLine, int* pNumArgs) {
  if (!pNumArgs) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  std::vector<std::wstring> args;
  if (!lpCmdLine || !*lpCmdLine) {
    // An empty line stands for the program alone.
    wchar_t path[4096];
    DWORD n = GetModuleFileNameW(nullptr, path, 4096);
    args.emplace_back(path, n < 4096 ? n : 0);
  } else {
    const wchar_t* p = lpCmdLine;
    std::wstring arg;
    if (*p == L'"') {
      for (++p; *p && *p != L'"'; ++p) arg.push_back(*p);
      if (*p) ++p;
    } else {
      for (; *p && !IsBlank(*p); ++p) arg.push_back(*p);
    }
    args.push_back(arg);
    while (IsBlank(*p)) ++p;
    while (*p) {
      arg.clear();
      bool quoted = false;
      while (*p && (quoted || !IsBlank(*p))) {
        if (*p == L'\\') {
          size_t count = 0;
          while (*p == L'\\') ++count, ++p;
          if (*p == L'"') {
            arg.append(count / 2, L'\\');
            if (count % 2) {
              arg.push_back(L'"');
              ++p;
            }
          } else {
            arg.append(count, L'\\');
          }
        } else if (*p == L'"') {
          if (quoted && p[1] == L'"') {
            arg.push_back(L'"');
            p += 2;
            quoted = false;
          } else {
            quoted = !quoted;
            ++p;
          }
        } else {
          arg.push_back(*p++);
        }
      }
      args.push_back(arg);
      while (IsBlank(*p)) ++p;
    }
  }

  // One block: the pointer table, then the texts; LocalFree releases it.
  size_t bytes = (args.size() + 1) * sizeof(LPWSTR);
  for (const auto& a : args) bytes += (a.size() + 1) * sizeof(wchar_t);
  auto* block = static_cast<char*>(malloc(bytes));
  if (!block) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  auto** table = reinterpret_cast<LPWSTR*>(block);
  auto* text = reinterpret_cast<wchar_t*>(block + (args.size() + 1) * sizeof(LPWSTR));
  for (size_t i = 0; i < args.size(); ++i) {
    table[i] = text;
    wmemcpy(text, args[i].c_str(), args[i].size() + 1);
    text += args[i].size() + 1;
  }
  table[args.size()] = nullptr;
  *pNumArgs = static_cast<int>(args.size());
  return table;
}

HLOCAL WINAPI LocalFree(HLOCAL hMem) {
  free(hMem);
  return nullptr;
}
