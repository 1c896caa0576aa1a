// Window messages become control events: a headless window, input injected
// through the test display, and logging controls that write down what
// reached them and in which order.
#include <gtest/gtest.h>

#include <memory>

#include "TwoControlsWindow.h"
#include "controls/CHorizontalLayoutUI.h"
#include "controls/CScrollBarUI.h"
#include "controls/CVerticalLayoutUI.h"

namespace SkinUI {
namespace {

using test::EventLog;
using test::LogControl;
using test::LogNotifier;
using test::PumpUntil;
using test::TestWindow;

using PaintManagerEvents = test::TwoControlsWindow;

TEST_F(PaintManagerEvents, MovingBetweenControlsLeavesOneAndEntersTheOther) {
  window->MouseMove(50, 50);
  ASSERT_TRUE(Logged("A:move"));
  EXPECT_EQ(log.Lines({UIEVENT_MOUSEENTER, UIEVENT_MOUSELEAVE, UIEVENT_MOUSEMOVE}), "A:enter A:move");
  EXPECT_EQ(log.Last("A:move")->ptMouse.x, 50);
  log.Clear();
  window->MouseMove(150, 50);
  ASSERT_TRUE(Logged("B:move"));
  EXPECT_EQ(log.Lines({UIEVENT_MOUSEENTER, UIEVENT_MOUSELEAVE, UIEVENT_MOUSEMOVE}), "A:leave B:enter B:move");
  EXPECT_EQ(log.Last("B:enter")->pSender, b);
}

TEST_F(PaintManagerEvents, AHeldButtonKeepsTheMovesOnItsControlUntilReleased) {
  window->MouseMove(50, 50);
  window->Button(50, 50, true);
  ASSERT_TRUE(Logged("A:down"));
  EXPECT_TRUE(pm().IsCaptured());
  EXPECT_EQ(::GetCapture(), window->hwnd());
  EXPECT_EQ(pm().GetFocus(), a);
  log.Clear();
  window->MouseMove(150, 50);
  ASSERT_TRUE(Logged("A:move"));
  EXPECT_EQ(log.Lines({UIEVENT_MOUSEENTER, UIEVENT_MOUSELEAVE, UIEVENT_MOUSEMOVE}), "A:leave B:enter A:move");
  window->Button(150, 50, false);
  ASSERT_TRUE(Logged("A:up"));
  EXPECT_FALSE(pm().IsCaptured());
  EXPECT_EQ(::GetCapture(), nullptr);
  log.Clear();
  window->MouseMove(160, 50);
  ASSERT_TRUE(Logged("B:move"));
  EXPECT_EQ(log.Lines({UIEVENT_MOUSEMOVE, UIEVENT_BUTTONUP}), "B:move");
}

TEST_F(PaintManagerEvents, HoverShowsTheToolTipAndLeavingTheWindowLeavesTheControlAndHidesIt) {
  a->SetToolTip(L"about A");
  window->MouseMove(50, 50);
  ASSERT_TRUE(Logged("A:hover"));
  HWND tip = pm().GetTooltipWindow();
  ASSERT_NE(tip, nullptr);
  EXPECT_TRUE(PumpUntil([&] { return ::IsWindowVisible(tip) != FALSE; }));
  log.Clear();
  // A jump straight out of the window, after the hover disarmed tracking.
  platform::window::test::MouseMove(900, 700);
  ASSERT_TRUE(Logged("A:leave"));
  EXPECT_FALSE(::IsWindowVisible(tip));
  window->MouseMove(150, 50);
  ASSERT_TRUE(Logged("B:enter"));
  EXPECT_EQ(log.Count("A:leave"), 1);
}

TEST_F(PaintManagerEvents, DoubleClickArrivesBetweenTheTwoClicks) {
  DWORD now = ::GetTickCount();
  window->Click(50, 50, 0, now);
  window->Click(50, 50, 0, now + 50);
  ASSERT_TRUE(Logged("A:up", 2));
  EXPECT_EQ(log.Lines({UIEVENT_BUTTONDOWN, UIEVENT_BUTTONUP, UIEVENT_DBLCLICK}), "A:down A:up A:dblclick A:up");
  EXPECT_FALSE(pm().IsCaptured());
}

TEST_F(PaintManagerEvents, RightClickBringsTheContextMenuToTheClickedControl) {
  a->SetContextMenuUsed(true);
  window->Button(50, 50, true, 1);
  window->Button(50, 50, false, 1);
  ASSERT_TRUE(Logged("notify:menu:A"));
  EXPECT_EQ(log.Lines({UIEVENT_RBUTTONDOWN, UIEVENT_CONTEXTMENU}), "A:rdown A:menu");
  const TEventUI* menu = log.Last("A:menu");
  EXPECT_EQ(menu->pSender, a);
  EXPECT_EQ(menu->lParam, reinterpret_cast<LPARAM>(a));
  EXPECT_EQ(menu->wKeyState, 0);  // no modifiers held (the message's wParam is a window)
  EXPECT_EQ(menu->ptMouse.x, 50);
  EXPECT_EQ(pm().GetFocus(), a);
  EXPECT_FALSE(pm().IsCaptured());
}

TEST_F(PaintManagerEvents, ALostCaptureReleasesThePressedControlWithoutAClick) {
  window->Button(50, 50, true);
  ASSERT_TRUE(Logged("A:down"));
  TestWindow other(10, 10);
  ::SetCapture(other.hwnd());
  ASSERT_TRUE(Logged("A:up"));
  POINT at = log.Last("A:up")->ptMouse;
  EXPECT_FALSE(::PtInRect(&a->GetPos(), at));
  EXPECT_FALSE(pm().IsCaptured());
  ::ReleaseCapture();
  window->Button(50, 50, false);
  window->MouseMove(60, 50);
  ASSERT_TRUE(Logged("A:move"));
  EXPECT_EQ(log.Count("A:up"), 1);
}

TEST_F(PaintManagerEvents, TimersFireUntilKilled) {
  ASSERT_TRUE(pm().SetTimer(a, 1, 10));
  ASSERT_TRUE(Logged("A:timer", 3));
  EXPECT_EQ(log.Last("A:timer")->wParam, 1u);
  EXPECT_EQ(log.Last("notify:timer:A")->wParam, 1u);
  ASSERT_TRUE(pm().KillTimer(a, 1));
  int fired = log.Count("A:timer");
  ASSERT_TRUE(pm().SetTimer(b, 2, 10));
  ASSERT_TRUE(Logged("B:timer", 3));
  EXPECT_EQ(log.Count("A:timer"), fired);
  // A killed timer starts again under the same record.
  EXPECT_TRUE(pm().SetTimer(a, 1, 10));
  EXPECT_FALSE(pm().SetTimer(a, 1, 10));
  EXPECT_TRUE(Logged("A:timer", fired + 1));
}

TEST_F(PaintManagerEvents, ThreeHundredTimerCyclesStealNoOtherControlsTimer) {
  ASSERT_TRUE(pm().SetTimer(a, 1, 10));
  for (int i = 0; i < 300; ++i) {
    ASSERT_TRUE(pm().SetTimer(b, 7, 1000));
    pm().KillTimer(b);
  }
  ASSERT_TRUE(pm().SetTimer(b, 7, 10));
  ASSERT_TRUE(PumpUntil([&] { return log.Count("A:timer") >= 3 && log.Count("B:timer") >= 3; }));
  for (const EventLog::Entry& e : log.entries) {
    if (e.line == "A:timer") {
      EXPECT_EQ(e.event.wParam, 1u);
    } else if (e.line == "B:timer") {
      EXPECT_EQ(e.event.wParam, 7u);
    }
  }
  // A dying control takes its timers with it.
  root->Remove(a);
  a = nullptr;
  int fired = log.Count("B:timer");
  ASSERT_TRUE(Logged("B:timer", fired + 3));
}

TEST_F(PaintManagerEvents, QueuedNotificationsArriveBeforeTheNextMessagesFilters) {
  struct Filter : IMessageFilterUI {
    EventLog* log;
    LRESULT MessageHandler(UINT uMsg, WPARAM, LPARAM, bool&) override {
      if (uMsg == WM_APP + 5) log->entries.push_back({"filter", TEventUI{}});
      return 0;
    }
  } filter;
  filter.log = &log;
  pm().AddMessageFilter(&filter);
  pm().SendNotify(a, L"later", 1, 2, true);
  pm().SendNotify(b, L"orphan", 0, 0, true);
  EXPECT_EQ(log.Count("notify:later:A"), 0);
  root->Remove(b);  // its queued notification loses the sender
  b = nullptr;
  ::PostMessageW(window->hwnd(), WM_APP + 5, 0, 0);
  ASSERT_TRUE(Logged("filter"));
  EXPECT_EQ(log.Lines(), "notify:later:A notify:orphan:null filter");
  pm().RemoveMessageFilter(&filter);
}

TEST_F(PaintManagerEvents, WindowInitComesOncePerAttachedTree) {
  ::InvalidateRect(window->hwnd(), nullptr, FALSE);
  test::Pump();
  ::InvalidateRect(window->hwnd(), nullptr, FALSE);
  test::Pump();
  EXPECT_EQ(log.Count("notify:windowinit:root"), 0);  // cleared after the first
  auto* next = new LogControl(&log, L"next");
  window->Attach(next);
  a = b = nullptr;
  root = nullptr;
  ASSERT_TRUE(Logged("notify:windowinit:next"));
  ::InvalidateRect(window->hwnd(), nullptr, FALSE);
  test::Pump();
  EXPECT_EQ(log.Count("notify:windowinit:next"), 1);
}

TEST_F(PaintManagerEvents, TheWheelOverAChildScrollsItsLayout) {
  auto* list = new CVerticalLayoutUI;
  list->ApplyAttributeList(L"vscrollbar=\"true\" scrollstepsize=\"10\"");
  for (int i = 0; i < 4; ++i) {
    auto* row = new LogControl(&log, L"row");
    row->SetFixedHeight(50);
    list->Add(row);
  }
  window->Attach(list);
  a = b = nullptr;
  root = nullptr;
  ASSERT_TRUE(PumpUntil([&] { return list->GetScrollRange().cy == 100; }));
  window->MouseMove(50, 50);
  window->Wheel(-WHEEL_DELTA, 50, 50);
  ASSERT_TRUE(PumpUntil([&] { return list->GetScrollPos().cy == 10; }));
  window->Wheel(WHEEL_DELTA, 50, 50);
  ASSERT_TRUE(PumpUntil([&] { return list->GetScrollPos().cy == 0; }));
  EXPECT_EQ(log.Last("row:wheel")->wParam, 0u);
}

// The focus is cleared before the old control hears of it: a handler that
// moves the focus elsewhere is not called again, and its move stands.
TEST_F(PaintManagerEvents, AKillFocusHandlerMovingTheFocusDoesNotRecurse) {
  auto* c = new LogControl(&log, L"C");
  root->Add(c);
  pm().SetFocus(a);
  a->onEvent = [&](LogControl*, TEventUI& e) {
    if (e.Type == UIEVENT_KILLFOCUS) pm().SetFocus(c);
    return false;
  };
  log.Clear();
  pm().SetFocus(b);
  EXPECT_EQ(pm().GetFocus(), c);
  EXPECT_EQ(log.Count("A:killfocus"), 1);
  EXPECT_EQ(log.Count("B:setfocus"), 0);
  EXPECT_EQ(log.Count("C:setfocus"), 1);
}

TEST_F(PaintManagerEvents, MessagesBeforeAnyTreeFindNothing) {
  TestWindow bare(120, 80);
  ::SetFocus(bare.hwnd());
  bare.MouseMove(10, 10);
  bare.Click(10, 10);
  bare.Click(10, 10, 1);
  bare.Wheel(WHEEL_DELTA, 10, 10);
  platform::window::test::Tap('A');
  platform::window::test::Tap(VK_TAB);
  ::InvalidateRect(bare.hwnd(), nullptr, FALSE);
  test::Pump();
  bare.pm().SendNotify(nullptr, L"nobody", 0, 0, true);
  ::PostMessageW(bare.hwnd(), WM_APP + 5, 0, 0);
  test::Pump();
  EXPECT_EQ(bare.pm().GetRoot(), nullptr);
  EXPECT_EQ(bare.pm().GetFocus(), nullptr);
}

// A size listener that asks its parent for layout again gets one layout
// per paint instead of holding the paint forever.
TEST_F(PaintManagerEvents, ALayoutRequestFromASizeListenerWaitsForTheNextPaint) {
  static int s_layouts = 0;
  s_layouts = 0;
  a->SizeListeners += [](void* p) {
    ++s_layouts;
    static_cast<CControlUI*>(p)->NeedParentUpdate();
    return true;
  };
  struct PaintCounter : IMessageFilterUI {
    int paints = 0;
    LRESULT MessageHandler(UINT uMsg, WPARAM, LPARAM, bool&) override {
      paints += uMsg == WM_PAINT;
      return 0;
    }
  } counter;
  pm().AddMessageFilter(&counter);
  a->NeedUpdate();
  ASSERT_TRUE(PumpUntil([&] { return s_layouts >= 5; }));
  EXPECT_LE(s_layouts, counter.paints + 1);
  pm().RemoveMessageFilter(&counter);
}

TEST_F(PaintManagerEvents, ListenersFiltersAndWindowSettings) {
  // An event listener answering false swallows the event.
  a->EventListeners += [](void* p) { return static_cast<TEventUI*>(p)->Type != UIEVENT_MOUSEENTER; };
  window->MouseMove(50, 50);
  ASSERT_TRUE(Logged("A:move"));
  EXPECT_EQ(log.Count("A:enter"), 0);
  // Hiding the focused control clears the focus.
  pm().SetFocus(a);
  a->SetVisible(false);
  EXPECT_EQ(pm().GetFocus(), nullptr);
  EXPECT_EQ(::SendMessageW(window->hwnd(), WM_ERASEBKGND, 0, 0), 1);
  pm().SetMinInfo(150, 90);
  pm().SetMaxInfo(0, 700);
  MINMAXINFO info = {};
  info.ptMaxTrackSize = POINT{3000, 3000};
  ::SendMessageW(window->hwnd(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(info.ptMinTrackSize.x, 150);
  EXPECT_EQ(info.ptMinTrackSize.y, 90);
  EXPECT_EQ(info.ptMaxTrackSize.x, 3000);
  EXPECT_EQ(info.ptMaxTrackSize.y, 700);
}

TEST_F(PaintManagerEvents, ClosingLeavesTheHoverControlReleasesTheClickAndTheFocus) {
  window->MouseMove(150, 50);
  window->Button(150, 50, true);
  ASSERT_TRUE(Logged("B:down"));
  log.Clear();
  ::SendMessageW(window->hwnd(), WM_CLOSE, 0, 0);
  EXPECT_EQ(log.Lines({UIEVENT_MOUSELEAVE, UIEVENT_BUTTONUP, UIEVENT_KILLFOCUS}), "B:leave B:up B:killfocus");
  EXPECT_EQ(pm().GetFocus(), nullptr);
  window->Button(150, 50, false);
  test::Pump();
  EXPECT_EQ(log.Count("B:up"), 1);
}

TEST_F(PaintManagerEvents, FocusNeededLandsOnTheControlAtTheNextPaint) {
  auto* t1 = new LogControl(&log, L"T1", UIFLAG_TABSTOP);
  auto* t2 = new LogControl(&log, L"T2", UIFLAG_TABSTOP);
  root->Add(t1);
  root->Add(t2);
  pm().SetFocus(a);
  pm().SetFocusNeeded(t2);
  EXPECT_NE(pm().GetFocus(), t2);  // not before the layout
  ASSERT_TRUE(PumpUntil([&] { return pm().GetFocus() == t2; }));
  EXPECT_EQ(log.Count("A:killfocus"), 1);
}

TEST_F(PaintManagerEvents, TheScrollBarPagesOnItsTrackAndFollowsItsThumb) {
  auto* list = new CVerticalLayoutUI;
  list->ApplyAttributeList(L"vscrollbar=\"true\"");
  for (int i = 0; i < 4; ++i) list->Add(new LogControl(&log, L"row"));
  for (int i = 0; i < 4; ++i) list->GetItemAt(i)->SetFixedHeight(50);
  window->Attach(list);
  a = b = nullptr;
  root = nullptr;
  ASSERT_TRUE(PumpUntil([&] { return list->GetScrollRange().cy == 100; }));
  CScrollBarUI* bar = list->GetVerticalScrollBar();
  EXPECT_EQ(bar->GetThumbRect().bottom, 50);
  window->Click(190, 80);  // on the track, below the thumb: a page down
  ASSERT_TRUE(PumpUntil([&] { return list->GetScrollPos().cy == 100; }));
  EXPECT_EQ(list->GetItemAt(0)->GetPos().top, -100);
  window->MouseMove(190, 75);  // on the thumb, now at the bottom
  window->Button(190, 75, true);
  window->MouseMove(190, 50);
  ASSERT_TRUE(PumpUntil([&] { return list->GetScrollPos().cy == 50; }));
  window->MouseMove(190, -400);
  ASSERT_TRUE(PumpUntil([&] { return list->GetScrollPos().cy == 0; }));
  window->Button(190, -400, false);
  window->Click(190, 60);  // below the thumb again
  ASSERT_TRUE(PumpUntil([&] { return list->GetScrollPos().cy == 100; }));
}

// A splitter drags its own fixed height; without immediate mode the
// sibling moves only when the button comes up.
TEST_F(PaintManagerEvents, DraggingASeparatorGrowsTheLayoutUpToItsMaximum) {
  for (bool immediate : {false, true}) {
    SCOPED_TRACE(immediate ? "immediate" : "on release");
    auto* column = new CVerticalLayoutUI;
    auto* splitter = new CVerticalLayoutUI;
    splitter->ApplyAttributeList(L"height=\"60\" sepheight=\"4\" maxheight=\"80\"");
    splitter->SetSepImmMode(immediate);
    auto* rest = new LogControl(&log, L"rest");
    column->Add(splitter);
    column->Add(rest);
    window->Attach(column);
    a = b = nullptr;
    root = nullptr;
    // Apart from the last press, or the press would be a double click.
    int x = immediate ? 150 : 50;
    ASSERT_TRUE(PumpUntil([&] { return rest->GetPos().top == 60; }));
    window->MouseMove(x, 58);
    ASSERT_TRUE(PumpUntil([&] { return platform::window::test::DisplayCursor() == ::LoadCursorW(nullptr, IDC_SIZENS); }));
    window->Button(x, 58, true);
    window->MouseMove(x, 60);  // two pixels follow at once
    ASSERT_TRUE(PumpUntil([&] { return splitter->GetFixedHeight() == 62; }));
    window->MouseMove(x, 100);
    ASSERT_TRUE(PumpUntil([&] { return splitter->GetFixedHeight() == 80; }));
    window->MouseMove(x, 130);
    test::Pump();
    EXPECT_EQ(splitter->GetFixedHeight(), 80);
    if (immediate) {
      EXPECT_TRUE(PumpUntil([&] { return rest->GetPos().top == 80; }));
      EXPECT_EQ(pm().GetPostPaintCount(), 0);
    } else {
      EXPECT_EQ(rest->GetPos().top, 60);
      EXPECT_EQ(pm().GetPostPaintCount(), 1);
    }
    window->Button(x, 130, false);
    EXPECT_TRUE(PumpUntil([&] { return rest->GetPos().top == 80; }));
    EXPECT_EQ(pm().GetPostPaintCount(), 0);
    EXPECT_EQ(splitter->GetHeight(), 80);
    window->MouseMove(-50, -50);
    test::Pump();
  }
}

}  // namespace
}  // namespace SkinUI
