#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Win32.h"

namespace {

std::vector<std::wstring> Split(const wchar_t* line) {
  int count = 0;
  LPWSTR* argv = CommandLineToArgvW(line, &count);
  std::vector<std::wstring> out(argv, argv + count);
  LocalFree(argv);
  return out;
}

TEST(CommandLine, WindowsSplittingRules) {
  using V = std::vector<std::wstring>;
  const std::pair<const wchar_t*, V> cases[] = {
      {L"prog a b", V{L"prog", L"a", L"b"}},
      {L"prog   a\t\tb  ", V{L"prog", L"a", L"b"}},
      {L"\"C:\\Program Files\\x.exe\" http://h/a", V{L"C:\\Program Files\\x.exe", L"http://h/a"}},
      {L"p \"a b\" c", V{L"p", L"a b", L"c"}},
      {L"p a\\\\b", V{L"p", L"a\\\\b"}},             // backslashes without quote stay
      {L"p a\\\"b", V{L"p", L"a\"b"}},               // 1 backslash + quote: literal quote
      {L"p a\\\\\"b c\"", V{L"p", L"a\\b c"}},       // 2 backslashes + quote: one backslash, quoting
      {L"p a\\\\\\\"b", V{L"p", L"a\\\"b"}},         // 3 backslashes + quote
      {L"p \"a\"\"b\"", V{L"p", L"a\"b"}},           // doubled quote inside quotes
      {L"p \"a\"\" b\"", V{L"p", L"a\"", L"b"}},     // ... and it ends quoting
      {L"p \"\"", V{L"p", L""}},                     // empty argument
      {L"\"prog\\\" x", V{L"prog\\", L"x"}},         // no escapes in the program name
      {L"p \"unterminated arg", V{L"p", L"unterminated arg"}},
  };
  for (const auto& [line, expected] : cases) EXPECT_EQ(Split(line), expected) << std::wstring(line).size();
}

TEST(CommandLine, EmptyLineGivesTheProgramPath) {
  auto args = Split(L"");
  ASSERT_EQ(args.size(), 1u);
  wchar_t path[4096];
  GetModuleFileNameW(nullptr, path, 4096);
  EXPECT_EQ(args[0], path);
}

TEST(CommandLine, OwnLineSplitsBackIntoArguments) {
  auto args = Split(GetCommandLineW());
  ASSERT_GE(args.size(), 1u);
  EXPECT_NE(args[0].find(L"platform_kernel_tests"), std::wstring::npos);
}

TEST(CommandLine, ModuleFileNameIsCutToTheBuffer) {
  wchar_t path[4096];
  DWORD full = GetModuleFileNameW(nullptr, path, 4096);
  ASSERT_GT(full, 5u);
  wchar_t small[6];
  wmemset(small, L'#', 6);
  EXPECT_EQ(GetModuleFileNameW(nullptr, small, 5), 5u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  EXPECT_EQ(small[4], L'\0');
  EXPECT_EQ(small[5], L'#');
  EXPECT_EQ(std::wstring(small, 4), std::wstring(path, 4));
}

}  // namespace
