// Input routing on the headless display: input is injected in screen
// coordinates and arrives as Win32 delivers it.
#include <gtest/gtest.h>

#include "Recorder.h"
#include "win32/System.h"
#include "window/TestDisplay.h"

namespace test = platform::window::test;
using test::Pump;

namespace {

constexpr int kX = 100, kY = 100, kW = 200, kH = 150;

class InputTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Recorder::Get().Reset();
    test::MouseMove(5, 5);
    Pump();
  }
  void TearDown() override {
    Recorder::Get().Reset();  // handlers may refer to the test's locals
    ReleaseCapture();
    for (HWND h : made_)
      if (IsWindow(h)) DestroyWindow(h);
    Pump();
    Recorder::Get().Reset();
  }
  HWND Make(UINT classStyle = 0, DWORD style = WS_POPUP | WS_VISIBLE) {
    HWND h = MakeWindow(kX, kY, kW, kH, classStyle, style);
    made_.push_back(h);
    Pump();
    Recorder::Get().Clear();
    return h;
  }
  std::vector<HWND> made_;
};

// The top 20 pixels are a caption; 6 pixels at the bottom-right corner a
// size grip; the window's tracking limits are 120x100 to 260x220.
bool CaptionAndGrip(HWND h, UINT m, WPARAM, LPARAM l, LRESULT& r) {
  if (m == WM_NCHITTEST) {
    RECT w;
    GetWindowRect(h, &w);
    int x = GET_X_LPARAM(l), y = GET_Y_LPARAM(l);
    if (x >= w.right - 6 && y >= w.bottom - 6) r = HTBOTTOMRIGHT;
    else if (y < w.top + 20) r = HTCAPTION;
    else r = HTCLIENT;
    return true;
  }
  if (m == WM_GETMINMAXINFO) {
    auto* mmi = reinterpret_cast<MINMAXINFO*>(l);
    mmi->ptMinTrackSize = POINT{120, 100};
    mmi->ptMaxTrackSize = POINT{260, 220};
    r = 0;
    return true;
  }
  return false;
}

TEST_F(InputTest, HitTestComesFirstAndRoutesToClientOrNonClientMessages) {
  HWND w = Make();
  Recorder::Get().Reset(CaptionAndGrip);
  test::MouseMove(150, 110);
  test::MouseMove(150, 200);
  Pump();
  auto seen = Recorder::Get().All();
  std::vector<UINT> order;
  for (auto& s : seen) order.push_back(s.message);
  EXPECT_EQ(Recorder::Get().Only({WM_NCHITTEST, WM_SETCURSOR, WM_NCMOUSEMOVE, WM_MOUSEMOVE}),
            (std::vector<UINT>{WM_NCHITTEST, WM_SETCURSOR, WM_NCMOUSEMOVE, WM_NCHITTEST, WM_SETCURSOR, WM_MOUSEMOVE}));
  Seen s{};
  ASSERT_TRUE(Recorder::Get().Last(WM_NCMOUSEMOVE, &s));
  EXPECT_EQ(s.wParam, static_cast<WPARAM>(HTCAPTION));
  EXPECT_EQ(GET_X_LPARAM(s.lParam), 150);  // screen coordinates
  ASSERT_TRUE(Recorder::Get().Last(WM_MOUSEMOVE, &s));
  EXPECT_EQ(GET_X_LPARAM(s.lParam), 50);  // client coordinates
  EXPECT_EQ(GET_Y_LPARAM(s.lParam), 100);
  ASSERT_TRUE(Recorder::Get().Last(WM_SETCURSOR, &s));
  EXPECT_EQ(reinterpret_cast<HWND>(s.wParam), w);
  EXPECT_EQ(LOWORD(s.lParam), HTCLIENT);
  EXPECT_EQ(HIWORD(s.lParam), WM_MOUSEMOVE);
  EXPECT_EQ(test::DisplayCursor(), LoadCursorW(nullptr, IDC_ARROW));  // the class cursor
}

TEST_F(InputTest, CaptionDragMovesTheWindow) {
  HWND w = Make();
  Recorder::Get().Reset(CaptionAndGrip);
  test::MouseMove(150, 110);
  test::MouseButton(0, true, 150, 110);
  test::MouseMove(170, 130);
  test::MouseMove(200, 160);
  test::MouseButton(0, false, 200, 160);
  Pump();
  RECT r;
  GetWindowRect(w, &r);
  EXPECT_EQ(r.left, kX + 50);
  EXPECT_EQ(r.top, kY + 50);
  EXPECT_EQ(r.right - r.left, kW);
  EXPECT_EQ(Recorder::Get().Only({WM_NCLBUTTONDOWN, WM_SYSCOMMAND, WM_ENTERSIZEMOVE, WM_EXITSIZEMOVE}),
            (std::vector<UINT>{WM_NCLBUTTONDOWN, WM_SYSCOMMAND, WM_ENTERSIZEMOVE, WM_EXITSIZEMOVE}));
  EXPECT_GE(Recorder::Get().Count(WM_WINDOWPOSCHANGING), 2);
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(InputTest, BorderDragResizesWithinTheMinMaxInfo) {
  HWND w = Make();
  Recorder::Get().Reset(CaptionAndGrip);
  int gx = kX + kW - 2, gy = kY + kH - 2;
  test::MouseMove(gx, gy);
  test::MouseButton(0, true, gx, gy);
  test::MouseMove(gx + 30, gy + 20);
  test::MouseMove(gx + 300, gy + 300);  // beyond the maximum
  test::MouseButton(0, false, gx + 300, gy + 300);
  Pump();
  RECT r;
  GetWindowRect(w, &r);
  EXPECT_EQ(r.left, kX);
  EXPECT_EQ(r.right - r.left, 260);
  EXPECT_EQ(r.bottom - r.top, 220);
  EXPECT_GE(Recorder::Get().Count(WM_GETMINMAXINFO), 1);
  EXPECT_GE(Recorder::Get().Count(WM_SIZING), 1);
  Seen s{};
  ASSERT_TRUE(Recorder::Get().Last(WM_SIZE, &s));
  EXPECT_EQ(LOWORD(s.lParam), 260);

  gx = r.right - 2;
  gy = r.bottom - 2;
  test::MouseMove(gx, gy);
  test::MouseButton(0, true, gx, gy);
  test::MouseMove(gx - 500, gy - 500);  // below the minimum
  test::MouseButton(0, false, gx - 500, gy - 500);
  Pump();
  GetWindowRect(w, &r);
  EXPECT_EQ(r.right - r.left, 120);
  EXPECT_EQ(r.bottom - r.top, 100);
}

bool Hovered(void*) { return Recorder::Get().Count(WM_MOUSEHOVER) > 0; }

TEST_F(InputTest, TrackMouseEventReportsHoverAfterItsTimeAndLeaveOnce) {
  HWND w = Make();
  test::MouseMove(150, 150);
  Pump();
  TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE | TME_HOVER, w, 30};
  ASSERT_TRUE(TrackMouseEvent(&tme));
  ASSERT_TRUE(test::PumpUntil(Hovered, nullptr, 10000));
  Seen s{};
  ASSERT_TRUE(Recorder::Get().Last(WM_MOUSEHOVER, &s));
  EXPECT_EQ(GET_X_LPARAM(s.lParam), 50);
  EXPECT_EQ(GET_Y_LPARAM(s.lParam), 50);
  EXPECT_EQ(Recorder::Get().Count(WM_MOUSELEAVE), 0);
  test::MouseMove(10, 10);
  test::MouseMove(12, 12);
  Pump();
  EXPECT_EQ(Recorder::Get().Count(WM_MOUSELEAVE), 1);
  EXPECT_EQ(Recorder::Get().Count(WM_MOUSEHOVER), 1);

  // Asked while the pointer is elsewhere: the leave comes at once.
  ASSERT_TRUE(TrackMouseEvent(&tme));
  Pump();
  EXPECT_EQ(Recorder::Get().Count(WM_MOUSELEAVE), 2);
}

TEST_F(InputTest, PeekingForAnotherWindowWhileAHoverFallsDueReturns) {
  HWND a = Make();
  HWND b = MakeWindow(400, 100, 50, 50);
  made_.push_back(b);
  test::MouseMove(150, 150);
  Pump();
  TRACKMOUSEEVENT tme{sizeof tme, TME_HOVER, a, 10};
  ASSERT_TRUE(TrackMouseEvent(&tme));
  PostMessageW(a, WM_USER, 0, 0);
  Sleep(30);
  MSG m;
  EXPECT_FALSE(PeekMessageW(&m, b, 0, 0, PM_REMOVE));
  EXPECT_TRUE(PeekMessageW(&m, a, WM_MOUSEHOVER, WM_MOUSEHOVER, PM_REMOVE));
}

TEST_F(InputTest, LeaveWhenThePointerMovesOntoTheNonClientArea) {
  HWND w = Make();
  Recorder::Get().Reset(CaptionAndGrip);
  test::MouseMove(150, 150);
  Pump();
  TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, w, 0};
  ASSERT_TRUE(TrackMouseEvent(&tme));
  test::MouseMove(150, 105);  // the caption
  Pump();
  EXPECT_EQ(Recorder::Get().Count(WM_MOUSELEAVE), 1);
}

TEST_F(InputTest, CaptureDeliversMovesOutsideTheWindowWithoutHitTests) {
  HWND w = Make();
  SetCapture(w);
  EXPECT_EQ(GetCapture(), w);
  test::MouseMove(10, 20);
  Pump();
  Seen s{};
  ASSERT_TRUE(Recorder::Get().Last(WM_MOUSEMOVE, &s));
  EXPECT_EQ(GET_X_LPARAM(s.lParam), 10 - kX);
  EXPECT_EQ(GET_Y_LPARAM(s.lParam), 20 - kY);
  EXPECT_EQ(Recorder::Get().Count(WM_NCHITTEST), 0);
  ReleaseCapture();
  EXPECT_EQ(Recorder::Get().Count(WM_CAPTURECHANGED), 1);
  Recorder::Get().Clear();
  test::MouseMove(11, 21);
  Pump();
  EXPECT_EQ(Recorder::Get().Count(WM_MOUSEMOVE), 0);
}

TEST_F(InputTest, DoubleClicksOnlyWithinTimeAndDistanceAndForDoubleClickClasses) {
  struct Case {
    UINT classStyle;
    DWORD gap;
    int dx;
    int doubles;
  } cases[] = {
      {CS_DBLCLKS, 100, 1, 1},
      {CS_DBLCLKS, GetDoubleClickTime() + 100, 0, 0},
      {CS_DBLCLKS, 100, 5, 0},
      {0, 100, 0, 0},
  };
  for (const Case& c : cases) {
    HWND w = Make(c.classStyle);
    DWORD t = GetTickCount();
    test::Click(150, 150, 0, t);
    test::Click(150 + c.dx, 150, 0, t + c.gap);
    Pump();
    EXPECT_EQ(Recorder::Get().Count(WM_LBUTTONDBLCLK), c.doubles) << "gap " << c.gap << " dx " << c.dx;
    EXPECT_EQ(Recorder::Get().Count(WM_LBUTTONDOWN), 2 - c.doubles);
    DestroyWindow(w);
  }
  // A third click right after a double click starts over.
  Make(CS_DBLCLKS);
  DWORD t = GetTickCount();
  for (int i = 0; i < 3; ++i) test::Click(150, 150, 0, t + 50 * i);
  Pump();
  EXPECT_EQ(Recorder::Get().Count(WM_LBUTTONDBLCLK), 1);
  EXPECT_EQ(Recorder::Get().Count(WM_LBUTTONDOWN), 2);
}

// A skinned window as the framework makes one: sizable without caption,
// all client (WM_NCCALCSIZE answers 0), tracking limits from the work area.
bool Skinned(HWND, UINT m, WPARAM, LPARAM l, LRESULT& r) {
  if (m == WM_NCCALCSIZE) {
    r = 0;
    return true;
  }
  if (m == WM_GETMINMAXINFO) {
    MONITORINFO mi{sizeof mi, {}, {}, 0};
    GetMonitorInfoW(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &mi);
    auto* mmi = reinterpret_cast<MINMAXINFO*>(l);
    mmi->ptMaxPosition = POINT{mi.rcWork.left, mi.rcWork.top};
    mmi->ptMaxTrackSize = POINT{mi.rcWork.right - mi.rcWork.left, mi.rcWork.bottom - mi.rcWork.top};
    r = 0;
    return true;
  }
  return false;
}

TEST_F(InputTest, SystemCommandsMaximiseRestoreAndCloseASkinnedWindow) {
  Recorder::Get().Reset(Skinned);
  HWND w = Make(0, WS_POPUP | WS_THICKFRAME | WS_MAXIMIZEBOX | WS_VISIBLE);
  SetWindowPos(w, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
  RECT client, window;
  GetClientRect(w, &client);
  GetWindowRect(w, &window);
  EXPECT_EQ(client.right, window.right - window.left);  // all client

  SendMessageW(w, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
  EXPECT_TRUE(IsZoomed(w));
  GetWindowRect(w, &window);
  EXPECT_EQ(window.left, 0);
  EXPECT_EQ(window.right, GetSystemMetrics(SM_CXSCREEN));
  Seen size{};
  ASSERT_TRUE(Recorder::Get().Last(WM_SIZE, &size));
  EXPECT_EQ(size.wParam, static_cast<WPARAM>(SIZE_MAXIMIZED));

  SendMessageW(w, WM_SYSCOMMAND, SC_RESTORE, 0);
  EXPECT_FALSE(IsZoomed(w));
  GetWindowRect(w, &window);
  EXPECT_EQ(window.left, kX);
  EXPECT_EQ(window.right - window.left, kW);
  ASSERT_TRUE(Recorder::Get().Last(WM_SIZE, &size));
  EXPECT_EQ(size.wParam, static_cast<WPARAM>(SIZE_RESTORED));

  SendMessageW(w, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  EXPECT_TRUE(IsIconic(w));
  SendMessageW(w, WM_SYSCOMMAND, SC_RESTORE, 0);
  EXPECT_FALSE(IsIconic(w));

  Recorder::Get().Clear();
  SendMessageW(w, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_EQ(Recorder::Get().Only({WM_CLOSE, WM_DESTROY, WM_NCDESTROY}),
            (std::vector<UINT>{WM_CLOSE, WM_DESTROY, WM_NCDESTROY}));
  EXPECT_FALSE(IsWindow(w));
}

TEST_F(InputTest, RightClickBringsTheContextMenuInScreenCoordinates) {
  HWND w = Make();
  test::Click(150, 160, 1);
  Pump();
  EXPECT_EQ(Recorder::Get().Only({WM_RBUTTONDOWN, WM_RBUTTONUP, WM_CONTEXTMENU}),
            (std::vector<UINT>{WM_RBUTTONDOWN, WM_RBUTTONUP, WM_CONTEXTMENU}));
  Seen s{};
  ASSERT_TRUE(Recorder::Get().Last(WM_CONTEXTMENU, &s));
  EXPECT_EQ(reinterpret_cast<HWND>(s.wParam), w);
  EXPECT_EQ(GET_X_LPARAM(s.lParam), 150);
  EXPECT_EQ(GET_Y_LPARAM(s.lParam), 160);
}

TEST_F(InputTest, ModifiersAndButtonsShowInGetKeyStateAndTheKeyFlags) {
  Make();
  SHORT shiftInside = 0, buttonInside = 0;
  WPARAM flags = 0;
  Recorder::Get().Reset([&](HWND, UINT m, WPARAM w, LPARAM, LRESULT&) {
    if (m == WM_LBUTTONDOWN) {
      shiftInside = GetKeyState(VK_SHIFT);
      buttonInside = GetKeyState(VK_LBUTTON);
      flags = w;
    }
    return false;
  });
  test::Key(VK_SHIFT, true);
  test::Key(VK_CONTROL, true);
  test::Click(150, 150);
  test::Key(VK_CONTROL, false);
  test::Key(VK_SHIFT, false);
  Pump();
  EXPECT_LT(shiftInside, 0);
  EXPECT_LT(buttonInside, 0);
  EXPECT_EQ(flags, static_cast<WPARAM>(MK_LBUTTON | MK_SHIFT | MK_CONTROL));
  EXPECT_GE(GetKeyState(VK_SHIFT), 0);
  EXPECT_GE(GetKeyState(VK_LBUTTON), 0);
  SHORT caps = GetKeyState(VK_CAPITAL) & 1;
  test::Tap(VK_CAPITAL);
  Pump();
  EXPECT_NE(GetKeyState(VK_CAPITAL) & 1, caps);
  test::Tap(VK_CAPITAL);
  Pump();
}

TEST_F(InputTest, KeysGoToTheFocusAndTranslateToCharacters) {
  HWND w = Make();
  ASSERT_EQ(GetFocus(), w);
  std::wstring chars;
  Recorder::Get().Reset([&](HWND, UINT m, WPARAM wp, LPARAM, LRESULT&) {
    if (m == WM_CHAR) chars += static_cast<wchar_t>(wp);
    return false;
  });
  test::Tap('A');
  test::Key(VK_SHIFT, true);
  test::Tap('1');
  test::Tap('B');
  test::Key(VK_SHIFT, false);
  test::Tap(VK_RETURN);
  test::Tap(VK_LEFT);
  Pump();
  EXPECT_EQ(chars, L"a!B\r");
  EXPECT_EQ(Recorder::Get().Only({WM_KEYDOWN, WM_CHAR, WM_KEYUP}).front(), static_cast<UINT>(WM_KEYDOWN));
  Seen s{};
  ASSERT_TRUE(Recorder::Get().Last(WM_KEYUP, &s));
  EXPECT_EQ(s.wParam, static_cast<WPARAM>(VK_LEFT));
  EXPECT_TRUE(static_cast<DWORD>(s.lParam) & (1u << 31));

  // Alt+F4 is a system key that closes the window.
  test::Key(VK_MENU, true);
  test::Tap(VK_F4);
  test::Key(VK_MENU, false);
  Pump();
  EXPECT_GE(Recorder::Get().Count(WM_SYSKEYDOWN), 2);
  EXPECT_EQ(Recorder::Get().Count(WM_CLOSE), 1);
  EXPECT_FALSE(IsWindow(w));
}

TEST_F(InputTest, FocusChangesAndWheelGoesToTheFocus) {
  HWND a = Make();
  HWND b = MakeWindow(400, 100, 50, 50);
  made_.push_back(b);
  Pump();
  SetFocus(a);
  Recorder::Get().Clear();
  EXPECT_EQ(SetFocus(b), a);
  Seen kill{}, set{};
  ASSERT_TRUE(Recorder::Get().Last(WM_KILLFOCUS, &kill));
  ASSERT_TRUE(Recorder::Get().Last(WM_SETFOCUS, &set));
  EXPECT_EQ(kill.hwnd, a);
  EXPECT_EQ(reinterpret_cast<HWND>(kill.wParam), b);
  EXPECT_EQ(set.hwnd, b);
  EXPECT_EQ(reinterpret_cast<HWND>(set.wParam), a);
  test::Wheel(-WHEEL_DELTA, 150, 150);  // over a, but b has the focus
  Pump();
  Seen wheel{};
  ASSERT_TRUE(Recorder::Get().Last(WM_MOUSEWHEEL, &wheel));
  EXPECT_EQ(wheel.hwnd, b);
  EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(wheel.wParam), -WHEEL_DELTA);
  EXPECT_EQ(GET_X_LPARAM(wheel.lParam), 150);
}

TEST_F(InputTest, ClickActivatesAnInactiveWindowAndDisabledWindowsGetNoClicks) {
  HWND a = Make();
  HWND b = MakeWindow(400, 100, 50, 50);
  made_.push_back(b);
  Pump();
  ASSERT_EQ(GetActiveWindow(), b);
  Recorder::Get().Clear();
  test::Click(150, 150);
  Pump();
  auto order = Recorder::Get().Only({WM_MOUSEACTIVATE, WM_ACTIVATE, WM_LBUTTONDOWN});
  EXPECT_EQ(order, (std::vector<UINT>{WM_MOUSEACTIVATE, WM_ACTIVATE, WM_ACTIVATE, WM_LBUTTONDOWN}));
  EXPECT_EQ(GetActiveWindow(), a);
  EXPECT_EQ(GetFocus(), a);

  EnableWindow(a, FALSE);
  Recorder::Get().Clear();
  test::Click(150, 150);
  Pump();
  EXPECT_EQ(Recorder::Get().Count(WM_LBUTTONDOWN), 0);
  Seen s{};
  ASSERT_TRUE(Recorder::Get().Last(WM_SETCURSOR, &s));
  EXPECT_EQ(static_cast<SHORT>(LOWORD(s.lParam)), HTERROR);
}

}  // namespace
