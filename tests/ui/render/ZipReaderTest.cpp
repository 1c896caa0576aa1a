// Archives are made by the zip tool in a temporary directory.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "render/ZipReader.h"

using namespace SkinUI;
namespace fs = std::filesystem;

namespace {

class ZipReaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/ui-zip-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir_ = pattern;
    fs::create_directories(dir_ / "src" / "bk");
    Write("src/MainWnd.xml", xml_);
    Write("src/bk/bg_1.png", Binary());
    Write("src/\xe7\x9a\xae\xe8\x82\xa4.txt", "skin");
    Write("src/empty.txt", "");
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string Binary() const {
    std::string bytes;
    for (int i = 0; i < 200000; i++) bytes += static_cast<char>((i * 7) % 251);
    return bytes;
  }
  void Write(const std::string& name, const std::string& bytes) {
    std::ofstream(dir_ / name, std::ios::binary) << bytes;
  }
  std::vector<BYTE> Read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<BYTE>(std::istreambuf_iterator<char>(in), {});
  }
  // Runs zip inside src/ and returns the archive's path.
  fs::path Zip(const std::string& name, const std::string& options) {
    std::string command = "cd '" + (dir_ / "src").string() + "' && zip -q -r " + options + " '../" + name +
                          "' MainWnd.xml bk \xe7\x9a\xae\xe8\x82\xa4.txt empty.txt";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    return dir_ / name;
  }
  static std::wstring Wide(const fs::path& path) { return path.wstring(); }

  std::string Extract(ZipReader& zip, const wchar_t* name, ZipResult expected = ZR_OK) {
    ZipEntry entry;
    EXPECT_TRUE(zip.FindEntry(name, &entry)) << name;
    std::string bytes(entry.uncompressedSize, '\0');
    EXPECT_EQ(zip.Extract(entry, bytes.data(), entry.uncompressedSize), expected) << name;
    return bytes;
  }

  fs::path dir_;
  const std::string xml_ = "<Window size=\"400,300\"><Button name=\"again\" /></Window>";
};

}  // namespace

TEST_F(ZipReaderTest, ExtractsStoredAndDeflatedEntries) {
  for (const char* options : {"-0", "-9"}) {
    fs::path path = Zip(std::string("skin") + options + ".zip", options);
    std::unique_ptr<ZipReader> zip = ZipReader::OpenFile(Wide(path).c_str());
    ASSERT_TRUE(zip) << options;
    EXPECT_EQ(zip->GetEntryCount(), 5);  // with the directory bk/
    EXPECT_EQ(Extract(*zip, L"MainWnd.xml"), xml_) << options;
    EXPECT_EQ(Extract(*zip, L"bk/bg_1.png"), Binary()) << options;
    EXPECT_EQ(Extract(*zip, L"empty.txt"), "") << options;
  }
}

TEST_F(ZipReaderTest, OpensFromMemory) {
  std::vector<BYTE> bytes = Read(Zip("skin.zip", ""));
  std::unique_ptr<ZipReader> zip = ZipReader::OpenMemory(bytes.data(), static_cast<DWORD>(bytes.size()));
  ASSERT_TRUE(zip);
  EXPECT_EQ(Extract(*zip, L"MainWnd.xml"), xml_);
  EXPECT_FALSE(ZipReader::OpenMemory(nullptr, 10));
  EXPECT_FALSE(ZipReader::OpenMemory(bytes.data(), 0));
}

TEST_F(ZipReaderTest, FindsNamesIgnoringCaseAndSeparator) {
  std::unique_ptr<ZipReader> zip = ZipReader::OpenFile(Wide(Zip("skin.zip", "")).c_str());
  ASSERT_TRUE(zip);
  struct Case {
    const wchar_t* name;
    bool found;
  } cases[] = {
      {L"MainWnd.xml", true},      {L"mainwnd.XML", true}, {L"BK\\BG_1.PNG", true}, {L"bk/", true},
      {L"\u76ae\u80a4.txt", true}, {L"missing.xml", false}, {L"MainWnd", false},     {L"", false},
  };
  for (const Case& c : cases) {
    ZipEntry entry;
    EXPECT_EQ(zip->FindEntry(c.name, &entry), c.found) << c.name;
  }
  EXPECT_EQ(Extract(*zip, L"\u76ae\u80a4.TXT"), "skin");
  EXPECT_FALSE(zip->FindEntry(nullptr, nullptr));
}

TEST_F(ZipReaderTest, ReportsMoreDataForAShortBuffer) {
  std::unique_ptr<ZipReader> zip = ZipReader::OpenFile(Wide(Zip("skin.zip", "")).c_str());
  ASSERT_TRUE(zip);
  ZipEntry entry;
  ASSERT_TRUE(zip->FindEntry(L"bk/bg_1.png", &entry));
  std::string bytes(1000, '\0');
  EXPECT_EQ(zip->Extract(entry, bytes.data(), 1000), ZR_MORE);
  EXPECT_EQ(bytes, Binary().substr(0, 1000));
  // Each extraction starts at the entry's beginning.
  EXPECT_EQ(Extract(*zip, L"bk/bg_1.png"), Binary());
  EXPECT_EQ(zip->Extract(ZipEntry{}, bytes.data(), 10), ZR_ARGS);
  EXPECT_EQ(zip->Extract(ZipEntry{99, 0}, bytes.data(), 10), ZR_ARGS);
}

TEST_F(ZipReaderTest, RejectsMissingTruncatedAndDamagedArchives) {
  EXPECT_FALSE(ZipReader::OpenFile(Wide(dir_ / "missing.zip").c_str()));
  EXPECT_FALSE(ZipReader::OpenFile(Wide(dir_ / "src" / "MainWnd.xml").c_str()));  // not an archive

  std::vector<BYTE> bytes = Read(Zip("skin.zip", ""));
  for (size_t keep : {bytes.size() / 2, bytes.size() - 10, size_t{30}}) {
    std::vector<BYTE> cut(bytes.begin(), bytes.begin() + static_cast<long>(keep));
    EXPECT_FALSE(ZipReader::OpenMemory(cut.data(), static_cast<DWORD>(cut.size()))) << keep;
  }

  // A flipped byte inside the deflated picture: the directory is intact,
  // the data is not.
  std::unique_ptr<ZipReader> zip = ZipReader::OpenMemory(bytes.data(), static_cast<DWORD>(bytes.size()));
  ASSERT_TRUE(zip);
  std::string xmlBefore = Extract(*zip, L"MainWnd.xml");
  zip.reset();
  std::vector<BYTE> damaged = bytes;
  size_t offset = 0;
  for (size_t i = 0; i + 10 < damaged.size(); i++)
    if (memcmp(&damaged[i], "bk/bg_1.png", 11) == 0) {
      offset = i + 11 + 200;  // past the local header's name, into the data
      break;
    }
  ASSERT_GT(offset, 0u);
  damaged[offset] ^= 0x55;
  zip = ZipReader::OpenMemory(damaged.data(), static_cast<DWORD>(damaged.size()));
  ASSERT_TRUE(zip);
  Extract(*zip, L"bk/bg_1.png", ZR_CORRUPT);
  EXPECT_EQ(Extract(*zip, L"MainWnd.xml"), xmlBefore);
}

TEST_F(ZipReaderTest, RefusesEncryptedEntries) {
  std::unique_ptr<ZipReader> zip = ZipReader::OpenFile(Wide(Zip("secret.zip", "-P secret")).c_str());
  ASSERT_TRUE(zip);
  Extract(*zip, L"MainWnd.xml", ZR_NOTSUPPORTED);
}
