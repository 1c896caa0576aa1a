// Options and check boxes in headless windows: which one a click selects,
// how many "selectchanged" each sends, groups across skins, deletions and
// windows, and the selected looks.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "EventLog.h"
#include "FrameworkPump.h"
#include "TestWindow.h"
#include "controls/CCheckBoxUI.h"
#include "controls/COptionUI.h"
#include "controls/CVerticalLayoutUI.h"
#include "render/CRenderEngine.h"

namespace SkinUI {
namespace {

using test::EventLog;
using test::LogNotifier;
using test::PumpUntil;
using test::TestWindow;

// A window with four options A to D, each 30 pixels high, built from the
// attribute lists given; notifications go to the log.
struct Options {
  EventLog log;
  LogNotifier notifier{&log};
  std::unique_ptr<TestWindow> window = std::make_unique<TestWindow>(200, 160);
  CVerticalLayoutUI* root = new CVerticalLayoutUI;
  std::vector<COptionUI*> options;

  // prepare runs before the tree is attached (images for its first paint).
  explicit Options(const std::vector<std::wstring>& attributes,
                   const std::function<void(CPaintManagerUI&)>& prepare = nullptr) {
    root->SetDelayedDestroy(false);
    if (prepare) prepare(window->pm());
    for (size_t i = 0; i < attributes.size(); ++i) {
      COptionUI* option = i == 3 ? new CCheckBoxUI : new COptionUI;
      option->SetName(std::wstring(1, L'A' + static_cast<wchar_t>(i)).c_str());
      option->ApplyAttributeList((L"height=\"30\" " + attributes[i]).c_str());
      root->Add(option);
      options.push_back(option);
    }
    window->pm().AddNotifier(&notifier);
    window->Attach(root);
    window->MouseMove(-50, -50);
    EXPECT_TRUE(PumpUntil([&] { return window->Presented().width > 0; }));
    test::Pump();
  }
  // Clicks option i once the layout has caught up with the tree.
  void Click(int i) {
    EXPECT_TRUE(PumpUntil([&] { return !::GetUpdateRect(window->hwnd(), nullptr, FALSE); }));
    window->Click(100, 15 + 30 * i);
    test::Pump();
  }
  // The selected options' names and the counts of "selectchanged" per
  // sender, as "AC 2,0,1,0".
  std::string State() {
    std::string out;
    for (COptionUI* o : options)
      if (o->IsSelected()) out += test::Narrow(o->GetName());
    out += " ";
    for (size_t i = 0; i < options.size(); ++i) {
      if (i) out += ",";
      out += std::to_string(log.Count("notify:selectchanged:" + test::Narrow(options[i]->GetName())));
    }
    return out;
  }
};

TEST(OptionGroups, SelectChangedPerSender) {
  const std::wstring group = L"group=\"g\"";
  struct Case {
    const char* name;
    std::vector<std::wstring> attributes;
    std::function<void(Options&)> act;
    const char* state;
  };
  const Case cases[] = {
      {"no group toggles and tells each time",
       {L"", L""},
       [](Options& o) { o.Click(0), o.Click(0), o.Click(0); },
       "A 3,0"},
      {"a group keeps the selected one and tells again",
       {group, group, group},
       [](Options& o) { o.Click(0), o.Click(0); },
       "A 2,0,0"},
      {"selecting another deselects the first silently",
       {group, group, group},
       [](Options& o) { o.Click(0), o.Click(1); },
       "B 1,1,0"},
      {"two groups are apart",
       {group, group, L"group=\"h\"", L"group=\"h\""},
       [](Options& o) { o.Click(0), o.Click(2), o.Click(3), o.Click(1); },
       "BD 1,1,1,1"},
      {"two selected in the skin: the last wins",
       {group + L" selected=\"true\"", group + L" selected=\"true\"", group},
       [](Options&) {},
       "B 0,0,0"},
      {"the skin's choice is left by a click",
       {group + L" selected=\"true\"", group + L" selected=\"true\"", group},
       [](Options& o) { o.Click(2); },
       "C 0,0,1"},
      {"a deleted option leaves its group",
       {group, group, group},
       [](Options& o) {
         o.Click(1);
         o.root->Remove(o.options[1]);
         o.options.erase(o.options.begin() + 1);
         EXPECT_EQ(o.window->pm().GetOptionGroup(L"g")->GetSize(), 2);
         o.Click(1);  // C, now second
       },
       "C 0,1"},
      {"a check box sends on SetCheck",
       {L"", L"", L"", L""},
       [](Options& o) { static_cast<CCheckBoxUI*>(o.options[3])->SetCheck(true); },
       "D 0,0,0,1"},
      {"a new group deselects its other members",
       {group + L" selected=\"true\"", L"selected=\"true\""},
       [](Options& o) { o.options[1]->SetGroup(L"g"); },
       "B 0,1"},
      {"disabled options take no click",
       {group + L" enabled=\"false\"", group},
       [](Options& o) { o.Click(0), o.Click(1); },
       "B 0,1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    test::Pump();
    Options options(c.attributes);
    options.log.Clear();
    c.act(options);
    EXPECT_EQ(options.State(), c.state);
  }
}

TEST(OptionGroups, MovingToAnotherWindowLeavesTheOldGroup) {
  test::Pump();
  Options first({L"group=\"g\"", L"group=\"g\""});
  COptionUI* moved = first.options[1];
  first.root->SetAutoDestroy(false);
  ASSERT_TRUE(first.root->Remove(moved));
  first.root->SetAutoDestroy(true);
  Options second({L"group=\"g\""});
  second.root->Add(moved);
  test::Pump();
  ASSERT_EQ(first.window->pm().GetOptionGroup(L"g")->GetSize(), 1);
  ASSERT_EQ(second.window->pm().GetOptionGroup(L"g")->GetSize(), 2);
  moved->Selected(true);
  EXPECT_FALSE(second.options[0]->IsSelected());
  EXPECT_EQ(first.log.Count("notify:selectchanged:B"), 0);
  EXPECT_EQ(second.log.Count("notify:selectchanged:B"), 1);
  first.options[0]->Selected(true);  // the windows overlap: no click
  EXPECT_TRUE(moved->IsSelected());  // another window's option is left alone
}

TEST(OptionGroups, SelectedLooksAndTheForegroundDrawnOnce) {
  test::Pump();
  // Half-transparent black over white shows once as mid grey.
  auto images = [](CPaintManagerUI& pm) {
    BYTE* bits = nullptr;
    HBITMAP white = CRenderEngine::CreateBitmap(nullptr, 4, 4, &bits);
    for (int i = 0; i < 64; ++i) bits[i] = 0xFF;
    pm.AddImage(L"white", white, 4, 4, false);
    HBITMAP shade = CRenderEngine::CreateBitmap(nullptr, 4, 4, &bits);
    for (int i = 0; i < 16; ++i) reinterpret_cast<uint32_t*>(bits)[i] = 0x80000000;
    pm.AddImage(L"shade", shade, 4, 4, true);
  };
  Options options({L"normalimage=\"file='white'\" foreimage=\"file='shade'\"",
                   L"selected=\"true\" selectedbkcolor=\"#FF00FF00\" foreimage=\"file='shade'\"",
                   L"selected=\"true\" selectedimage=\"file='missing.png'\" normalimage=\"file='white'\" "
                   L"foreimage=\"file='shade'\""},
                  images);
  CPaintManagerUI& pm = options.window->pm();
  auto grey = [](uint32_t p) { return (p & 0xFF) >= 0x7D && (p & 0xFF) <= 0x81; };
  EXPECT_TRUE(PumpUntil([&] { return grey(options.window->Presented().At(100, 15)); }));
  // The selected background colour stands for the whole look.
  EXPECT_TRUE(PumpUntil([&] { return options.window->Presented().At(100, 45) == 0xFF00FF00; }));
  // A selected image that fails falls back to the button's look, once.
  EXPECT_TRUE(PumpUntil([&] { return grey(options.window->Presented().At(100, 75)); }));
  // The default selected text colour is the window's font colour, read
  // without being stored, and without a window there is none.
  EXPECT_EQ(options.options[0]->GetSelectedTextColor(), pm.GetDefaultFontColor());
  COptionUI alone;
  EXPECT_EQ(alone.GetSelectedTextColor(), 0u);
  alone.SetSelectedTextColor(0xFF123456);
  EXPECT_EQ(alone.GetSelectedTextColor(), 0xFF123456u);
  EXPECT_STREQ(alone.GetClass(), L"OptionUI");
  EXPECT_EQ(alone.GetInterface(L"Option"), &alone);
  EXPECT_EQ(alone.GetInterface(L"Button"), static_cast<CButtonUI*>(&alone));
  CCheckBoxUI box;
  EXPECT_STREQ(box.GetClass(), L"CheckBoxUI");
  EXPECT_EQ(box.GetInterface(L"Option"), static_cast<COptionUI*>(&box));
}

}  // namespace
}  // namespace SkinUI
