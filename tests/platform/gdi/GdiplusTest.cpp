// The Gdiplus facade on a memory DC.
#include "Canvas.h"

namespace {

using namespace Gdiplus;

class GdiplusTest : public ::testing::Test {
 protected:
  void SetUp() override {
    GdiplusStartupInput input;
    ASSERT_EQ(GdiplusStartup(&token_, &input, nullptr), Ok);
  }
  void TearDown() override { GdiplusShutdown(token_); }
  ULONG_PTR token_ = 0;
};

TEST_F(GdiplusTest, StartupChecksItsArguments) {
  ULONG_PTR token;
  GdiplusStartupInput input;
  EXPECT_EQ(GdiplusStartup(nullptr, &input, nullptr), InvalidParameter);
  input.GdiplusVersion = 9;
  EXPECT_EQ(GdiplusStartup(&token, &input, nullptr), UnsupportedGdiplusVersion);
  EXPECT_EQ(Graphics(reinterpret_cast<HDC>(&token)).GetLastStatus(), InvalidParameter);
}

TEST_F(GdiplusTest, FillRectangleBlendsAndCoversWholePixels) {
  Canvas canvas(10, 10);
  Graphics g(canvas.dc);
  SolidBrush brush(Color(128, 255, 0, 0));
  ASSERT_EQ(g.FillRectangle(&brush, 2, 3, 4, 5), Ok);
  uint32_t px = canvas.At(2, 3);
  EXPECT_NEAR(Canvas::Channel(px, 16), 255, 1);
  EXPECT_NEAR(Canvas::Channel(px, 8), 127, 1);
  EXPECT_EQ(canvas.At(5, 7), px);
  EXPECT_EQ(canvas.At(1, 3), 0xFFFFFFFFu);
  EXPECT_EQ(canvas.At(6, 3), 0xFFFFFFFFu);
  EXPECT_EQ(canvas.At(2, 8), 0xFFFFFFFFu);
}

TEST_F(GdiplusTest, InsetPenStaysInsideTheRectangle) {
  Canvas canvas(20, 20);
  Graphics g(canvas.dc);
  g.SetSmoothingMode(SmoothingModeAntiAlias);
  Pen pen(Color(255, 0, 0, 255), 3);
  pen.SetAlignment(PenAlignmentInset);
  ASSERT_EQ(g.DrawRectangle(&pen, 4, 4, 10, 10), Ok);
  auto ink = canvas.InkOf();
  EXPECT_EQ(ink.left, 4);
  EXPECT_EQ(ink.top, 4);
  EXPECT_EQ(ink.right, 14);
  EXPECT_EQ(ink.bottom, 14);
  // Pixel centres lie on whole coordinates: the outline at x = 4 halves pixel 4.
  EXPECT_NE(canvas.At(4, 9), 0xFF0000FFu);
  EXPECT_EQ(canvas.At(5, 9), 0xFF0000FFu);  // solid inside the outline
  EXPECT_EQ(canvas.At(6, 9), 0xFF0000FFu);
  EXPECT_EQ(canvas.At(9, 9), 0xFFFFFFFFu);  // hollow middle

  Canvas centred(20, 20);
  Graphics c(centred.dc);
  c.SetSmoothingMode(SmoothingModeAntiAlias);
  pen.SetAlignment(PenAlignmentCenter);
  c.DrawRectangle(&pen, 4, 4, 10, 10);
  EXPECT_LT(centred.InkOf().left, 4);  // half the stroke lies outside
}

TEST_F(GdiplusTest, AntiAliasedDiagonalHasIntermediateValuesAndDashesHaveGaps) {
  Canvas canvas(30, 30);
  Graphics g(canvas.dc);
  g.SetSmoothingMode(SmoothingModeAntiAlias);
  Pen pen(Color(255, 0, 0, 0), 1.5f);
  g.DrawLine(&pen, 2, 2, 27, 13);
  int partial = 0;
  for (int i = 0; i < 30 * 30; ++i) {
    int v = Canvas::Channel(canvas.bits[i], 0);
    partial += v > 10 && v < 245;
  }
  EXPECT_GT(partial, 10);

  Canvas dashed(40, 5);
  Graphics d(dashed.dc);
  Pen dash(Color(255, 0, 0, 0), 2);
  dash.SetDashStyle(DashStyleDash);
  d.DrawLine(&dash, 0, 2, 40, 2);
  int gaps = 0;
  for (int x = 1; x < 40; ++x) gaps += dashed.At(x, 2) == 0xFFFFFFFFu && dashed.At(x - 1, 2) != 0xFFFFFFFFu;
  EXPECT_GE(gaps, 4);  // dash 6, gap 2 at width 2
  // Aliased one-pixel line at whole coordinates covers exactly one row.
  Canvas row(10, 5);
  Graphics r(row.dc);
  Pen thin(Color(255, 0, 0, 0), 1);
  r.DrawLine(&thin, 0, 2, 9, 2);
  EXPECT_EQ(row.At(5, 2), 0xFF000000u);
  EXPECT_EQ(row.At(5, 1), 0xFFFFFFFFu);
  EXPECT_EQ(row.At(5, 3), 0xFFFFFFFFu);
}

TEST_F(GdiplusTest, RoundedPathLeavesCornersOut) {
  // The rounded rectangle the render engine strokes.
  Canvas canvas(40, 30);
  Graphics g(canvas.dc);
  g.SetSmoothingMode(SmoothingModeAntiAlias);
  const int l = 2, t = 2, r = 38, b = 28, cw = 6, ch = 6;
  GraphicsPath path;
  path.AddLine(l, b - ch, l, t + ch);
  path.AddArc(l, t, cw * 2, ch * 2, 180, 90);
  path.AddLine(l + cw, t, r - cw, t);
  path.AddArc(r - cw * 2 - 1, t, cw * 2, ch * 2, 270, 90);
  path.AddLine(r - 1, t + ch, r - 1, b - ch);
  path.AddArc(r - cw * 2 - 1, b - ch * 2 - 1, cw * 2, ch * 2, 0, 90);
  path.AddLine(r - cw, b - 1, l + cw, b - 1);
  path.AddArc(l, b - ch * 2 - 1, cw * 2, ch * 2, 90, 90);
  path.CloseFigure();
  Pen pen(Color(255, 0, 0, 0), 2);
  pen.SetAlignment(PenAlignmentInset);
  ASSERT_EQ(g.DrawPath(&pen, &path), Ok);
  EXPECT_EQ(canvas.At(l, t), 0xFFFFFFFFu);
  EXPECT_EQ(canvas.At(r - 1, b - 1), 0xFFFFFFFFu);
  EXPECT_NE(canvas.At(20, t), 0xFFFFFFFFu);
  EXPECT_NE(canvas.At(l, 15), 0xFFFFFFFFu);
  EXPECT_NE(canvas.At(r - 1, 15), 0xFFFFFFFFu);
  EXPECT_EQ(canvas.At(20, 15), 0xFFFFFFFFu);
  EXPECT_EQ(path.GetPointCount(), 4 * 2 + 4 * 4);
}

struct GdiplusTextTest : GdiplusTest {
  Canvas canvas{200, 80};
  HFONT hfont = MakeFont(L"DejaVu Sans", -16);
  HGDIOBJ old = SelectObject(canvas.dc, hfont);
  ~GdiplusTextTest() override {
    SelectObject(canvas.dc, old);
    DeleteObject(hfont);
  }
};

TEST_F(GdiplusTextTest, MeasureStringMatchesTheGdiExtent) {
  Graphics g(canvas.dc);
  Font font(canvas.dc, hfont);
  ASSERT_TRUE(font.IsAvailable());
  EXPECT_EQ(font.GetSize(), 16);
  StringFormat format(StringFormat::GenericTypographic());
  RectF box;
  ASSERT_EQ(g.MeasureString(L"Hello there", -1, &font, RectF(0, 0, 9999, 100), &format, &box), Ok);
  SIZE size;
  GetTextExtentPoint32W(canvas.dc, L"Hello there", 11, &size);
  EXPECT_EQ(box.Width, size.cx);
  EXPECT_EQ(box.Height, size.cy);
  // The default format pads by a sixth of the em on both sides.
  g.MeasureString(L"Hello there", -1, &font, RectF(0, 0, 9999, 100), StringFormat::GenericDefault(), &box);
  EXPECT_NEAR(box.Width, size.cx + 2 * 16 / 6.0, 0.01);
  // A narrow box wraps; no-wrap keeps one line.
  INT lines = 0;
  g.MeasureString(L"Hello there", -1, &font, RectF(0, 0, size.cx * 0.7f, 100), &format, &box, nullptr, &lines);
  EXPECT_EQ(lines, 2);
  format.SetFormatFlags(format.GetFormatFlags() | StringFormatFlagsNoWrap);
  g.MeasureString(L"Hello there", -1, &font, RectF(0, 0, size.cx * 0.7f, 100), &format, &box, nullptr, &lines);
  EXPECT_EQ(lines, 1);
}

TEST_F(GdiplusTextTest, DrawStringAlignsAndTrimsInsideTheBox) {
  Graphics g(canvas.dc);
  Font font(canvas.dc);
  SolidBrush black(Color(255, 0, 0, 0));
  StringFormat format(StringFormat::GenericTypographic());
  format.SetAlignment(StringAlignmentCenter);
  format.SetLineAlignment(StringAlignmentCenter);
  ASSERT_EQ(g.DrawString(L"HHH", -1, &font, RectF(20, 10, 160, 60), &format, &black), Ok);
  auto ink = canvas.InkOf();
  EXPECT_NEAR((ink.left + ink.right) / 2.0, 100, 2.5);
  EXPECT_GT(ink.top, 10 + 15);
  EXPECT_LT(ink.bottom, 70 - 15);

  canvas.Fill(0xFFFFFFFF);
  StringFormat trimmed(StringFormat::GenericTypographic());
  trimmed.SetTrimming(StringTrimmingEllipsisCharacter);
  trimmed.SetFormatFlags(StringFormatFlagsNoWrap);  // clipped to the box
  RectF box(10, 10, 60, 30);
  g.DrawString(L"A long label that cannot fit", -1, &font, box, &trimmed, &black);
  ink = canvas.InkOf();
  EXPECT_GE(ink.left, 10);
  EXPECT_LT(ink.right, 70);
  RectF measured;
  g.MeasureString(L"A long label that cannot fit", -1, &font, box, &trimmed, &measured);
  EXPECT_LE(measured.Width, 60);
  EXPECT_GT(measured.Width, 30);
}

}  // namespace
