// What the launcher relies on in the real 7z.so: the published slot order
// without a virtual destructor in IUnknown, BSTR paths with '/' and a
// byte-length prefix, attributes carrying the Unix mode. The sizes of the
// types are asserted in ArchiveInterfaces.h.
#include <gtest/gtest.h>

#include <cstring>

#include "TestSupport.h"

namespace {

struct Property {
  Property() { PropVariantInit(&value); }
  ~Property() { PropVariantClear(&value); }
  PROPVARIANT value;
};

TEST(ArchiveLibrary, ItemPropertiesHaveTheMeasuredShape) {
  test::ScratchDir dir;
  ASSERT_EQ(test::Shell(dir.path(), "mkdir -p top/sub && printf abc > top/sub/f.txt && chmod 0640 top/sub/f.txt"), 0);
  ASSERT_EQ(test::Shell(dir.path(), "7z a pkg.7z top"), 0);

  test::RealArchive archive;
  ASSERT_EQ(archive.Open(dir / "pkg.7z"), S_OK);  // slot 3 answers: the slot order holds
  UINT count = 0;
  ASSERT_EQ(archive.get()->GetNumberOfItems(&count), S_OK);
  ASSERT_EQ(count, 3u);

  bool sawFile = false;
  for (UINT i = 0; i < count; ++i) {
    Property path, attrib, isDir, mtime;
    ASSERT_EQ(archive.get()->GetProperty(i, kpidPath, &path.value), S_OK);
    ASSERT_EQ(path.value.vt, VT_BSTR);
    const std::wstring text = path.value.bstrVal;
    // The byte length of the text sits in the 32 bits before it.
    uint32_t prefix;
    std::memcpy(&prefix, reinterpret_cast<const char*>(path.value.bstrVal) - 4, 4);
    EXPECT_EQ(prefix, text.size() * sizeof(wchar_t));
    EXPECT_EQ(SysStringLen(path.value.bstrVal), text.size());

    ASSERT_EQ(archive.get()->GetProperty(i, kpidAttrib, &attrib.value), S_OK);
    ASSERT_EQ(attrib.value.vt, VT_UI4);
    EXPECT_TRUE(attrib.value.ulVal & kAttribUnixExtension);
    ASSERT_EQ(archive.get()->GetProperty(i, kpidIsDir, &isDir.value), S_OK);
    ASSERT_EQ(isDir.value.vt, VT_BOOL);
    ASSERT_EQ(archive.get()->GetProperty(i, kpidMTime, &mtime.value), S_OK);
    EXPECT_EQ(mtime.value.vt, VT_FILETIME);

    if (text == L"top/sub/f.txt") {
      sawFile = true;
      EXPECT_EQ(attrib.value.ulVal >> 16, 0100640u);
      EXPECT_EQ(attrib.value.ulVal & FILE_ATTRIBUTE_DIRECTORY, 0u);
      EXPECT_EQ(isDir.value.boolVal, VARIANT_FALSE);
    } else {
      EXPECT_EQ(attrib.value.ulVal & FILE_ATTRIBUTE_DIRECTORY, FILE_ATTRIBUTE_DIRECTORY);
      EXPECT_NE(isDir.value.boolVal, VARIANT_FALSE);
    }
  }
  EXPECT_TRUE(sawFile) << "item paths use '/'";
}

TEST(ArchiveLibrary, ReadOnlyFileIsStoredWithTheReadOnlyBit) {
  test::ScratchDir dir;
  ASSERT_EQ(test::Shell(dir.path(), "printf x > ro.txt && chmod 0444 ro.txt && 7z a pkg.7z ro.txt"), 0);
  test::RealArchive archive;
  ASSERT_EQ(archive.Open(dir / "pkg.7z"), S_OK);
  Property attrib;
  ASSERT_EQ(archive.get()->GetProperty(0, kpidAttrib, &attrib.value), S_OK);
  EXPECT_EQ(attrib.value.ulVal >> 16, 0100444u);
  EXPECT_EQ(attrib.value.ulVal & FILE_ATTRIBUTE_READONLY, FILE_ATTRIBUTE_READONLY);
}

TEST(Ole, BstrsCarryTheirByteLength) {
  BSTR text = SysAllocString(L"a\x4e2d" L"c");
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(SysStringLen(text), 3u);
  EXPECT_EQ(SysStringByteLen(text), 3 * sizeof(wchar_t));
  EXPECT_EQ(text[3], 0);
  PROPVARIANT value;
  PropVariantInit(&value);
  value.vt = VT_BSTR;
  value.bstrVal = text;
  EXPECT_EQ(PropVariantClear(&value), S_OK);
  EXPECT_EQ(value.vt, VT_EMPTY);

  BSTR partial = SysAllocStringLen(L"abcdef", 2);
  EXPECT_EQ(std::wstring(partial), L"ab");
  SysFreeString(partial);
  SysFreeString(nullptr);
  EXPECT_EQ(SysAllocString(nullptr), nullptr);
  EXPECT_EQ(SysStringLen(nullptr), 0u);
}

}  // namespace
