// Device contexts, bitmaps, blits and fills, checked pixel by pixel.
#include <cmath>
#include <functional>

#include "Canvas.h"

namespace {

constexpr uint32_t kWhite = 0xFFFFFFFF;
constexpr uint32_t kRed = 0xFFFF0000;
constexpr uint32_t kBlue = 0xFF0000FF;

TEST(GdiDibSection, SharesPremultipliedPixelsWithTheDc) {
  Canvas canvas(4, 3, 0);
  canvas.At(1, 2) = 0x80402010;  // written directly ...
  Canvas copy(4, 3, 0);
  ASSERT_TRUE(BitBlt(copy.dc, 0, 0, 4, 3, canvas.dc, 0, 0, SRCCOPY));
  EXPECT_EQ(copy.At(1, 2), 0x80402010u);  // ... read by the blit, alpha included

  DIBSECTION ds{};
  ASSERT_EQ(GetObjectW(canvas.bitmap, sizeof ds, &ds), static_cast<int>(sizeof ds));
  EXPECT_EQ(ds.dsBm.bmBits, canvas.bits);
  EXPECT_EQ(ds.dsBm.bmWidth, 4);
  EXPECT_EQ(ds.dsBm.bmWidthBytes, 16);
  EXPECT_EQ(ds.dsBm.bmBitsPixel, 32);
  EXPECT_EQ(ds.dsBmih.biHeight, -3);
  BITMAP bm{};
  EXPECT_EQ(GetObjectW(canvas.bitmap, sizeof bm, &bm), static_cast<int>(sizeof bm));
  EXPECT_EQ(bm.bmHeight, 3);
}

TEST(GdiDibSection, RefusesWhatCannotShareCairoMemory) {
  HDC dc = CreateCompatibleDC(nullptr);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), 4, 4, 1, 32, BI_RGB, 0, 0, 0, 0, 0};  // bottom-up
  void* bits = reinterpret_cast<void*>(1);
  EXPECT_EQ(CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0), nullptr);
  EXPECT_EQ(bits, nullptr);
  info.bmiHeader.biHeight = -4;
  info.bmiHeader.biBitCount = 24;
  EXPECT_EQ(CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0), nullptr);
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biWidth = 0;
  EXPECT_EQ(CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0), nullptr);
  EXPECT_EQ(CreateDIBSection(dc, nullptr, DIB_RGB_COLORS, &bits, nullptr, 0), nullptr);
  DeleteDC(dc);
}

TEST(GdiHandles, StaleAndForeignHandlesAreRecognised) {
  Canvas canvas(2, 2);
  HBRUSH brush = CreateSolidBrush(RGB(255, 0, 0));
  RECT all{0, 0, 2, 2};
  ASSERT_TRUE(FillRect(canvas.dc, &all, brush));
  ASSERT_TRUE(DeleteObject(brush));
  EXPECT_FALSE(FillRect(canvas.dc, &all, brush));
  EXPECT_FALSE(DeleteObject(brush));
  EXPECT_EQ(GetObjectType(brush), 0u);
  HBRUSH reused = CreateSolidBrush(RGB(0, 255, 0));  // may take the same slot
  EXPECT_NE(reused, brush);
  DeleteObject(reused);

  int local = 0;
  for (void* foreign : {static_cast<void*>(&local), reinterpret_cast<void*>(4), reinterpret_cast<void*>(0x1000)}) {
    EXPECT_EQ(SelectObject(canvas.dc, foreign), nullptr);
    EXPECT_FALSE(FillRect(static_cast<HDC>(foreign), &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))));
    EXPECT_FALSE(DeleteObject(foreign));
  }
  EXPECT_FALSE(DeleteObject(canvas.dc));  // a DC goes through DeleteDC
  EXPECT_TRUE(DeleteObject(GetStockObject(BLACK_BRUSH)));
  EXPECT_EQ(GetObjectType(GetStockObject(BLACK_BRUSH)), static_cast<DWORD>(OBJ_BRUSH));
}

TEST(GdiHandles, ObjectDeletedWhileSelectedStaysUsable) {
  Canvas canvas(2, 2);
  HPEN pen = CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
  HGDIOBJ old = SelectObject(canvas.dc, pen);
  DeleteObject(pen);
  MoveToEx(canvas.dc, 0, 0, nullptr);
  EXPECT_TRUE(LineTo(canvas.dc, 2, 0));
  EXPECT_EQ(canvas.At(0, 0), kRed);
  SelectObject(canvas.dc, old);
}

TEST(GdiFill, SolidBrushWritesOpaqueColour) {
  Canvas canvas(6, 6, 0);
  HBRUSH brush = CreateSolidBrush(RGB(10, 20, 30));
  RECT r{1, 2, 4, 5};
  ASSERT_TRUE(FillRect(canvas.dc, &r, brush));
  EXPECT_EQ(canvas.At(1, 2), 0xFF0A141Eu);
  EXPECT_EQ(canvas.At(3, 4), 0xFF0A141Eu);
  EXPECT_EQ(canvas.At(4, 4), 0u);
  EXPECT_EQ(canvas.At(0, 2), 0u);
  EXPECT_EQ(canvas.At(1, 5), 0u);
  DeleteObject(brush);
}

TEST(GdiBlit, CopyIsClippedBySelectedRegion) {
  Canvas src(8, 8, kRed), dst(8, 8, kBlue);
  HRGN clip = CreateRectRgn(2, 2, 6, 6);
  EXPECT_EQ(SelectClipRgn(dst.dc, clip), SIMPLEREGION);
  DeleteObject(clip);  // the DC keeps its own copy
  ASSERT_TRUE(BitBlt(dst.dc, 0, 0, 8, 8, src.dc, 0, 0, SRCCOPY));
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) {
      bool inside = x >= 2 && x < 6 && y >= 2 && y < 6;
      EXPECT_EQ(dst.At(x, y), inside ? kRed : kBlue) << x << "," << y;
    }
  RECT box;
  EXPECT_EQ(GetClipBox(dst.dc, &box), SIMPLEREGION);
  EXPECT_EQ(box.left, 2);
  EXPECT_EQ(box.bottom, 6);
}

TEST(GdiBlit, CopyWithinOneSurfaceOverlapping) {
  Canvas canvas(6, 1, 0);
  for (int x = 0; x < 6; ++x) canvas.At(x, 0) = 0xFF000000u | x;
  ASSERT_TRUE(BitBlt(canvas.dc, 1, 0, 5, 1, canvas.dc, 0, 0, SRCCOPY));
  for (int x = 1; x < 6; ++x) EXPECT_EQ(canvas.At(x, 0), 0xFF000000u | (x - 1));
}

// Every drawing call keeps outside the selected clip.
TEST(GdiClip, EveryDrawingCallHonoursIt) {
  Canvas src(16, 16, kRed);
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  HPEN pen = CreatePen(PS_SOLID, 3, RGB(255, 0, 0));
  TRIVERTEX v[2] = {{0, 0, 0xFF00, 0, 0, 0xFF00}, {16, 16, 0, 0, 0xFF00, 0xFF00}};
  GRADIENT_RECT g{0, 1};
  RECT all{0, 0, 16, 16};
  const std::pair<const char*, std::function<void(HDC)>> calls[] = {
      {"FillRect", [&](HDC dc) { FillRect(dc, &all, red); }},
      {"BitBlt", [&](HDC dc) { BitBlt(dc, 0, 0, 16, 16, src.dc, 0, 0, SRCCOPY); }},
      {"StretchBlt", [&](HDC dc) { StretchBlt(dc, 0, 0, 16, 16, src.dc, 0, 0, 4, 4, SRCCOPY); }},
      {"AlphaBlend", [&](HDC dc) { AlphaBlend(dc, 0, 0, 16, 16, src.dc, 0, 0, 8, 8, {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA}); }},
      {"GradientFill", [&](HDC dc) { GradientFill(dc, v, 2, &g, 1, GRADIENT_FILL_RECT_H); }},
      {"LineTo", [&](HDC dc) { SelectObject(dc, pen); MoveToEx(dc, 0, 8, nullptr); LineTo(dc, 16, 8); }},
      {"TextOutW", [&](HDC dc) { SetBkMode(dc, OPAQUE); SetBkColor(dc, RGB(255, 0, 0)); TextOutW(dc, 0, 0, L"WWWW", 4); }},
      {"DrawTextW", [&](HDC dc) { SetBkMode(dc, OPAQUE); SetBkColor(dc, RGB(255, 0, 0)); DrawTextW(dc, L"WWWW", -1, &all, DT_NOCLIP); }},
      {"FillRgn", [&](HDC dc) { HRGN r = CreateRectRgn(0, 0, 16, 16); FillRgn(dc, r, red); DeleteObject(r); }},
  };
  for (const auto& [name, draw] : calls) {
    Canvas dst(16, 16, 0);
    HRGN round = CreateRoundRectRgn(4, 4, 13, 13, 4, 4);
    SelectClipRgn(dst.dc, round);
    draw(dst.dc);
    int inside = 0;
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x) {
        if (PtInRegion(round, x, y)) inside += dst.At(x, y) != 0;
        else EXPECT_EQ(dst.At(x, y), 0u) << name << " at " << x << "," << y;
      }
    EXPECT_GT(inside, 0) << name;
    DeleteObject(round);
    SelectObject(dst.dc, GetStockObject(BLACK_PEN));
  }
  DeleteObject(pen);
  DeleteObject(red);
}

int Blend(int src, int src_alpha, int constant, int dst) {
  return static_cast<int>(std::lround(src * constant / 255.0 + dst * (1 - src_alpha * constant / 65025.0)));
}

TEST(GdiAlphaBlend, PremultipliedSourceWithConstantAlpha) {
  const struct {
    uint32_t src;
    BYTE constant;
    BYTE format;
  } cases[] = {
      {0x80402010, 255, AC_SRC_ALPHA}, {0x80402010, 100, AC_SRC_ALPHA}, {0xFF336699, 128, AC_SRC_ALPHA},
      {0x00000000, 200, AC_SRC_ALPHA}, {0x80402010, 100, 0},  // without per-pixel alpha the source is opaque
  };
  for (const auto& c : cases) {
    Canvas src(3, 3, c.src), dst(3, 3, 0xFFC89664);
    ASSERT_TRUE(AlphaBlend(dst.dc, 0, 0, 3, 3, src.dc, 0, 0, 3, 3, {AC_SRC_OVER, 0, c.constant, c.format}));
    int alpha = c.format ? Canvas::Channel(c.src, 24) : 255;
    for (int shift : {0, 8, 16}) {
      int expected = Blend(Canvas::Channel(c.src, shift), alpha, c.constant, Canvas::Channel(0xFFC89664, shift));
      EXPECT_NEAR(Canvas::Channel(dst.At(1, 1), shift), expected, 1) << std::hex << c.src << " shift " << shift;
    }
    EXPECT_NEAR(Canvas::Channel(dst.At(1, 1), 24), 255, 1);
  }
}

TEST(GdiAlphaBlend, RefusesSourceOutsideTheBitmapAndNegativeSizes) {
  Canvas src(4, 4, kRed), dst(4, 4, kBlue);
  BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  EXPECT_FALSE(AlphaBlend(dst.dc, 0, 0, 4, 4, src.dc, 1, 0, 4, 4, blend));
  EXPECT_FALSE(AlphaBlend(dst.dc, 0, 0, -4, 4, src.dc, 0, 0, 4, 4, blend));
  EXPECT_EQ(dst.At(0, 0), kBlue);
  EXPECT_TRUE(AlphaBlend(dst.dc, 0, 0, 8, 8, src.dc, 0, 0, 4, 4, blend));  // stretched, cut by the surface
  EXPECT_EQ(dst.At(3, 3), kRed);
}

TEST(GdiGradientFill, EndPointsAndMiddle) {
  for (ULONG mode : {GRADIENT_FILL_RECT_H, GRADIENT_FILL_RECT_V}) {
    Canvas canvas(11, 11, 0);
    TRIVERTEX v[2] = {{0, 0, 0xFF00, 0x0000, 0x2000, 0xFF00}, {11, 11, 0x0000, 0xC800, 0xA000, 0xFF00}};
    GRADIENT_RECT rect{0, 1};
    ASSERT_TRUE(GradientFill(canvas.dc, v, 2, &rect, 1, mode));
    auto at = [&](int i) { return mode == GRADIENT_FILL_RECT_H ? canvas.At(i, 3) : canvas.At(3, i); };
    EXPECT_EQ(at(0), 0xFFFF0020u);
    EXPECT_EQ(at(10), 0xFF00C8A0u);
    uint32_t middle = at(5);
    EXPECT_NEAR(Canvas::Channel(middle, 16), 128, 1);
    EXPECT_NEAR(Canvas::Channel(middle, 8), 100, 1);
    EXPECT_NEAR(Canvas::Channel(middle, 0), 96, 1);
    // Across the gradient nothing changes.
    EXPECT_EQ(mode == GRADIENT_FILL_RECT_H ? canvas.At(5, 0) : canvas.At(0, 5), middle);
  }
}

TEST(GdiStretchBlt, HalftoneProducesIntermediateValues) {
  Canvas src(2, 1, 0xFF000000);
  src.At(1, 0) = kWhite;
  for (int mode : {HALFTONE, COLORONCOLOR}) {
    Canvas dst(8, 1, 0);
    SetStretchBltMode(dst.dc, mode);
    ASSERT_TRUE(StretchBlt(dst.dc, 0, 0, 8, 1, src.dc, 0, 0, 2, 1, SRCCOPY));
    int intermediate = 0;
    for (int x = 0; x < 8; ++x) {
      int g = Canvas::Channel(dst.At(x, 0), 8);
      intermediate += g > 5 && g < 250;
      EXPECT_EQ(Canvas::Channel(dst.At(x, 0), 24), 255);
    }
    EXPECT_LT(Canvas::Channel(dst.At(0, 0), 8), 40);
    EXPECT_GT(Canvas::Channel(dst.At(7, 0), 8), 215);
    if (mode == HALFTONE) EXPECT_GE(intermediate, 2);
    else EXPECT_EQ(intermediate, 0);
  }
}

TEST(GdiStretchBlt, MirrorsOnNegativeWidth) {
  Canvas src(3, 1, 0);
  for (int x = 0; x < 3; ++x) src.At(x, 0) = 0xFF000000u | x;
  Canvas dst(3, 1, 0);
  ASSERT_TRUE(StretchBlt(dst.dc, 2, 0, -3, 1, src.dc, 0, 0, 3, 1, SRCCOPY));
  for (int x = 0; x < 3; ++x) EXPECT_EQ(dst.At(x, 0), 0xFF000000u | (2 - x));
}

TEST(GdiPen, LineStopsBeforeItsLastPixel) {
  Canvas canvas(12, 12, 0);
  HPEN pen = CreatePen(PS_SOLID, 1, RGB(0, 0, 255));
  SelectObject(canvas.dc, pen);
  POINT old;
  MoveToEx(canvas.dc, 1, 1, nullptr);
  ASSERT_TRUE(LineTo(canvas.dc, 9, 1));
  ASSERT_TRUE(LineTo(canvas.dc, 9, 9));
  MoveToEx(canvas.dc, 0, 11, &old);
  EXPECT_EQ(old.x, 9);
  EXPECT_EQ(old.y, 9);
  for (int x = 1; x < 9; ++x) EXPECT_EQ(canvas.At(x, 1), kBlue) << x;
  for (int y = 1; y < 9; ++y) EXPECT_EQ(canvas.At(9, y), kBlue) << y;
  EXPECT_EQ(canvas.At(0, 1), 0u);
  EXPECT_EQ(canvas.At(9, 9), 0u);
  EXPECT_EQ(canvas.At(9, 0), 0u);
  SelectObject(canvas.dc, GetStockObject(BLACK_PEN));
  DeleteObject(pen);
}

TEST(GdiPen, DashedLineHasGaps) {
  Canvas canvas(40, 1, 0);
  HPEN pen = CreatePen(PS_DASH, 1, RGB(0, 0, 255));
  SelectObject(canvas.dc, pen);
  MoveToEx(canvas.dc, 0, 0, nullptr);
  LineTo(canvas.dc, 40, 0);
  EXPECT_EQ(canvas.At(0, 0), kBlue);
  EXPECT_EQ(canvas.At(20, 0), 0u);
  SelectObject(canvas.dc, GetStockObject(BLACK_PEN));
  DeleteObject(pen);
}

TEST(GdiSaveDC, RestoreBringsBackClipObjectsAndModes) {
  Canvas canvas(8, 8, 0);
  HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
  HFONT font = MakeFont(L"DejaVu Sans", -20);
  HGDIOBJ first_brush = SelectObject(canvas.dc, brush);
  SetTextColor(canvas.dc, RGB(9, 9, 9));
  EXPECT_EQ(SaveDC(canvas.dc), 1);

  HRGN clip = CreateRectRgn(0, 0, 2, 2);
  SelectClipRgn(canvas.dc, clip);
  SelectObject(canvas.dc, GetStockObject(WHITE_BRUSH));
  HGDIOBJ first_font = SelectObject(canvas.dc, font);
  SetTextColor(canvas.dc, RGB(7, 7, 7));
  Canvas other(4, 4, 0);
  EXPECT_EQ(SaveDC(canvas.dc), 2);
  SelectObject(canvas.dc, other.bitmap);  // even the bitmap comes back
  SelectClipRgn(canvas.dc, nullptr);

  ASSERT_TRUE(RestoreDC(canvas.dc, -1));
  EXPECT_EQ(GetCurrentObject(canvas.dc, OBJ_BITMAP), canvas.bitmap);
  RECT box;
  GetClipBox(canvas.dc, &box);
  EXPECT_EQ(box.right, 2);

  ASSERT_TRUE(RestoreDC(canvas.dc, 1));
  EXPECT_EQ(GetCurrentObject(canvas.dc, OBJ_BRUSH), brush);
  EXPECT_EQ(GetCurrentObject(canvas.dc, OBJ_FONT), first_font);
  EXPECT_EQ(GetTextColor(canvas.dc), RGB(9, 9, 9));
  EXPECT_EQ(GetClipBox(canvas.dc, &box), SIMPLEREGION);
  EXPECT_EQ(box.right, 8);
  RECT all{0, 0, 8, 8};
  FillRect(canvas.dc, &all, static_cast<HBRUSH>(GetCurrentObject(canvas.dc, OBJ_BRUSH)));
  EXPECT_EQ(canvas.At(7, 7), 0xFF010203u);
  EXPECT_FALSE(RestoreDC(canvas.dc, 1));  // nothing saved any more
  EXPECT_FALSE(RestoreDC(canvas.dc, -1));

  SelectObject(canvas.dc, first_brush);
  DeleteObject(clip);
  DeleteObject(brush);
  DeleteObject(font);
}

}  // namespace
