// Mark-up text on memory bitmaps: where each tag's ink lands, wrapping,
// ellipsis, alignment, links and images. Positions are measured with the
// installed font through the same calls the renderer makes; no picture of
// text is stored.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "ImageFixtures.h"
#include "manager/CPaintManagerUI.h"

using namespace SkinUI;

namespace {

constexpr uint32_t kWhite = 0xFFFFFFFF;
constexpr DWORD kBlack = 0xFF000000;

int Red(uint32_t p) { return (p >> 16) & 0xFF; }
int Green(uint32_t p) { return (p >> 8) & 0xFF; }
int Blue(uint32_t p) { return p & 0xFF; }
bool IsInk(uint32_t p) { return p != kWhite; }
bool IsReddish(uint32_t p) { return Red(p) > Green(p) + 80 && Red(p) > Blue(p) + 80; }
bool IsBluish(uint32_t p) { return Blue(p) > Red(p) + 80 && Blue(p) > Green(p) + 80; }

// The bounding box and number of the pixels in an area that pass a test.
struct Ink {
  RECT box = {INT_MAX, INT_MAX, INT_MIN, INT_MIN};
  int count = 0;
  bool Empty() const { return count == 0; }
  LONG Width() const { return count ? box.right - box.left : 0; }
};

template <typename Test>
Ink FindInk(Surface& s, RECT area, Test test) {
  Ink ink;
  for (int y = std::max<LONG>(area.top, 0); y < std::min<LONG>(area.bottom, s.height); ++y)
    for (int x = std::max<LONG>(area.left, 0); x < std::min<LONG>(area.right, s.width); ++x)
      if (test(s.At(x, y))) {
        ++ink.count;
        ink.box = RECT{std::min<LONG>(ink.box.left, x), std::min<LONG>(ink.box.top, y),
                       std::max<LONG>(ink.box.right, x + 1), std::max<LONG>(ink.box.bottom, y + 1)};
      }
  return ink;
}

Ink FindInk(Surface& s, RECT area) { return FindInk(s, area, IsInk); }

// Groups of neighbouring columns holding pixels that pass the test.
template <typename Test>
int CountSpans(Surface& s, Test test) {
  int spans = 0;
  bool inside = false;
  for (int x = 0; x < s.width; ++x) {
    bool any = false;
    for (int y = 0; y < s.height && !any; ++y) any = test(s.At(x, y));
    if (any && !inside) ++spans;
    inside = any;
  }
  return spans;
}

// A surface, a manager without a window, and the measures of its fonts.
struct Html {
  Surface s;
  CPaintManagerUI manager;

  Html(int w, int h) : s(w, h) {}

  int Draw(RECT rc, LPCWSTR text, UINT style, RECT* links = nullptr, CDuiString* texts = nullptr,
           int slots = 0, DWORD colour = kBlack) {
    CRenderEngine::DrawHtmlText(s.dc, &manager, rc, text, colour, links, texts, slots, style);
    return slots;
  }
  RECT Measure(RECT rc, LPCWSTR text, UINT style = DT_SINGLELINE) {
    int none = 0;
    CRenderEngine::DrawHtmlText(s.dc, &manager, rc, text, kBlack, nullptr, nullptr, none,
                                style | DT_CALCRECT);
    return rc;
  }
  TFontInfo* Font(bool bold = false, bool underline = false) {
    TFontInfo* base = manager.GetDefaultFontInfo();
    if (!bold && !underline) return base;
    HFONT font = manager.GetFont(base->sFontName, base->iSize, bold, underline, false);
    if (font == nullptr) font = manager.AddFont(base->sFontName, base->iSize, bold, underline, false);
    return manager.GetFontInfo(font);
  }
  LONG Width(LPCWSTR text, TFontInfo* font = nullptr) {
    HGDIOBJ old = SelectObject(s.dc, (font ? font : Font())->hFont);
    SIZE size = {0, 0};
    GetTextExtentPoint32W(s.dc, text, static_cast<int>(wcslen(text)), &size);
    SelectObject(s.dc, old);
    return size.cx;
  }
  LONG LineHeight() {
    HGDIOBJ old = SelectObject(s.dc, Font()->hFont);
    TEXTMETRICW tm = {};
    GetTextMetricsW(s.dc, &tm);
    SelectObject(s.dc, old);
    return tm.tmHeight + tm.tmExternalLeading;
  }
  // The same characters drawn plainly at the same place, for comparison.
  void TextOut(int x, int y, LPCWSTR text) {
    HGDIOBJ old = SelectObject(s.dc, Font()->hFont);
    SetBkMode(s.dc, TRANSPARENT);
    SetTextColor(s.dc, RGB(0, 0, 0));
    TextOutW(s.dc, x, y, text, static_cast<int>(wcslen(text)));
    SelectObject(s.dc, old);
  }
  bool SamePixels(Html& other) { return std::equal(s.bits, s.bits + s.width * s.height, other.s.bits); }
};

TEST(HtmlTextTest, ColourAndBoldApplyOnlyInsideTheirSpans) {
  Html html(300, 30);
  const RECT box = {2, 2, 298, 28};
  html.Draw(box, L"Hello <c #FF0000>red</c> end", DT_SINGLELINE);
  const LONG redLeft = box.left + html.Width(L"Hello "), redRight = box.left + html.Width(L"Hello red");
  const Ink red = FindInk(html.s, box, IsReddish);
  ASSERT_FALSE(red.Empty());
  EXPECT_GE(red.box.left, redLeft - 1);
  EXPECT_LE(red.box.right, redRight + 1);
  EXPECT_FALSE(FindInk(html.s, RECT{box.left, 0, redLeft - 1, 30}).Empty());
  EXPECT_FALSE(FindInk(html.s, RECT{redRight + 2, 0, 300, 30}).Empty());

  // The plain word inks the same with or without a bold word after it; the
  // bold one inks wider than the same word in plain.
  Html plain(300, 30), bold(300, 30), word(300, 30);
  plain.Draw(box, L"Hello bold", DT_SINGLELINE);
  bold.Draw(box, L"Hello <b>bold</b>", DT_SINGLELINE);
  const LONG split = box.left + plain.Width(L"Hello ");
  const Ink plainWord = FindInk(plain.s, RECT{split, 0, 300, 30});
  const Ink boldWord = FindInk(bold.s, RECT{split, 0, 300, 30});
  EXPECT_GT(boldWord.Width(), plainWord.Width());
  EXPECT_GT(boldWord.count, plainWord.count);
  EXPECT_EQ(FindInk(bold.s, RECT{0, 0, split, 30}).count, FindInk(plain.s, RECT{0, 0, split, 30}).count);
  word.Draw(box, L"<b>bold</b>", DT_SINGLELINE);
  EXPECT_EQ(word.Measure(RECT{0, 0, 9999, 100}, L"<b>bold</b>").right, word.Width(L"bold", word.Font(true)));
}

TEST(HtmlTextTest, EscapesAndRawTextDrawTheirCharactersLiterally) {
  struct Case {
    const wchar_t* markup;
    const wchar_t* shown;
  };
  const Case cases[] = {
      {L"{<}b{>}", L"<b>"},
      {L"<{>x<}>", L"{x}"},
      {L"<r><b>x</b>{n}</r>", L"<b>x</b>{n}"},
      {L"{r}<c #f00>{/r}", L"<c #f00>"},
      {L"a < b > c", L"a < b > c"},
      {L"<B>x</B>", L"<B>x</B>"},
      {L"<bx>", L"<bx>"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "case " << (&c - cases));
    Html html(200, 24), expected(200, 24);
    html.Draw(RECT{3, 2, 200, 24}, c.markup, DT_SINGLELINE);
    expected.TextOut(3, 2, c.shown);
    EXPECT_TRUE(html.SamePixels(expected));
    EXPECT_EQ(html.Measure(RECT{0, 0, 9999, 100}, c.markup).right, html.Width(c.shown));
  }
}

TEST(HtmlTextTest, ComputedRectangleIsWhatTheDrawingCovers) {
  Html html(400, 200);
  const LONG h = html.LineHeight();
  // The natural size of one line on a wide box.
  RECT natural = html.Measure(RECT{10, 10, 9999, 100}, L"Hello <b>world</b>");
  EXPECT_EQ(natural.right, 10 + html.Width(L"Hello ") + html.Width(L"world", html.Font(true)));
  EXPECT_EQ(natural.bottom, 10 + h);
  html.Draw(RECT{10, 10, 400, 200}, L"Hello <b>world</b>", DT_SINGLELINE);
  Ink ink = FindInk(html.s, RECT{0, 0, 400, 200});
  EXPECT_GE(ink.box.left, 10);
  EXPECT_LE(ink.box.right, natural.right);
  EXPECT_GE(ink.box.right, natural.right - 3);
  EXPECT_GE(ink.box.top, 10);
  EXPECT_LE(ink.box.bottom, natural.bottom);

  // Wrapped: three lines of the default height, never wider than the box,
  // and the drawing ends on the third.
  Html wrapped(400, 200);
  const LPCWSTR text = L"one two three one two three one two";
  const LONG width = wrapped.Width(L"one two three") + 2;
  RECT rc = wrapped.Measure(RECT{0, 0, width, 9999}, text, DT_WORDBREAK);
  EXPECT_EQ(rc.bottom, 3 * h);
  EXPECT_EQ(rc.right, std::min(width, wrapped.Width(L"one two three ")));
  wrapped.Draw(RECT{0, 0, width, 200}, text, DT_WORDBREAK);
  ink = FindInk(wrapped.s, RECT{0, 0, 400, 200});
  EXPECT_GT(ink.box.bottom, 2 * h);
  EXPECT_LE(ink.box.bottom, rc.bottom);
  EXPECT_LE(ink.box.right, width);

  // Spacing, line height, offsets and line ends change the measure as
  // they change the drawing.
  struct Case {
    const wchar_t* markup;
    UINT style;
    LONG right, bottom;
  };
  const LONG a = html.Width(L"a");
  const Case cases[] = {
      {L"a{n}a", DT_SINGLELINE, 2 * a, h},
      {L"a<p 4>a</p>a\na", DT_SINGLELINE, 4 * a, h + 4},
      {L"a{n}a", 0, a, 2 * h},
      {L"a\na", 0, a, 2 * h},
      {L"a\r\na\n", 0, a, 2 * h},
      {L"a<p 10>a</p>a", 0, a, 3 * h + 10},
      {L"<y 30>a", 0, a, 30},
      {L"a<x 20>a", 0, 2 * a + 20, h},
      {L"", 0, 0, 0},
  };
  for (const Case& c : cases) {
    const RECT m = html.Measure(RECT{0, 0, 9999, 9999}, c.markup, c.style);
    EXPECT_EQ(m.right, c.right) << c.markup;
    EXPECT_EQ(m.bottom, c.bottom) << c.markup;
  }
}

TEST(HtmlTextTest, WordBreakWrapsAfterTheLastSpace) {
  Html html(300, 60);
  const LONG h = html.LineHeight();
  const RECT box = {0, 0, html.Width(L"alpha beta gam"), 60};
  html.Draw(box, L"alpha beta gamma", DT_WORDBREAK);
  const Ink first = FindInk(html.s, RECT{0, 0, 300, h});
  const Ink second = FindInk(html.s, RECT{0, h, 300, 2 * h});
  EXPECT_LE(first.box.right, html.Width(L"alpha beta"));
  EXPECT_GE(first.box.right, html.Width(L"alpha bet"));
  EXPECT_LE(second.box.left, 2);
  EXPECT_LE(second.box.right, html.Width(L"gamma"));
  EXPECT_GE(second.box.right, html.Width(L"gamm"));

  // A word after a tag moves to the next line whole rather than split;
  // a word wider than the box is split; ideographs break anywhere.
  Html tagged(300, 60);
  tagged.Draw(RECT{0, 0, tagged.Width(L"aaaa bb"), 60}, L"<u>aaaa</u> bbbb", DT_WORDBREAK);
  EXPECT_LE(FindInk(tagged.s, RECT{0, 0, 300, h - 2}).box.right, tagged.Width(L"aaaa"));
  EXPECT_EQ(
      tagged.Measure(RECT{0, 0, tagged.Width(L"aaaa bb"), 9999}, L"<u>aaaa</u> bbbb", DT_WORDBREAK).bottom,
      2 * h);
  EXPECT_EQ(html.Measure(RECT{0, 0, html.Width(L"aaaa"), 9999}, L"aaaaaaaaaa", DT_WORDBREAK).bottom, 3 * h);
  Html split(300, 60);
  split.Draw(RECT{0, 0, split.Width(L"aaaa") + 1, 60}, L"aaaaaaaaaa", DT_WORDBREAK);
  EXPECT_LE(FindInk(split.s, RECT{0, 0, 300, 60}).box.right, split.Width(L"aaaa"));
  const LONG ideograph = html.Width(L"中");
  EXPECT_EQ(html.Measure(RECT{0, 0, 2 * ideograph, 9999}, L"中文字符测试", DT_WORDBREAK).bottom, 3 * h);
}

TEST(HtmlTextTest, EndEllipsisStaysInsideTheBoxInEveryAlignment) {
  const LPCWSTR text = L"The quick brown fox jumps over the lazy dog";
  for (UINT align : {0u, UINT(DT_CENTER), UINT(DT_RIGHT)}) {
    SCOPED_TRACE(align);
    Html html(300, 30);
    const RECT box = {20, 5, 120, 25};
    html.Draw(box, text, DT_SINGLELINE | DT_END_ELLIPSIS | DT_VCENTER | align);
    const Ink ink = FindInk(html.s, RECT{0, 0, 300, 30});
    ASSERT_FALSE(ink.Empty());
    EXPECT_GE(ink.box.left, box.left);
    EXPECT_LE(ink.box.left, box.left + 2);
    EXPECT_LE(ink.box.right, box.right);
    // The dots: three separate marks in the last few pixels.
    const LONG dots = html.Width(L"...");
    Html only(300, 30);
    only.TextOut(0, 0, L"...");
    const Ink dotInk = FindInk(only.s, RECT{0, 0, 300, 30});
    const Ink tail = FindInk(html.s, RECT{ink.box.right - dotInk.Width(), 0, ink.box.right, 30});
    EXPECT_GE(tail.count, dotInk.count);
    EXPECT_GT(ink.box.right, box.right - dots - html.Width(L"W"));
  }
  // A box of one pixel with word break and ellipsis still ends, line by line.
  Html tiny(50, 50);
  const RECT m = tiny.Measure(RECT{0, 0, 1, 9999}, L"ab cd", DT_WORDBREAK | DT_END_ELLIPSIS);
  EXPECT_EQ(m.bottom, 5 * tiny.LineHeight());
}

TEST(HtmlTextTest, AlignedLinesShiftByTheirOwnWidthAndKeepAllTheirInk) {
  const LPCWSTR text = L"<b>one</b> two <c #FF0000>three</c> four <u>five</u> six seven";
  Html probe(10, 10);
  const LONG h = probe.LineHeight(), width = probe.Width(L"one two three four") + 4;
  const RECT box = {10, 0, 10 + width, 200};
  Html left(300, 200), centre(300, 200), right(300, 200);
  left.Draw(box, text, DT_WORDBREAK);
  centre.Draw(box, text, DT_WORDBREAK | DT_CENTER);
  right.Draw(box, text, DT_WORDBREAK | DT_RIGHT);
  const LONG expectedLines = left.Measure(box, text, DT_WORDBREAK).bottom / h;
  ASSERT_GE(expectedLines, 2);
  int lines = 0;
  for (LONG top = 0; top < 200; top += h) {
    const RECT band = {0, top, 300, top + h};
    const Ink l = FindInk(left.s, band), c = FindInk(centre.s, band), r = FindInk(right.s, band);
    if (l.Empty()) break;
    ++lines;
    SCOPED_TRACE(lines);
    EXPECT_EQ(c.count, l.count);
    EXPECT_EQ(r.count, l.count);
    const LONG centreShift = c.box.left - l.box.left, rightShift = r.box.left - l.box.left;
    EXPECT_GE(centreShift, 0);
    EXPECT_NEAR(2 * centreShift, rightShift, 1);
    EXPECT_LE(r.box.right, box.right);
    EXPECT_GE(r.box.right, box.right - 3);
  }
  EXPECT_EQ(lines, expectedLines);

  // Wrapped text centred vertically by its wrapped height.
  Html middle(300, 200);
  const RECT tall = {10, 0, 10 + width, 200};
  middle.Draw(tall, text, DT_WORDBREAK | DT_VCENTER);
  const Ink ink = FindInk(middle.s, RECT{0, 0, 300, 200});
  EXPECT_NEAR(ink.box.top - tall.top, tall.bottom - ink.box.bottom, h / 2 + 2);
  EXPECT_EQ(FindInk(middle.s, RECT{0, 0, 300, 200}).count, FindInk(left.s, RECT{0, 0, 300, 200}).count);
}

TEST(HtmlTextTest, LinkRectanglesCoverTheirInk) {
  Html html(400, 60);
  const RECT box = {4, 4, 400, 60};
  RECT links[4] = {};
  CDuiString texts[4];
  EXPECT_EQ(html.Draw(box, L"see <a first>this link</a> and <a>that</a>", DT_SINGLELINE, links, texts, 4), 2);
  EXPECT_STREQ(texts[0], L"first");
  EXPECT_STREQ(texts[1], L"");
  TFontInfo* underlined = html.Font(false, true);
  const LONG h = html.LineHeight();
  EXPECT_EQ(links[0].left, box.left + html.Width(L"see "));
  EXPECT_EQ(links[0].right, links[0].left + html.Width(L"this link", underlined));
  EXPECT_EQ(links[0].top, box.top);
  EXPECT_EQ(links[0].bottom, box.top + h);
  const Ink blue = FindInk(html.s, RECT{0, 0, 400, 60}, IsBluish);
  ASSERT_FALSE(blue.Empty());
  EXPECT_GE(blue.box.left, links[0].left);
  EXPECT_LE(blue.box.right, links[1].right);
  EXPECT_TRUE(FindInk(html.s, RECT{links[0].right + 1, 0, links[1].left - 1, 60}, IsBluish).Empty());
  EXPECT_GE(blue.box.top, box.top);
  EXPECT_LE(blue.box.bottom, box.top + h);

  // A link across a wrap gives one rectangle on each line with its text.
  Html wrapped(400, 60);
  const RECT narrow = {0, 0, wrapped.Width(L"go here and"), 60};
  EXPECT_EQ(wrapped.Draw(narrow, L"go <a wrap>here and there</a>", DT_WORDBREAK, links, texts, 4), 2);
  EXPECT_STREQ(texts[0], L"wrap");
  EXPECT_STREQ(texts[1], L"wrap");
  EXPECT_EQ(links[0].left, wrapped.Width(L"go "));
  EXPECT_EQ(links[0].bottom, h);
  EXPECT_EQ(links[1].left, 0);
  EXPECT_EQ(links[1].top, h);
  EXPECT_EQ(links[1].right, wrapped.Width(L"there", underlined));
  EXPECT_EQ(links[1].bottom, 2 * h);
  // The text of a link still open at the end is recorded too.
  EXPECT_EQ(wrapped.Draw(narrow, L"<a open>here", DT_WORDBREAK, links, texts, 4), 1);
  EXPECT_STREQ(texts[0], L"open");
}

TEST(HtmlTextTest, LinksBeyondTheSlotsAreDrawnButNotRecorded) {
  std::wstring text;
  for (int i = 0; i < 20; ++i) text += L"<a " + std::to_wstring(i) + L">ab</a> ";
  Html html(900, 30);
  RECT links[8] = {};
  CDuiString texts[8];
  EXPECT_EQ(html.Draw(RECT{0, 0, 900, 30}, text.c_str(), DT_SINGLELINE, links, texts, 8), 8);
  EXPECT_STREQ(texts[7], L"7");
  EXPECT_EQ(CountSpans(html.s, IsBluish), 20);

  // One link wrapped over many lines fills the slots and stops there.
  Html tall(60, 400);
  std::wstring words = L"<a long>";
  for (int i = 0; i < 30; ++i) words += L"word ";
  EXPECT_EQ(tall.Draw(RECT{0, 0, 60, 400}, (words + L"</a>").c_str(), DT_WORDBREAK, links, texts, 8), 8);
  EXPECT_STREQ(texts[7], L"long");
  // No slots: links are drawn, none recorded.
  EXPECT_EQ(tall.Draw(RECT{0, 0, 60, 400}, L"<a x>link</a>", DT_WORDBREAK, links, texts, 0), 0);
}

// A 30x10 image of three 10x10 frames: red, green, blue.
HBITMAP Frames() {
  Surface frames(30, 10);
  frames.FillRect(RECT{0, 0, 10, 10}, 0xFFFF0000);
  frames.FillRect(RECT{10, 0, 20, 10}, 0xFF00FF00);
  frames.FillRect(RECT{20, 0, 30, 10}, 0xFF0000FF);
  return frames.Release();
}

TEST(HtmlTextTest, InlineImagesDrawOneFrameOnTheLine) {
  Html html(200, 80);
  html.manager.AddImage(L"frames", Frames(), 30, 10, false);
  const LONG h = html.LineHeight(), a = html.Width(L"a");
  html.Draw(RECT{0, 0, 200, 80}, L"a{i frames 3 1}a{i missing.png}a", DT_SINGLELINE);
  const Ink green = FindInk(html.s, RECT{0, 0, 200, 80}, [](uint32_t p) { return p == 0xFF00FF00; });
  EXPECT_EQ(green.box.left, a);
  EXPECT_EQ(green.count, 100);
  EXPECT_EQ(green.box.top, (h - 10) / 2);  // centred on a line taller than the image
  EXPECT_TRUE(FindInk(html.s, RECT{0, 0, 200, 80}, [](uint32_t p) { return p == 0xFFFF0000; }).Empty());
  EXPECT_EQ(html.Measure(RECT{0, 0, 9999, 100}, L"a{i frames 3 1}a{i missing.png}a").right, 3 * a + 10);
  // A bad index shows frame 0; a count of 0 counts as 1.
  EXPECT_EQ(html.Measure(RECT{0, 0, 9999, 100}, L"{i frames 0}").right, 30);
  Html first(200, 80);
  first.manager.AddImage(L"frames", Frames(), 30, 10, false);
  first.Draw(RECT{0, 0, 200, 80}, L"{i frames 3 7}", DT_SINGLELINE);
  EXPECT_EQ(FindInk(first.s, RECT{0, 0, 200, 80}, [](uint32_t p) { return p == 0xFFFF0000; }).count, 100);

  // An image that does not fit the rest of the line starts the next line
  // and is drawn there.
  Html wrapped(200, 80);
  wrapped.manager.AddImage(L"frames", Frames(), 30, 10, false);
  const RECT box = {0, 0, 3 * a + 5, 80};
  wrapped.Draw(box, L"aaa{i frames}", DT_WORDBREAK);
  const Ink image = FindInk(wrapped.s, RECT{0, 0, 200, 80}, [](uint32_t p) { return p == 0xFFFF0000; });
  EXPECT_EQ(image.box.left, 0);
  EXPECT_GE(image.box.top, h);
  EXPECT_EQ(image.count, 100);
  EXPECT_EQ(wrapped.Measure(RECT{0, 0, box.right, 9999}, L"aaa{i frames}", DT_WORDBREAK).bottom, 2 * h);
}

TEST(HtmlTextTest, FontsSelectionAndMissingArguments) {
  Html html(300, 60);
  html.manager.AddFont(html.Font()->sFontName, 30, false, false, false);
  const LONG h = html.LineHeight();
  RECT m = html.Measure(RECT{0, 0, 9999, 100}, L"a<f 0>a</f>a");
  EXPECT_GT(m.bottom, h + 10);
  // A font by name is added once and found again afterwards.
  const DWORD fonts = html.manager.GetCustomFontCount();
  html.Measure(RECT{0, 0, 9999, 100}, L"<f Sans 20 Bold ITALIC>x</f>");
  html.Measure(RECT{0, 0, 9999, 100}, L"<f Sans 20 Bold ITALIC>x</f>");
  ASSERT_EQ(html.manager.GetCustomFontCount(), fonts + 1);
  TFontInfo* added = html.manager.GetFontInfo(static_cast<int>(fonts));
  EXPECT_STREQ(added->sFontName, L"Sans");
  EXPECT_EQ(added->iSize, 20);
  EXPECT_TRUE(added->bBold && added->bItalic && !added->bUnderline);
  // Selected text has an opaque background in the manager's colour.
  html.Draw(RECT{0, 0, 300, 60}, L"<s>   </s>", DT_SINGLELINE);
  EXPECT_EQ(html.s.At(2, 2), 0xFFBAE4FF);
  EXPECT_EQ(html.s.At(2, h + 2), kWhite);
}

// Mark-up that is cut short, nested wrongly or carries absurd arguments:
// every case ends, records no more links than there are slots, and keeps
// its rectangle sane, drawn and measured, in a normal box and in a box of
// one pixel.
TEST(HtmlTextTest, MalformedMarkupEnds) {
  const wchar_t* const cases[] = {
      L"<",
      L"{",
      L"<b",
      L"<b ",
      L"{c #ff",
      L"<f",
      L"<f ",
      L"<f Sans",
      L"<i x.png 3",
      L"<a",
      L"<a link",
      L"</",
      L"</b",
      L"{/r",
      L"<r>text",
      L"<r>text</r",
      L"{<",
      L"{<}",
      L"<{",
      L"<{>",
      L"{>",
      L"<}",
      L"<x 2147483647>a<x 2147483647>b",
      L"<x -2147483648>a",
      L"<y -50>a\nb",
      L"<y 2147483647>a",
      L"<p -99999>a</p>b",
      L"<p 2147483647>a",
      L"<f Sans 2147483647>Ww</f>",
      L"<f Sans 0>a",
      L"<f Sans -5>a",
      L"<f 2147483647>a",
      L"<f -1>a",
      L"<i x.png 0 0>",
      L"<i x.png -5 -7>",
      L"<i x.png 2147483647 2147483646>",
      L"<i file='x.png' restype='PNG'>",
      L"<i file='>",
      L"<c>a",
      L"<c #zz>a",
      L"</c></c></b></f></a></p></s>a",
      L"<a><a><a><a><a><a><a><a><a><a>x",
      L"<s><s><s>a",
      L"<q>unknown<z 5>tags</q>",
      L"\n\n\n\n",
      L"a{n}{n}{n}{n}b",
      L"<p><p><p><p>",
      L"</p></p>a</p>",
      L"<x 50><x 50><x 50>a b c d e f g h",
      L"                              ",
      L"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa",
      L"中文字符测试中文字符测试",
      L"<i>a</i><i>b</i>",
      L"<b><i><u>x</i></b></u>",
      L"<a x>a\nb\nc\nd\ne\nf\ng\nh\ni\nj</a>",
  };
  const UINT styles[] = {0,
                         DT_SINGLELINE,
                         DT_WORDBREAK,
                         DT_WORDBREAK | DT_END_ELLIPSIS,
                         DT_SINGLELINE | DT_END_ELLIPSIS | DT_CENTER | DT_VCENTER,
                         DT_WORDBREAK | DT_RIGHT | DT_BOTTOM,
                         DT_WORDBREAK | DT_CENTER | DT_END_ELLIPSIS};
  const RECT boxes[] = {{0, 0, 120, 60}, {5, 5, 6, 6}, {0, 0, 1, 9999}, {INT_MIN, INT_MIN, INT_MAX, INT_MAX}};
  Html html(130, 70);
  html.manager.AddImage(L"x.png", Frames(), 30, 10, true);
  for (size_t i = 0; i < std::size(cases); ++i)
    for (UINT style : styles)
      for (const RECT& box : boxes) {
        const wchar_t* text = cases[i];
        SCOPED_TRACE(testing::Message() << "case " << i << " style " << style << " box " << box.right);
        RECT links[3] = {};
        CDuiString texts[3];
        EXPECT_LE(html.Draw(box, text, style, links, texts, 3), 3);
        const RECT m = html.Measure(box, text, style);
        EXPECT_GE(m.right, box.left);
        EXPECT_LE(m.right, box.right);
        EXPECT_GE(m.bottom, box.top);
      }
}

TEST(HtmlTextTest, NothingForMissingTextManagerOrBox) {
  Html html(50, 30);
  RECT links[2] = {{0, 0, 5, 5}, {0, 0, 5, 5}};
  CDuiString texts[2];
  int count = 2;
  RECT box = {0, 0, 50, 30};
  CRenderEngine::DrawHtmlText(html.s.dc, &html.manager, box, nullptr, kBlack, links, texts, count, 0);
  EXPECT_EQ(count, 0);
  count = 2;
  CRenderEngine::DrawHtmlText(html.s.dc, nullptr, box, L"text", kBlack, links, texts, count, 0);
  EXPECT_EQ(count, 0);
  RECT empty = {10, 10, 10, 30};
  CRenderEngine::DrawHtmlText(html.s.dc, &html.manager, empty, L"text", kBlack, links, texts, count,
                              DT_CALCRECT);
  EXPECT_EQ(empty.right, 10);
  EXPECT_TRUE(FindInk(html.s, RECT{0, 0, 50, 30}).Empty());
}

}  // namespace
