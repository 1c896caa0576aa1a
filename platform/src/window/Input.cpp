// Input routing, focus, activation, capture, mouse tracking, key state.
//
// How a mouse event becomes a message (on the thread that owns the window):
//
//   event            | captured?  | messages, in order
//   -----------------+------------+-----------------------------------------------
//   move             | no         | WM_NCHITTEST, WM_SETCURSOR(hit), then WM_MOUSEMOVE
//                    |            | (hit = HTCLIENT) or WM_NCMOUSEMOVE (any other hit)
//   button down      | no         | WM_NCHITTEST, WM_MOUSEACTIVATE (when the top-level
//                    |            | window is inactive), WM_SETCURSOR, then the client or
//                    |            | non-client button message; a second down of the same
//                    |            | button within the double-click time and distance
//                    |            | becomes ...DBLCLK (client: only with CS_DBLCLKS)
//   move, button     | yes        | the client message, coordinates relative to the
//                    |            | capture window (may lie outside it), no hit test
//   wheel            | -          | WM_MOUSEWHEEL to the focus window, screen coordinates
//   disabled window  | no         | WM_SETCURSOR(HTERROR) only
//
// Keys go to the focus window (WM_KEYDOWN/UP; WM_SYSKEYDOWN/UP while Alt
// is held, or to the active window when nothing has the focus).
#include "window/Input.h"

#include <algorithm>
#include <cstdlib>

#include "win32/Errors.h"
#include "win32/System.h"
#include "window/Backend.h"

namespace platform::window::input {
namespace {

constexpr int kDoubleClickTime = 500;
constexpr int kDoubleClickSize = 4;
constexpr int kHoverSize = 4;
constexpr DWORD kDefaultHoverTime = 400;

ThreadQueue* QueueOf(HWND hwnd) {
  Window* w = Find(hwnd);
  return w && w->queue->alive ? w->queue.get() : nullptr;
}

void Enqueue(InputEvent event) {
  if (!event.time) event.time = GetTickCount();
  if (ThreadQueue* q = QueueOf(event.target)) {
    q->raw.push_back(event);
    Wake(*q);
  }
}

void PostLeave(HWND hwnd, bool nonClient) {
  if (ThreadQueue* q = QueueOf(hwnd)) PostLocked(*q, hwnd, nonClient ? WM_NCMOUSELEAVE : WM_MOUSELEAVE, 0, 0);
}

// The pointer is now over target (null: none of ours): a tracked window
// it left hears of it.
void LeaveOthers(HWND target) {
  MouseTracking& t = S().tracking;
  if (t.hwnd && t.hwnd != target && (t.flags & TME_LEAVE)) {
    PostLeave(t.hwnd, t.flags & TME_NONCLIENT);
    t = MouseTracking{};
  }
}

HWND MouseTarget(POINT pt) {
  if (S().capture && Find(S().capture)) return S().capture;
  return WindowFromPointLocked(pt);
}

// Input over none of our windows still goes to the thread that had the
// last one: that thread may capture the mouse before it gets there.
void EnqueueMouse(InputEvent event) {
  HWND target = MouseTarget(event.pt);
  event.nowhere = !target;
  if (!target) target = Find(S().lastMouseWindow) ? S().lastMouseWindow : nullptr;
  if (!target) return;
  S().lastMouseWindow = target;
  event.target = target;
  Enqueue(event);
}

void SetKey(WORD vk, bool down) {
  BYTE& k = S().keys[vk & 0xFF];
  if (down) {
    if (!(k & 0x80)) k ^= 0x01;  // toggles on each press
    k |= 0x80;
  } else {
    k &= static_cast<BYTE>(~0x80);
  }
}

void SetKeyWithSides(WORD vk, bool down) {
  SetKey(vk, down);
  switch (vk) {
    case VK_LSHIFT: case VK_RSHIFT: SetKey(VK_SHIFT, down); break;
    case VK_LCONTROL: case VK_RCONTROL: SetKey(VK_CONTROL, down); break;
    case VK_LMENU: case VK_RMENU: SetKey(VK_MENU, down); break;
    case VK_SHIFT: SetKey(VK_LSHIFT, down); break;
    case VK_CONTROL: SetKey(VK_LCONTROL, down); break;
    case VK_MENU: SetKey(VK_LMENU, down); break;
    default: break;
  }
}

const WORD kButtonVk[3] = {VK_LBUTTON, VK_RBUTTON, VK_MBUTTON};
const UINT kButtonDown[3] = {WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN};
constexpr UINT kNonClientOffset = WM_MOUSEMOVE - WM_NCMOUSEMOVE;

void CookMouse(ThreadQueue& q, const InputEvent& ev, std::unique_lock<std::mutex>& lock) {
  State& s = S();
  HWND hwnd = ev.nowhere ? nullptr : ev.target;
  if (s.capture && QueueOf(s.capture) == &q) {
    hwnd = s.capture;
  } else if (HWND under = WindowFromPointLocked(ev.pt); under && QueueOf(under) == &q) {
    hwnd = under;
  }
  if (ev.kind == InputKind::Wheel && s.focus && QueueOf(s.focus) == &q) hwnd = s.focus;
  if (ev.kind == InputKind::ButtonDown || ev.kind == InputKind::ButtonUp)
    SetKey(kButtonVk[ev.button], ev.kind == InputKind::ButtonDown);
  Window* w = Find(hwnd);
  if (!w) return;

  if (ev.kind == InputKind::Wheel) {
    MSG m{hwnd, WM_MOUSEWHEEL, MAKEWPARAM(KeyStateLocked(), ev.wheel), MAKELPARAM(ev.pt.x, ev.pt.y), ev.time, ev.pt};
    q.input.push_back(m);
    return;
  }

  UINT base = ev.kind == InputKind::MouseMove ? WM_MOUSEMOVE
              : ev.kind == InputKind::ButtonDown ? kButtonDown[ev.button]
                                                : kButtonDown[ev.button] + 1;
  bool captured = s.capture == hwnd;
  lock.unlock();
  LRESULT hit = HTCLIENT;
  bool eat = false;
  if (!captured) hit = SendMessageW(hwnd, WM_NCHITTEST, 0, MAKELPARAM(ev.pt.x, ev.pt.y));
  if (hit == HTTRANSPARENT) hit = HTNOWHERE;
  if (!IsWindowEnabled(hwnd)) {
    if (ev.kind != InputKind::ButtonUp) SendMessageW(hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(hwnd),
                                                      MAKELPARAM(static_cast<WORD>(HTERROR), base));
    lock.lock();
    return;
  }
  if (ev.kind == InputKind::ButtonDown && !captured) {
    HWND root = GetAncestor(hwnd, GA_ROOT);
    if (GetActiveWindow() != root) {
      LRESULT ma = SendMessageW(hwnd, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(root), MAKELPARAM(hit, base));
      if (ma == MA_ACTIVATE || ma == MA_ACTIVATEANDEAT) Activate(root, WA_CLICKACTIVE);
      eat = ma == MA_ACTIVATEANDEAT || ma == MA_NOACTIVATEANDEAT;
    }
  }
  if (!captured && ev.kind != InputKind::ButtonUp)
    SendMessageW(hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(hwnd), MAKELPARAM(hit, base));
  lock.lock();
  w = Find(hwnd);
  if (eat || !w) return;

  bool client = hit == HTCLIENT;
  UINT message = client ? base : base - kNonClientOffset;
  if (ev.kind == InputKind::ButtonDown) {
    ClickRecord& last = s.lastClick;
    bool canDouble = !client || (w->cls->style & CS_DBLCLKS);
    if (canDouble && last.hwnd == hwnd && last.message == message &&
        ev.time - last.time <= static_cast<DWORD>(kDoubleClickTime) &&
        std::abs(ev.pt.x - last.pt.x) <= kDoubleClickSize / 2 && std::abs(ev.pt.y - last.pt.y) <= kDoubleClickSize / 2) {
      message += WM_LBUTTONDBLCLK - WM_LBUTTONDOWN;
      last = ClickRecord{};
    } else {
      last = ClickRecord{hwnd, message, ev.time, ev.pt};
    }
  }

  MouseTracking& t = s.tracking;
  if (t.hwnd == hwnd) {
    bool trackedNonClient = t.flags & TME_NONCLIENT;
    if ((t.flags & TME_LEAVE) && trackedNonClient == client) {
      PostLeave(hwnd, trackedNonClient);
      t.flags &= ~static_cast<DWORD>(TME_LEAVE);
    }
    if ((t.flags & TME_HOVER) && ev.kind == InputKind::MouseMove &&
        (std::abs(ev.pt.x - t.hoverPoint.x) > kHoverSize / 2 || std::abs(ev.pt.y - t.hoverPoint.y) > kHoverSize / 2)) {
      t.hoverPoint = ev.pt;
      t.hoverStart = NowMs();
    }
    if (!(t.flags & (TME_LEAVE | TME_HOVER))) t = MouseTracking{};
  }

  LPARAM lParam;
  WPARAM wParam;
  if (client) {
    POINT origin = ClientOriginOnScreen(*w);
    lParam = MAKELPARAM(ev.pt.x - origin.x, ev.pt.y - origin.y);
    wParam = KeyStateLocked();
  } else {
    lParam = MAKELPARAM(ev.pt.x, ev.pt.y);
    wParam = static_cast<WPARAM>(hit);
  }
  q.input.push_back(MSG{hwnd, message, wParam, lParam, ev.time, ev.pt});
}

void CookKey(ThreadQueue& q, const InputEvent& ev) {
  State& s = S();
  bool down = ev.kind == InputKind::KeyDown;
  bool wasDown = s.keys[ev.vk & 0xFF] & 0x80;
  SetKeyWithSides(ev.vk, down);
  HWND hwnd = s.focus && QueueOf(s.focus) == &q ? s.focus : nullptr;
  bool noFocus = !hwnd;
  if (noFocus) hwnd = s.active && QueueOf(s.active) == &q ? s.active : ev.target;
  if (!Find(hwnd)) return;
  bool alt = s.keys[VK_MENU] & 0x80;
  bool ctrl = s.keys[VK_CONTROL] & 0x80;
  bool sys = (alt && !ctrl) || ev.vk == VK_F10 || noFocus;
  UINT message = down ? (sys ? WM_SYSKEYDOWN : WM_KEYDOWN) : (sys ? WM_SYSKEYUP : WM_KEYUP);
  DWORD flags = 1u | (static_cast<DWORD>(ev.scan & 0xFF) << 16);
  if (alt) flags |= 1u << 29;
  if (wasDown || !down) flags |= 1u << 30;
  if (!down) flags |= 1u << 31;
  q.lastKeyVk = ev.vk;
  q.lastKeyChar = down ? ev.ch : 0;
  q.input.push_back(MSG{hwnd, message, ev.vk, static_cast<LPARAM>(flags), ev.time, s.cursor});
}

}  // namespace

void DeliverMouseMove(POINT screen, DWORD time) {
  std::lock_guard<std::mutex> lock(Lock());
  S().cursor = screen;
  LeaveOthers(MouseTarget(screen));
  EnqueueMouse(InputEvent{InputKind::MouseMove, nullptr, 0, screen, 0, 0, 0, 0, time});
}

void DeliverButton(int button, bool down, POINT screen, DWORD time) {
  if (button < 0 || button > 2) return;
  std::lock_guard<std::mutex> lock(Lock());
  S().cursor = screen;
  if (!MouseTarget(screen) && !Find(S().lastMouseWindow)) {
    SetKey(kButtonVk[button], down);
    return;
  }
  EnqueueMouse(InputEvent{down ? InputKind::ButtonDown : InputKind::ButtonUp, nullptr, button, screen, 0, 0, 0, 0, time});
}

void DeliverWheel(int delta, POINT screen, DWORD time) {
  std::lock_guard<std::mutex> lock(Lock());
  HWND target = S().focus && Find(S().focus) ? S().focus : WindowFromPointLocked(screen);
  if (target) Enqueue(InputEvent{InputKind::Wheel, target, 0, screen, delta, 0, 0, 0, time});
}

void DeliverKey(WORD vk, bool down, WCHAR ch, WORD scan, DWORD time) {
  std::lock_guard<std::mutex> lock(Lock());
  HWND target = S().focus && Find(S().focus) ? S().focus : (Find(S().active) ? S().active : nullptr);
  if (!target) {
    SetKeyWithSides(vk, down);
    return;
  }
  Enqueue(InputEvent{down ? InputKind::KeyDown : InputKind::KeyUp, target, 0, S().cursor, 0, vk, scan, ch, time});
}

void DeliverPointerGone() {
  std::lock_guard<std::mutex> lock(Lock());
  if (!S().capture) LeaveOthers(nullptr);
}

void Cook(ThreadQueue& q, const InputEvent& event, std::unique_lock<std::mutex>& lock) {
  if (event.kind == InputKind::KeyDown || event.kind == InputKind::KeyUp)
    CookKey(q, event);
  else
    CookMouse(q, event, lock);
}

uint64_t CheckHover(ThreadQueue& q) {
  MouseTracking& t = S().tracking;
  if (!t.hwnd || !(t.flags & TME_HOVER) || QueueOf(t.hwnd) != &q) return 0;
  uint64_t due = t.hoverStart + t.hoverTime;
  if (NowMs() < due) return due;
  Window* w = Find(t.hwnd);
  bool nonClient = t.flags & TME_NONCLIENT;
  LPARAM lParam = MAKELPARAM(t.hoverPoint.x, t.hoverPoint.y);
  if (!nonClient) {
    POINT origin = ClientOriginOnScreen(*w);
    lParam = MAKELPARAM(t.hoverPoint.x - origin.x, t.hoverPoint.y - origin.y);
  }
  PostLocked(q, t.hwnd, nonClient ? WM_NCMOUSEHOVER : WM_MOUSEHOVER, nonClient ? HTCLIENT : KeyStateLocked(), lParam);
  t.flags &= ~static_cast<DWORD>(TME_HOVER);
  if (!(t.flags & TME_LEAVE)) t = MouseTracking{};
  return 0;
}

void ForgetWindow(HWND hwnd) {
  State& s = S();
  if (s.tracking.hwnd == hwnd) s.tracking = MouseTracking{};
  if (s.lastClick.hwnd == hwnd) s.lastClick = ClickRecord{};
  if (s.capture == hwnd) s.capture = nullptr;
  if (s.focus == hwnd) s.focus = nullptr;
  if (s.active == hwnd) s.active = nullptr;
}

void Activate(HWND hwnd, WORD how) {
  HWND old;
  {
    std::lock_guard<std::mutex> lock(Lock());
    Window* w = Find(hwnd);
    if (!w || S().active == hwnd) return;
    old = S().active;
    S().active = hwnd;
    auto& z = S().topLevels;
    if (!(w->exStyle & WS_EX_TOPMOST) && std::find(z.begin(), z.end(), hwnd) != z.end()) {
      std::erase(z, hwnd);
      auto firstNormal = std::find_if(z.begin(), z.end(), [](HWND h) {
        Window* o = Find(h);
        return !o || !(o->exStyle & WS_EX_TOPMOST);
      });
      z.insert(firstNormal, hwnd);
    }
  }
  if (old && IsWindow(old)) {
    SendMessageW(old, WM_NCACTIVATE, FALSE, 0);
    SendMessageW(old, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, IsIconic(old)), reinterpret_cast<LPARAM>(hwnd));
  }
  Backend().Raise(hwnd);
  SendMessageW(hwnd, WM_NCACTIVATE, TRUE, 0);
  SendMessageW(hwnd, WM_ACTIVATE, MAKEWPARAM(how, IsIconic(hwnd)), reinterpret_cast<LPARAM>(old));
}

void Deactivate(HWND hwnd) {
  HWND next = nullptr;
  {
    std::lock_guard<std::mutex> lock(Lock());
    if (S().active != hwnd) return;
    Window* w = Find(hwnd);
    auto usable = [hwnd](Window* o) {
      return o && o->handle != hwnd && (o->style & WS_VISIBLE) && !o->destroying && !o->messageOnly &&
             !(o->exStyle & WS_EX_NOACTIVATE) && !(o->style & WS_DISABLED) && o->cls->name != TOOLTIPS_CLASSW;
    };
    if (w && usable(Find(w->owner))) next = w->owner;
    for (HWND h : S().topLevels)
      if (!next && usable(Find(h))) next = h;
    if (!next) S().active = nullptr;
  }
  if (next) {
    Activate(next, WA_ACTIVE);
    return;
  }
  SendMessageW(hwnd, WM_NCACTIVATE, FALSE, 0);
  SendMessageW(hwnd, WM_ACTIVATE, WA_INACTIVE, 0);
  HWND focus;
  {
    std::lock_guard<std::mutex> lock(Lock());
    focus = S().focus;
    if (focus && RootOf(focus) == hwnd) S().focus = nullptr; else focus = nullptr;
  }
  if (focus) SendMessageW(focus, WM_KILLFOCUS, 0, 0);
}

}  // namespace platform::window::input

using namespace platform::window;

HWND WINAPI SetFocus(HWND hWnd) {
  HWND previous;
  {
    std::lock_guard<std::mutex> lock(Lock());
    previous = S().focus;
    if (hWnd && !Find(hWnd)) {
      SetLastError(ERROR_INVALID_WINDOW_HANDLE);
      return nullptr;
    }
    if (!hWnd) S().focus = nullptr;
  }
  if (!hWnd) {
    if (previous && IsWindow(previous)) SendMessageW(previous, WM_KILLFOCUS, 0, 0);
    return previous;
  }
  HWND root;
  {
    std::lock_guard<std::mutex> lock(Lock());
    root = RootOf(hWnd);
  }
  if (GetActiveWindow() != root) input::Activate(root, WA_ACTIVE);
  HWND old;
  {
    std::lock_guard<std::mutex> lock(Lock());
    if (!Find(hWnd)) return nullptr;
    old = S().focus;
    if (old == hWnd) return previous;
    S().focus = hWnd;
  }
  if (old && IsWindow(old)) SendMessageW(old, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hWnd), 0);
  SendMessageW(hWnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(old), 0);
  return previous;
}

HWND WINAPI GetFocus() {
  std::lock_guard<std::mutex> lock(Lock());
  return S().focus;
}

HWND WINAPI SetActiveWindow(HWND hWnd) {
  HWND old = GetActiveWindow();
  if (hWnd && IsWindow(hWnd)) input::Activate(GetAncestor(hWnd, GA_ROOT), WA_ACTIVE);
  return old;
}

HWND WINAPI GetActiveWindow() {
  std::lock_guard<std::mutex> lock(Lock());
  return S().active;
}

BOOL WINAPI SetForegroundWindow(HWND hWnd) {
  if (!IsWindow(hWnd)) return FALSE;
  SetActiveWindow(hWnd);
  return TRUE;
}

HWND WINAPI GetForegroundWindow() { return GetActiveWindow(); }

HWND WINAPI SetCapture(HWND hWnd) {
  HWND old;
  {
    std::lock_guard<std::mutex> lock(Lock());
    old = S().capture;
    if (!Find(hWnd)) return old;
    S().capture = hWnd;
  }
  if (old && old != hWnd) SendMessageW(old, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(hWnd));
  return old;
}

BOOL WINAPI ReleaseCapture() {
  HWND old;
  {
    std::lock_guard<std::mutex> lock(Lock());
    old = S().capture;
    S().capture = nullptr;
  }
  if (old) SendMessageW(old, WM_CAPTURECHANGED, 0, 0);
  return TRUE;
}

HWND WINAPI GetCapture() {
  std::lock_guard<std::mutex> lock(Lock());
  return S().capture;
}

BOOL WINAPI TrackMouseEvent(LPTRACKMOUSEEVENT lpEventTrack) {
  if (!lpEventTrack || lpEventTrack->cbSize < sizeof(TRACKMOUSEEVENT)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::lock_guard<std::mutex> lock(Lock());
  State& s = S();
  MouseTracking& t = s.tracking;
  DWORD flags = lpEventTrack->dwFlags;
  if (flags & TME_QUERY) {
    lpEventTrack->dwFlags = t.hwnd ? t.flags : 0;
    lpEventTrack->hwndTrack = t.hwnd;
    lpEventTrack->dwHoverTime = t.hoverTime;
    return TRUE;
  }
  HWND hwnd = lpEventTrack->hwndTrack;
  Window* w = Find(hwnd);
  if (!w) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  DWORD kinds = flags & (TME_HOVER | TME_LEAVE);
  if (flags & TME_CANCEL) {
    if (t.hwnd == hwnd) {
      t.flags &= ~kinds;
      if (!(t.flags & (TME_HOVER | TME_LEAVE))) t = MouseTracking{};
    }
    return TRUE;
  }
  if (WindowFromPointLocked(s.cursor) != hwnd && s.capture != hwnd) {
    // Win32 answers at once when the pointer is not over the window.
    if (flags & TME_LEAVE) PostLocked(*w->queue, hwnd, (flags & TME_NONCLIENT) ? WM_NCMOUSELEAVE : WM_MOUSELEAVE, 0, 0);
    return TRUE;
  }
  if (t.hwnd != hwnd) t = MouseTracking{};
  t.hwnd = hwnd;
  t.flags = (t.flags & ~static_cast<DWORD>(TME_NONCLIENT)) | kinds | (flags & TME_NONCLIENT);
  if (flags & TME_HOVER) {
    t.hoverTime = lpEventTrack->dwHoverTime == HOVER_DEFAULT || lpEventTrack->dwHoverTime == 0
                      ? input::kDefaultHoverTime
                      : lpEventTrack->dwHoverTime;
    t.hoverStart = NowMs();
    t.hoverPoint = s.cursor;
    Wake(*w->queue);
  }
  return TRUE;
}

BOOL WINAPI _TrackMouseEvent(LPTRACKMOUSEEVENT lpEventTrack) { return TrackMouseEvent(lpEventTrack); }

SHORT WINAPI GetKeyState(int nVirtKey) {
  std::lock_guard<std::mutex> lock(Lock());
  BYTE k = S().keys[nVirtKey & 0xFF];
  return static_cast<SHORT>(((k & 0x80) ? 0x8000 : 0) | (k & 0x01));
}

SHORT WINAPI GetAsyncKeyState(int vKey) {
  std::lock_guard<std::mutex> lock(Lock());
  return (S().keys[vKey & 0xFF] & 0x80) ? static_cast<SHORT>(0x8000) : 0;
}

BOOL WINAPI GetCursorPos(LPPOINT lpPoint) {
  if (!lpPoint) return FALSE;
  std::lock_guard<std::mutex> lock(Lock());
  *lpPoint = S().cursor;
  return TRUE;
}

BOOL WINAPI SetCursorPos(int X, int Y) {
  Backend().WarpPointer(POINT{X, Y});
  input::DeliverMouseMove(POINT{X, Y});
  return TRUE;
}

UINT WINAPI GetDoubleClickTime() { return input::kDoubleClickTime; }

BOOL WINAPI MessageBeep(UINT) { return TRUE; }
