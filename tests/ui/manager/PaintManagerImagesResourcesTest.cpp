// Where images come from (resources, files under the resource path, the
// skin archive, plain paths) and how the window's cache keeps them.
#include <gtest/gtest.h>

#include <cstdlib>

#include "ImageFixtures.h"
#include "TempDir.h"
#include "manager/CPaintManagerUI.h"
#include "render/CImageAttribute.h"

using namespace SkinUI;

namespace {

uint32_t FirstPixel(const TImageInfo* info) {
  BITMAP bm = {};
  GetObjectW(info->hBitmap, sizeof bm, &bm);
  return *static_cast<const uint32_t*>(bm.bmBits);
}

const std::string kRed = SolidPng(2, 2, 0xFFFF0000);
const std::string kGreen = SolidPng(2, 2, 0xFF00FF00);
const std::string kBlue = SolidPng(2, 2, 0xFF0000FF);

const PlatformResource kResources[] = {{L"PNG", 101, kBlue.data(), static_cast<DWORD>(kBlue.size())}};

// A skin folder with a file, an archive of the same names holding other
// colours, and a file outside both. The process-wide paths are put back.
class ImageSourcesTest : public testing::Test {
 protected:
  void SetUp() override {
    PlatformRegisterResources(kResources, 1);
    dir_.Write("skin/img/a.png", kRed);
    dir_.Write("zip/img/a.png", kGreen);
    dir_.Write("outside.png", kBlue);
    Zip("skin.zip");
    CPaintManagerUI::SetResourcePath(dir_.wide("skin").c_str());
  }
  void TearDown() override {
    CPaintManagerUI::SetResourceZip(L"", false);
    CPaintManagerUI::SetResourcePath(L"");
  }
  void Zip(const std::string& name) {
    const std::string command =
        "cd '" + (dir_ / "zip").string() + "' && rm -f '../skin/" + name + "' && zip -q -r '../skin/" + name + "' img";
    ASSERT_EQ(std::system(command.c_str()), 0);
  }
  uint32_t Load(LPCWSTR name, LPCWSTR type = nullptr) {
    TImageInfo* info = CPaintManagerUI::LoadImage(name, type);
    const uint32_t pixel = info ? FirstPixel(info) : 0;
    CPaintManagerUI::FreeImage(info);
    return pixel;
  }
  TempDir dir_;
};

TEST_F(ImageSourcesTest, LookupOrder) {
  const std::wstring outside = dir_.wide("outside.png");
  struct Case {
    const wchar_t* what;
    bool archive;
    LPCWSTR name;
    LPCWSTR type;
    uint32_t pixel;
  };
  const Case cases[] = {
      {L"resource by number", false, MAKEINTRESOURCEW(101), L"PNG", 0xFF0000FF},
      {L"missing numeric resource", false, MAKEINTRESOURCEW(999), L"PNG", 0},
      {L"missing numeric resource, archive set", true, MAKEINTRESOURCEW(999), L"PNG", 0},
      {L"file under the resource path", false, L"img/a.png", nullptr, 0xFFFF0000},
      {L"file, other separator", false, L"img\\a.png", nullptr, 0xFFFF0000},
      {L"archive entry", true, L"img/a.png", nullptr, 0xFF00FF00},
      {L"archive entry, other case and separator", true, L"IMG\\A.PNG", nullptr, 0xFF00FF00},
      {L"missing entry falls back to the plain path", true, outside.c_str(), nullptr, 0xFF0000FF},
      {L"missing entry and no such path", true, L"img/none.png", nullptr, 0},
      {L"missing file", false, L"img/none.png", nullptr, 0},
      {L"plain path when not under the resource path", false, outside.c_str(), nullptr, 0xFF0000FF},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    CPaintManagerUI::SetResourceZip(c.archive ? L"skin.zip" : L"", false);
    EXPECT_EQ(Load(c.name, c.type), c.pixel);
  }
}

TEST_F(ImageSourcesTest, ArchiveKeptOpenOrOpenedForEachRead) {
  // Opened for each read: a changed archive is seen at once.
  CPaintManagerUI::SetResourceZip(L"skin.zip", false);
  EXPECT_EQ(CPaintManagerUI::GetResourceZipHandle(), nullptr);
  EXPECT_EQ(Load(L"img/a.png"), 0xFF00FF00u);
  dir_.Write("zip/img/a.png", kBlue);
  Zip("skin.zip");
  EXPECT_EQ(Load(L"img/a.png"), 0xFF0000FFu);
  // Kept open: the archive read at that moment keeps serving.
  CPaintManagerUI::SetResourceZip(L"skin.zip", true);
  ASSERT_NE(CPaintManagerUI::GetResourceZipHandle(), nullptr);
  std::filesystem::remove(dir_ / "skin" / "skin.zip");
  EXPECT_EQ(Load(L"img/a.png"), 0xFF0000FFu);
  // From memory; a second memory archive does not replace the first.
  CPaintManagerUI::SetResourceZip(L"", false);
  const std::string bytes = dir_.Read("skin/img/a.png");  // not an archive
  dir_.Write("zip/img/a.png", kRed);
  Zip("mem.zip");
  const std::string archive = dir_.Read("skin/mem.zip");
  CPaintManagerUI::SetResourceZip(const_cast<char*>(archive.data()), static_cast<unsigned>(archive.size()));
  EXPECT_STREQ(CPaintManagerUI::GetResourceZip(), L"membuffer");
  CPaintManagerUI::SetResourceZip(const_cast<char*>(bytes.data()), static_cast<unsigned>(bytes.size()));
  EXPECT_EQ(Load(L"IMG/a.png"), 0xFFFF0000u);
}

TEST_F(ImageSourcesTest, ArchiveEntriesLargerThanASkinDocumentAreRefused) {
  // A valid image padded past the limit compresses to almost nothing.
  dir_.Write("zip/img/big.png", kGreen + std::string(5 * 1024 * 1024, '\0'));
  Zip("skin.zip");
  CPaintManagerUI::SetResourceZip(L"skin.zip", true);
  EXPECT_EQ(Load(L"img/big.png"), 0u);
  EXPECT_EQ(Load(L"img/a.png"), 0xFF00FF00u);
  // The same bytes as a file are within the file limit and decode.
  CPaintManagerUI::SetResourceZip(L"", false);
  dir_.Write("skin/img/big.png", kGreen + std::string(5 * 1024 * 1024, '\0'));
  EXPECT_EQ(Load(L"img/big.png"), 0xFF00FF00u);
}

TEST_F(ImageSourcesTest, ResourceNamesMustBeNumbers) {
  CPaintManagerUI manager;
  EXPECT_EQ(manager.AddImage(L"abc", L"PNG"), nullptr);
  TImageInfo* info = manager.AddImage(L"101", L"PNG");
  ASSERT_NE(info, nullptr);
  EXPECT_EQ(FirstPixel(info), 0xFF0000FFu);
  EXPECT_STREQ(info->sResType, L"PNG");
  EXPECT_EQ(manager.AddImage(L"999", L"PNG"), nullptr);
}

TEST_F(ImageSourcesTest, CacheDecodesOnceAndReloadKeepsTheRecord) {
  CPaintManagerUI manager;
  TImageInfo* first = manager.GetImageEx(L"img/a.png");
  ASSERT_NE(first, nullptr);
  std::filesystem::remove(dir_ / "skin" / "img" / "a.png");
  EXPECT_EQ(manager.GetImageEx(L"img/a.png"), first);  // no second read
  EXPECT_EQ(manager.GetImage(L"img/a.png"), first);

  dir_.Write("skin/img/a.png", kGreen);
  manager.ReloadAllImages();
  EXPECT_EQ(manager.GetImageEx(L"img/a.png"), first);
  EXPECT_EQ(FirstPixel(first), 0xFF00FF00u);

  // Another explicit mask is another record; no mask shares the first.
  dir_.Write("skin/m.png", MakePng(2, 1, {0xFFFF00FF, 0xFF00FF00}));
  TImageInfo* magenta = manager.GetImageEx(L"m.png", nullptr, 0xFFFF00FF);
  TImageInfo* green = manager.GetImageEx(L"m.png", nullptr, 0xFF00FF00);
  ASSERT_TRUE(magenta && green);
  EXPECT_NE(magenta, green);
  EXPECT_EQ(FirstPixel(magenta), 0u);
  EXPECT_EQ(FirstPixel(green), 0xFFFF00FFu);
  EXPECT_EQ(manager.GetImageEx(L"m.png"), magenta);
  EXPECT_EQ(manager.GetImageEx(L"m.png", nullptr, 0xFF00FF00), green);
  manager.ReloadAllImages();
  EXPECT_EQ(FirstPixel(green), 0xFFFF00FFu);
  EXPECT_TRUE(manager.RemoveImage(L"m.png"));
  EXPECT_FALSE(manager.RemoveImage(L"m.png"));
}

TEST_F(ImageSourcesTest, AttributesNoticeRemovedRecords) {
  CPaintManagerUI manager;
  CImageAttribute image;
  image.SetAttributeString(L"file='img/a.png'");
  ASSERT_TRUE(image.LoadImage(&manager));
  ASSERT_NE(image.GetImageInfo(), nullptr);
  Surface s(4, 4);
  const RECT item = {0, 0, 2, 2};
  ASSERT_TRUE(CRenderEngine::DrawImage(s.dc, &manager, item, item, image));
  EXPECT_EQ(s.At(0, 0), 0xFFFF0000u);

  dir_.Write("skin/img/a.png", kGreen);
  EXPECT_TRUE(manager.RemoveImage(L"img/a.png"));
  EXPECT_EQ(image.GetImageInfo(), nullptr);
  // The next paint looks the image up again and finds the new file.
  ASSERT_TRUE(CRenderEngine::DrawImage(s.dc, &manager, item, item, image));
  EXPECT_EQ(s.At(0, 0), 0xFF00FF00u);

  manager.RemoveAllImages();
  EXPECT_EQ(image.GetImageInfo(), nullptr);
  CImageAttribute held;
  {
    CPaintManagerUI gone;
    held.SetAttributeString(L"img/a.png");
    ASSERT_TRUE(held.LoadImage(&gone));
  }
  EXPECT_EQ(held.GetImageInfo(), nullptr);
}

TEST_F(ImageSourcesTest, FailedLoadIsNotRetriedUntilTheStringChanges) {
  CPaintManagerUI manager;
  CImageAttribute image;
  image.SetAttributeString(L"file='img/late.png'");
  EXPECT_FALSE(image.LoadImage(&manager));
  EXPECT_FALSE(image.IsLoadSuccess());
  dir_.Write("skin/img/late.png", kRed);
  EXPECT_FALSE(image.LoadImage(&manager));
  image.SetAttributeString(L"file='img/late.png' fade='255'");
  EXPECT_TRUE(image.LoadImage(&manager));
  // The source is the whole bitmap, and a larger one is cut to it.
  EXPECT_EQ(image.m_rcSource.right, 2);
  image.SetAttributeString(L"file='img/late.png' source='1,0,90,90'");
  ASSERT_TRUE(image.LoadImage(&manager));
  EXPECT_EQ(image.m_rcSource.left, 1);
  EXPECT_EQ(image.m_rcSource.right, 2);
  EXPECT_EQ(image.m_rcSource.bottom, 2);
}

TEST(PaintManagerImagesTest, ImagesComeFromParentsOnlyThroughGetImage) {
  CPaintManagerUI parent, child;
  ASSERT_TRUE(child.UseParentResource(&parent));
  Surface s(3, 3, 0xFF123456);
  TImageInfo* info = parent.AddImage(L"shared", s.Release(), 3, 3, false);
  ASSERT_NE(info, nullptr);
  EXPECT_EQ(child.GetImage(L"shared"), info);
  EXPECT_EQ(child.GetImageEx(L"shared"), nullptr);  // own table only
  EXPECT_FALSE(child.RemoveImage(L"shared"));
  EXPECT_EQ(parent.AddImage(L"none", nullptr, 3, 3, false), nullptr);
  // The first stays; the second bitmap, handed over, is released.
  Surface other(3, 3);
  HBITMAP second = other.Release();
  EXPECT_EQ(parent.AddImage(L"shared", second, 3, 3, false), info);
  EXPECT_EQ(GetObjectType(second), 0u);
}

}  // namespace
