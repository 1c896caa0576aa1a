// Fonts and text, checked by properties rather than by golden images.
#include <cstring>
#include <string>

#include "Canvas.h"

namespace {

struct TextCanvas : Canvas {
  HFONT font;
  HGDIOBJ old_font;
  TextCanvas(int w, int h, HFONT f) : Canvas(w, h), font(f) {
    old_font = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 0));
  }
  ~TextCanvas() {
    SelectObject(dc, old_font);
    DeleteObject(font);
  }
  SIZE Extent(const std::wstring& text) {
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    return size;
  }
  TEXTMETRICW Metrics() {
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    return tm;
  }
  RECT Calc(const std::wstring& text, RECT rect, UINT format) {
    DrawTextW(dc, text.c_str(), -1, &rect, format | DT_CALCRECT);
    return rect;
  }
};

TEST(GdiFont, MetricsAreConsistent) {
  const struct {
    const wchar_t* face;
    LONG height, weight;
    bool italic;
  } fonts[] = {
      {L"WenQuanYi Micro Hei", -12, FW_NORMAL, false}, {L"DejaVu Sans", -20, FW_BOLD, false},
      {L"NoSuchFace", -16, FW_NORMAL, true},           {L"DejaVu Serif", 24, FW_NORMAL, false},
  };
  for (const auto& f : fonts) {
    TextCanvas canvas(8, 8, MakeFont(f.face, f.height, f.weight, f.italic));
    TEXTMETRICW tm = canvas.Metrics();
    EXPECT_EQ(tm.tmHeight, tm.tmAscent + tm.tmDescent) << f.height;
    EXPECT_GT(tm.tmAscent, tm.tmDescent);
    EXPECT_GT(tm.tmAveCharWidth, 0);
    EXPECT_GE(tm.tmMaxCharWidth, tm.tmAveCharWidth);
    EXPECT_EQ(tm.tmWeight, f.weight);
    EXPECT_EQ(tm.tmItalic != 0, f.italic);
    if (f.height < 0) EXPECT_EQ(tm.tmHeight - tm.tmInternalLeading, -f.height);  // the character height
    else EXPECT_NEAR(tm.tmHeight, f.height, 1);                                     // the cell height
    EXPECT_EQ(canvas.Extent(L"Ag").cy, tm.tmHeight);
  }
}

TEST(GdiFont, DefaultGuiFontDescription) {
  LOGFONTW lf{};
  ASSERT_EQ(GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf), static_cast<int>(sizeof lf));
  EXPECT_LT(lf.lfHeight, 0);
  EXPECT_EQ(lf.lfWeight, FW_NORMAL);
  EXPECT_NE(lf.lfFaceName[0], 0);
  // The framework's way to a font: the GUI font's description, modified.
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfHeight = -14;
  lf.lfWeight += FW_BOLD;
  lf.lfQuality = CLEARTYPE_QUALITY;
  HFONT bold = CreateFontIndirectW(&lf);
  ASSERT_NE(bold, nullptr);
  LOGFONTW back{};
  GetObjectW(bold, sizeof back, &back);
  EXPECT_EQ(back.lfWeight, FW_NORMAL + FW_BOLD);
  EXPECT_EQ(std::wstring(back.lfFaceName), std::wstring(lf.lfFaceName));
  TextCanvas canvas(4, 4, bold);
  EXPECT_EQ(canvas.Metrics().tmWeight, 1000);  // clamped to the heaviest
}

TEST(GdiFont, ExtentsAddUpAndAbcWidthsFitTheAdvance) {
  TextCanvas canvas(8, 8, MakeFont(L"DejaVu Sans", -16));
  SIZE ab = canvas.Extent(L"AVx"), a = canvas.Extent(L"A"), v = canvas.Extent(L"Vx");
  EXPECT_EQ(ab.cx, a.cx + v.cx);
  ABC abc[3];
  ASSERT_TRUE(GetCharABCWidthsW(canvas.dc, L'A', L'C', abc));
  EXPECT_EQ(abc[0].abcA + static_cast<int>(abc[0].abcB) + abc[0].abcC, a.cx);
  int fit = 0, dx[3];
  SIZE size;
  ASSERT_TRUE(GetTextExtentExPointW(canvas.dc, L"AVx", 3, a.cx, &fit, dx, &size));
  EXPECT_EQ(fit, 1);
  EXPECT_EQ(dx[2], ab.cx);
}

TEST(GdiFont, ItalicHasACWidth) {
  TextCanvas upright(8, 8, MakeFont(L"WenQuanYi Micro Hei", -24));
  TextCanvas italic(8, 8, MakeFont(L"WenQuanYi Micro Hei", -24, FW_NORMAL, true));
  ABC u, i;
  ASSERT_TRUE(GetCharABCWidthsW(upright.dc, L'l', L'l', &u));
  ASSERT_TRUE(GetCharABCWidthsW(italic.dc, L'l', L'l', &i));
  EXPECT_LT(i.abcC, 0);  // the slanted stem hangs over the advance
  EXPECT_LT(i.abcC, u.abcC);
}

TEST(GdiText, ChineseDrawsVisiblePixelsInAnyFace) {
  for (const wchar_t* face : {L"WenQuanYi Micro Hei", L"DejaVu Sans", L"宋体"}) {
    TextCanvas one(40, 30, MakeFont(face, -16)), other(40, 30, MakeFont(face, -16));
    ASSERT_TRUE(TextOutW(one.dc, 2, 2, L"中文", 2));
    ASSERT_TRUE(TextOutW(other.dc, 2, 2, L"文中", 2));
    auto ink = one.InkOf();
    EXPECT_GT(ink.count, 40) << face;
    // Real glyphs, not the same missing-glyph box twice.
    EXPECT_NE(std::memcmp(one.bits, other.bits, 40 * 30 * 4), 0) << face;
    EXPECT_EQ(one.Extent(L"中").cx, 16) << face;  // an ideograph is one em wide
  }
}

TEST(GdiDrawText, CalcRectOnOneLineIsTheExtent) {
  TextCanvas canvas(8, 8, MakeFont(L"DejaVu Sans", -14));
  for (const wchar_t* text : {L"Hello, world", L"中文和 Latin", L"x"}) {
    RECT r = canvas.Calc(text, {10, 20, 10, 20}, DT_SINGLELINE | DT_NOPREFIX);
    SIZE size = canvas.Extent(text);
    EXPECT_EQ(r.left, 10);
    EXPECT_EQ(r.top, 20);
    EXPECT_EQ(r.right - r.left, size.cx) << text;
    EXPECT_EQ(r.bottom - r.top, size.cy) << text;
  }
  // The '&' prefix is not drawn, so not measured; "&&" is one '&'.
  EXPECT_EQ(canvas.Calc(L"&Open", {}, DT_SINGLELINE).right, canvas.Extent(L"Open").cx);
  EXPECT_EQ(canvas.Calc(L"a&&b", {}, DT_SINGLELINE).right, canvas.Extent(L"a&b").cx);
}

TEST(GdiDrawText, WordBreakWrapsAtLastSpaceAndBetweenIdeographs) {
  TextCanvas canvas(8, 8, MakeFont(L"DejaVu Sans", -14));
  int line = canvas.Metrics().tmHeight;
  int width = canvas.Extent(L"aaa bbb c").cx;  // room for "aaa bbb" and a bit
  RECT r = canvas.Calc(L"aaa bbb ccc", {0, 0, width, 0}, DT_WORDBREAK);
  EXPECT_EQ(r.bottom, 2 * line);
  EXPECT_EQ(r.right, canvas.Extent(L"aaa bbb").cx);

  int em = canvas.Extent(L"中").cx;
  r = canvas.Calc(L"中文中文中文", {0, 0, em * 7 / 2, 0}, DT_WORDBREAK);
  EXPECT_EQ(r.bottom, 2 * line);
  EXPECT_EQ(r.right, 3 * em);
  // Closing punctuation stays with the ideograph before it.
  r = canvas.Calc(L"中文中。", {0, 0, em * 7 / 2, 0}, DT_WORDBREAK);
  EXPECT_EQ(r.bottom, 2 * line);
  EXPECT_EQ(r.right, 2 * em);

  // A word wider than the box is not split; explicit newlines end lines.
  r = canvas.Calc(L"abcdefghij", {0, 0, em, 0}, DT_WORDBREAK);
  EXPECT_EQ(r.bottom, line);
  r = canvas.Calc(L"one\ntwo\r\nthree", {0, 0, 500, 0}, 0);
  EXPECT_EQ(r.bottom, 3 * line);
  EXPECT_EQ(r.right, canvas.Extent(L"three").cx);
}

TEST(GdiDrawText, EndEllipsisEndsInDotsInsideTheRectangle) {
  TextCanvas canvas(200, 40, MakeFont(L"DejaVu Sans", -16));
  const wchar_t* text = L"Lengthy label, far too long";
  int full = canvas.Extent(text).cx;
  RECT box{10, 5, 10 + full / 2, 35};
  RECT calc = canvas.Calc(text, box, DT_SINGLELINE | DT_END_ELLIPSIS);
  EXPECT_LE(calc.right, box.right);
  EXPECT_GT(calc.right, box.left + full / 4);
  ASSERT_GT(DrawTextW(canvas.dc, text, -1, &box, DT_SINGLELINE | DT_END_ELLIPSIS), 0);
  auto ink = canvas.InkOf();
  EXPECT_GE(ink.left, box.left);
  EXPECT_LT(ink.right, box.right);
  // The last columns hold the dots: ink only near the baseline.
  TEXTMETRICW tm = canvas.Metrics();
  int baseline = box.top + tm.tmAscent;
  int dots = canvas.Extent(L"...").cx;
  auto tail = canvas.InkOf(0xFFFFFFFF, {ink.right - dots + 2, 0, ink.right + 1, 40});
  EXPECT_GT(tail.count, 0);
  EXPECT_GT(tail.top, baseline - tm.tmAscent / 2);
  // Text that fits keeps its end.
  RECT wide{0, 0, full + 5, 20};
  EXPECT_EQ(canvas.Calc(text, wide, DT_SINGLELINE | DT_END_ELLIPSIS).right, full);
}

TEST(GdiDrawText, AlignmentFlagsPlaceTheText) {
  const RECT box{20, 10, 180, 70};
  const struct {
    UINT format;
    int centre_x;  // expected ink centre, -1: not checked
    int centre_y;
  } cases[] = {
      {DT_SINGLELINE | DT_CENTER | DT_VCENTER, 100, 40},
      {DT_SINGLELINE | DT_RIGHT, -1, -1},
      {DT_SINGLELINE | DT_BOTTOM, -1, -1},
      {DT_SINGLELINE, -1, -1},
  };
  for (const auto& c : cases) {
    TextCanvas canvas(200, 80, MakeFont(L"DejaVu Sans", -16));
    RECT r = box;
    DrawTextW(canvas.dc, L"HHHH", -1, &r, c.format);
    auto ink = canvas.InkOf();
    ASSERT_GT(ink.count, 0);
    TEXTMETRICW tm = canvas.Metrics();
    if (c.centre_x >= 0) {
      EXPECT_NEAR((ink.left + ink.right) / 2.0, c.centre_x, 2.5) << c.format;
      // The cell is centred; caps sit above the cell's middle by about the descent.
      EXPECT_NEAR((ink.top + ink.bottom) / 2.0, c.centre_y - tm.tmDescent / 2.0, 3.5) << c.format;
    }
    if (c.format & DT_RIGHT) {
      EXPECT_GE(ink.right, box.right - 3);
    } else if (!(c.format & DT_CENTER)) {
      EXPECT_LE(ink.left, box.left + 3);
    }
    if (c.format & DT_BOTTOM) {
      EXPECT_EQ(ink.bottom, box.bottom - tm.tmDescent - 1);
    } else if (!(c.format & DT_VCENTER)) {
      EXPECT_LT(ink.top, box.top + tm.tmAscent / 2);
    }
  }
}

TEST(GdiDrawText, ClipsToTheRectangleUnlessNoClip) {
  TextCanvas clipped(100, 40, MakeFont(L"DejaVu Sans", -16)), free(100, 40, MakeFont(L"DejaVu Sans", -16));
  RECT box{0, 0, 20, 40};
  DrawTextW(clipped.dc, L"WWWWWW", -1, &box, DT_SINGLELINE);
  DrawTextW(free.dc, L"WWWWWW", -1, &box, DT_SINGLELINE | DT_NOCLIP);
  EXPECT_LT(clipped.InkOf().right, 20);
  EXPECT_GT(free.InkOf().right, 40);
}

TEST(GdiTextOut, OpaqueBackgroundAndAlignment) {
  TextCanvas canvas(100, 40, MakeFont(L"DejaVu Sans", -16));
  SetBkMode(canvas.dc, OPAQUE);
  SetBkColor(canvas.dc, RGB(255, 0, 0));
  SetTextAlign(canvas.dc, TA_RIGHT | TA_BASELINE);
  int width = canvas.Extent(L"ab").cx;
  TEXTMETRICW tm = canvas.Metrics();
  ASSERT_TRUE(TextOutW(canvas.dc, 90, 30, L"ab", 2));
  auto ink = canvas.InkOf();
  EXPECT_EQ(ink.right, 89);
  EXPECT_EQ(ink.left, 90 - width);
  EXPECT_EQ(ink.top, 30 - tm.tmAscent);
  EXPECT_EQ(canvas.At(90 - width, 30 - tm.tmAscent), 0xFFFF0000u);
}

}  // namespace
