#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "markup/CMarkup.h"

using SkinUI::CMarkup;
using SkinUI::CMarkupNode;

namespace {

std::wstring Message(const CMarkup& m) {
  WCHAR buffer[100] = {};
  m.GetLastErrorMessage(buffer, 100);
  return buffer;
}

std::wstring Location(const CMarkup& m) {
  WCHAR buffer[50] = {};
  m.GetLastErrorLocation(buffer, 50);
  return buffer;
}

std::vector<BYTE> Bytes(const std::string& s) { return std::vector<BYTE>(s.begin(), s.end()); }

std::vector<BYTE> Utf16(const std::u16string& s, bool bigEndian, bool mark = true) {
  std::vector<BYTE> out;
  if (mark) out = bigEndian ? std::vector<BYTE>{0xFE, 0xFF} : std::vector<BYTE>{0xFF, 0xFE};
  for (char16_t u : s) {
    BYTE hi = static_cast<BYTE>(u >> 8), lo = static_cast<BYTE>(u & 0xFF);
    out.push_back(bigEndian ? hi : lo);
    out.push_back(bigEndian ? lo : hi);
  }
  return out;
}

}  // namespace

TEST(CMarkup, ReportsEachErrorWithItsLocation) {
  struct Case {
    const wchar_t* doc;
    const wchar_t* message;
    const wchar_t* location;
  } cases[] = {
      {L"text", L"Expected start tag", L"text"},
      {L"<a>x<b />y</a>", L"Expected start tag", L"y</a>"},  // text after a child is not kept
      {L"<a>x<!-- c -->y</a>", L"Expected start tag", L"y</a>"},
      {L"<abc", L"Error parsing element name", L""},
      {L"<a b=\"1\" / x>", L"Expected start-tag closing", L"/ x>"},
      {L"<a b=\"1\"", L"Expected start-tag closing", L""},
      {L"<a><b><c>text", L"Expected end-tag start", L""},
      {L"<a></b>", L"Unmatched closing tag", L"b>"},
      {L"<a></ab>", L"Unmatched closing tag", L">"},
      {L"<a></a x>", L"Unmatched closing tag", L">"},  // the text after the offending character
      {L"<a></a", L"Unmatched closing tag", L""},
      {L"<a><b/></a>", L"Unmatched closing tag", L"a>"},  // "<b/>" without a blank is an open tag
      {L"<a b-c=\"1\" />", L"Error while parsing attributes", L"-c=\"1\" />"},
      {L"<a b.c=\"1\" />", L"Error while parsing attributes", L".c=\"1\" />"},
      {L"<my-el></my-el>", L"Error while parsing attributes", L"></my-el>"},
      {L"<a b='1' />", L"Expected attribute value", L"1' />"},
      {L"<a b=", L"Expected attribute value", L""},
      {L"<a b=\"1", L"Error while parsing attribute string", L""},
  };
  for (const Case& c : cases) {
    CMarkup m;
    EXPECT_FALSE(m.Load(c.doc)) << c.doc;
    EXPECT_EQ(Message(m), c.message) << c.doc;
    EXPECT_EQ(Location(m), c.location) << c.doc;
    EXPECT_FALSE(m.IsValid());
    EXPECT_FALSE(m.GetRoot().IsValid());
  }
}

TEST(CMarkup, LocationIsCutTo49Units) {
  std::wstring tail(80, L'z');
  CMarkup m;
  EXPECT_FALSE(m.Load((L"<a>x<b />" + tail).c_str()));
  EXPECT_EQ(Location(m), tail.substr(0, 49));
  // Copies are cut to the caller's count and then unterminated.
  WCHAR small[8];
  std::fill(std::begin(small), std::end(small), L'#');
  m.GetLastErrorMessage(small, 5);
  EXPECT_EQ(std::wstring(small, 6), L"Expec#");
}

TEST(CMarkup, RejectsBuffersAbove4MiB) {
  std::vector<BYTE> bytes(4194305, ' ');
  CMarkup m;
  EXPECT_FALSE(m.LoadFromMem(bytes.data(), static_cast<DWORD>(bytes.size())));
  EXPECT_EQ(Message(m), L"File too large");
  EXPECT_EQ(Location(m), L"");
  bytes.resize(4194304);
  memcpy(bytes.data(), "<a/ >", 5);
  EXPECT_TRUE(m.LoadFromMem(bytes.data(), static_cast<DWORD>(bytes.size())));
  EXPECT_EQ(Message(m), L"");
}

TEST(CMarkup, ReadsTheThreeEncodings) {
  const std::string utf8 = "<Window title=\"\xe7\xaa\x97\xf0\x9f\x98\x80\">\xe6\x96\x87</Window>";
  const std::u16string utf16 = u"<Window title=\"\u7a97\U0001F600\">\u6587</Window>";
  std::vector<BYTE> bigEndian = Utf16(utf16, true);
  const std::vector<BYTE> bigEndianCopy = bigEndian;
  struct Case {
    const char* name;
    std::vector<BYTE> bytes;
    int encoding;
  } cases[] = {
      {"utf-8", Bytes(utf8), 0},
      {"utf-8 with mark", Bytes("\xef\xbb\xbf" + utf8), 0},
      {"utf-16 little-endian", Utf16(utf16, false), 1},
      {"utf-16 big-endian", bigEndian, 1},
      {"utf-16 without mark", Utf16(utf16, false, false), 1},
      {"ansi (the locale's UTF-8 here)", Bytes(utf8), 2},
  };
  for (Case& c : cases) {
    CMarkup m;
    ASSERT_TRUE(m.LoadFromMem(c.bytes.data(), static_cast<DWORD>(c.bytes.size()), c.encoding)) << c.name;
    CMarkupNode root = m.GetRoot();
    EXPECT_STREQ(root.GetName(), L"Window") << c.name;
    EXPECT_EQ(std::wstring(root.GetAttributeValue(L"title")), L"\u7a97\U0001F600") << c.name;
    EXPECT_STREQ(root.GetValue(), L"\u6587") << c.name;
  }
  // The caller's bytes are read, never swapped in place.
  CMarkup m;
  ASSERT_TRUE(m.LoadFromMem(bigEndian.data(), static_cast<DWORD>(bigEndian.size()), 1));
  EXPECT_EQ(bigEndian, bigEndianCopy);

  const BYTE invalid[] = {'<', 'a', ' ', 'b', '=', '"', 0xFF, '"', '/', '>'};
  ASSERT_TRUE(m.LoadFromMem(invalid, sizeof(invalid), 0));
  EXPECT_STREQ(m.GetRoot().GetAttributeValue(L"b"), L"\uFFFD");
  const BYTE odd[] = {0xFF};
  EXPECT_TRUE(m.LoadFromMem(odd, 1, 1));
  EXPECT_FALSE(m.GetRoot().IsValid());
}

// UTF-8 decoding must agree with the platform's conversion of the whole
// text, invalid and cut sequences included.
TEST(CMarkup, DecodesUtf8AsThePlatformDoes) {
  const char* payloads[] = {
      "plain ascii text longer than eight",
      "a\xe4\xb8\xad" "b",
      "12345678\xe4\xb8\xad" "12345678\xf0\x9f\x98\x80",
      "\xe4\xb8" "x",          // cut sequence before ASCII
      "\xff\xfe\xc0\xaf" "z",  // invalid bytes and an overlong form
      "\xed\xa0\x80",          // an encoded surrogate
      "\xe4\xb8",              // cut at the end of the value
  };
  for (const char* payload : payloads) {
    std::string doc = std::string("<a v=\"") + payload + "\" />";
    CMarkup m;
    ASSERT_TRUE(m.LoadFromMem(reinterpret_cast<const BYTE*>(doc.data()), static_cast<DWORD>(doc.size()))) << payload;
    int n = ::MultiByteToWideChar(CP_UTF8, 0, payload, -1, nullptr, 0);
    std::wstring expected(static_cast<size_t>(n), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, payload, -1, expected.data(), n);
    expected.resize(static_cast<size_t>(n - 1));
    EXPECT_EQ(std::wstring(m.GetRoot().GetAttributeValue(L"v")), expected) << payload;
  }
}

// Random mixes of ASCII, well-formed and broken sequences at every alignment
// of the ASCII fast path; the platform's conversion is the reference.
TEST(CMarkup, DecodesRandomUtf8AsThePlatformDoes) {
  static const char* pieces[] = {"a",    "0123456789abcdef", "\xc3\xa9",     "\xe4\xb8\xad", "\xf0\x9f\x98\x80",
                                 "\x80", "\xc0\x80",        "\xe0\x80\x80", "\xed\xa0\x80", "\xf4\x90\x80\x80",
                                 "\xe4", "\xf0\x9f",        "\xff",         " ",           "\t"};
  unsigned seed = 12345;
  auto next = [&] { return (seed = seed * 1103515245u + 12345u) >> 16; };
  for (int round = 0; round < 2000; round++) {
    std::string payload(next() % 20, 'x');
    for (unsigned n = next() % 12; n > 0; n--) payload += pieces[next() % (sizeof pieces / sizeof *pieces)];
    std::string doc = std::string("<a v=\"") + payload + "\" />";
    CMarkup m;
    ASSERT_TRUE(m.LoadFromMem(reinterpret_cast<const BYTE*>(doc.data()), static_cast<DWORD>(doc.size()))) << payload;
    int n = ::MultiByteToWideChar(CP_UTF8, 0, payload.data(), static_cast<int>(payload.size()), nullptr, 0);
    std::wstring expected(static_cast<size_t>(n), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, payload.data(), static_cast<int>(payload.size()), expected.data(), n);
    ASSERT_EQ(std::wstring(m.GetRoot().GetAttributeValue(L"v")), expected) << payload;
  }
}

TEST(CMarkup, ToleratesMissingEndTagsOnlyNearTheTop) {
  struct Case {
    const wchar_t* doc;
    bool ok;
    const wchar_t* result;  // name of the deepest first child, or the error
  } cases[] = {
      {L"<a>", true, L"a"},
      {L"<a b=\"1\">", true, L"a"},
      {L"<a><b>", true, L"b"},
      {L"<a><b>te&amp;xt", true, L"b"},
      {L"<a></a><c>", true, L"a"},
      {L"<a><b></b><c>", true, L"b"},
      {L"<a><b><c>", false, L"Expected end-tag start"},
      {L"<a><b><c></c>", false, L"Expected start tag"},
  };
  for (const Case& c : cases) {
    CMarkup m;
    ASSERT_EQ(m.Load(c.doc), c.ok) << c.doc;
    if (!c.ok) {
      EXPECT_EQ(Message(m), c.result) << c.doc;
      continue;
    }
    CMarkupNode node = m.GetRoot();
    while (node.HasChildren()) node = node.GetChild();
    EXPECT_STREQ(node.GetName(), c.result) << c.doc;
  }
  CMarkup m;
  ASSERT_TRUE(m.Load(L"<a><b>te&amp;xt"));
  EXPECT_STREQ(m.GetRoot().GetChild().GetValue(), L"te&xt");
}

TEST(CMarkup, ABlankBeforeTheSlashClosesTheElement) {
  CMarkup m;
  ASSERT_TRUE(m.Load(L"<a><b /><c x=\"1\"/><d/></d></a>"));
  CMarkupNode b = m.GetRoot().GetChild();
  EXPECT_STREQ(b.GetName(), L"b");
  EXPECT_FALSE(b.HasChildren());
  EXPECT_STREQ(b.GetValue(), L"");
  CMarkupNode c = b.GetSibling();
  EXPECT_STREQ(c.GetName(), L"c");
  EXPECT_STREQ(c.GetAttributeValue(L"x"), L"1");
  CMarkupNode d = c.GetSibling();
  EXPECT_STREQ(d.GetName(), L"d");
  EXPECT_FALSE(d.HasSiblings());
}

TEST(CMarkup, NavigatesTheElementTree) {
  CMarkup m(L"<?xml version=\"1.0\"?>\n<!-- skin -->\n"
            L"<Window><Font id=\"0\" /><Button name=\"again\">go</Button><Font id=\"1\" /></Window>\n"
            L"<Default name=\"x\" />");
  ASSERT_TRUE(m.IsValid());
  CMarkupNode root = m.GetRoot();
  EXPECT_STREQ(root.GetName(), L"Window");
  EXPECT_FALSE(root.GetParent().IsValid());
  EXPECT_TRUE(root.HasSiblings());
  EXPECT_STREQ(root.GetSibling().GetName(), L"Default");
  CMarkupNode button = root.GetChild(L"Button");
  EXPECT_STREQ(button.GetValue(), L"go");
  EXPECT_STREQ(button.GetParent().GetName(), L"Window");
  EXPECT_FALSE(root.GetChild(L"button").IsValid());  // names are case-sensitive
  EXPECT_STREQ(root.GetChild(L"Font").GetAttributeValue(L"id"), L"0");
  EXPECT_STREQ(button.GetSibling().GetAttributeValue(L"id"), L"1");
  EXPECT_FALSE(button.GetSibling().HasSiblings());

  for (const wchar_t* doc : {L"", L"  \n\t ", L"<!-- only a comment -->", L"<?xml version=\"1.0\"?>"}) {
    CMarkup empty;
    EXPECT_TRUE(empty.Load(doc));
    EXPECT_TRUE(empty.IsValid());
    EXPECT_FALSE(empty.GetRoot().IsValid());
  }
}

TEST(CMarkup, AttributesAreMappedLazilyUpTo64) {
  std::wstring doc = L"<a";
  for (int i = 0; i < 70; i++) doc += L" a" + std::to_wstring(i) + L"=\"v" + std::to_wstring(i) + L"\"";
  doc += L" />";
  CMarkup m(doc.c_str());
  CMarkupNode node = m.GetRoot();
  EXPECT_EQ(node.GetAttributeCount(), 64);
  EXPECT_STREQ(node.GetAttributeName(63), L"a63");
  EXPECT_STREQ(node.GetAttributeValue(L"a63"), L"v63");
  EXPECT_FALSE(node.HasAttribute(L"a64"));
  EXPECT_STREQ(node.GetAttributeValue(L"a64"), L"");
  EXPECT_STREQ(node.GetAttributeName(64), L"");
  EXPECT_STREQ(node.GetAttributeValue(-1), L"");

  CMarkup spaced(L"<a\n    one = \"1\"\ttwo=\"\"  three=\"3\"></a>");
  CMarkupNode a = spaced.GetRoot();
  ASSERT_EQ(a.GetAttributeCount(), 3);
  EXPECT_STREQ(a.GetAttributeName(0), L"one");
  EXPECT_STREQ(a.GetAttributeValue(1), L"");
  EXPECT_STREQ(a.GetAttributeValue(L"three"), L"3");
  EXPECT_FALSE(a.HasAttribute(L"One"));

  WCHAR buffer[3];
  EXPECT_TRUE(a.GetAttributeValue(L"one", buffer, 3));
  EXPECT_STREQ(buffer, L"1");
  EXPECT_TRUE(a.GetAttributeValue(2, buffer, 3));
  EXPECT_STREQ(buffer, L"3");
  EXPECT_FALSE(a.GetAttributeValue(L"four", buffer, 3));
  EXPECT_FALSE(a.GetAttributeValue(3, buffer, 3));

  CMarkup none(L"<a></a>");
  EXPECT_FALSE(none.GetRoot().HasAttributes());
  EXPECT_EQ(none.GetRoot().GetAttributeCount(), 0);

  CMarkupNode invalid;
  EXPECT_EQ(invalid.GetAttributeValue(L"x"), nullptr);
  EXPECT_EQ(invalid.GetName(), nullptr);
  EXPECT_EQ(invalid.GetAttributeCount(), 0);
  EXPECT_FALSE(invalid.GetChild().IsValid());
}

TEST(CMarkup, ReplacesTheFiveEntitiesOnly) {
  struct Case {
    const wchar_t* text;
    const wchar_t* expected;
  } cases[] = {
      {L"&lt;b&gt;", L"<b>"},         {L"a &amp; b", L"a & b"},      {L"&quot;q&quot;", L"\"q\""},
      {L"&apos;", L"'"},              {L"&copy;", L"&copy;"},        {L"&#65;", L"&#65;"},
      {L"&amp;lt;", L"&lt;"},         {L"&", L"&"},                  {L"&&amp;", L"&&"},
  };
  for (const Case& c : cases) {
    std::wstring doc = std::wstring(L"<a v=\"") + c.text + L"\" w=\"after\">" + c.text + L"</a>";
    CMarkup m(doc.c_str());
    ASSERT_TRUE(m.IsValid()) << c.text;
    CMarkupNode a = m.GetRoot();
    EXPECT_STREQ(a.GetAttributeValue(L"v"), c.expected) << c.text;
    EXPECT_STREQ(a.GetAttributeValue(L"w"), L"after") << c.text;  // found across a shortened value
    EXPECT_STREQ(a.GetValue(), c.expected) << c.text;
  }
}

TEST(CMarkup, KeepsOrCollapsesWhitespace) {
  const wchar_t* doc = L"<a t=\"x   y\">x  \t y\tz</a>";
  struct Case {
    bool preserve;
    const wchar_t* attribute;
    const wchar_t* text;
  } cases[] = {{true, L"x   y", L"x  \t y\tz"}, {false, L"x y", L"x y\tz"}};
  for (const Case& c : cases) {
    CMarkup m;
    m.SetPreserveWhitespace(c.preserve);
    ASSERT_TRUE(m.Load(doc));
    EXPECT_STREQ(m.GetRoot().GetAttributeValue(L"t"), c.attribute);
    EXPECT_STREQ(m.GetRoot().GetValue(), c.text);
  }
}

TEST(CMarkup, NamesMayUseLettersOfAllScripts) {
  CMarkup m(L"<\u7a97\u53e3 \u540d\u5b57=\"x\" ns:id_1=\"2\" />");
  ASSERT_TRUE(m.IsValid());
  EXPECT_STREQ(m.GetRoot().GetName(), L"\u7a97\u53e3");
  EXPECT_STREQ(m.GetRoot().GetAttributeValue(L"\u540d\u5b57"), L"x");
  EXPECT_STREQ(m.GetRoot().GetAttributeValue(L"ns:id_1"), L"2");
}

// A unit outside the ASCII table ends a name like any other non-letter,
// also one that is negative as a 32-bit wchar_t.
TEST(CMarkup, NamesEndAtUnitsOutsideTheTable) {
  for (wchar_t unit : {static_cast<wchar_t>(-5), static_cast<wchar_t>(0x2603)}) {
    std::wstring doc = std::wstring(L"<a") + unit + L" b" + unit + L"=\"1\" />";
    CMarkup m;
    EXPECT_FALSE(m.Load(doc.c_str()));
    EXPECT_EQ(Message(m), L"Error while parsing attributes");
    doc = std::wstring(L"<a") + unit + L" b=\"1\" />";
    ASSERT_TRUE(m.Load(doc.c_str()));
    EXPECT_STREQ(m.GetRoot().GetName(), L"a");
    EXPECT_STREQ(m.GetRoot().GetAttributeValue(L"b"), L"1");
  }
}

TEST(CMarkup, ReloadsAndReleases) {
  CMarkup m;
  ASSERT_TRUE(m.Load(L"<first />"));
  EXPECT_STREQ(m.GetRoot().GetName(), L"first");
  ASSERT_TRUE(m.Load(L"<second><child /></second>"));
  EXPECT_STREQ(m.GetRoot().GetChild().GetName(), L"child");
  EXPECT_FALSE(m.Load(L"<broken"));
  EXPECT_FALSE(m.IsValid());
  EXPECT_TRUE(m.Load(L"<third />"));
  EXPECT_EQ(Message(m), L"");  // a later success clears the error
  m.Release();
  EXPECT_FALSE(m.IsValid());
  EXPECT_FALSE(m.GetRoot().IsValid());
  EXPECT_FALSE(m.Load(nullptr));
}

// Nesting is limited by memory, not by the thread's stack.
TEST(CMarkup, ParsesDeepNestingAndLargeTables) {
  const int depth = 300000;
  std::wstring doc;
  for (int i = 0; i < depth; i++) doc += L"<e>";
  for (int i = 0; i < depth; i++) doc += L"</e>";
  CMarkup m;
  ASSERT_TRUE(m.Load(doc.c_str()));
  int levels = 0;
  for (CMarkupNode node = m.GetRoot(); node.IsValid(); node = node.GetChild()) levels++;
  EXPECT_EQ(levels, depth);

  std::wstring wide = L"<list>";
  for (int i = 0; i < 2000; i++) wide += L"<item n=\"" + std::to_wstring(i) + L"\" />";
  wide += L"</list>";
  ASSERT_TRUE(m.Load(wide.c_str()));
  int count = 0;
  CMarkupNode last;
  for (CMarkupNode node = m.GetRoot().GetChild(); node.IsValid(); node = node.GetSibling()) {
    last = node;
    count++;
  }
  EXPECT_EQ(count, 2000);
  EXPECT_STREQ(last.GetAttributeValue(L"n"), L"1999");
}
