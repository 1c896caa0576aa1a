// Labels, texts with links and buttons in headless windows: where their
// text lands, the sizes layouts give them, their state looks, the clicks
// they send and the links they report. Text is measured with the window's
// font through the calls the controls make; no picture of text is kept.
#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <string>

#include "EventLog.h"
#include "FrameworkPump.h"
#include "TestWindow.h"
#include "controls/CButtonUI.h"
#include "controls/CHorizontalLayoutUI.h"
#include "controls/CLabelUI.h"
#include "controls/CTabLayoutUI.h"
#include "controls/CTextUI.h"
#include "controls/CVerticalLayoutUI.h"
#include "render/CRenderEngine.h"

namespace SkinUI {
namespace {

using test::EventLog;
using test::LogNotifier;
using test::PumpUntil;
using test::TestWindow;

constexpr uint32_t kWhite = 0xFFFFFFFF;

// A solid opaque image of the window's cache, for state image slots.
void AddSolidImage(CPaintManagerUI& pm, LPCWSTR name, uint32_t colour, int w = 8, int h = 8) {
  BYTE* bits = nullptr;
  HBITMAP bitmap = CRenderEngine::CreateBitmap(nullptr, w, h, &bits);
  auto* pixels = reinterpret_cast<uint32_t*>(bits);
  for (int i = 0; i < w * h; ++i) pixels[i] = colour;
  pm.AddImage(name, bitmap, w, h, false);
}

// The bounding box of the pixels in an area that are not white.
RECT InkBox(const platform::window::test::Pixels& pixels, RECT area) {
  RECT box = {INT_MAX, INT_MAX, INT_MIN, INT_MIN};
  for (int y = area.top; y < area.bottom; ++y)
    for (int x = area.left; x < area.right; ++x)
      if (pixels.At(x, y) != kWhite)
        box = RECT{std::min<LONG>(box.left, x), std::min<LONG>(box.top, y), std::max<LONG>(box.right, x + 1),
                   std::max<LONG>(box.bottom, y + 1)};
  return box;
}

template <typename Test>
bool AnyIn(const platform::window::test::Pixels& pixels, RECT area, Test test) {
  for (int y = std::max<LONG>(area.top, 0); y < std::min<LONG>(area.bottom, pixels.height); ++y)
    for (int x = std::max<LONG>(area.left, 0); x < std::min<LONG>(area.right, pixels.width); ++x)
      if (test(pixels.At(x, y))) return true;
  return false;
}

bool Reddish(uint32_t p) {
  return ((p >> 16) & 0xFF) > (p & 0xFF) + 60 && ((p >> 16) & 0xFF) > ((p >> 8) & 0xFF) + 60;
}
bool Bluish(uint32_t p) {
  return (p & 0xFF) > ((p >> 16) & 0xFF) + 60 && (p & 0xFF) > ((p >> 8) & 0xFF) + 60;
}

// A white window whose root is a vertical layout; notifications go to the
// log as "notify:type:sender".
class TextControls : public ::testing::Test {
 protected:
  void SetUp() override {
    test::Pump();
    window = std::make_unique<TestWindow>(300, 200);
    root = new CVerticalLayoutUI;
    root->SetBkColor(0xFFFFFFFF);
    pm().AddNotifier(&notifier);
  }
  void TearDown() override {
    window.reset();
    if (!attached) delete root;
    attached = false;
    test::Pump();
  }
  CPaintManagerUI& pm() { return window->pm(); }

  template <typename T>
  T* Add(T* control, LPCWSTR attributes, CContainerUI* parent = nullptr) {
    control->ApplyAttributeList(attributes);
    (parent != nullptr ? parent : root)->Add(control);
    return control;
  }
  // Attaches the tree and waits for its first paint.
  void Show() {
    window->Attach(root);
    attached = true;
    ::SetFocus(window->hwnd());
    window->MouseMove(-50, -50);
    ASSERT_TRUE(PumpUntil([&] { return window->Presented().width > 0; }));
    Settled();
    log.Clear();
  }
  // Pumps until the presented pixel at (x, y) passes the test.
  template <typename Test>
  bool Shows(int x, int y, Test test) {
    return PumpUntil([&] {
      platform::window::test::Pixels pixels = window->Presented();
      return pixels.width > x && pixels.height > y && test(pixels.At(x, y));
    });
  }
  // Pumps until some presented pixel in the area passes the test.
  template <typename Test>
  bool ShowsIn(RECT area, Test test) {
    return PumpUntil([&] { return AnyIn(window->Presented(), area, test); });
  }
  bool Shows(int x, int y, uint32_t colour) {
    return Shows(x, y, [colour](uint32_t p) { return p == colour; });
  }
  // Waits for painting to settle, then returns what was presented.
  platform::window::test::Pixels Settled() {
    EXPECT_TRUE(PumpUntil([&] { return !::GetUpdateRect(window->hwnd(), nullptr, FALSE); }));
    test::Pump();
    return window->Presented();
  }
  LONG TextWidth(LPCWSTR text, int font = -1) {
    HDC dc = pm().GetPaintDC();
    HGDIOBJ old = ::SelectObject(dc, pm().GetFont(font));
    SIZE size = {0, 0};
    ::GetTextExtentPoint32W(dc, text, static_cast<int>(wcslen(text)), &size);
    ::SelectObject(dc, old);
    return size.cx;
  }
  LONG FontHeight() { return pm().GetDefaultFontInfo()->tm.tmHeight; }

  EventLog log;
  LogNotifier notifier{&log};
  std::unique_ptr<TestWindow> window;
  CVerticalLayoutUI* root = nullptr;
  bool attached = false;  // the window owns root
};

TEST_F(TextControls, AlignmentAndPaddingPlaceTheText) {
  struct Case {
    const wchar_t* attributes;
    LONG left, right;  // where the ink may begin and must end, -1: not checked
    bool top, bottom;  // the ink near the top, near the bottom
  };
  const LONG w = TextWidth(L"Hello");
  const Case cases[] = {
      {L"align=\"right\" textpadding=\"0,0,5,0\"", 100 - 5 - w, 95, false, false},
      {L"align=\"left\" textpadding=\"7,0,0,0\"", 7, 7 + w, false, false},
      {L"align=\"center\"", (100 - w) / 2, (100 - w) / 2 + w, false, false},
      {L"valign=\"top\"", 0, w, true, false},
      {L"valign=\"bottom\"", 0, w, false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.attributes);
    TearDown();
    SetUp();
    auto* holder = Add(new CHorizontalLayoutUI, L"height=\"40\"");
    Add(new CLabelUI, L"width=\"100\" text=\"Hello\" textcolor=\"#FF000000\"", holder);
    holder->GetItemAt(0)->ApplyAttributeList(c.attributes);
    Show();
    const RECT ink = InkBox(Settled(), RECT{0, 0, 100, 40});
    ASSERT_LT(ink.left, ink.right);
    EXPECT_GE(ink.left, c.left);
    EXPECT_LE(ink.left, c.left + 2);
    EXPECT_LE(ink.right, c.right);
    EXPECT_GE(ink.right, c.right - 3);
    const LONG middle = (ink.top + ink.bottom) / 2;
    if (c.top) {
      EXPECT_LT(middle, 12);
    } else if (c.bottom) {
      EXPECT_GT(middle, 28);
    } else {
      EXPECT_NEAR(middle, 20, 3);
    }
  }
}

TEST_F(TextControls, DefaultHeightsInAVerticalLayoutAndAutoWidthAfterSetText) {
  auto* label = Add(new CLabelUI, L"text=\"label\"");
  auto* button = Add(new CButtonUI, L"text=\"button\"");
  auto* line = Add(new CHorizontalLayoutUI, L"height=\"30\"");
  auto* autoLabel = Add(new CLabelUI, L"autocalcwidth=\"true\" textpadding=\"2,0,3,0\" text=\"Hello\"", line);
  auto* markup = Add(new CLabelUI, L"autocalcwidth=\"true\" showhtml=\"true\"", line);
  markup->SetText(L"<b>Bold</b> words");
  Show();
  EXPECT_EQ(label->GetHeight(), FontHeight() + 4);
  EXPECT_EQ(button->GetHeight(), FontHeight() + 8);
  EXPECT_EQ(autoLabel->GetWidth(), TextWidth(L"Hello") + 5);
  HFONT bold = pm().GetFont(pm().GetDefaultFontInfo()->sFontName, pm().GetDefaultFontInfo()->iSize, true,
                            false, false);
  ASSERT_NE(bold, nullptr);
  EXPECT_EQ(markup->GetWidth(), TextWidth(L"Bold", pm().GetFontIndex(bold)) + TextWidth(L" words"));
  // The launcher rewrites its status labels: each new text is measured.
  autoLabel->SetText(L"Hello, wide world");
  ASSERT_TRUE(PumpUntil([&] { return autoLabel->GetWidth() == TextWidth(L"Hello, wide world") + 5; }));
  autoLabel->SetTextPadding(RECT{10, 0, 10, 0});
  ASSERT_TRUE(PumpUntil([&] { return autoLabel->GetWidth() == TextWidth(L"Hello, wide world") + 20; }));
  EXPECT_EQ(markup->GetX(), autoLabel->GetX() + autoLabel->GetWidth());
}

// Button states by image and colour, at the button's middle and on its text.
TEST_F(TextControls, StateImagesAndColours) {
  AddSolidImage(pm(), L"normal", 0xFFFF0000);
  AddSolidImage(pm(), L"hot", 0xFF00FF00);
  AddSolidImage(pm(), L"pushed", 0xFF0000FF);
  AddSolidImage(pm(), L"disabled", 0xFF808080);
  auto* button = Add(new CButtonUI,
                     L"height=\"40\" normalimage=\"file='normal'\" hotimage=\"file='hot'\" "
                     L"pushedimage=\"file='pushed'\" disabledimage=\"file='disabled'\"");
  auto* broken =
      Add(new CButtonUI, L"height=\"40\" normalimage=\"file='normal'\" hotimage=\"file='missing.png'\"");
  auto* coloured = Add(new CButtonUI,
                       L"height=\"40\" text=\"WWWW\" textcolor=\"#FF000000\" hottextcolor=\"#FFFF0000\" "
                       L"hotbkcolor=\"#FFFFFF00\"");
  Show();
  EXPECT_TRUE(Shows(150, 20, 0xFFFF0000));
  window->MouseMove(150, 20);
  EXPECT_TRUE(Shows(150, 20, 0xFF00FF00));
  window->Button(150, 20, true);
  EXPECT_TRUE(Shows(150, 20, 0xFF0000FF));
  window->MouseMove(150, 140);  // dragged out: neither pushed nor hot
  EXPECT_TRUE(Shows(150, 20, 0xFFFF0000));
  window->Button(150, 140, false);
  button->SetEnabled(false);
  EXPECT_TRUE(Shows(150, 20, 0xFF808080));
  // A hot image that fails to load leaves the normal one.
  window->MouseMove(150, 60);
  ASSERT_TRUE(PumpUntil([&] { return pm().FindControl(POINT{150, 60}) == broken; }));
  EXPECT_TRUE(Shows(150, 60, 0xFFFF0000));
  EXPECT_FALSE(broken->GetHotImage() == nullptr);
  // Without a hot image the hot background colour fills, and the text takes
  // the hot text colour.
  window->MouseMove(5, 100);
  EXPECT_TRUE(Shows(5, 100, 0xFFFFFF00));
  const LONG w = TextWidth(L"WWWW");
  EXPECT_TRUE(ShowsIn(RECT{150 - w / 2, 80, 150 + w / 2, 120}, Reddish));
  EXPECT_EQ(coloured->GetHotTextColor(), 0xFFFF0000u);
}

TEST_F(TextControls, ClicksByMouseAndKeyboard) {
  auto* button = Add(new CButtonUI, L"name=\"go\" height=\"50\" text=\"go\"");
  Add(new CControlUI, L"name=\"rest\"");
  Show();
  struct Case {
    const char* name;
    const char* attributes;  // applied before the input
    std::function<void(TestWindow&)> input;
    int clicks;
  };
  const Case cases[] = {
      {"inside", "", [](TestWindow& w) { w.Click(50, 25); }, 1},
      {"dragged out", "",
       [](TestWindow& w) {
         w.Button(50, 25, true);
         w.MouseMove(50, 120);
         w.Button(50, 120, false);
       },
       0},
      {"back in", "",
       [](TestWindow& w) {
         w.Button(50, 25, true);
         w.MouseMove(50, 120);
         w.MouseMove(60, 30);
         w.Button(60, 30, false);
       },
       1},
      {"space", "", [](TestWindow&) { platform::window::test::Tap(VK_SPACE); }, 1},
      {"return", "", [](TestWindow&) { platform::window::test::Tap(VK_RETURN); }, 1},
      {"other key", "", [](TestWindow&) { platform::window::test::Tap('A'); }, 0},
      {"disabled", "enabled=\"false\"", [](TestWindow& w) { w.Click(50, 25); }, 0},
      {"disabled key", "enabled=\"false\"", [](TestWindow&) { platform::window::test::Tap(VK_SPACE); }, 0},
      {"not mouse-enabled", "mouse=\"false\"", [](TestWindow& w) { w.Click(50, 25); }, 0},
      {"not keyboard-enabled", "keyboard=\"false\"",
       [](TestWindow&) { platform::window::test::Tap(VK_RETURN); }, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    button->ApplyAttributeList(L"enabled=\"true\" mouse=\"true\" keyboard=\"true\"");
    std::wstring attributes(c.attributes, c.attributes + strlen(c.attributes));
    button->ApplyAttributeList(attributes.c_str());
    button->SetFocus();
    test::Pump();
    log.Clear();
    c.input(*window);
    test::Pump();  // the input is queued when injected
    EXPECT_EQ(log.Count("notify:click:go"), c.clicks);
  }
}

// The pushed and captured look is gone before the click is heard, so a
// handler that runs a modal loop does not leave the button pushed.
TEST_F(TextControls, ReleasedBeforeTheClickIsSent) {
  struct Probe : CButtonUI {
    UINT State() const { return m_uButtonState; }
  };
  auto* button = Add(new Probe, L"name=\"go\" height=\"50\"");
  Show();
  UINT during = 0xFFFF;
  notifier.onNotify = [&](TNotifyUI& msg) {
    if (msg.sType == L"click") during = button->State();
  };
  window->Click(50, 25);
  test::Pump();
  EXPECT_EQ(during & (UISTATE_PUSHED | UISTATE_CAPTURED), 0u);
  // A handler may delete the button that sent the click.
  notifier.onNotify = [&](TNotifyUI& msg) {
    if (msg.sType == L"click") root->Remove(button);
  };
  root->SetDelayedDestroy(false);
  window->Click(50, 25);
  test::Pump();
  EXPECT_EQ(root->GetCount(), 0);
}

TEST_F(TextControls, ClickSelectsTheBoundTabPage) {
  auto* button =
      Add(new CButtonUI, L"name=\"go\" height=\"40\" bindtablayoutname=\"pages\" bindtabindex=\"2\"");
  auto* tabs = Add(new CTabLayoutUI, L"name=\"pages\"");
  for (int i = 0; i < 3; ++i) tabs->Add(new CControlUI);
  Add(new CButtonUI, L"name=\"lost\" height=\"40\" bindtablayoutname=\"nothing\" bindtabindex=\"1\"");
  Show();
  EXPECT_EQ(tabs->GetCurSel(), 0);
  window->Click(50, 20);
  ASSERT_TRUE(PumpUntil([&] { return tabs->GetCurSel() == 2; }));
  EXPECT_EQ(log.Lines({test::kNotification}).find("notify:click:go"), 0u);
  EXPECT_EQ(button->GetBindTabLayoutIndex(), 2);
  button->BindTriggerTabSel(1);
  EXPECT_EQ(tabs->GetCurSel(), 1);
  button->BindTabIndex(-5);  // ignored
  EXPECT_EQ(button->GetBindTabLayoutIndex(), 2);
  button->RemoveBindTabIndex();
  button->BindTriggerTabSel();
  EXPECT_EQ(tabs->GetCurSel(), 1);
  // A name that finds no tab layout is left alone.
  window->Click(50, 180);
  ASSERT_TRUE(PumpUntil([&] { return log.Count("notify:click:lost") == 1; }));
  EXPECT_EQ(tabs->GetCurSel(), 1);
}

TEST_F(TextControls, LinksSendTheirIndexShowTheHandAndTheHoverColour) {
  auto* text = Add(new CTextUI, L"name=\"links\" height=\"40\" showhtml=\"true\"");
  text->SetText(L"go <a first>one</a> and <a second>two</a>");
  auto* plain = Add(new CTextUI, L"name=\"plain\" height=\"40\"");
  plain->SetText(L"go <a first>one</a>");
  Show();
  ASSERT_NE(text->GetLinkContent(1), nullptr);
  EXPECT_STREQ(*text->GetLinkContent(0), L"first");
  EXPECT_STREQ(*text->GetLinkContent(1), L"second");
  EXPECT_EQ(text->GetLinkContent(2), nullptr);
  EXPECT_EQ(text->GetLinkContent(-1), nullptr);
  // The second link begins after "go one and " (the text padding is 2).
  const LONG x = 2 + TextWidth(L"go one and ") + 3, y = 10;
  const RECT second = {x - 3, 0, x - 3 + TextWidth(L"two"), 40};
  EXPECT_TRUE(ShowsIn(second, Bluish));
  EXPECT_FALSE(AnyIn(Settled(), second, Reddish));
  window->MouseMove(x, y);
  ASSERT_TRUE(
      PumpUntil([] { return platform::window::test::DisplayCursor() == ::LoadCursorW(nullptr, IDC_HAND); }));
  // Under the mouse the link takes the hover colour.
  EXPECT_TRUE(ShowsIn(second, Reddish));
  window->Click(x, y);
  ASSERT_TRUE(PumpUntil([&] { return log.Count("notify:link:links") == 1; }));
  EXPECT_EQ(log.Last("notify:link:links")->wParam, 1u);
  window->MouseMove(200, 10);
  ASSERT_TRUE(
      PumpUntil([] { return platform::window::test::DisplayCursor() == ::LoadCursorW(nullptr, IDC_ARROW); }));
  // Plain text keeps eight empty slots: nothing there is a link.
  ASSERT_NE(plain->GetLinkContent(7), nullptr);
  EXPECT_STREQ(*plain->GetLinkContent(0), L"");
  window->Click(2 + TextWidth(L"go <a fi"), 50);
  test::Pump();
  EXPECT_EQ(log.Count("notify:link:plain"), 0);
  // Mark-up that loses its links leaves no link behind.
  text->SetText(L"no links now");
  ASSERT_TRUE(PumpUntil([&] { return text->GetLinkContent(0) == nullptr; }));
  window->Click(x, y);
  test::Pump();
  EXPECT_EQ(log.Count("notify:link:links"), 1);
}

TEST(TextControlNames, ClassesAndInterfaces) {
  CLabelUI label;
  CTextUI text;
  CButtonUI button;
  EXPECT_STREQ(label.GetClass(), L"LabelUI");
  EXPECT_STREQ(text.GetClass(), L"TextUI");
  EXPECT_STREQ(button.GetClass(), L"ButtonUI");
  EXPECT_EQ(label.GetInterface(L"Label"), &label);
  EXPECT_EQ(text.GetInterface(L"Text"), &text);
  EXPECT_EQ(text.GetInterface(L"Label"), static_cast<CLabelUI*>(&text));
  EXPECT_EQ(button.GetInterface(L"Button"), &button);
  EXPECT_EQ(button.GetInterface(L"Control"), static_cast<CControlUI*>(&button));
  EXPECT_EQ(button.GetInterface(L"Text"), nullptr);
  EXPECT_EQ(label.GetTextStyle(), UINT(DT_VCENTER));
  EXPECT_EQ(text.GetTextStyle(), UINT(DT_WORDBREAK));
  EXPECT_EQ(button.GetTextStyle(), UINT(DT_SINGLELINE | DT_VCENTER | DT_CENTER));
  // align and valign words apply in order; the later attribute wins.
  label.ApplyAttributeList(L"valign=\"bottom\" align=\"right\" endellipsis=\"true\"");
  EXPECT_EQ(label.GetTextStyle(), UINT(DT_BOTTOM | DT_RIGHT | DT_END_ELLIPSIS));
  label.ApplyAttributeList(L"align=\"center\" valign=\"vcenter\"");
  EXPECT_EQ(label.GetTextStyle(), UINT(DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS));
  button.ApplyAttributeList(L"multiline=\"true\"");
  EXPECT_EQ(button.GetTextStyle(), UINT(DT_WORDBREAK | DT_VCENTER | DT_CENTER));
}

}  // namespace
}  // namespace SkinUI
