#include <gtest/gtest.h>

#include <string>

#include "Win32.h"

namespace {

std::wstring Fmt(const wchar_t* format, ...) {
  va_list args;
  va_start(args, format);
  va_list copy;
  va_copy(copy, args);
  int n = _vscwprintf(format, args);
  std::wstring out(static_cast<size_t>(n > 0 ? n : 0) + 1, L'\0');
  _vsnwprintf(out.data(), out.size(), format, copy);
  va_end(copy);
  va_end(args);
  out.resize(static_cast<size_t>(n > 0 ? n : 0));
  return out;
}

TEST(Format, WindowsConventions) {
  EXPECT_EQ(Fmt(L"%s|%S|%ls|%hs|%ws", L"wide", "narrow", L"l", "h", L"w"), L"wide|narrow|l|h|w");
  EXPECT_EQ(Fmt(L"%c%C%lc%hc", L'中', 'n', L'x', 'y'), L"中nxy");
  EXPECT_EQ(Fmt(L"%d %5d %-4d| %05d %x %X %u", -3, 42, 7, 12, 255, 255, 4000000000u), L"-3    42 7   | 00012 ff FF 4000000000");
  EXPECT_EQ(Fmt(L"%I64d %lld %ld", 1234567890123LL, -5LL, 70000L), L"1234567890123 -5 70000");
  EXPECT_EQ(Fmt(L"%.2f %e", 3.14159, 1000.0), L"3.14 1.000000e+03");
  EXPECT_EQ(Fmt(L"%.3s|%6s|%-6s|", L"abcdef", L"ab", L"ab"), L"abc|    ab|ab    |");
  EXPECT_EQ(Fmt(L"%*d|%.*s", 4, 1, 2, L"xyz"), L"   1|xy");
  EXPECT_EQ(Fmt(L"100%%"), L"100%");
  EXPECT_EQ(Fmt(L"%s", static_cast<const wchar_t*>(nullptr)), L"(null)");
  EXPECT_EQ(Fmt(L"正在下载...(%d%%)", 50), L"正在下载...(50%)");
}

TEST(Format, BufferLimits) {
  wchar_t buffer[6];
  wmemset(buffer, L'#', 6);
  EXPECT_EQ(_snwprintf(buffer, 4, L"%s", L"abcdef"), -1);  // cut: 4 units, no terminator
  EXPECT_EQ(std::wstring(buffer, 5), L"abcd#");
  EXPECT_EQ(_snwprintf(buffer, 4, L"%s", L"abcd"), 4);  // exactly fits: no terminator
  EXPECT_EQ(_snwprintf(buffer, 6, L"%d", 12), 2);
  EXPECT_STREQ(buffer, L"12");

  EXPECT_EQ(swprintf_s(buffer, 6, L"%s", L"toolong"), -1);
  EXPECT_STREQ(buffer, L"");
  EXPECT_EQ(swprintf_s(buffer, 6, L"%s", L"fits!"), 5);

  std::wstring big(2000, L'x');
  wchar_t user[1100];
  EXPECT_EQ(wsprintfW(user, L"%s", big.c_str()), 1023);  // user32's 1024-unit limit
  EXPECT_EQ(user[1023], L'\0');
}

}  // namespace
