// Queue contracts of the window manager on the headless display.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "Recorder.h"
#include "win32/Errors.h"
#include "win32/System.h"
#include "window/TestDisplay.h"

using platform::window::test::Pump;

namespace {

class QueueTest : public ::testing::Test {
 protected:
  void SetUp() override { Recorder::Get().Reset(); }
  void TearDown() override {
    Recorder::Get().Reset();  // handlers may refer to the test's locals
    for (HWND h : made_)
      if (IsWindow(h)) DestroyWindow(h);
    Pump();
    Recorder::Get().Reset();
  }
  HWND Make(DWORD style = WS_POPUP | WS_VISIBLE) {
    HWND h = MakeWindow(10, 10, 100, 80, 0, style);
    made_.push_back(h);
    return h;
  }
  std::vector<HWND> made_;
};

TEST_F(QueueTest, PostedMessagesArriveInOrderWithThreadMessagesAmongThem) {
  HWND w = Make();
  Pump();
  for (UINT i = 1; i <= 3; ++i) ASSERT_TRUE(PostMessageW(w, WM_USER + i, i, 0));
  ASSERT_TRUE(PostThreadMessageW(GetCurrentThreadId(), WM_APP, 9, 0));
  ASSERT_TRUE(PostMessageW(w, WM_USER + 4, 4, 0));
  std::vector<UINT> got;
  MSG m;
  while (PeekMessageW(&m, nullptr, WM_USER, WM_APP, PM_REMOVE)) got.push_back(m.message);
  EXPECT_EQ(got, (std::vector<UINT>{WM_USER + 1, WM_USER + 2, WM_USER + 3, WM_APP, WM_USER + 4}));
}

TEST_F(QueueTest, PeekWithoutRemovingLeavesTheMessageAndFiltersByRange) {
  HWND w = Make();
  Pump();
  PostMessageW(w, WM_USER + 1, 0, 0);
  PostMessageW(w, WM_USER + 2, 0, 0);
  MSG m;
  ASSERT_TRUE(PeekMessageW(&m, nullptr, WM_USER + 2, WM_USER + 2, PM_NOREMOVE));
  EXPECT_EQ(m.message, WM_USER + 2u);
  ASSERT_TRUE(PeekMessageW(&m, w, 0, 0, PM_REMOVE));
  EXPECT_EQ(m.message, WM_USER + 1u);
  ASSERT_TRUE(PeekMessageW(&m, w, 0, 0, PM_REMOVE));
  EXPECT_EQ(m.message, WM_USER + 2u);
}

TEST_F(QueueTest, QuitComesAfterThePostedMessagesWithItsCode) {
  HWND w = Make();
  Pump();
  PostQuitMessage(7);
  PostMessageW(w, WM_USER, 0, 0);
  MSG m;
  ASSERT_TRUE(GetMessageW(&m, nullptr, 0, 0));
  EXPECT_EQ(m.message, static_cast<UINT>(WM_USER));
  EXPECT_FALSE(GetMessageW(&m, nullptr, 0, 0));
  EXPECT_EQ(m.message, static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(m.wParam, 7u);
  EXPECT_FALSE(PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(QueueTest, CrossThreadSendRunsOnTheOwnerAndReturnsItsResult) {
  DWORD owner = GetCurrentThreadId();
  std::atomic<DWORD> ranOn{0};
  Recorder::Get().Reset([&](HWND, UINT m, WPARAM w, LPARAM, LRESULT& r) {
    if (m != WM_USER) return false;
    ranOn = GetCurrentThreadId();
    r = static_cast<LRESULT>(w * 2);
    return true;
  });
  HWND w = Make();
  std::atomic<LRESULT> result{-1};
  std::thread worker([&] {
    result = SendMessageW(w, WM_USER, 21, 0);
    PostThreadMessageW(owner, WM_APP, 0, 0);
  });
  MSG m;
  while (GetMessageW(&m, nullptr, 0, 0) && m.message != WM_APP) DispatchMessageW(&m);
  worker.join();
  EXPECT_EQ(result.load(), 42);
  EXPECT_EQ(ranOn.load(), owner);
}

TEST_F(QueueTest, TwoThreadsSendingToEachOtherDoNotDeadlock) {
  HWND a = Make();
  std::atomic<HWND> b{nullptr};
  std::atomic<DWORD> workerId{0};
  // a (main thread) answers WM_USER + 1 with 5; b (worker) answers WM_USER
  // by sending WM_USER + 1 back to a while main waits for b.
  Recorder::Get().Reset([&](HWND h, UINT m, WPARAM, LPARAM, LRESULT& r) {
    if (h == a && m == WM_USER + 1) {
      r = 5;
      return true;
    }
    if (h == b.load() && m == WM_USER) {
      r = SendMessageW(a, WM_USER + 1, 0, 0) + 1;
      return true;
    }
    return false;
  });
  std::thread worker([&] {
    MSG m;
    PeekMessageW(&m, nullptr, 0, 0, PM_NOREMOVE);  // a queue, so the WM_QUIT below always arrives
    workerId = GetCurrentThreadId();
    b = CreateWindowExW(0, RecorderClass(), L"b", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    while (GetMessageW(&m, nullptr, 0, 0)) DispatchMessageW(&m);
    DestroyWindow(b);
  });
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!b.load() && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  if (b.load()) EXPECT_EQ(SendMessageW(b, WM_USER, 0, 0), 6);
  else ADD_FAILURE() << "the worker made no window within 10 s";
  while (!workerId.load() && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  PostThreadMessageW(workerId, WM_QUIT, 0, 0);
  worker.join();
}

TEST_F(QueueTest, PaintComesOnlyWhenTheQueueIsEmptyAndCoalesced) {
  RECT painted{};
  int paints = 0;
  HWND w = Make();
  Recorder::Get().Reset([&](HWND h, UINT m, WPARAM, LPARAM, LRESULT& r) {
    if (m != WM_PAINT) return false;
    PAINTSTRUCT ps;
    BeginPaint(h, &ps);
    painted = ps.rcPaint;
    ++paints;
    EndPaint(h, &ps);
    r = 0;
    return true;
  });
  Pump();
  paints = 0;
  RECT one{5, 5, 10, 10}, two{20, 30, 40, 50};
  InvalidateRect(w, &one, FALSE);
  PostMessageW(w, WM_USER, 0, 0);
  InvalidateRect(w, &two, FALSE);
  MSG m;
  ASSERT_TRUE(PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(m.message, static_cast<UINT>(WM_USER));
  ASSERT_TRUE(PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(m.message, static_cast<UINT>(WM_PAINT));
  DispatchMessageW(&m);
  EXPECT_FALSE(PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(paints, 1);
  EXPECT_EQ(painted.left, 5);
  EXPECT_EQ(painted.top, 5);
  EXPECT_EQ(painted.right, 40);
  EXPECT_EQ(painted.bottom, 50);
  RECT update;
  EXPECT_FALSE(GetUpdateRect(w, &update, FALSE));
}

TEST_F(QueueTest, ValidateRectAndHiddenWindowsGetNoPaint) {
  HWND shown = Make();
  HWND hidden = Make(WS_POPUP);
  Pump();
  InvalidateRect(shown, nullptr, FALSE);
  InvalidateRect(hidden, nullptr, FALSE);
  RECT update;
  EXPECT_TRUE(GetUpdateRect(shown, &update, FALSE));
  EXPECT_EQ(update.right, 100);
  ValidateRect(shown, nullptr);
  MSG m;
  EXPECT_FALSE(PeekMessageW(&m, nullptr, WM_PAINT, WM_PAINT, PM_NOREMOVE));
  ShowWindow(hidden, SW_SHOWNA);
  ASSERT_TRUE(PeekMessageW(&m, nullptr, WM_PAINT, WM_PAINT, PM_NOREMOVE));
  EXPECT_EQ(m.hwnd, hidden);
}

bool CountedThree(void* context) { return *static_cast<int*>(context) >= 3; }

TEST_F(QueueTest, TimersFireAtTheirIntervalAndStopWhenKilled) {
  HWND w = Make();
  Pump();
  int fired = 0;
  Recorder::Get().Reset([&](HWND, UINT m, WPARAM id, LPARAM, LRESULT&) {
    if (m == WM_TIMER && id == 5) ++fired;
    return false;
  });
  auto start = std::chrono::steady_clock::now();
  ASSERT_EQ(SetTimer(w, 5, 30, nullptr), 5u);
  ASSERT_TRUE(platform::window::test::PumpUntil(CountedThree, &fired, 10000));
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(3 * 30 - 5));
  EXPECT_TRUE(KillTimer(w, 5));
  EXPECT_FALSE(KillTimer(w, 5));
  int after = fired;
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  Pump();
  EXPECT_EQ(fired, after);
}

int g_procCalls = 0;
void CALLBACK CountingTimerProc(HWND, UINT, UINT_PTR, DWORD) { ++g_procCalls; }
bool ProcCalled(void*) { return g_procCalls > 0; }

TEST_F(QueueTest, ThreadTimerCallsItsProcedureThroughDispatch) {
  UINT_PTR id = SetTimer(nullptr, 0, 10, CountingTimerProc);
  ASSERT_NE(id, 0u);
  EXPECT_TRUE(platform::window::test::PumpUntil(ProcCalled, nullptr, 10000));
  EXPECT_TRUE(KillTimer(nullptr, id));
}

TEST_F(QueueTest, MessagesToADestroyedWindowAreDropped) {
  HWND w = Make();
  Pump();
  PostMessageW(w, WM_USER, 0, 0);
  DestroyWindow(w);
  Recorder::Get().Clear();
  MSG m;
  EXPECT_FALSE(PeekMessageW(&m, nullptr, WM_USER, WM_USER, PM_REMOVE));
  SetLastError(0);
  EXPECT_FALSE(PostMessageW(w, WM_USER, 0, 0));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
  EXPECT_EQ(SendMessageW(w, WM_USER, 0, 0), 0);
  EXPECT_EQ(Recorder::Get().All().size(), 0u);
  EXPECT_FALSE(IsWindow(w));
}

TEST_F(QueueTest, CreationAndDestructionFollowWin32sOrderWithTheCreationParameter) {
  int marker = 0;
  std::vector<LPVOID> params;
  Recorder::Get().Reset([&](HWND, UINT m, WPARAM, LPARAM l, LRESULT&) {
    if (m == WM_NCCREATE || m == WM_CREATE) params.push_back(reinterpret_cast<CREATESTRUCTW*>(l)->lpCreateParams);
    return false;
  });
  HWND w = CreateWindowExW(0, RecorderClass(), L"title", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200, nullptr,
                           nullptr, nullptr, &marker);
  made_.push_back(w);
  ASSERT_TRUE(w);
  EXPECT_EQ(Recorder::Get().Only({WM_GETMINMAXINFO, WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, WM_SIZE, WM_MOVE,
                                   WM_SHOWWINDOW}),
            (std::vector<UINT>{WM_GETMINMAXINFO, WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, WM_SIZE, WM_MOVE,
                               WM_SHOWWINDOW}));
  EXPECT_EQ(params, (std::vector<LPVOID>{&marker, &marker}));
  wchar_t text[16];
  EXPECT_EQ(GetWindowTextW(w, text, 16), 5);
  EXPECT_STREQ(text, L"title");
  EXPECT_TRUE(IsWindowVisible(w));
  EXPECT_EQ(GetActiveWindow(), w);
  EXPECT_EQ(GetFocus(), w);

  HWND child = CreateWindowExW(0, RecorderClass(), L"", WS_CHILD | WS_VISIBLE, 5, 5, 20, 20, w, nullptr, nullptr,
                               nullptr);
  ASSERT_TRUE(child);
  std::vector<std::pair<HWND, UINT>> order;
  Recorder::Get().Reset([&](HWND h, UINT m, WPARAM, LPARAM, LRESULT&) {
    if (m == WM_DESTROY || m == WM_NCDESTROY) order.emplace_back(h, m);
    return false;
  });
  EXPECT_TRUE(DestroyWindow(w));
  EXPECT_EQ(order, (std::vector<std::pair<HWND, UINT>>{
                       {w, WM_DESTROY}, {child, WM_DESTROY}, {child, WM_NCDESTROY}, {w, WM_NCDESTROY}}));
  EXPECT_FALSE(IsWindow(child));
  EXPECT_EQ(GetFocus(), nullptr);
}

TEST_F(QueueTest, CreationFailsWhenNcCreateOrCreateRefuses) {
  for (UINT refused : {static_cast<UINT>(WM_NCCREATE), static_cast<UINT>(WM_CREATE)}) {
    Recorder::Get().Reset([refused](HWND, UINT m, WPARAM, LPARAM, LRESULT& r) {
      if (m != refused) return false;
      r = m == WM_CREATE ? -1 : FALSE;
      return true;
    });
    EXPECT_EQ(MakeWindow(0, 0, 10, 10), nullptr);
    EXPECT_EQ(Recorder::Get().Count(WM_NCDESTROY), 1);
  }
  EXPECT_EQ(CreateWindowExW(0, L"NoSuchClass", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CANNOT_FIND_WND_CLASS));
}

WNDPROC g_previous = nullptr;
LRESULT CALLBACK Subclass(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_USER) return 77;
  return CallWindowProcW(g_previous, h, m, w, l);
}

TEST_F(QueueTest, SubclassingReplacesTheProcedureSlot) {
  HWND w = Make();
  g_previous = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Subclass)));
  EXPECT_EQ(g_previous, &Recorder::Proc);
  Recorder::Get().Clear();
  EXPECT_EQ(SendMessageW(w, WM_USER, 0, 0), 77);
  EXPECT_EQ(Recorder::Get().Count(WM_USER), 0);
  SendMessageW(w, WM_USER + 1, 0, 0);
  EXPECT_EQ(Recorder::Get().Count(WM_USER + 1), 1);
  SetWindowLongPtrW(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_previous));
  EXPECT_NE(SendMessageW(w, WM_USER, 0, 0), 77);
}

TEST_F(QueueTest, ClassesWindowLongsAndProperties) {
  RecorderClass();
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = Recorder::Proc;
  wc.lpszClassName = L"recorderwindow";  // names ignore case
  EXPECT_EQ(RegisterClassExW(&wc), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLASS_ALREADY_EXISTS));
  WNDCLASSEXW info{};
  info.cbSize = sizeof info;
  ASSERT_TRUE(GetClassInfoExW(nullptr, L"RecorderWindow", &info));
  EXPECT_EQ(info.lpfnWndProc, &Recorder::Proc);
  EXPECT_TRUE(GetClassInfoExW(nullptr, TOOLTIPS_CLASSW, &info));

  HWND w = Make();
  SetWindowLongPtrW(w, GWLP_USERDATA, 1234);
  EXPECT_EQ(GetWindowLongPtrW(w, GWLP_USERDATA), 1234);
  SetWindowLongPtrW(w, GWL_STYLE, WS_POPUP | WS_THICKFRAME);
  EXPECT_EQ(static_cast<DWORD>(GetWindowLongPtrW(w, GWL_STYLE)), static_cast<DWORD>(WS_POPUP | WS_THICKFRAME | WS_VISIBLE));
  int value = 0;
  EXPECT_TRUE(SetPropW(w, L"WndX", &value));
  EXPECT_EQ(GetPropW(w, L"wndx"), &value);
  EXPECT_EQ(RemovePropW(w, L"WndX"), &value);
  EXPECT_EQ(GetPropW(w, L"WndX"), nullptr);
}

TEST_F(QueueTest, GeometryOfAFramedWindow) {
  HWND w = CreateWindowExW(0, RecorderClass(), L"", WS_OVERLAPPEDWINDOW, 100, 50, 400, 300, nullptr, nullptr, nullptr,
                           nullptr);
  made_.push_back(w);
  RECT frame{0, 0, 200, 100};
  AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW, FALSE, 0);
  RECT client, window;
  GetClientRect(w, &client);
  GetWindowRect(w, &window);
  EXPECT_EQ(window.right - window.left, 400);
  EXPECT_EQ(client.right, 400 - (frame.right - frame.left - 200));
  EXPECT_EQ(client.bottom, 300 - (frame.bottom - frame.top - 100));
  POINT p{0, 0};
  ClientToScreen(w, &p);
  EXPECT_EQ(p.x, 100 - frame.left);
  EXPECT_EQ(p.y, 50 - frame.top);
  ScreenToClient(w, &p);
  EXPECT_EQ(p.x, 0);

  Recorder::Get().Clear();
  SetWindowPos(w, nullptr, 10, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  EXPECT_EQ(Recorder::Get().Only({WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED, WM_MOVE, WM_SIZE}),
            (std::vector<UINT>{WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED, WM_MOVE}));
  EXPECT_TRUE(MoveWindow(w, 0, 0, 500, 350, TRUE));
  GetWindowRect(w, &window);
  EXPECT_EQ(window.right, 500);

  ShowWindow(w, SW_SHOW);
  ShowWindow(w, SW_MAXIMIZE);
  EXPECT_TRUE(IsZoomed(w));
  GetClientRect(w, &client);
  EXPECT_EQ(client.right, GetSystemMetrics(SM_CXSCREEN));
  ShowWindow(w, SW_RESTORE);
  EXPECT_FALSE(IsZoomed(w));
  GetWindowRect(w, &window);
  EXPECT_EQ(window.right, 500);
  ShowWindow(w, SW_MINIMIZE);
  EXPECT_TRUE(IsIconic(w));
  ShowWindow(w, SW_RESTORE);
  EXPECT_FALSE(IsIconic(w));

  MONITORINFO mi{sizeof mi, {}, {}, 0};
  ASSERT_TRUE(GetMonitorInfoW(MonitorFromWindow(w, MONITOR_DEFAULTTONEAREST), &mi));
  EXPECT_EQ(mi.rcMonitor.right, GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(mi.dwFlags, static_cast<DWORD>(MONITORINFOF_PRIMARY));
  EXPECT_EQ(MonitorFromPoint(POINT{-5000, 0}, MONITOR_DEFAULTTONULL), nullptr);
}

}  // namespace
