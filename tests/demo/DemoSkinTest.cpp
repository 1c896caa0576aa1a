// The demo skin against what the launcher's window relies on: the six
// controls by name and kind, minimise and close outside the caption band,
// every image loadable by the framework, the background with a colour
// under it, and a served background of the window's size.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <string>

#include "core/AttributeValues.h"
#include "manager/CPaintManagerUI.h"
#include "markup/CMarkup.h"
#include "render/CImageAttribute.h"

namespace {

using namespace SkinUI;

const std::filesystem::path kDemo = std::filesystem::path(TEST_SOURCE_DIR) / "demo";

struct Element {
  std::wstring kind;
  std::map<std::wstring, std::wstring> attributes;
  std::wstring Get(const std::wstring& name) const {
    auto it = attributes.find(name);
    return it == attributes.end() ? L"" : it->second;
  }
};

std::string ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

Element Read(const CMarkupNode& node) {
  Element element{node.GetName(), {}};
  for (int i = 0; i < node.GetAttributeCount(); ++i)
    element.attributes[node.GetAttributeName(i)] = node.GetAttributeValue(i);
  return element;
}

void Collect(const CMarkupNode& parent, std::vector<Element>* out) {
  for (CMarkupNode node = parent.GetChild(); node.IsValid(); node = node.GetSibling()) {
    out->push_back(Read(node));
    Collect(node, out);
  }
}

class DemoSkinTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string bytes = ReadAll(kDemo / "skin" / "MainWnd.xml");
    ASSERT_FALSE(bytes.empty());
    ASSERT_TRUE(markup.LoadFromMem(reinterpret_cast<const BYTE*>(bytes.data()), static_cast<DWORD>(bytes.size())));
    root = Read(markup.GetRoot());
    Collect(markup.GetRoot(), &elements);
    for (const Element& e : elements)
      if (!e.Get(L"name").empty()) named[e.Get(L"name")].push_back(e);
  }
  const Element& Named(const std::wstring& name) { return named[name].front(); }

  CMarkup markup;
  Element root;
  std::vector<Element> elements;
  std::map<std::wstring, std::vector<Element>> named;
};

TEST_F(DemoSkinTest, HasTheSixControlsAndTheWindowButtonsOnce) {
  struct Case {
    const wchar_t* name;
    const wchar_t* kind;
  } cases[] = {{L"myprogress", L"Progress"}, {L"Optionsum", L"Label"}, {L"Optionbt", L"Label"},
               {L"Optionts", L"Label"},     {L"Optiontexe", L"Label"}, {L"again", L"Button"},
               {L"minbtn", L"Button"},      {L"closebtn", L"Button"}};
  for (const Case& c : cases) {
    ASSERT_EQ(1u, named[c.name].size()) << c.name;
    EXPECT_EQ(c.kind, Named(c.name).kind) << c.name;
  }
  EXPECT_FALSE(ParseBool(Named(L"again").Get(L"visible").c_str()));
  EXPECT_FALSE(Named(L"myprogress").Get(L"foreimage").empty()) << "a progress bar paints only its foreground image";
}

// Buttons inside the caption band would drag the window instead of
// clicking; every control lies inside the window.
TEST_F(DemoSkinTest, WindowButtonsLieOutsideTheCaptionBand) {
  ASSERT_EQ(L"Window", root.kind);
  SIZE size = ParseSize(root.Get(L"size").c_str());
  EXPECT_EQ(600, size.cx);
  EXPECT_EQ(360, size.cy);
  RECT caption = ParseRect(root.Get(L"caption").c_str());
  RECT band{caption.left, caption.top, size.cx - caption.right, caption.bottom};
  EXPECT_GT(band.bottom, band.top);
  for (const wchar_t* name : {L"minbtn", L"closebtn", L"again"}) {
    RECT pos = ParseRect(Named(name).Get(L"pos").c_str()), overlap;
    EXPECT_FALSE(IntersectRect(&overlap, &pos, &band)) << name;
  }
  for (const Element& e : elements) {
    if (e.Get(L"pos").empty()) continue;
    RECT pos = ParseRect(e.Get(L"pos").c_str());
    EXPECT_TRUE(pos.left >= 0 && pos.top >= 0 && pos.right <= size.cx && pos.bottom <= size.cy && pos.left < pos.right &&
                pos.top < pos.bottom)
        << e.Get(L"name");
  }
}

// Every image the skin names loads through the framework, with its source
// inside the picture; only the downloaded background may be missing, and
// its element has a colour to show meanwhile.
TEST_F(DemoSkinTest, EveryImageLoadsButTheDownloadedBackgroundWhichHasAColourBeneath) {
  CPaintManagerUI::SetResourcePath((kDemo / "skin").wstring().append(L"/").c_str());
  CPaintManagerUI manager;
  int images = 0;
  static const std::wregex kSource(L"source='([^']*)'");
  for (const Element& e : elements) {
    for (const auto& [name, value] : e.attributes) {
      if (name.size() < 5 || name.compare(name.size() - 5, 5, L"image") != 0) continue;
      if (value.find(L"bk/bg_1.png") != std::wstring::npos) {
        EXPECT_NE(0u, ParseColor(e.Get(L"bkcolor").c_str())) << "no colour under the background";
        continue;
      }
      CImageAttribute image;
      image.SetAttributeString(value.c_str());
      ASSERT_TRUE(image.LoadImage(&manager)) << std::string(value.begin(), value.end());
      ++images;
      std::wsmatch source;
      if (std::regex_search(value, source, kSource)) {
        RECT r = ParseRect(source[1].str().c_str());
        EXPECT_LE(r.right, image.GetImageInfo()->nX) << std::string(value.begin(), value.end());
        EXPECT_LE(r.bottom, image.GetImageInfo()->nY) << std::string(value.begin(), value.end());
      }
    }
  }
  EXPECT_GE(images, 8);
}

// The served background is what the skin shows under bk/bg_1.png.
TEST_F(DemoSkinTest, TheServedBackgroundHasTheWindowsSize) {
  std::string png = ReadAll(kDemo / "service" / "files" / "bg.png");
  ASSERT_GE(png.size(), 24u);
  ASSERT_EQ(std::string("\x89PNG", 4), png.substr(0, 4));
  auto be32 = [&](size_t at) {
    return (static_cast<uint32_t>(static_cast<unsigned char>(png[at])) << 24) |
           (static_cast<unsigned char>(png[at + 1]) << 16) | (static_cast<unsigned char>(png[at + 2]) << 8) |
           static_cast<unsigned char>(png[at + 3]);
  };
  EXPECT_EQ(600u, be32(16));
  EXPECT_EQ(360u, be32(20));
  EXPECT_NE(std::string::npos, ReadAll(kDemo / "service" / "answer.json").find("/bg.png\""));
}

}  // namespace
