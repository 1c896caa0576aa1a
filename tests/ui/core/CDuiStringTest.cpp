#include <gtest/gtest.h>

#include <string>

#include "core/CDuiString.h"

using SkinUI::CDuiString;

namespace {

bool IsInline(const CDuiString& s) {
  auto p = reinterpret_cast<const char*>(s.GetData());
  auto self = reinterpret_cast<const char*>(&s);
  return p >= self && p < self + sizeof(s);
}

std::wstring Repeat(wchar_t ch, int n) { return std::wstring(static_cast<size_t>(n), ch); }

}  // namespace

TEST(CDuiString, StaysInlineUpTo62UnitsAndMovesToTheHeapAt63) {
  struct Case {
    int length;
    bool inlineExpected;
  } cases[] = {{0, true}, {1, true}, {62, true}, {63, false}, {200, false}};
  for (const Case& c : cases) {
    CDuiString s(Repeat(L'x', c.length).c_str());
    EXPECT_EQ(IsInline(s), c.inlineExpected) << c.length;
    EXPECT_EQ(s.GetLength(), c.length);
  }
  CDuiString s(Repeat(L'y', 63).c_str());
  s = L"short";
  EXPECT_TRUE(IsInline(s));
  EXPECT_STREQ(s, L"short");
  s.Empty();
  EXPECT_TRUE(s.IsEmpty());
  EXPECT_TRUE(IsInline(s));
}

TEST(CDuiString, AppendCrossesTheThresholdKeepingTheText) {
  std::wstring text = Repeat(L'a', 62);
  CDuiString s(text.c_str());
  s += L'b';
  EXPECT_FALSE(IsInline(s));
  EXPECT_EQ(std::wstring(s.GetData()), text + L"b");
  // A heap block sized for a long length but holding a short text returns inline.
  CDuiString padded(L"ab", 100);
  EXPECT_FALSE(IsInline(padded));
  EXPECT_STREQ(padded, L"ab");
  padded += L"c";
  EXPECT_TRUE(IsInline(padded));
  EXPECT_STREQ(padded, L"abc");
}

TEST(CDuiString, AssignCopiesAtMostLengthUnits) {
  CDuiString s(L"abcdef", 3);
  EXPECT_STREQ(s, L"abc");
  s.Assign(nullptr);
  EXPECT_TRUE(s.IsEmpty());
  s.Assign(L"ab", 5);  // the text ends earlier
  EXPECT_STREQ(s, L"ab");
  CDuiString n;
  n = static_cast<LPCWSTR>(nullptr);
  EXPECT_TRUE(n.IsEmpty());
  n += static_cast<LPCWSTR>(nullptr);
  EXPECT_TRUE(n.IsEmpty());
}

// Assigning or appending a string's own text must not read freed or
// overlapping memory, inline or on the heap.
TEST(CDuiString, OwnTextCanBeAssignedAndAppended) {
  for (int length : {10, 100}) {
    std::wstring text;
    for (int i = 0; i < length; i++) text += static_cast<wchar_t>(L'a' + i % 26);
    CDuiString s(text.c_str());
    const CDuiString& same = s;  // through a reference: compilers warn on a plain self-assignment
    s = same;
    EXPECT_EQ(std::wstring(s.GetData()), text);
    s += s;
    EXPECT_EQ(std::wstring(s.GetData()), text + text);
    s = s.GetData() + 2;
    EXPECT_EQ(std::wstring(s.GetData()), (text + text).substr(2));
    CDuiString t(text.c_str());
    t.Assign(t.GetData() + 1, 300);
    EXPECT_EQ(std::wstring(t.GetData()), text.substr(1));
  }
}

TEST(CDuiString, NarrowTextsComeFromTheAnsiCodePage) {
  CDuiString s;
  s = "\xe4\xb8\xad\xe6\x96\x87";  // UTF-8, the locale's code page here
  EXPECT_STREQ(s, L"\u4e2d\u6587");
  s += "ok";
  EXPECT_STREQ(s, L"\u4e2d\u6587ok");
  s = static_cast<LPCSTR>(nullptr);
  EXPECT_TRUE(s.IsEmpty());
}

TEST(CDuiString, ConcatenationAndComparison) {
  CDuiString a(L"abc");
  CDuiString b = a + L"def";
  EXPECT_STREQ(b, L"abcdef");
  EXPECT_STREQ(a + CDuiString(L'!'), L"abc!");
  EXPECT_STREQ(a + static_cast<LPCWSTR>(nullptr), L"abc");
  EXPECT_TRUE(a == L"abc");
  EXPECT_TRUE(a != L"abd");
  EXPECT_TRUE(a < L"abd");
  EXPECT_TRUE(a <= L"abc");
  EXPECT_TRUE(a > L"ab");
  EXPECT_TRUE(a >= L"abc");
  EXPECT_EQ(a.CompareNoCase(L"ABC"), 0);
  EXPECT_LT(a.CompareNoCase(L"ABD"), 0);
  EXPECT_NE(a.Compare(L"ABC"), 0);
  // Only ASCII letters fold.
  CDuiString mixed(L"aZ\u00e9");
  mixed.MakeUpper();
  EXPECT_STREQ(mixed, L"AZ\u00e9");
  mixed.MakeLower();
  EXPECT_STREQ(mixed, L"az\u00e9");
  CDuiString c;
  c = L'x';
  EXPECT_STREQ(c, L"x");
  c.SetAt(0, L'y');
  EXPECT_EQ(c.GetAt(0), L'y');
  EXPECT_EQ(c[0], L'y');
}

TEST(CDuiString, Find) {
  struct Case {
    const wchar_t* text;
    const wchar_t* needle;
    int start;
    int expected;
  } cases[] = {
      {L"abcabc", L"bc", 0, 1}, {L"abcabc", L"bc", 2, 4}, {L"abcabc", L"x", 0, -1}, {L"abc", L"", 0, 0},
      {L"abc", L"", 3, 3},      {L"abc", L"c", 3, -1},    {L"abc", L"a", 4, -1},   {L"abc", L"a", -1, -1},
      {L"", L"", 0, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(CDuiString(c.text).Find(c.needle, c.start), c.expected) << c.text;

  struct CharCase {
    const wchar_t* text;
    wchar_t ch;
    int start;
    int expected;
  } charCases[] = {{L"abcabc", L'c', 0, 2}, {L"abcabc", L'c', 3, 5}, {L"abc", L'c', 3, -1},
                   {L"abc", L'a', -1, -1},  {L"", L'a', 0, -1}};
  for (const CharCase& c : charCases) EXPECT_EQ(CDuiString(c.text).Find(c.ch, c.start), c.expected) << c.text;
  EXPECT_EQ(CDuiString(L"abcabc").ReverseFind(L'b'), 4);
  EXPECT_EQ(CDuiString(L"abc").ReverseFind(L'x'), -1);
}

TEST(CDuiString, LeftMidRight) {
  CDuiString s(L"abcdef");
  struct Case {
    CDuiString result;
    const wchar_t* expected;
  } cases[] = {
      {s.Mid(2), L"cdef"},    {s.Mid(4, 10), L"ef"}, {s.Mid(6), L""},          {s.Mid(7, 2), L""},
      {s.Mid(1, 0), L""},     {s.Mid(-1), L""},      {s.Left(-3), L""},        {s.Left(2), L"ab"},
      {s.Left(10), L"abcdef"}, {s.Right(2), L"ef"},  {CDuiString(L"abc").Right(10), L"abc"},
      {s.Right(0), L""},      {s.Right(-1), L""},
  };
  for (const Case& c : cases) EXPECT_STREQ(c.result, c.expected);
}

TEST(CDuiString, ReplaceDoesNotSearchInsertedText) {
  struct Case {
    const wchar_t* text;
    const wchar_t* from;
    const wchar_t* to;
    const wchar_t* expected;
    int count;
  } cases[] = {
      {L"aaa", L"a", L"aa", L"aaaaaa", 3}, {L"abcabc", L"b", L"", L"acac", 2}, {L"abc", L"x", L"y", L"abc", 0},
      {L"abc", L"", L"y", L"abc", 0},      {L"a.b.c", L".", L"\\", L"a\\b\\c", 2},
  };
  for (const Case& c : cases) {
    CDuiString s(c.text);
    EXPECT_EQ(s.Replace(c.from, c.to), c.count) << c.text;
    EXPECT_STREQ(s, c.expected);
  }
  CDuiString self(L"ab");
  EXPECT_EQ(self.Replace(L"a", self.GetData()), 1);
  EXPECT_STREQ(self, L"abb");
}

TEST(CDuiString, FormatMeasuresAndHasNoLimit) {
  CDuiString s;
  EXPECT_EQ(s.Format(L"%s-%d", L"ab", 0), 4);  // a literal 0 is an int, not an argument list
  EXPECT_STREQ(s, L"ab-0");
  std::wstring longText = Repeat(L'z', 1000);
  EXPECT_EQ(s.Format(L"[%s]", longText.c_str()), 1002);
  EXPECT_EQ(std::wstring(s.GetData()), L"[" + longText + L"]");
  EXPECT_EQ(s.Format(L"plain"), 5);
  EXPECT_STREQ(s, L"plain");
}

// Objects cannot travel through C varargs: such calls do not compile.
template <typename T>
concept Formats = requires(CDuiString s, T value) { s.Format(L"%s", value); };
template <typename T>
concept SmallFormats = requires(CDuiString s, T value) { s.SmallFormat(L"%s", value); };
static_assert(Formats<LPCWSTR> && Formats<int> && Formats<double> && SmallFormats<LPCWSTR> && SmallFormats<int>);
static_assert(!Formats<CDuiString> && !SmallFormats<CDuiString> && !Formats<std::wstring>);

TEST(CDuiString, SmallFormatKeeps63Characters) {
  CDuiString s;
  std::wstring fits = Repeat(L'a', 63), cut = Repeat(L'b', 70);
  EXPECT_EQ(s.SmallFormat(L"%d%%", 50), 3);
  EXPECT_STREQ(s, L"50%");
  EXPECT_EQ(s.SmallFormat(L"%s", fits.c_str()), 63);
  EXPECT_EQ(std::wstring(s.GetData()), fits);
  EXPECT_EQ(s.SmallFormat(L"%s", cut.c_str()), -1);
  EXPECT_EQ(std::wstring(s.GetData()), cut.substr(0, 63));
}
