// The blitter on memory bitmaps: each region of a small source has its own
// colour, so every destination pixel tells which source pixel it came from.
#include <gtest/gtest.h>

#include <functional>
#include <random>

#include "ImageFixtures.h"
#include "manager/CPaintManagerUI.h"
#include "render/CImageAttribute.h"
#include "render/CRenderClip.h"

using namespace SkinUI;

namespace {

constexpr uint32_t kWhite = 0xFFFFFFFF;

// An opaque bitmap whose pixel (x, y) is colour(x, y).
HBITMAP MakeBitmap(int w, int h, const std::function<uint32_t(int, int)>& colour) {
  BYTE* bits = nullptr;
  HBITMAP bitmap = CRenderEngine::CreateBitmap(nullptr, w, h, &bits);
  auto p = reinterpret_cast<uint32_t*>(bits);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) p[y * w + x] = colour(x, y);
  return bitmap;
}

// 0xFF, then the region's row and column in the green and blue bytes.
uint32_t Tag(int column, int row) { return 0xFF000000u | uint32_t(row + 1) << 8 | uint32_t(column + 1); }

// A 9x9 nine-grid with 3-pixel corners: region (column, row) of 3x3.
HBITMAP NineGrid() {
  return MakeBitmap(9, 9, [](int x, int y) { return Tag(x / 3, y / 3); });
}

struct BitmapDeleter {
  HBITMAP bitmap;
  ~BitmapDeleter() { DeleteObject(bitmap); }
};

// Every pixel outside rc still has the background colour.
void ExpectUntouchedOutside(Surface& s, RECT rc, uint32_t background) {
  for (int y = 0; y < s.height; ++y)
    for (int x = 0; x < s.width; ++x)
      if (x < rc.left || x >= rc.right || y < rc.top || y >= rc.bottom)
        ASSERT_EQ(s.At(x, y), background) << "at " << x << "," << y;
}

class BlitterPaths : public testing::TestWithParam<bool> {};

TEST_P(BlitterPaths, NineGridCornersExactEdgesStretchedAlongOneAxis) {
  const bool alpha = GetParam();
  Surface s(50, 40);
  HBITMAP bitmap = NineGrid();
  BitmapDeleter keep{bitmap};
  const RECT dst = {10, 5, 40, 30};  // 30 x 25
  CRenderEngine::DrawImage(s.dc, bitmap, dst, RECT{0, 0, 50, 40}, RECT{0, 0, 9, 9}, RECT{3, 3, 3, 3}, alpha);
  auto region = [&](int x, int y) {
    const int column = x < 13 ? 0 : x < 37 ? 1 : 2, row = y < 8 ? 0 : y < 27 ? 1 : 2;
    return Tag(column, row);
  };
  for (int y = dst.top; y < dst.bottom; ++y)
    for (int x = dst.left; x < dst.right; ++x) ASSERT_EQ(s.At(x, y), region(x, y)) << "at " << x << "," << y;
  ExpectUntouchedOutside(s, dst, kWhite);
}

TEST_P(BlitterPaths, HoleLeavesTheMiddle) {
  Surface s(50, 40);
  HBITMAP bitmap = NineGrid();
  BitmapDeleter keep{bitmap};
  CRenderEngine::DrawImage(s.dc, bitmap, RECT{10, 5, 40, 30}, RECT{0, 0, 50, 40}, RECT{0, 0, 9, 9},
                           RECT{3, 3, 3, 3}, GetParam(), 255, true);
  EXPECT_EQ(s.At(20, 15), kWhite);
  EXPECT_EQ(s.At(13, 8), kWhite);
  EXPECT_EQ(s.At(36, 26), kWhite);
  EXPECT_EQ(s.At(12, 15), Tag(0, 1));
  EXPECT_EQ(s.At(20, 29), Tag(1, 2));
}

// Source 20 x 15: 5-pixel corners around a 10 x 5 middle whose pixels
// carry their own column and row. The middle drawn is 25 x 12.
TEST_P(BlitterPaths, TilesAreCopiedUnscaledAndTheLastIsCut) {
  HBITMAP bitmap = MakeBitmap(20, 15, [](int x, int y) {
    return x >= 5 && x < 15 && y >= 5 && y < 10 ? Tag(x - 5 + 16, y - 5 + 16) : 0xFF000000u;
  });
  BitmapDeleter keep{bitmap};
  const RECT dst = {2, 2, 37, 24}, m = {7, 7, 32, 19};
  struct Mode {
    bool x, y;
  };
  for (Mode mode : {Mode{true, true}, Mode{true, false}, Mode{false, true}}) {
    SCOPED_TRACE(testing::Message() << "xtiled " << mode.x << " ytiled " << mode.y);
    Surface s(40, 30);
    CRenderEngine::DrawImage(s.dc, bitmap, dst, RECT{0, 0, 40, 30}, RECT{0, 0, 20, 15}, RECT{5, 5, 5, 5},
                             GetParam(), 255, false, mode.x, mode.y);
    for (int y = m.top; y < m.bottom; ++y)
      for (int x = m.left; x < m.right; ++x) {
        const uint32_t p = s.At(x, y);
        if (mode.x) ASSERT_EQ(int(p & 0xFF) - 17, (x - m.left) % 10) << x << "," << y;
        if (mode.y) ASSERT_EQ(int((p >> 8) & 0xFF) - 17, (y - m.top) % 5) << x << "," << y;
      }
    ExpectUntouchedOutside(s, dst, kWhite);
  }
}

TEST_P(BlitterPaths, CornersThatUseUpTheSourceDrawNoMiddle) {
  HBITMAP bitmap = NineGrid();
  BitmapDeleter keep{bitmap};
  for (bool tiled : {false, true}) {
    Surface s(50, 40);
    CRenderEngine::DrawImage(s.dc, bitmap, RECT{10, 5, 40, 30}, RECT{0, 0, 50, 40}, RECT{0, 0, 9, 9},
                             RECT{5, 5, 5, 5}, GetParam(), 255, false, tiled, tiled);
    EXPECT_EQ(s.At(25, 17), kWhite);
    EXPECT_EQ(s.At(10, 5), Tag(0, 0));
    ExpectUntouchedOutside(s, RECT{10, 5, 40, 30}, kWhite);
  }
}

TEST_P(BlitterPaths, NothingOutsideThePaintRectangleChanges) {
  HBITMAP bitmap = NineGrid();
  BitmapDeleter keep{bitmap};
  for (bool tiled : {false, true}) {
    Surface s(50, 40);
    const RECT paint = {12, 7, 30, 20};
    CRenderEngine::DrawImage(s.dc, bitmap, RECT{0, 0, 50, 40}, paint, RECT{0, 0, 9, 9}, RECT{3, 3, 3, 3},
                             GetParam(), 255, false, tiled, false);
    ExpectUntouchedOutside(s, paint, kWhite);
    EXPECT_EQ(s.At(20, 10), Tag(1, 1));
  }
}

// A source reaching past the bitmap (a progress bar's per-paint source)
// is cut; an unstretched destination loses the same strip.
TEST_P(BlitterPaths, SourcePastTheBitmapIsCutAtDrawTime) {
  HBITMAP bitmap = MakeBitmap(40, 10, [](int x, int) { return Tag(x, 0); });
  BitmapDeleter keep{bitmap};
  Surface s(60, 20);
  CRenderEngine::DrawImage(s.dc, bitmap, RECT{5, 5, 55, 15}, RECT{0, 0, 60, 20}, RECT{0, 0, 50, 10},
                           RECT{0, 0, 0, 0}, GetParam());
  for (int x = 5; x < 45; ++x) ASSERT_EQ(s.At(x, 8), Tag(x - 5, 0)) << x;
  ExpectUntouchedOutside(s, RECT{5, 5, 45, 15}, kWhite);
  // Wholly outside the bitmap: nothing at all.
  Surface t(60, 20);
  CRenderEngine::DrawImage(t.dc, bitmap, RECT{5, 5, 55, 15}, RECT{0, 0, 60, 20}, RECT{40, 0, 90, 10},
                           RECT{0, 0, 0, 0}, GetParam());
  ExpectUntouchedOutside(t, RECT{0, 0, 0, 0}, kWhite);
}

INSTANTIATE_TEST_SUITE_P(OpaqueAndAlpha, BlitterPaths, testing::Bool(),
                         [](const testing::TestParamInfo<bool>& info) { return info.param ? "Alpha" : "Opaque"; });

TEST(BlitterTest, SameSizeOpaqueImageIsCopiedBitExact) {
  std::mt19937 random(5);
  std::vector<uint32_t> pixels(37 * 23);
  for (uint32_t& p : pixels) p = 0xFF000000u | (random() & 0xFFFFFF);
  HBITMAP bitmap = MakeBitmap(37, 23, [&](int x, int y) { return pixels[y * 37 + x]; });
  BitmapDeleter keep{bitmap};
  Surface s(50, 30);
  CRenderEngine::DrawImage(s.dc, bitmap, RECT{3, 4, 40, 27}, RECT{0, 0, 50, 30}, RECT{0, 0, 37, 23},
                           RECT{0, 0, 0, 0}, false);
  for (int y = 0; y < 23; ++y)
    for (int x = 0; x < 37; ++x) ASSERT_EQ(s.At(x + 3, y + 4), pixels[y * 37 + x]);
  ExpectUntouchedOutside(s, RECT{3, 4, 40, 27}, kWhite);
}

TEST(BlitterTest, FadeHalvesAnOpaqueImage) {
  HBITMAP bitmap = MakeBitmap(4, 4, [](int, int) { return 0xFFFF0000u; });
  BitmapDeleter keep{bitmap};
  Surface s(10, 10);
  CRenderEngine::DrawImage(s.dc, bitmap, RECT{0, 0, 10, 10}, RECT{0, 0, 10, 10}, RECT{0, 0, 4, 4},
                           RECT{0, 0, 0, 0}, false, 128);
  const uint32_t p = s.At(5, 5);
  EXPECT_EQ(p >> 24, 255u);
  EXPECT_NEAR(int((p >> 16) & 0xFF), 255, 1);
  EXPECT_NEAR(int((p >> 8) & 0xFF), 127, 1);
  EXPECT_NEAR(int(p & 0xFF), 127, 1);
}

TEST(BlitterTest, AttributeDestinationIsCutToTheItem) {
  CPaintManagerUI manager;
  Surface source(20, 4, 0xFF00FF00);
  HBITMAP bitmap = source.Release();
  ASSERT_NE(manager.AddImage(L"green", bitmap, 20, 4, false), nullptr);
  CImageAttribute image;
  image.SetAttributeString(L"file='green' dest='0,0,200,40'");
  ASSERT_TRUE(image.LoadImage(&manager));
  Surface s(150, 50);
  const RECT item = {10, 5, 110, 45};
  EXPECT_TRUE(CRenderEngine::DrawImage(s.dc, &manager, item, RECT{0, 0, 150, 50}, image));
  EXPECT_EQ(s.At(10, 5), 0xFF00FF00u);
  EXPECT_EQ(s.At(109, 44), 0xFF00FF00u);
  ExpectUntouchedOutside(s, item, kWhite);
  // Drawing needs a loaded image and a manager.
  CImageAttribute unloaded;
  unloaded.SetAttributeString(L"green");
  EXPECT_FALSE(CRenderEngine::DrawImage(s.dc, &manager, item, item, unloaded));
  EXPECT_FALSE(CRenderEngine::DrawImage(s.dc, nullptr, item, item, image));
}

TEST(RenderClipTest, ClipIsCutToTheRectangleAndRestored) {
  Surface s(40, 40);
  IntersectClipRect(s.dc, 0, 0, 30, 30);
  {
    CRenderClip clip;
    CRenderClip::GenerateClip(s.dc, RECT{10, 10, 50, 20}, clip);
    RECT box;
    GetClipBox(s.dc, &box);
    EXPECT_EQ(box.left, 10);
    EXPECT_EQ(box.right, 30);  // within the clip it was made under
    EXPECT_EQ(box.bottom, 20);
    CRenderClip::UseOldClipBegin(s.dc, clip);
    GetClipBox(s.dc, &box);
    EXPECT_EQ(box.top, 0);
    CRenderClip::UseOldClipEnd(s.dc, clip);
    CRenderEngine::DrawColor(s.dc, RECT{0, 0, 40, 40}, 0xFF0000FF);
  }
  RECT box;
  GetClipBox(s.dc, &box);
  EXPECT_EQ(box.left, 0);
  EXPECT_EQ(box.top, 0);
  EXPECT_EQ(box.right, 30);
  EXPECT_EQ(box.bottom, 30);
  EXPECT_EQ(s.At(15, 15), 0xFF0000FFu);
  ExpectUntouchedOutside(s, RECT{10, 10, 30, 20}, kWhite);
}

TEST(RenderClipTest, RoundClipLeavesTheCornersOut) {
  Surface s(40, 40);
  {
    CRenderClip clip;
    CRenderClip::GenerateRoundClip(s.dc, RECT{0, 0, 40, 40}, RECT{0, 0, 39, 39}, 10, 10, clip);
    CRenderEngine::DrawColor(s.dc, RECT{0, 0, 40, 40}, 0xFF0000FF);
  }
  EXPECT_EQ(s.At(0, 0), kWhite);
  EXPECT_EQ(s.At(39, 39), kWhite);
  EXPECT_EQ(s.At(20, 20), 0xFF0000FFu);
  EXPECT_EQ(s.At(20, 0), 0xFF0000FFu);
  CRenderEngine::DrawColor(s.dc, RECT{0, 0, 40, 40}, 0xFF00FF00);
  EXPECT_EQ(s.At(0, 0), 0xFF00FF00u);  // the old clip is back
}

}  // namespace
