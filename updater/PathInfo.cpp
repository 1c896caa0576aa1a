#include "PathInfo.h"

#include "FileSystem.h"

namespace {

struct StreamFunctions {
  FindFirstStreamW_t findFirst = nullptr;
  FindNextStreamW_t findNext = nullptr;
};

const StreamFunctions& Streams() {
  static const StreamFunctions functions = [] {
    StreamFunctions f;
    if (HMODULE kernel = GetModuleHandleW(L"kernel32.dll")) {
      f.findFirst = reinterpret_cast<FindFirstStreamW_t>(reinterpret_cast<void (*)()>(GetProcAddress(kernel, "FindFirstStreamW")));
      f.findNext = reinterpret_cast<FindNextStreamW_t>(reinterpret_cast<void (*)()>(GetProcAddress(kernel, "FindNextStreamW")));
    }
    if (!f.findFirst || !f.findNext) f = {};
    return f;
  }();
  return functions;
}

bool IsLetter(WCHAR c) { return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z'); }

WCHAR FoldCase(WCHAR c) {
  if (c >= L'a' && c <= L'z') return c - (L'a' - L'A');
  if (c >= 128) {
    WCHAR text[2] = {c, 0};
    CharUpperW(text);
    return text[0];
  }
  return c;
}

bool EqualNoCase(const std::wstring& a, const WCHAR* b) {
  size_t i = 0;
  for (; i < a.size() && b[i]; ++i)
    if (FoldCase(a[i]) != FoldCase(b[i])) return false;
  return i == a.size() && !b[i];
}

bool EndsWithDataSuffix(const std::wstring& name) {
  static const wchar_t suffix[] = L":$DATA";
  if (name.size() < 6) return false;
  for (size_t i = 0; i < 6; ++i) {
    WCHAR c = name[name.size() - 6 + i];
    if (c >= L'a' && c <= L'z') c -= L'a' - L'A';
    if (c != suffix[i]) return false;
  }
  return true;
}

bool IsShare(const std::wstring& path) {
  size_t start;
  if (path.size() >= 8 && IsPathSeparator(path[0]) && IsPathSeparator(path[1]) && path[2] == L'?' &&
      IsPathSeparator(path[3]) && (path[4] & ~0x20) == L'U' && (path[5] & ~0x20) == L'N' &&
      (path[6] & ~0x20) == L'C' && IsPathSeparator(path[7]))
    start = 8;
  else if (path.size() >= 2 && IsPathSeparator(path[0]) && IsPathSeparator(path[1]) && path.size() > 2 &&
           path[2] != L'.' && path[2] != L'?')
    start = 2;
  else
    return false;
  // server, one separator, share, nothing after it
  size_t separator = std::wstring::npos;
  for (size_t i = start; i < path.size(); ++i) {
    if (!IsPathSeparator(path[i])) continue;
    if (separator != std::wstring::npos) return false;
    separator = i;
  }
  return separator != std::wstring::npos && separator > start && separator + 1 < path.size();
}

}  // namespace

bool CPathInfo::Lookup(const std::wstring& path) {
  attributes = 0;
  size = 0;
  isNamedStream = false;
  const int stream = LookupNamedStream(path);
  if (stream >= 0) return stream == 1;
  bool found = false;
  if (LookupRoot(path, &found)) return found;
  return LookupEntry(path);
}

int CPathInfo::LookupNamedStream(const std::wstring& path) {
  const StreamFunctions& functions = Streams();
  if (!functions.findFirst) return -1;

  size_t lastSeparator = 0;
  for (size_t i = 0; i < path.size(); ++i)
    if (IsPathSeparator(path[i])) lastSeparator = i + 1;
  size_t from = (path.size() >= 2 && IsLetter(path[0]) && path[1] == L':') ? 2 : 0;
  if (from < lastSeparator) from = lastSeparator;
  const size_t colon = path.find(L':', from);
  if (colon == std::wstring::npos || colon + 1 >= path.size()) return -1;

  std::wstring streamName = path.substr(colon);
  const std::wstring base = path.substr(0, colon);
  if (streamName.size() <= 6 || !EndsWithDataSuffix(streamName)) streamName += L":$DATA";

  const bool bareDrive = (colon == 2 && IsLetter(base[0]) && base[1] == L':') ||
                         (colon == 3 && IsLetter(base[0]) && base[1] == L':' && base[2] == L'\\');
  if (bareDrive) {
    attributes = 0;
  } else {
    CPathInfo baseInfo;
    if (!baseInfo.Lookup(base)) return -1;
    attributes = baseInfo.attributes;
  }
  attributes &= ~static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT);
  size = 0;

  WIN32_FIND_STREAM_DATA data;
  HANDLE find = functions.findFirst(base.c_str(), FindStreamInfoStandard, &data, 0);
  if (find == INVALID_HANDLE_VALUE) {
    if (GetLastError() == ERROR_HANDLE_EOF) SetLastError(ERROR_FILE_NOT_FOUND);
    return 0;
  }
  int result = 0;
  for (;;) {
    if (EqualNoCase(streamName, data.cStreamName)) {
      size = static_cast<ULONGLONG>(data.StreamSize.QuadPart);
      isNamedStream = true;
      result = 1;
      break;
    }
    if (!functions.findNext(find, &data)) {
      if (GetLastError() == ERROR_HANDLE_EOF) SetLastError(ERROR_FILE_NOT_FOUND);
      break;
    }
  }
  const DWORD error = GetLastError();
  FindClose(find);
  SetLastError(error);
  return result;
}

bool CPathInfo::LookupRoot(const std::wstring& path, bool* found) {
  const size_t skip = (path.size() >= 4 && IsPathSeparator(path[0]) && IsPathSeparator(path[1]) &&
                       path[2] == L'?' && IsPathSeparator(path[3]))
                          ? 4
                          : 0;
  if (path.size() == skip + 3 && IsLetter(path[skip]) && path[skip + 1] == L':' && IsPathSeparator(path[skip + 2])) {
    const DWORD a = GetFileAttributesW(path.c_str());
    if (a == INVALID_FILE_ATTRIBUTES || !(a & FILE_ATTRIBUTE_DIRECTORY)) return false;
    attributes = a;
    *found = true;
    return true;
  }
  if (path.empty() || !IsPathSeparator(path[0])) return false;
  if (path.size() == 1) {
    const DWORD a = GetFileAttributesW(path.c_str());
    if (a == INVALID_FILE_ATTRIBUTES || !(a & FILE_ATTRIBUTE_DIRECTORY)) return false;
    attributes = a;
    *found = true;
    return true;
  }
  if (!IsShare(path)) return false;

  WIN32_FIND_DATAW entry;
  const std::wstring pattern = path + L"\\*";
  HANDLE find = FindFirstFileW(pattern.c_str(), &entry);
  const bool listed = find != INVALID_HANDLE_VALUE;
  if (listed) FindClose(find);
  if (listed && entry.cFileName[0] == L'.' && entry.cFileName[1] == 0) {
    attributes = entry.dwFileAttributes;
    *found = true;
    return true;
  }
  const DWORD a = GetFileAttributesW(path.c_str());
  if (listed || (a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY))) {
    attributes = a != INVALID_FILE_ATTRIBUTES ? a : FILE_ATTRIBUTE_DIRECTORY;
    *found = true;
    return true;
  }
  return false;
}

bool CPathInfo::LookupEntry(const std::wstring& path) {
  // A '?' or '*' in the name makes the search a pattern; only an entry of
  // exactly that name is the path itself.
  size_t nameStart = path.size();
  while (nameStart > 0 && !IsPathSeparator(path[nameStart - 1])) --nameStart;
  const std::wstring name = path.substr(nameStart);
  const bool pattern = name.find_first_of(L"?*") != std::wstring::npos;

  WIN32_FIND_DATAW entry;
  HANDLE find = FindFirstFileW(path.c_str(), &entry);
  if (find == INVALID_HANDLE_VALUE) return false;
  bool found = true;
  while (pattern && name != entry.cFileName) {
    if (!FindNextFileW(find, &entry)) {
      found = false;
      break;
    }
  }
  FindClose(find);
  if (!found) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return false;
  }
  attributes = entry.dwFileAttributes;
  size = (static_cast<ULONGLONG>(entry.nFileSizeHigh) << 32) | entry.nFileSizeLow;
  isNamedStream = false;
  return true;
}
