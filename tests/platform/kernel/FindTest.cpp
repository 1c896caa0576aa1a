#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TempDir.h"
#include "Win32.h"

namespace {

std::vector<std::wstring> FindAll(const std::wstring& pattern) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW data;
  HANDLE h = FindFirstFileW(pattern.c_str(), &data);
  if (h == INVALID_HANDLE_VALUE) return names;
  do names.push_back(data.cFileName);
  while (FindNextFileW(h, &data));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_MORE_FILES));
  EXPECT_TRUE(FindClose(h));
  return names;
}

TEST(Find, Patterns) {
  TempDir dir;
  for (const char* name : {"a.txt", "B.TXT", "ab.log", "readme", "x.tar.gz"}) dir.Write(name, "12345");
  std::filesystem::create_directory(dir / "sub");
  using V = std::vector<std::wstring>;
  const std::pair<std::wstring, V> cases[] = {
      {L"*", V{L".", L"..", L"B.TXT", L"a.txt", L"ab.log", L"readme", L"sub", L"x.tar.gz"}},
      {L"*.*", V{L".", L"..", L"B.TXT", L"a.txt", L"ab.log", L"readme", L"sub", L"x.tar.gz"}},
      {L"*.txt", V{L"B.TXT", L"a.txt"}},  // case-insensitive
      {L"?.txt", V{L"B.TXT", L"a.txt"}},
      {L"a*", V{L"a.txt", L"ab.log"}},
      {L"*.gz", V{L"x.tar.gz"}},
      {L"read*e", V{L"readme"}},
      {L"readme.*", V{L"readme"}},
      {L"a.txt", V{L"a.txt"}},
      {L"*.none", V{}},
  };
  for (const auto& [pattern, expected] : cases)
    EXPECT_EQ(FindAll(dir.wide() + L"\\" + pattern), expected) << std::string(pattern.begin(), pattern.end());

  WIN32_FIND_DATAW data;
  HANDLE h = FindFirstFileW((dir.wide() + L"/a.txt").c_str(), &data);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  EXPECT_EQ(data.nFileSizeLow, 5u);
  EXPECT_EQ(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY, 0u);
  FindClose(h);
  h = FindFirstFileW((dir.wide() + L"/sub").c_str(), &data);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  EXPECT_NE(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY, 0u);
  FindClose(h);
}

TEST(Find, Failures) {
  TempDir dir;
  WIN32_FIND_DATAW data;
  EXPECT_EQ(FindFirstFileW((dir.wide() + L"/*.none").c_str(), &data), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(FindFirstFileW((dir.wide() + L"/missing/*").c_str(), &data), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
  EXPECT_EQ(FindFirstFileW((dir.wide() + L"/").c_str(), &data), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  EXPECT_FALSE(FindClose(reinterpret_cast<HANDLE>(0x1234)));
}

}  // namespace
