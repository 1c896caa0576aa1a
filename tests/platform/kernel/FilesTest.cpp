#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>

#include "TempDir.h"
#include "Win32.h"

namespace {

HANDLE Open(const std::wstring& path, DWORD access, DWORD share, DWORD disposition, DWORD flags = 0) {
  return CreateFileW(path.c_str(), access, share, nullptr, disposition, flags | FILE_ATTRIBUTE_NORMAL, nullptr);
}

struct DispositionCase {
  DWORD disposition;
  bool exists;
  bool opens;
  DWORD error;         // last error afterwards
  std::string after;   // content afterwards ("-" for no file)
};

TEST(Files, Dispositions) {
  const DispositionCase cases[] = {
      {CREATE_NEW, false, true, ERROR_SUCCESS, ""},
      {CREATE_NEW, true, false, ERROR_FILE_EXISTS, "old"},
      {CREATE_ALWAYS, false, true, ERROR_SUCCESS, ""},
      {CREATE_ALWAYS, true, true, ERROR_ALREADY_EXISTS, ""},
      {OPEN_EXISTING, false, false, ERROR_FILE_NOT_FOUND, "-"},
      {OPEN_EXISTING, true, true, ERROR_SUCCESS, "old"},
      {OPEN_ALWAYS, false, true, ERROR_SUCCESS, ""},
      {OPEN_ALWAYS, true, true, ERROR_ALREADY_EXISTS, "old"},
      {TRUNCATE_EXISTING, false, false, ERROR_FILE_NOT_FOUND, "-"},
      {TRUNCATE_EXISTING, true, true, ERROR_SUCCESS, ""},
  };
  for (const auto& c : cases) {
    TempDir dir;
    if (c.exists) dir.Write("f", "old");
    HANDLE h = Open(dir.wide("f"), GENERIC_READ | GENERIC_WRITE, 0, c.disposition);
    EXPECT_EQ(h != INVALID_HANDLE_VALUE, c.opens) << c.disposition << " " << c.exists;
    EXPECT_EQ(GetLastError(), c.error) << c.disposition << " " << c.exists;
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
    EXPECT_EQ(std::filesystem::exists(dir / "f") ? dir.Read("f") : "-", c.after) << c.disposition;
  }
}

TEST(Files, MissingDirectoryIsPathNotFound) {
  TempDir dir;
  EXPECT_EQ(Open(dir.wide("no/such/file"), GENERIC_READ, 0, OPEN_EXISTING), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
  EXPECT_EQ(Open(L"", GENERIC_READ, 0, OPEN_EXISTING), INVALID_HANDLE_VALUE);
}

TEST(Files, ReadWriteSeekSizeTruncate) {
  TempDir dir;
  // '\' is a separator too.
  std::wstring path = dir.wide() + L"\\data.bin";
  HANDLE h = Open(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, CREATE_ALWAYS);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  DWORD n = 0;
  ASSERT_TRUE(WriteFile(h, "0123456789", 10, &n, nullptr));
  EXPECT_EQ(n, 10u);
  LARGE_INTEGER size, pos, distance;
  ASSERT_TRUE(GetFileSizeEx(h, &size));
  EXPECT_EQ(size.QuadPart, 10);

  distance.QuadPart = -4;
  ASSERT_TRUE(SetFilePointerEx(h, distance, &pos, FILE_END));
  EXPECT_EQ(pos.QuadPart, 6);
  char buffer[16] = {};
  ASSERT_TRUE(ReadFile(h, buffer, sizeof buffer, &n, nullptr));
  EXPECT_EQ(std::string(buffer, n), "6789");
  ASSERT_TRUE(ReadFile(h, buffer, sizeof buffer, &n, nullptr));  // end of file: success, 0 bytes
  EXPECT_EQ(n, 0u);

  distance.QuadPart = -20;
  EXPECT_FALSE(SetFilePointerEx(h, distance, &pos, FILE_CURRENT));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NEGATIVE_SEEK));
  distance.QuadPart = 0;
  EXPECT_FALSE(SetFilePointerEx(h, distance, &pos, 3));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));

  distance.QuadPart = 3;
  ASSERT_TRUE(SetFilePointerEx(h, distance, nullptr, FILE_BEGIN));
  ASSERT_TRUE(SetEndOfFile(h));
  ASSERT_TRUE(GetFileSizeEx(h, &size));
  EXPECT_EQ(size.QuadPart, 3);

  BY_HANDLE_FILE_INFORMATION info;
  ASSERT_TRUE(GetFileInformationByHandle(h, &info));
  EXPECT_EQ(info.nFileSizeLow, 3u);
  EXPECT_EQ(info.nNumberOfLinks, 1u);
  EXPECT_FALSE(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);

  // Times: FILETIME of 2020-01-01 00:00:00 UTC.
  FILETIME t;
  ULARGE_INTEGER units;
  units.QuadPart = 132223104000000000ULL;
  t.dwLowDateTime = units.LowPart, t.dwHighDateTime = units.HighPart;
  ASSERT_TRUE(SetFileTime(h, nullptr, nullptr, &t));
  ASSERT_TRUE(CloseHandle(h));
  EXPECT_FALSE(CloseHandle(h));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  struct stat st;
  ASSERT_EQ(stat((dir / "data.bin").c_str(), &st), 0);
  EXPECT_EQ(st.st_mtime, 1577836800);
}

TEST(Files, AccessFollowsTheHandle) {
  TempDir dir;
  dir.Write("f", "abc");
  HANDLE h = Open(dir.wide("f"), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  DWORD n;
  EXPECT_FALSE(WriteFile(h, "x", 1, &n, nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  CloseHandle(h);
}

TEST(Files, ShareModes) {
  TempDir dir;
  dir.Write("f", "abc");
  const std::wstring f = dir.wide("f");
  HANDLE reader = Open(f, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
  ASSERT_NE(reader, INVALID_HANDLE_VALUE);
  // A second reader that shares reading fits; a writer does not.
  HANDLE second = Open(f, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
  EXPECT_NE(second, INVALID_HANDLE_VALUE);
  EXPECT_EQ(Open(f, GENERIC_WRITE, FILE_SHARE_READ, OPEN_EXISTING), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
  // A reader that refuses to share reading does not fit beside a reader.
  EXPECT_EQ(Open(f, GENERIC_READ, 0, OPEN_EXISTING), INVALID_HANDLE_VALUE);
  // Without FILE_SHARE_DELETE the file cannot be deleted while open.
  EXPECT_FALSE(DeleteFileW(f.c_str()));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
  CloseHandle(second);
  CloseHandle(reader);
  HANDLE writer = Open(f, GENERIC_WRITE, FILE_SHARE_READ, OPEN_EXISTING);
  EXPECT_NE(writer, INVALID_HANDLE_VALUE);
  CloseHandle(writer);
  EXPECT_TRUE(DeleteFileW(f.c_str()));
}

TEST(Files, ReadOnlyAttributeRefusesWriteAndDelete) {
  TempDir dir;
  dir.Write("ro", "keep");
  const std::wstring f = dir.wide("ro");
  EXPECT_EQ(GetFileAttributesW(f.c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
  ASSERT_TRUE(SetFileAttributesW(f.c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_NE(GetFileAttributesW(f.c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
  struct stat st;
  stat((dir / "ro").c_str(), &st);
  EXPECT_EQ(st.st_mode & 0222, 0u);

  // Refused even when the process could write (as root does).
  EXPECT_EQ(Open(f, GENERIC_WRITE, 0, OPEN_EXISTING), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  EXPECT_EQ(Open(f, GENERIC_WRITE, 0, CREATE_ALWAYS), INVALID_HANDLE_VALUE);
  EXPECT_FALSE(DeleteFileW(f.c_str()));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  EXPECT_EQ(dir.Read("ro"), "keep");

  ASSERT_TRUE(SetFileAttributesW(f.c_str(), FILE_ATTRIBUTE_NORMAL));
  EXPECT_EQ(GetFileAttributesW(f.c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
  EXPECT_TRUE(DeleteFileW(f.c_str()));
  EXPECT_EQ(GetFileAttributesW(f.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));

  HANDLE created = CreateFileW(dir.wide("made-ro").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                               FILE_ATTRIBUTE_READONLY, nullptr);
  ASSERT_NE(created, INVALID_HANDLE_VALUE);
  CloseHandle(created);
  EXPECT_NE(GetFileAttributesW(dir.wide("made-ro").c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
}

TEST(Files, Directories) {
  TempDir dir;
  const std::wstring d = dir.wide("sub");
  ASSERT_TRUE(CreateDirectoryW(d.c_str(), nullptr));
  EXPECT_FALSE(CreateDirectoryW(d.c_str(), nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
  EXPECT_FALSE(CreateDirectoryW(dir.wide("a/b").c_str(), nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
  EXPECT_EQ(GetFileAttributesW(d.c_str()), static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));

  // A directory is neither deleted as a file nor opened without backup semantics.
  EXPECT_FALSE(DeleteFileW(d.c_str()));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  EXPECT_EQ(Open(d, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  HANDLE h = Open(d, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  BY_HANDLE_FILE_INFORMATION info;
  ASSERT_TRUE(GetFileInformationByHandle(h, &info));
  EXPECT_TRUE(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
  CloseHandle(h);
  EXPECT_TRUE(RemoveDirectoryW(d.c_str()));
}

TEST(Files, CurrentDirectory) {
  TempDir dir;
  wchar_t saved[4096];
  ASSERT_GT(GetCurrentDirectoryW(4096, saved), 0u);
  ASSERT_TRUE(SetCurrentDirectoryW(dir.wide().c_str()));
  std::wstring expected = std::filesystem::canonical(dir.path()).wstring();
  // Too small a buffer: the size needed, terminator included; nothing written.
  wchar_t tiny[2] = {L'#', L'#'};
  EXPECT_EQ(GetCurrentDirectoryW(2, tiny), expected.size() + 1);
  EXPECT_EQ(tiny[0], L'#');
  wchar_t now[4096];
  EXPECT_EQ(GetCurrentDirectoryW(4096, now), expected.size());
  EXPECT_EQ(std::wstring(now), expected);
  EXPECT_FALSE(SetCurrentDirectoryW(dir.wide("missing").c_str()));
  ASSERT_TRUE(SetCurrentDirectoryW(saved));
}

TEST(Files, MoveFileEx) {
  TempDir dir;
  dir.Write("a", "new");
  dir.Write("b", "old");
  EXPECT_FALSE(MoveFileExW(dir.wide("a").c_str(), dir.wide("b").c_str(), 0));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
  EXPECT_TRUE(MoveFileExW(dir.wide("a").c_str(), dir.wide("b").c_str(), MOVEFILE_REPLACE_EXISTING));
  EXPECT_EQ(dir.Read("b"), "new");
  EXPECT_FALSE(std::filesystem::exists(dir / "a"));
}

}  // namespace
