// The file-system helpers under the archive callbacks.
#include <gtest/gtest.h>

#include "FileSystem.h"
#include "ItemPath.h"
#include "PathInfo.h"
#include "TestSupport.h"

namespace {

TEST(RootPrefixLength, CountsTheRootPart) {
  struct Case {
    const wchar_t* path;
    unsigned length;
  } cases[] = {
      {L"\\\\.\\COM1", 4},
      {L"//./pipe", 4},
      {L"\\\\?\\UNC\\server\\share\\dir", 21},
      {L"\\\\?\\unc/server/share/", 21},
      {L"\\\\?\\UNC\\server", 0},
      {L"\\\\?\\C:\\dir", 7},
      {L"\\\\?\\Volume", 0},
      {L"C:\\dir", 3},
      {L"c:/", 3},
      {L"C:dir", 0},
      {L"\\\\server\\share\\dir", 15},
      {L"//server/share/", 15},
      {L"\\\\server", 0},
      {L"/usr/lib", 1},
      {L"\\dir", 1},
      {L"dir/sub", 0},
      {L"", 0},
  };
  for (const Case& c : cases) EXPECT_EQ(RootPrefixLength(c.path), c.length) << std::wstring(c.path).size();
}

TEST(ResultFromLastError, MapsPlatformCodes) {
  struct Case {
    DWORD error;
    HRESULT result;
  } cases[] = {{0, E_FAIL},
               {ERROR_FILE_NOT_FOUND, static_cast<HRESULT>(0x80070002)},
               {ERROR_ACCESS_DENIED, static_cast<HRESULT>(0x80070005)},
               {0x12345678, static_cast<HRESULT>(0x80075678)}};
  for (const Case& c : cases) {
    SetLastError(c.error);
    EXPECT_EQ(ResultFromLastError(), c.result) << c.error;
  }
}

class FileSystemTest : public ::testing::Test {
 protected:
  test::ScratchDir dir;
};

TEST_F(FileSystemTest, CreateDirWithParentsMakesEveryMissingLevel) {
  ASSERT_EQ(test::Shell(dir.path(), "mkdir out"), 0);
  const std::wstring target = dir.Wide("out/a/b/");
  EXPECT_TRUE(CreateDirWithParents(target));
  EXPECT_TRUE(test::Exists(dir / "out/a/b"));
  EXPECT_TRUE(CreateDirWithParents(target));  // present: true at once
  EXPECT_TRUE(CreateDirWithParents(dir.Wide("new\\x\\y")));  // either separator
  EXPECT_TRUE(test::Exists(dir / "new/x/y"));
  EXPECT_TRUE(CreateDirWithParents(L"/"));
}

TEST_F(FileSystemTest, CreateDirWithParentsFailsBelowAFile) {
  test::WriteText(dir / "file", "x");
  EXPECT_FALSE(CreateDirWithParents(dir.Wide("file/a/b")));
  EXPECT_FALSE(CreateDirWithParents(dir.Wide("file")));
  EXPECT_FALSE(test::Exists(dir / "file/a"));
  EXPECT_FALSE(CreateOneDir(dir.Wide("file")));
  EXPECT_TRUE(CreateOneDir(dir.Wide("")));  // the scratch directory itself
}

TEST_F(FileSystemTest, CreateDirWithParentsNeverCreatesADriveRoot) {
  test::CurrentDirectory cwd(dir.path());
  for (const wchar_t* root : {L"\\\\?\\Q:\\", L"Q:/"}) EXPECT_FALSE(CreateDirWithParents(root));
  EXPECT_FALSE(test::Exists(dir / "Q:"));
  EXPECT_FALSE(test::Exists("/?"));
}

TEST_F(FileSystemTest, ForceDeleteFileRemovesReadOnlyFilesButNoDirectory) {
  ASSERT_EQ(test::Shell(dir.path(), "printf x > ro && chmod 0444 ro && mkdir d"), 0);
  EXPECT_TRUE(ForceDeleteFile(dir.Wide("ro")));
  EXPECT_FALSE(test::Exists(dir / "ro"));
  EXPECT_FALSE(ForceDeleteFile(dir.Wide("d")));
  EXPECT_TRUE(test::Exists(dir / "d"));
  EXPECT_FALSE(ForceDeleteFile(dir.Wide("missing")));
}

// What a link points at is no business of these helpers: the link goes,
// its target stays as it was.
TEST_F(FileSystemTest, LinksAreRemovedThemselvesNeverTheirTargets) {
  ASSERT_EQ(test::Shell(dir.path(), "mkdir -p target/d && printf ro > target/ro && chmod 0444 target/ro && "
                                    "ln -s target/ro to-file && ln -s target/d to-dir && ln -s target/gone dangling"),
            0);
  EXPECT_FALSE(IsLink(dir.Wide("target/ro")));
  EXPECT_FALSE(IsLink(dir.Wide("target/d")));
  EXPECT_FALSE(IsLink(dir.Wide("missing")));
  EXPECT_TRUE(ForceDeleteFile(dir.Wide("to-file")));
  EXPECT_FALSE(test::Exists(dir / "to-file"));
  EXPECT_EQ(test::ModeOf(dir / "target/ro"), 0444u);
  EXPECT_EQ(test::ReadText(dir / "target/ro"), "ro");
  for (const char* link : {"to-dir", "dangling"}) {
    EXPECT_TRUE(IsLink(dir.Wide(link))) << link;
    EXPECT_TRUE(RemoveLink(dir.Wide(link))) << link;
    EXPECT_FALSE(IsLink(dir.Wide(link))) << link;
  }
  EXPECT_TRUE(test::Exists(dir / "target/d"));
  EXPECT_FALSE(RemoveLink(dir.Wide("to-dir")));
}

TEST_F(FileSystemTest, LookupFindsFilesDirectoriesAndRoots) {
  ASSERT_EQ(test::Shell(dir.path(), "printf abcd > data.bin && chmod 0444 data.bin && mkdir d && printf z > 'a:b' && "
                                    "printf xyz > axb && printf 12345 > 'm?n'"),
            0);
  struct Case {
    std::wstring path;
    bool found;
    DWORD attributes;
    ULONGLONG size;
  } cases[] = {
      {dir.Wide("data.bin"), true, FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY, 4},
      {dir.Wide("d"), true, FILE_ATTRIBUTE_DIRECTORY, 0},
      {L"/", true, FILE_ATTRIBUTE_DIRECTORY, 0},
      {dir.Wide("missing"), false, 0, 0},
      // Without named streams a ':' is part of a name.
      {dir.Wide("a:b"), true, FILE_ATTRIBUTE_ARCHIVE, 1},
      {dir.Wide("data.bin:meta"), false, 0, 0},
      // Names, not search patterns.
      {dir.Wide("a?b"), false, 0, 0},
      {dir.Wide("*"), false, 0, 0},
      {dir.Wide("m?n"), true, FILE_ATTRIBUTE_ARCHIVE, 5},
  };
  for (const Case& c : cases) {
    CPathInfo info;
    ASSERT_EQ(info.Lookup(c.path), c.found) << c.path.size();
    if (!c.found) continue;
    EXPECT_EQ(info.attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY),
              c.attributes);
    EXPECT_EQ(info.size, c.size);
    EXPECT_FALSE(info.isNamedStream);
  }
}

TEST(GetLauncherDirPrefix, IsTheProgramsDirectoryWithItsSeparator) {
  const std::wstring prefix = GetLauncherDirPrefix();
  ASSERT_FALSE(prefix.empty());
  EXPECT_EQ(prefix.back(), L'/');
  const std::wstring expected = test::Widen(TEST_BINARY_DIR "/tests/updater/");
  EXPECT_EQ(prefix, expected);
}

}  // namespace

namespace {

TEST(ItemPathStaysInside, RefusesPathsLeadingOut) {
  struct Case {
    const wchar_t* item;
    bool inside;
  } cases[] = {
      {L"a/b.txt", true},        {L"a\\b.txt", true},     {L"..foo/bar..", true}, {L"./a", true},
      {L"ab:c", true},           {L"", true},             {L"../x", false},       {L"a/../../x", false},
      {L"a\\..\\b", false},      {L"..", false},          {L"/etc/x", false},     {L"\\x", false},
      {L"C:x", false},           {L"\\\\?\\C:\\x", false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ItemPathStaysInside(L"/nonexistent/out/", c.item), c.inside) << test::Narrow(c.item);
}

}  // namespace
