#include "Console.h"

#include <cstdio>
#include <vector>

#include "Win32.h"

void PrintText(const char* text) { std::fputs(text, stdout); }

void PrintOemText(const std::wstring& text) {
  if (text.empty()) return;
  // UTF-8 takes no default character: every character converts there.
  const LPCSTR defaultChar = GetOEMCP() == CP_UTF8 ? nullptr : "_";
  const int length = static_cast<int>(text.size());
  const int needed = WideCharToMultiByte(CP_OEMCP, 0, text.data(), length, nullptr, 0, defaultChar, nullptr);
  if (needed <= 0) return;
  std::vector<char> narrow(static_cast<size_t>(needed));
  const int written = WideCharToMultiByte(CP_OEMCP, 0, text.data(), length, narrow.data(), needed, defaultChar, nullptr);
  if (written > 0) std::fwrite(narrow.data(), 1, static_cast<size_t>(written), stdout);
}

void PrintError(const char* message) {
  PrintText("Error: \n");
  PrintText(message);
  PrintText("\n");
}

void PrintError(const char* message, const std::wstring& path) {
  PrintError(message);
  PrintOemText(path);
}
