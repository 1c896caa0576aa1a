// Message boxes. Headless: one line on standard error, answered with IDOK.
#include <cstdio>
#include <string>

#include "kernel/Text.h"
#include "win32/CodePages.h"
#include "win32/MessageBox.h"

int WINAPI MessageBoxW(HWND, LPCWSTR lpText, LPCWSTR lpCaption, UINT) {
  std::string caption = platform::kernel::WideToUtf8(lpCaption ? lpCaption : L"Error");
  std::string text = platform::kernel::WideToUtf8(lpText ? lpText : L"");
  fprintf(stderr, "[MessageBox] %s | %s\n", caption.c_str(), text.c_str());
  fflush(stderr);
  return IDOK;
}

namespace {
std::wstring FromAnsi(LPCSTR text) {
  if (!text) return {};
  int size = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
  if (size <= 0) return {};
  std::wstring wide(static_cast<size_t>(size), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), size);
  wide.resize(static_cast<size_t>(size - 1));
  return wide;
}
}  // namespace

int WINAPI MessageBoxA(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType) {
  std::wstring text = FromAnsi(lpText), caption = FromAnsi(lpCaption);
  return MessageBoxW(hWnd, lpText ? text.c_str() : nullptr, lpCaption ? caption.c_str() : nullptr, uType);
}
