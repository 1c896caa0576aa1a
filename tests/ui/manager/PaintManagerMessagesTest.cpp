// Keyboard navigation through message translation: the tab order, shortcut
// keys, and a child window's keys translated once by each manager.
#include <gtest/gtest.h>

#include <memory>

#include "EventLog.h"
#include "FrameworkPump.h"
#include "TestWindow.h"
#include "controls/CHorizontalLayoutUI.h"
#include "controls/CVerticalLayoutUI.h"

namespace SkinUI {
namespace {

using test::EventLog;
using test::LogControl;
using test::LogNotifier;
using test::PumpUntil;
using test::TestWindow;
namespace display = platform::window::test;

class LabelControl : public LogControl {
 public:
  using LogControl::LogControl;
  LPCWSTR GetClass() const override { return L"LabelUI"; }
};

class ActivatedControl : public LogControl {
 public:
  ActivatedControl(EventLog* log, LPCWSTR name) : LogControl(log, name), m_log(log) {}
  bool Activate() override {
    m_log->entries.push_back({test::Narrow(GetName()) + ":activate", TEventUI{}});
    return true;
  }

 private:
  EventLog* m_log;
};

void ShiftTab() {
  display::Key(VK_SHIFT, true);
  display::Tap(VK_TAB);
  display::Key(VK_SHIFT, false);
}

void AltKey(WORD vk) {
  display::Key(VK_MENU, true);
  display::Tap(vk);
  display::Key(VK_MENU, false);
}

// A column of three tab stops with a control between that is not one.
struct TabStops {
  EventLog log;
  LogNotifier notifier{&log};
  CVerticalLayoutUI* root = new CVerticalLayoutUI;
  LogControl* t1 = new LogControl(&log, L"T1", UIFLAG_TABSTOP);
  LogControl* plain = new LogControl(&log, L"N");
  LogControl* t2 = new LogControl(&log, L"T2", UIFLAG_TABSTOP);
  LogControl* t3 = new LogControl(&log, L"T3", UIFLAG_TABSTOP);

  explicit TabStops(TestWindow& window) {
    root->SetName(L"root");
    for (CControlUI* c : {static_cast<CControlUI*>(t1), static_cast<CControlUI*>(plain),
                          static_cast<CControlUI*>(t2), static_cast<CControlUI*>(t3)})
      root->Add(c);
    window.pm().AddNotifier(&notifier);
    window.Attach(root);
  }
};

TEST(PaintManagerMessages, TabMovesThroughTheTabStopsAndWraps) {
  test::Pump();
  TestWindow window(200, 120);
  TabStops tree(window);
  ::SetFocus(window.hwnd());
  // The first paint focuses the first tab stop.
  ASSERT_TRUE(PumpUntil([&] { return window.pm().GetFocus() == tree.t1; }));

  struct Case {
    CControlUI* start;
    bool backward;
    CControlUI* expected;
  };
  const Case cases[] = {
      {nullptr, false, tree.t1},  {tree.t1, false, tree.t2}, {tree.t2, false, tree.t3},
      {tree.t3, false, tree.t1},  {tree.t1, true, tree.t3},  {tree.t3, true, tree.t2},
      {tree.plain, false, tree.t2}, {nullptr, true, tree.t1},
  };
  for (const Case& row : cases) {
    SCOPED_TRACE(std::string(row.backward ? "shift+tab from " : "tab from ") +
                 (row.start ? test::Narrow(row.start->GetName()) : "none"));
    window.pm().SetFocus(row.start);
    ASSERT_EQ(window.pm().GetFocus(), row.start);
    if (row.backward)
      ShiftTab();
    else
      display::Tap(VK_TAB);
    EXPECT_TRUE(PumpUntil([&] { return window.pm().GetFocus() == row.expected; }));
  }
  // Disabled and hidden tab stops are passed over.
  tree.t2->SetEnabled(false);
  window.pm().SetFocus(tree.t1);
  display::Tap(VK_TAB);
  EXPECT_TRUE(PumpUntil([&] { return window.pm().GetFocus() == tree.t3; }));
  tree.t1->SetVisible(false);
  window.pm().SetFocus(nullptr);
  display::Tap(VK_TAB);
  EXPECT_TRUE(PumpUntil([&] { return window.pm().GetFocus() == tree.t3; }));
}

// Before the first layout a Tab only asks for the move; the paint makes it.
TEST(PaintManagerMessages, TabBeforeTheFirstPaintWaitsForTheLayout) {
  test::Pump();
  TestWindow window(200, 120);
  TabStops tree(window);
  ::SetFocus(window.hwnd());
  display::Tap(VK_TAB);
  ASSERT_TRUE(PumpUntil([&] { return tree.log.Count("notify:setfocus:T1") == 1; }));
  test::Pump();
  EXPECT_EQ(tree.log.Lines({test::kNotification}), "notify:windowinit:root notify:setfocus:T1");
}

// A skinned child window two levels down: its keys pass its manager's
// translation once, not once for each ancestor.
TEST(PaintManagerMessages, AChildWindowsTabMovesOneStop) {
  test::Pump();
  TestWindow top(300, 200);
  TestWindow middle(300, 200, 0, top.hwnd());
  TestWindow leaf(300, 200, 0, middle.hwnd());
  TabStops tree(leaf);
  ASSERT_TRUE(PumpUntil([&] { return leaf.pm().GetFocus() == tree.t1; }));
  ::SetFocus(leaf.hwnd());
  display::Tap(VK_TAB);
  ASSERT_TRUE(PumpUntil([&] { return leaf.pm().GetFocus() == tree.t2; }));
  test::Pump();
  EXPECT_EQ(leaf.pm().GetFocus(), tree.t2);
  EXPECT_EQ(tree.log.Count("notify:setfocus:T3"), 0);
}

TEST(PaintManagerMessages, AShortcutOnALabelPicksTheControlVisitedAfterIt) {
  test::Pump();
  EventLog log;
  TestWindow window(200, 120);
  // Children are searched from the last to the first: the label (K) is
  // visited before the edit, which takes the focus and is activated.
  auto* root = new CVerticalLayoutUI;
  auto* row = new CHorizontalLayoutUI;
  auto* edit = new ActivatedControl(&log, L"edit");
  auto* label = new LabelControl(&log, L"label");
  label->SetShortcut(L'K');
  row->Add(edit);
  row->Add(label);
  // Here the label comes first: the edit is visited before it, and the
  // control after the row in search order is chosen.
  auto* other = new ActivatedControl(&log, L"other");
  auto* row2 = new CHorizontalLayoutUI;
  auto* label2 = new LabelControl(&log, L"label2");
  label2->SetShortcut(L'J');
  auto* edit2 = new ActivatedControl(&log, L"edit2");
  row2->Add(label2);
  row2->Add(edit2);
  root->Add(other);
  root->Add(row2);
  root->Add(row);
  window.Attach(root);
  ::SetFocus(window.hwnd());
  ASSERT_TRUE(PumpUntil([&] { return root->GetWidth() == 200; }));

  AltKey('K');
  ASSERT_TRUE(PumpUntil([&] { return log.Count("edit:activate") == 1; }));
  EXPECT_EQ(window.pm().GetFocus(), edit);
  // The system key reached the focused control first.
  AltKey('J');
  ASSERT_TRUE(PumpUntil([&] { return log.Count("other:activate") == 1; }));
  EXPECT_EQ(window.pm().GetFocus(), other);
  EXPECT_EQ(log.Count("edit2:activate"), 0);
  EXPECT_EQ(log.Last("edit:syskey")->chKey, L'J');
  // A hidden control's shortcut is passed over.
  label->SetVisible(false);
  AltKey('K');
  test::Pump();
  EXPECT_EQ(log.Count("edit:activate"), 1);
}

}  // namespace
}  // namespace SkinUI
