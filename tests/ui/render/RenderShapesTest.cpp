#include <gtest/gtest.h>

#include "ImageFixtures.h"
#include "manager/CPaintManagerUI.h"

using namespace SkinUI;

namespace {

constexpr uint32_t kWhite = 0xFFFFFFFF;

TEST(AdjustColorTest, Table) {
  struct Case {
    DWORD colour;
    short h, s, l;
    DWORD expected;
  };
  // The lowest byte is the first channel of the rotation: a hue of 300 (+120
  // degrees) moves it into the second byte, 60 (-120) into the third.
  const Case cases[] = {
      {0xFF123456, 180, 100, 100, 0xFF123456}, {0x00ABCDEF, 180, 100, 100, 0x00ABCDEF},
      {0xFF0000FF, 300, 100, 100, 0xFF00FF00}, {0x800000FF, 60, 100, 100, 0x80FF0000},
      {0xFF0000FF, 180, 0, 100, 0xFF7F7F7F},   {0xFF0000FF, 180, 100, 200, 0xFFFFFFFF},
      {0xFF0000FF, 180, 100, 0, 0xFF000000},   {0xFF808080, 300, 100, 100, 0xFF808080},
  };
  for (const Case& c : cases)
    EXPECT_EQ(CRenderEngine::AdjustColor(c.colour, c.h, c.s, c.l), c.expected)
        << std::hex << c.colour << " " << std::dec << c.h << "/" << c.s << "/" << c.l;
}

TEST(DrawColorTest, FillsBlendsAndSkipsTransparent) {
  Surface s(10, 10);
  CRenderEngine::DrawColor(s.dc, RECT{2, 3, 3, 4}, 0xFF0000FF);
  EXPECT_EQ(s.At(2, 3), 0xFF0000FFu);
  EXPECT_EQ(s.At(3, 3), kWhite);
  EXPECT_EQ(s.At(2, 4), kWhite);
  CRenderEngine::DrawColor(s.dc, RECT{0, 0, 10, 10}, 0x00FF0000);
  EXPECT_EQ(s.At(5, 5), kWhite);
  CRenderEngine::DrawColor(s.dc, RECT{0, 0, 10, 10}, 0x80000000);
  EXPECT_NEAR(int(s.At(5, 5) & 0xFF), 127, 1);
}

TEST(DrawGradientTest, EndRowsCarryTheColours) {
  for (bool vertical : {true, false}) {
    SCOPED_TRACE(vertical ? "vertical" : "horizontal");
    Surface s(20, 20);
    CRenderEngine::DrawGradient(s.dc, RECT{2, 2, 12, 12}, 0xFF000000, 0xFF0000FF, vertical, 10);
    for (int i = 2; i < 12; ++i) {
      EXPECT_EQ(vertical ? s.At(i, 2) : s.At(2, i), 0xFF000000u);
      EXPECT_EQ(vertical ? s.At(i, 11) : s.At(11, i), 0xFF0000FFu);
    }
    EXPECT_EQ(s.At(12, 12), kWhite);
    EXPECT_EQ(s.At(1, 1), kWhite);
  }
  // Translucent: the average alpha blends the whole gradient.
  Surface s(20, 20);
  CRenderEngine::DrawGradient(s.dc, RECT{0, 0, 20, 20}, 0xFF000000, 0x01000000, true, 10);
  EXPECT_NEAR(int(s.At(5, 0) & 0xFF), 127, 1);
  CRenderEngine::DrawGradient(s.dc, RECT{0, 0, 20, 20}, 0x01FF0000, 0x00FF0000, true, 10);
  EXPECT_NEAR(int(s.At(5, 0) & 0xFF), 127, 1);  // average alpha 0: nothing drawn
}

// Pixels that are not white inside s, as a set of rows of '#' and '.'.
std::string Picture(Surface& s) {
  std::string out;
  for (int y = 0; y < s.height; ++y) {
    for (int x = 0; x < s.width; ++x) out += s.At(x, y) == kWhite ? '.' : '#';
    out += '\n';
  }
  return out;
}

TEST(DrawRectTest, OutlinesInsideTheRectangle) {
  Surface s(8, 6);
  CRenderEngine::DrawRect(s.dc, RECT{1, 1, 7, 5}, 1, 0xFF000000);
  EXPECT_EQ(Picture(s),
            "........\n"
            ".######.\n"
            ".#....#.\n"
            ".#....#.\n"
            ".######.\n"
            "........\n");
  // Without corners the rounded outline is the same rectangle, inside it.
  Surface round(8, 6);
  CRenderEngine::DrawRoundRect(round.dc, RECT{1, 1, 7, 5}, 0, 0, 1, 0xFF000000);
  EXPECT_EQ(Picture(round), Picture(s));
  Surface line(8, 6);
  CRenderEngine::DrawLine(line.dc, RECT{1, 2, 6, 2}, 1, 0xFF000000);
  const std::string picture = Picture(line);
  EXPECT_EQ(picture.substr(0, 18), "........\n........\n");
  EXPECT_EQ(picture.substr(18, 7), ".#####.");  // the platform leaves out the end point
  EXPECT_EQ(picture.substr(27), "........\n........\n........\n");
}

TEST(DrawRoundRectTest, CornersAreRounded) {
  Surface s(20, 20);
  CRenderEngine::DrawRoundRect(s.dc, RECT{0, 0, 20, 20}, 5, 5, 1, 0xFF000000);
  EXPECT_EQ(s.At(0, 0), kWhite);
  EXPECT_EQ(s.At(19, 19), kWhite);
  EXPECT_NE(s.At(10, 0), kWhite);
  EXPECT_NE(s.At(0, 10), kWhite);
  EXPECT_NE(s.At(19, 10), kWhite);
  EXPECT_NE(s.At(10, 19), kWhite);
  EXPECT_EQ(s.At(10, 10), kWhite);
}

TEST(RestoreAlphaColorTest, RepairsColouredTransparentPixelsInsideTheClampedRectangle) {
  std::vector<uint32_t> bits = {0x00000010, 0x00000000, 0x00100000, 0x00000010,
                                0x00000010, 0x80000010, 0x00000010, 0x00000010};
  RECT rc = {1, -5, 100, 1};
  CRenderEngine::RestoreAlphaColor(reinterpret_cast<LPBYTE>(bits.data()), 4, 2, &rc);
  EXPECT_EQ(bits, (std::vector<uint32_t>{0x00000010, 0x00000000, 0xFF100000, 0xFF000010, 0x00000010, 0x80000010,
                                         0x00000010, 0x00000010}));
  RECT all = {-1000, -1000, 1000, 1000};
  CRenderEngine::RestoreAlphaColor(reinterpret_cast<LPBYTE>(bits.data()), 4, 2, &all);
  EXPECT_EQ(bits[4], 0xFF000010u);
  EXPECT_EQ(bits[5], 0x80000010u);
}

TEST(CreateBitmapTest, TopDownThirtyTwoBitsOrNothing) {
  BYTE* bits = nullptr;
  HBITMAP bitmap = CRenderEngine::CreateBitmap(nullptr, 3, 2, &bits);
  ASSERT_NE(bitmap, nullptr);
  ASSERT_NE(bits, nullptr);
  BITMAP bm = {};
  GetObjectW(bitmap, sizeof bm, &bm);
  EXPECT_EQ(bm.bmWidth, 3);
  EXPECT_EQ(bm.bmHeight, 2);
  EXPECT_EQ(bm.bmBitsPixel, 32);
  DeleteObject(bitmap);
  EXPECT_EQ(CRenderEngine::CreateBitmap(nullptr, 0, 5, &bits), nullptr);
  EXPECT_EQ(bits, nullptr);
  EXPECT_EQ(CRenderEngine::CreateBitmap(nullptr, 70000, 70000, &bits), nullptr);
}

TEST(DrawTextTest, MeasuresAndDrawsWithTheManagersFont) {
  CPaintManagerUI manager;
  HFONT font = manager.AddFont(L"WenQuanYi Micro Hei", 14, false, false, false);
  ASSERT_NE(font, nullptr);
  Surface s(200, 40);
  // The size is the platform's extent of the text in that font.
  HGDIOBJ old = SelectObject(s.dc, font);
  SIZE expected = {};
  GetTextExtentPoint32W(s.dc, L"Start game", 10, &expected);
  SelectObject(s.dc, old);
  SIZE size = CRenderEngine::GetTextSize(s.dc, &manager, L"Start game", 0, 0);
  EXPECT_EQ(size.cx, expected.cx);
  EXPECT_EQ(size.cy, expected.cy);
  EXPECT_EQ(CRenderEngine::GetTextSize(s.dc, &manager, nullptr, 0, 0).cx, 0);

  for (bool gdiplus : {false, true}) {
    SCOPED_TRACE(gdiplus ? "gdiplus" : "gdi");
    manager.SetUseGdiplusText(gdiplus);
    s.Fill(kWhite);
    RECT measure = {10, 5, 190, 35};
    CRenderEngine::DrawText(s.dc, &manager, measure, L"Start game", 0xFF000000, 0, DT_SINGLELINE | DT_CALCRECT);
    EXPECT_NEAR(measure.right - measure.left, expected.cx, 2);
    EXPECT_EQ(s.At(15, 15), kWhite);  // measuring draws nothing
    RECT rc = {10, 5, 190, 35};
    CRenderEngine::DrawText(s.dc, &manager, rc, L"Start game", 0xFFFF0000, 0, DT_SINGLELINE | DT_VCENTER);
    int ink = 0, left = 200, right = 0;
    for (int y = 0; y < 40; ++y)
      for (int x = 0; x < 200; ++x)
        if (s.At(x, y) != kWhite) {
          ++ink;
          left = std::min(left, x);
          right = std::max(right, x);
        }
    EXPECT_GT(ink, 20);
    EXPECT_GE(left, 10);
    EXPECT_LE(right, 10 + expected.cx + 1);
  }
}

}  // namespace
