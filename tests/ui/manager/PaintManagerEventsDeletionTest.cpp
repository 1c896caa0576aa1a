// Handlers that delete the control being delivered to, and a splitter
// removed in the middle of its drag: the manager lets go of every pointer
// to a dead control (these are the address sanitizer's cases).
#include <gtest/gtest.h>

#include <memory>

#include "TwoControlsWindow.h"
#include "controls/CVerticalLayoutUI.h"

namespace SkinUI {
namespace {

using test::LogControl;
using test::LogNotifier;
using test::PumpUntil;

class PaintManagerEventsDeletion : public test::TwoControlsWindow {
 protected:
  // Makes control remove itself from the tree on the first event of type.
  void DieOn(LogControl* control, int type) {
    control->onEvent = [this, type](LogControl* self, TEventUI& e) {
      if (e.Type != type) return false;
      root->Remove(self);
      return true;
    };
  }
  bool Gone(CControlUI* control) {
    return PumpUntil([&] { return root->GetItemIndex(control) < 0; });
  }
  // The window still answers: a later move reaches the other control.
  void StillAlive(int x) {
    log.Clear();
    window->MouseMove(x, 50);
    EXPECT_TRUE(PumpUntil([&] { return !log.entries.empty(); }));
  }
};

TEST_F(PaintManagerEventsDeletion, OnKeyDown) {
  pm().SetFocus(a);
  DieOn(a, UIEVENT_KEYDOWN);
  platform::window::test::Tap('X');
  ASSERT_TRUE(Gone(a));
  test::Pump();  // the key up has no control to go to
  EXPECT_EQ(pm().GetFocus(), nullptr);
  StillAlive(150);
}

TEST_F(PaintManagerEventsDeletion, OnDoubleClick) {
  DieOn(a, UIEVENT_DBLCLICK);
  DWORD now = ::GetTickCount();
  window->Click(50, 50, 0, now);
  window->Click(50, 50, 0, now + 50);
  ASSERT_TRUE(Gone(a));
  test::Pump();
  EXPECT_FALSE(pm().IsCaptured());
  EXPECT_EQ(::GetCapture(), nullptr);
  StillAlive(150);
}

TEST_F(PaintManagerEventsDeletion, OnMouseEnter) {
  DieOn(b, UIEVENT_MOUSEENTER);
  window->MouseMove(50, 50);
  window->MouseMove(150, 50);
  ASSERT_TRUE(Gone(b));
  test::Pump();
  EXPECT_EQ(log.Count("B:move"), 0);
  StillAlive(60);
}

TEST_F(PaintManagerEventsDeletion, OnKillFocus) {
  pm().SetFocus(a);
  DieOn(a, UIEVENT_KILLFOCUS);
  window->Click(150, 50);
  ASSERT_TRUE(Gone(a));
  EXPECT_TRUE(PumpUntil([&] { return pm().GetFocus() == b; }));
  EXPECT_EQ(log.Count("notify:killfocus:A"), 0);
}

TEST_F(PaintManagerEventsDeletion, OnKillFocusTheControlAboutToGetTheFocus) {
  pm().SetFocus(a);
  a->onEvent = [this](LogControl*, TEventUI& e) {
    if (e.Type == UIEVENT_KILLFOCUS && e.pSender == b) root->Remove(b);
    return false;
  };
  pm().SetFocus(b);
  EXPECT_EQ(root->GetCount(), 1);
  EXPECT_EQ(pm().GetFocus(), nullptr);
  EXPECT_EQ(log.Count("notify:killfocus:A"), 1);
}

CContainerUI* g_parent = nullptr;
bool RemoveSenderOnSetFocus(void* param) {
  auto* msg = static_cast<TNotifyUI*>(param);
  if (msg->sType == L"setfocus") g_parent->Remove(msg->pSender);
  return true;
}

TEST_F(PaintManagerEventsDeletion, InsideANotifyListener) {
  g_parent = root;
  b->NotifyListeners += RemoveSenderOnSetFocus;
  window->Click(150, 50);
  ASSERT_TRUE(Gone(b));
  // The window's notifier hears of it after the sender died.
  EXPECT_TRUE(PumpUntil([&] { return log.Count("notify:setfocus:null") == 1; }));
  EXPECT_EQ(pm().GetFocus(), nullptr);
  StillAlive(50);
}

TEST_F(PaintManagerEventsDeletion, InsideAWindowNotifier) {
  notifier.onNotify = [this](TNotifyUI& msg) {
    if (msg.sType == L"setfocus" && msg.pSender == a) root->Remove(a);
  };
  LogNotifier second(&log);
  pm().AddNotifier(&second);
  window->Click(50, 50);
  ASSERT_TRUE(Gone(a));
  test::Pump();
  EXPECT_EQ(log.Lines({test::kNotification}), "notify:setfocus:A notify:setfocus:null");
}

TEST_F(PaintManagerEventsDeletion, ASplitterRemovedInTheMiddleOfItsDrag) {
  auto* column = new CVerticalLayoutUI;
  column->SetDelayedDestroy(false);
  auto* splitter = new CVerticalLayoutUI;
  splitter->ApplyAttributeList(L"height=\"60\" sepheight=\"4\" maxheight=\"80\"");
  column->Add(splitter);
  column->Add(new LogControl(&log, L"rest"));
  window->Attach(column);
  root = nullptr;
  a = b = nullptr;
  ASSERT_TRUE(PumpUntil([&] { return splitter->GetHeight() == 60; }));
  window->MouseMove(50, 58);
  window->Button(50, 58, true);
  window->MouseMove(50, 70);
  ASSERT_TRUE(PumpUntil([&] { return pm().GetPostPaintCount() == 1 && splitter->GetFixedHeight() == 72; }));
  column->Remove(splitter);
  EXPECT_EQ(pm().GetPostPaintCount(), 0);
  EXPECT_EQ(::GetCapture(), nullptr);
  window->MouseMove(50, 80);
  window->Button(50, 80, false);
  ::InvalidateRect(window->hwnd(), nullptr, FALSE);
  test::Pump();
  EXPECT_FALSE(pm().IsCaptured());
  EXPECT_EQ(column->GetCount(), 1);
}

}  // namespace
}  // namespace SkinUI
