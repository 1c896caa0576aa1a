#include <gtest/gtest.h>

#include <string>

#include "Win32.h"

namespace {

std::wstring ToWide(UINT page, const std::string& bytes, DWORD flags = 0) {
  int n = MultiByteToWideChar(page, flags, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(n > 0 ? n : 0), L'\0');
  if (n > 0) MultiByteToWideChar(page, flags, bytes.data(), static_cast<int>(bytes.size()), out.data(), n);
  return out;
}

std::string ToBytes(UINT page, const std::wstring& text, LPCSTR fallback = nullptr, BOOL* used = nullptr) {
  int n = WideCharToMultiByte(page, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, fallback, used);
  std::string out(static_cast<size_t>(n > 0 ? n : 0), '\0');
  if (n > 0) WideCharToMultiByte(page, 0, text.data(), static_cast<int>(text.size()), out.data(), n, fallback, used);
  return out;
}

struct RoundTrip {
  UINT page;
  std::string bytes;
  std::wstring text;
};

TEST(CodePages, RoundTrips) {
  const RoundTrip cases[] = {
      {CP_UTF8, "plain ascii", L"plain ascii"},
      {CP_UTF8, "\xE6\xAD\xA3\xE5\x9C\xA8\xE4\xB8\x8B\xE8\xBD\xBD", L"正在下载"},
      {CP_UTF8, "\xF0\x9F\x98\x80", std::wstring(1, static_cast<wchar_t>(0x1F600))},
      {936, "\xD5\xFD\xD4\xDA\xCF\xC2\xD4\xD8", L"正在下载"},
      {936, "\xCC\xE1\xCA\xBE", L"提示"},
      // A GBK character whose trail byte is a backslash.
      {936, "\xD3\x5C", L"\u89BE"},
      {936, "a\x80z", L"a\u20ACz"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ToWide(c.page, c.bytes), c.text) << c.bytes;
    EXPECT_EQ(ToBytes(c.page, c.text), c.bytes) << c.bytes;
  }
}

TEST(CodePages, InvalidUtf8BecomesReplacementCharacters) {
  const std::pair<std::string, std::wstring> cases[] = {
      {"a\xFF" "b", L"a\uFFFDb"},
      {"\xC3", L"\uFFFD"},                        // cut sequence
      {"\xE0\x80\xAF", L"\uFFFD\uFFFD\uFFFD"},    // overlong
      {"\xED\xA0\x80", L"\uFFFD\uFFFD\uFFFD"},    // encoded surrogate
      {"\xE6\xAD" "x", L"\uFFFDx"},               // one replacement per broken sequence
      {"\xF4\x90\x80\x80", L"\uFFFD\uFFFD\uFFFD\uFFFD"},  // beyond U+10FFFF
  };
  for (const auto& [bytes, text] : cases) EXPECT_EQ(ToWide(CP_UTF8, bytes), text);

  SetLastError(0);
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, "a\xFF", 2, nullptr, 0), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_UNICODE_TRANSLATION));
}

TEST(CodePages, InvalidGbkAndUnmappableCharacters) {
  EXPECT_EQ(ToWide(936, "\xFF" "a"), L"\uFFFDa");
  EXPECT_EQ(ToWide(936, "\xD5"), L"\uFFFD");  // lead byte without trail

  BOOL used = FALSE;
  EXPECT_EQ(ToBytes(936, L"a\u0E01b", nullptr, &used), "a?b");  // Thai is not in GBK
  EXPECT_TRUE(used);
  EXPECT_EQ(ToBytes(936, L"a\u0E01b", "_", &used), "a_b");
  used = TRUE;
  EXPECT_EQ(ToBytes(936, L"ab", "_", &used), "ab");
  EXPECT_FALSE(used);
  // UTF-8 takes no default character, as on Win32.
  EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, L"a", 1, nullptr, 0, "_", nullptr), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST(CodePages, LengthRules) {
  // -1 counts the terminator; 0 output size asks for the size.
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, "abc", -1, nullptr, 0), 4);
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, "abc", 3, nullptr, 0), 3);
  EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, L"正", -1, nullptr, 0, nullptr, nullptr), 4);

  wchar_t wide[8];
  wmemset(wide, L'#', 8);
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, "abc", -1, wide, 8), 4);
  EXPECT_STREQ(wide, L"abc");
  EXPECT_EQ(wide[4], L'#');

  // Too small a buffer fails and writes nothing past it.
  wmemset(wide, L'#', 8);
  SetLastError(0);
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, "abcdef", -1, wide, 3), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  EXPECT_EQ(wide[3], L'#');

  char narrow[4];
  memset(narrow, '#', sizeof narrow);
  EXPECT_EQ(WideCharToMultiByte(936, 0, L"正在", -1, narrow, 4, nullptr, nullptr), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  EXPECT_EQ(WideCharToMultiByte(936, 0, L"正在", 2, narrow, 4, nullptr, nullptr), 4);

  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, nullptr, -1, nullptr, 0), 0);
  EXPECT_EQ(MultiByteToWideChar(12345, 0, "a", 1, nullptr, 0), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST(CodePages, ClassificationCoversAllScripts) {
  EXPECT_TRUE(IsCharAlphaNumericW(L'a'));
  EXPECT_TRUE(IsCharAlphaNumericW(L'7'));
  EXPECT_TRUE(IsCharAlphaNumericW(L'中'));
  EXPECT_TRUE(IsCharAlphaW(L'ж'));
  EXPECT_FALSE(IsCharAlphaNumericW(L'-'));
  EXPECT_FALSE(IsCharAlphaNumericW(L'.'));
  EXPECT_FALSE(IsCharAlphaW(L'。'));
  wchar_t text[] = L"straße ábc";
  CharUpperW(text);
  EXPECT_STREQ(text, L"STRAßE ÁBC");
}

}  // namespace
