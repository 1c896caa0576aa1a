// Windows: creation and destruction in Win32's message order, window
// longs and properties, relations, states and text.
//
// Creation sends: WM_GETMINMAXINFO (overlapped and sizable windows),
// WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, WM_SIZE, WM_MOVE, then the
// messages of ShowWindow when WS_VISIBLE was given. Destruction: owned
// windows first, hiding, WM_DESTROY (parent before children), WM_NCDESTROY
// (children before parent).
#include <algorithm>
#include <unistd.h>

#include <cstring>
#include <cwctype>

#include "win32/Gdi.h"
#include "win32/Errors.h"
#include "win32/System.h"
#include "window/Backend.h"
#include "window/Input.h"
#include "window/Paint.h"
#include "window/State.h"
#include "window/Tooltip.h"



namespace platform::window {

MINMAXINFO QueryMinMax(HWND hwnd);

namespace {

void Configure(HWND hwnd) {
  NativeView view{};
  {
    std::lock_guard<std::mutex> lock(Lock());
    Window* w = Find(hwnd);
    if (!w || !HasNative(*w)) return;
    view = ViewOf(*w);
  }
  Backend().Configure(view);
}

std::vector<HWND> OwnedBy(HWND hwnd) {
  std::vector<HWND> owned;
  for (auto& [h, w] : S().windows)
    if (w->owner == hwnd && !w->destroying) owned.push_back(h);
  return owned;
}

void SendDestroy(HWND hwnd) {
  SendMessageW(hwnd, WM_DESTROY, 0, 0);
  std::vector<HWND> children;
  {
    std::lock_guard<std::mutex> lock(Lock());
    if (Window* w = Find(hwnd)) children = w->children;
  }
  for (HWND c : children) SendDestroy(c);
}

void SendNcDestroy(HWND hwnd) {
  std::vector<HWND> children;
  {
    std::lock_guard<std::mutex> lock(Lock());
    if (Window* w = Find(hwnd)) children = w->children;
  }
  for (HWND c : children) SendNcDestroy(c);
  SendMessageW(hwnd, WM_NCDESTROY, 0, 0);
  bool native = false;
  {
    std::lock_guard<std::mutex> lock(Lock());
    auto w = FindShared(hwnd);
    if (!w) return;
    native = HasNative(*w);
    input::ForgetWindow(hwnd);
    std::erase_if(w->queue->timers, [hwnd](const Timer& t) { return t.hwnd == hwnd; });
    if (Window* p = Find(w->parent)) std::erase(p->children, hwnd);
    std::erase(S().topLevels, hwnd);
    paint::Release(*w);
    if (w->shapeHandle) DeleteObject(w->shapeHandle);
    S().windows.erase(hwnd);
  }
  if (native) Backend().Destroy(hwnd);
}

POINT g_cascade{0, 0};

}  // namespace

}  // namespace platform::window

using namespace platform::window;

// --- Creation and destruction ---

HWND WINAPI CreateWindowExW(DWORD dwExStyle, LPCWSTR lpClassName, LPCWSTR lpWindowName, DWORD dwStyle, int X, int Y,
                            int nWidth, int nHeight, HWND hWndParent, HMENU hMenu, HINSTANCE hInstance,
                            LPVOID lpParam) {
  RegisterSystemClasses();
  auto queue = CurrentQueue();
  HWND hwnd;
  bool sizable;
  {
    std::lock_guard<std::mutex> lock(Lock());
    auto cls = FindClassLocked(lpClassName);
    if (!cls) {
      SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
      return nullptr;
    }
    bool messageOnly = hWndParent == HWND_MESSAGE;
    if (messageOnly) hWndParent = nullptr;
    bool child = dwStyle & WS_CHILD;
    if (child && !Find(hWndParent)) {
      SetLastError(ERROR_INVALID_WINDOW_HANDLE);
      return nullptr;
    }
    if (hWndParent && !Find(hWndParent)) {
      SetLastError(ERROR_INVALID_WINDOW_HANDLE);
      return nullptr;
    }
    auto w = std::make_shared<Window>();
    hwnd = reinterpret_cast<HWND>(S().nextHandle);
    S().nextHandle += 4;
    w->handle = hwnd;
    w->cls = cls;
    w->queue = queue;
    w->proc = cls->proc;
    if (!child && !(dwStyle & WS_POPUP)) dwStyle |= WS_CAPTION | WS_CLIPSIBLINGS;  // overlapped windows
    w->style = dwStyle & ~static_cast<DWORD>(WS_VISIBLE | WS_MINIMIZE | WS_MAXIMIZE);
    w->exStyle = dwExStyle;
    w->instance = hInstance;
    w->messageOnly = messageOnly;
    w->extra.assign(static_cast<size_t>(cls->windowExtra), 0);
    if (child) {
      w->parent = hWndParent;
      w->id = reinterpret_cast<LONG_PTR>(hMenu);
    } else {
      w->owner = hWndParent ? RootOf(hWndParent) : nullptr;
      w->menu = hMenu;
    }
    bool overlapped = !child && !(dwStyle & WS_POPUP);
    RECT screen = Backend().WorkArea();
    if (X == CW_USEDEFAULT) {
      if (overlapped) {
        g_cascade.x = (g_cascade.x + 26) % 208;
        g_cascade.y = (g_cascade.y + 26) % 208;
        X = screen.left + g_cascade.x;
        Y = screen.top + g_cascade.y;
      } else {
        X = Y = 0;
      }
    }
    if (nWidth == CW_USEDEFAULT) {
      if (overlapped) {
        nWidth = (screen.right - screen.left) * 3 / 4;
        nHeight = (screen.bottom - screen.top) * 3 / 4;
      } else {
        nWidth = nHeight = 0;
      }
    }
    if (Y == CW_USEDEFAULT) Y = 0;
    if (nHeight == CW_USEDEFAULT) nHeight = 0;
    X = std::clamp(X, -kMaxPosition, kMaxPosition);
    Y = std::clamp(Y, -kMaxPosition, kMaxPosition);
    w->rect = RECT{X, Y, X + std::clamp(nWidth, 0, kMaxWindowSize), Y + std::clamp(nHeight, 0, kMaxWindowSize)};
    w->restore = w->rect;
    if (child) {
      Find(hWndParent)->children.insert(Find(hWndParent)->children.begin(), hwnd);
    } else if (!messageOnly) {
      auto& z = S().topLevels;
      auto at = (dwExStyle & WS_EX_TOPMOST) ? z.begin() : std::find_if(z.begin(), z.end(), [](HWND h) {
        Window* o = Find(h);
        return !o || !(o->exStyle & WS_EX_TOPMOST);
      });
      z.insert(at, hwnd);
    }
    S().windows[hwnd] = w;
    sizable = overlapped || (dwStyle & WS_THICKFRAME);
  }

  if (sizable) {
    MINMAXINFO mmi = QueryMinMax(hwnd);
    std::lock_guard<std::mutex> lock(Lock());
    Window* w = Find(hwnd);
    if (w) {
      LONG cx = std::clamp<LONG>(w->rect.right - w->rect.left, mmi.ptMinTrackSize.x, mmi.ptMaxTrackSize.x);
      LONG cy = std::clamp<LONG>(w->rect.bottom - w->rect.top, mmi.ptMinTrackSize.y, mmi.ptMaxTrackSize.y);
      w->rect.right = w->rect.left + cx;
      w->rect.bottom = w->rect.top + cy;
    }
  }

  CREATESTRUCTW cs{};
  {
    std::lock_guard<std::mutex> lock(Lock());
    Window* w = Find(hwnd);
    if (!w) return nullptr;
    cs = CREATESTRUCTW{lpParam, hInstance, hMenu, hWndParent, static_cast<int>(w->rect.bottom - w->rect.top),
                       static_cast<int>(w->rect.right - w->rect.left), static_cast<int>(w->rect.top),
                       static_cast<int>(w->rect.left), static_cast<LONG>(dwStyle), lpWindowName, lpClassName,
                       dwExStyle};
  }
  if (!SendMessageW(hwnd, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs))) {
    SendNcDestroy(hwnd);
    return nullptr;
  }
  RECT client;
  {
    std::lock_guard<std::mutex> lock(Lock());
    Window* w = Find(hwnd);
    if (!w) return nullptr;
    client = w->rect;
  }
  SendMessageW(hwnd, WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&client));
  NativeView view{};
  bool native;
  {
    std::lock_guard<std::mutex> lock(Lock());
    Window* w = Find(hwnd);
    if (!w) return nullptr;
    w->client = RECT{client.left - w->rect.left, client.top - w->rect.top, client.right - w->rect.left,
                     client.bottom - w->rect.top};
    if (w->client.right < w->client.left) w->client.right = w->client.left;
    if (w->client.bottom < w->client.top) w->client.bottom = w->client.top;
    paint::EnsureSurface(*w);
    native = HasNative(*w);
    view = ViewOf(*w);
  }
  if (native) {
    Backend().Create(view);
    if (lpWindowName) Backend().SetTitle(hwnd, lpWindowName);
  }
  if (SendMessageW(hwnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
    DestroyWindow(hwnd);
    return nullptr;
  }
  if (!IsWindow(hwnd)) return nullptr;
  RECT rc;
  GetClientRect(hwnd, &rc);
  SendMessageW(hwnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(rc.right, rc.bottom));
  POINT origin{0, 0};
  {
    std::lock_guard<std::mutex> lock(Lock());
    if (Window* w = Find(hwnd)) origin = POINT{w->rect.left + w->client.left, w->rect.top + w->client.top};
  }
  SendMessageW(hwnd, WM_MOVE, 0, MAKELPARAM(origin.x, origin.y));
  if (dwStyle & WS_MAXIMIZE) ShowWindow(hwnd, (dwStyle & WS_VISIBLE) ? SW_SHOWMAXIMIZED : SW_MAXIMIZE);
  else if (dwStyle & WS_MINIMIZE) ShowWindow(hwnd, SW_SHOWMINNOACTIVE);
  if ((dwStyle & WS_VISIBLE) && IsWindow(hwnd) && !IsWindowVisible(hwnd)) ShowWindow(hwnd, SW_SHOW);
  return IsWindow(hwnd) ? hwnd : nullptr;
}

BOOL WINAPI DestroyWindow(HWND hWnd) {
  std::vector<HWND> owned;
  {
    std::lock_guard<std::mutex> lock(Lock());
    Window* w = Find(hWnd);
    if (!w) {
      SetLastError(ERROR_INVALID_WINDOW_HANDLE);
      return FALSE;
    }
    if (w->queue != CurrentQueue()) {
      SetLastError(ERROR_ACCESS_DENIED);
      return FALSE;
    }
    if (w->destroying) return TRUE;
    w->destroying = true;
    owned = OwnedBy(hWnd);
  }
  for (HWND o : owned) DestroyWindow(o);
  if (IsWindowVisible(hWnd))
    SetWindowPos(hWnd, nullptr, 0, 0, 0, 0,
                 SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  input::Deactivate(hWnd);
  HWND focus = GetFocus();
  if (focus && (focus == hWnd || IsChild(hWnd, focus))) SetFocus(nullptr);
  HWND capture = GetCapture();
  if (capture && (capture == hWnd || IsChild(hWnd, capture))) ReleaseCapture();
  SendDestroy(hWnd);
  SendNcDestroy(hWnd);
  return TRUE;
}

LRESULT WINAPI CallWindowProcW(WNDPROC lpPrevWndFunc, HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  return lpPrevWndFunc ? lpPrevWndFunc(hWnd, Msg, wParam, lParam) : 0;
}

// --- Window longs and properties ---

LONG_PTR WINAPI GetWindowLongPtrW(HWND hWnd, int nIndex) {
  std::lock_guard<std::mutex> lock(Lock());
  Window* w = Find(hWnd);
  if (!w) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  switch (nIndex) {
    case GWLP_WNDPROC: return reinterpret_cast<LONG_PTR>(w->proc);
    case GWLP_HINSTANCE: return reinterpret_cast<LONG_PTR>(w->instance);
    case GWLP_HWNDPARENT: return reinterpret_cast<LONG_PTR>(w->parent ? w->parent : w->owner);
    case GWLP_ID: return w->id;
    case GWL_STYLE: return static_cast<LONG_PTR>(static_cast<LONG>(w->style));
    case GWL_EXSTYLE: return static_cast<LONG_PTR>(static_cast<LONG>(w->exStyle));
    case GWLP_USERDATA: return w->userData;
    default:
      if (nIndex >= 0 && static_cast<size_t>(nIndex) + sizeof(LONG_PTR) <= w->extra.size()) {
        LONG_PTR v;
        memcpy(&v, w->extra.data() + nIndex, sizeof v);
        return v;
      }
      SetLastError(ERROR_INVALID_PARAMETER);
      return 0;
  }
}

LONG_PTR WINAPI SetWindowLongPtrW(HWND hWnd, int nIndex, LONG_PTR value) {
  LONG_PTR old = 0;
  bool styleChanged = false;
  {
    std::lock_guard<std::mutex> lock(Lock());
    Window* w = Find(hWnd);
    if (!w) {
      SetLastError(ERROR_INVALID_WINDOW_HANDLE);
      return 0;
    }
    SetLastError(0);
    switch (nIndex) {
      case GWLP_WNDPROC:
        old = reinterpret_cast<LONG_PTR>(w->proc);
        w->proc = reinterpret_cast<WNDPROC>(value);
        break;
      case GWLP_HINSTANCE:
        old = reinterpret_cast<LONG_PTR>(w->instance);
        w->instance = reinterpret_cast<HINSTANCE>(value);
        break;
      case GWLP_HWNDPARENT:
        old = reinterpret_cast<LONG_PTR>(w->owner);
        if (!w->parent) w->owner = reinterpret_cast<HWND>(value);
        break;
      case GWLP_ID:
        old = w->id;
        w->id = value;
        break;
      case GWL_STYLE: {
        old = static_cast<LONG>(w->style);
        // Visibility changes only through ShowWindow and SetWindowPos.
        DWORD keep = WS_VISIBLE | WS_MINIMIZE | WS_MAXIMIZE;
        w->style = (static_cast<DWORD>(value) & ~keep) | (w->style & keep);
        styleChanged = true;
        break;
      }
      case GWL_EXSTYLE:
        old = static_cast<LONG>(w->exStyle);
        if ((w->exStyle & WS_EX_LAYERED) && !(value & WS_EX_LAYERED)) {
          w->alpha = 255;
          w->layeredFlags = 0;
          if (w->layeredImage) cairo_surface_destroy(w->layeredImage);
          w->layeredImage = nullptr;
        }
        w->exStyle = static_cast<DWORD>(value);
        styleChanged = true;
        break;
      case GWLP_USERDATA:
        old = w->userData;
        w->userData = value;
        break;
      default:
        if (nIndex >= 0 && static_cast<size_t>(nIndex) + sizeof(LONG_PTR) <= w->extra.size()) {
          memcpy(&old, w->extra.data() + nIndex, sizeof old);
          memcpy(w->extra.data() + nIndex, &value, sizeof value);
          break;
        }
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
  }
  if (styleChanged) Configure(hWnd);
  return old;
}

LONG WINAPI GetWindowLongW(HWND hWnd, int nIndex) { return static_cast<LONG>(GetWindowLongPtrW(hWnd, nIndex)); }
LONG WINAPI SetWindowLongW(HWND hWnd, int nIndex, LONG value) {
  return static_cast<LONG>(SetWindowLongPtrW(hWnd, nIndex, value));
}

namespace {
std::wstring PropKey(LPCWSTR name) {
  if (IS_INTRESOURCE(name)) return L"#" + std::to_wstring(reinterpret_cast<ULONG_PTR>(name));
  std::wstring key(name);
  for (auto& c : key) c = static_cast<wchar_t>(std::towlower(c));
  return key;
}
}  // namespace

BOOL WINAPI SetPropW(HWND hWnd, LPCWSTR lpString, HANDLE hData) {
  if (!lpString) return FALSE;
  std::lock_guard<std::mutex> lock(Lock());
  Window* w = Find(hWnd);
  if (!w) return FALSE;
  w->props[PropKey(lpString)] = hData;
  return TRUE;
}

HANDLE WINAPI GetPropW(HWND hWnd, LPCWSTR lpString) {
  if (!lpString) return nullptr;
  std::lock_guard<std::mutex> lock(Lock());
  Window* w = Find(hWnd);
  if (!w) return nullptr;
  auto it = w->props.find(PropKey(lpString));
  return it == w->props.end() ? nullptr : it->second;
}

HANDLE WINAPI RemovePropW(HWND hWnd, LPCWSTR lpString) {
  if (!lpString) return nullptr;
  std::lock_guard<std::mutex> lock(Lock());
  Window* w = Find(hWnd);
  if (!w) return nullptr;
  auto it = w->props.find(PropKey(lpString));
  if (it == w->props.end()) return nullptr;
  HANDLE h = it->second;
  w->props.erase(it);
  return h;
}

// --- Relations and states ---

BOOL WINAPI IsWindow(HWND hWnd) {
  std::lock_guard<std::mutex> lock(Lock());
  return Find(hWnd) != nullptr;
}

BOOL WINAPI IsWindowVisible(HWND hWnd) {
  std::lock_guard<std::mutex> lock(Lock());
  Window* w = Find(hWnd);
  return w && IsVisibleChain(*w);
}

BOOL WINAPI IsWindowEnabled(HWND hWnd) {
  std::lock_guard<std::mutex> lock(Lock());
  Window* w = Find(hWnd);
  return w && !(w->style & WS_DISABLED);
}

BOOL WINAPI EnableWindow(HWND hWnd, BOOL bEnable) {
  bool wasDisabled;
  {
    std::lock_guard<std::mutex> lock(Lock());
    Window* w = Find(hWnd);
    if (!w) return FALSE;
    wasDisabled = w->style & WS_DISABLED;
    if (wasDisabled == !bEnable) return wasDisabled;
    if (bEnable)
      w->style &= ~static_cast<DWORD>(WS_DISABLED);
    else
      w->style |= WS_DISABLED;
  }
  if (!bEnable) {
    HWND focus = GetFocus();
    if (focus == hWnd || IsChild(hWnd, focus)) SetFocus(nullptr);
    if (GetCapture() == hWnd) ReleaseCapture();
  }
  SendMessageW(hWnd, WM_ENABLE, bEnable ? TRUE : FALSE, 0);
  return wasDisabled;
}

BOOL WINAPI IsZoomed(HWND hWnd) {
  std::lock_guard<std::mutex> lock(Lock());
  Window* w = Find(hWnd);
  return w && (w->style & WS_MAXIMIZE);
}

BOOL WINAPI IsIconic(HWND hWnd) {
  std::lock_guard<std::mutex> lock(Lock());
  Window* w = Find(hWnd);
  return w && (w->style & WS_MINIMIZE);
}

BOOL WINAPI IsChild(HWND hWndParent, HWND hWnd) {
  std::lock_guard<std::mutex> lock(Lock());
  Window* w = Find(hWnd);
  while (w && w->parent) {
    if (w->parent == hWndParent) return TRUE;
    w = Find(w->parent);
  }
  return FALSE;
}

HWND WINAPI GetParent(HWND hWnd) {
  std::lock_guard<std::mutex> lock(Lock());
  Window* w = Find(hWnd);
  if (!w) return nullptr;
  return w->parent ? w->parent : w->owner;
}

HWND WINAPI GetWindow(HWND hWnd, UINT uCmd) {
  std::lock_guard<std::mutex> lock(Lock());
  Window* w = Find(hWnd);
  if (!w || uCmd != GW_OWNER) return nullptr;
  return w->owner;
}

HWND WINAPI GetAncestor(HWND hwnd, UINT gaFlags) {
  std::lock_guard<std::mutex> lock(Lock());
  Window* w = Find(hwnd);
  if (!w) return nullptr;
  switch (gaFlags) {
    case GA_PARENT: return w->parent;
    case GA_ROOT: return RootOf(hwnd);
    case GA_ROOTOWNER: {
      Window* r = Find(RootOf(hwnd));
      while (r && r->owner && Find(r->owner)) r = Find(r->owner);
      return r ? r->handle : nullptr;
    }
    default: return nullptr;
  }
}

HWND WINAPI GetDesktopWindow() { return nullptr; }

DWORD WINAPI GetWindowThreadProcessId(HWND hWnd, LPDWORD lpdwProcessId) {
  std::lock_guard<std::mutex> lock(Lock());
  Window* w = Find(hWnd);
  if (!w) return 0;
  if (lpdwProcessId) *lpdwProcessId = static_cast<DWORD>(getpid());
  return w->queue->threadId;
}

HWND WINAPI FindWindowW(LPCWSTR lpClassName, LPCWSTR lpWindowName) {
  std::lock_guard<std::mutex> lock(Lock());
  auto cls = lpClassName ? FindClassLocked(lpClassName) : nullptr;
  if (lpClassName && !cls) return nullptr;
  for (HWND h : S().topLevels) {
    Window* w = Find(h);
    if (!w || (cls && w->cls != cls)) continue;
    if (lpWindowName && w->text != lpWindowName) continue;
    return h;
  }
  return nullptr;
}

HWND WINAPI WindowFromPoint(POINT Point) {
  std::lock_guard<std::mutex> lock(Lock());
  return WindowFromPointLocked(Point);
}

// --- Text ---

BOOL WINAPI SetWindowTextW(HWND hWnd, LPCWSTR lpString) {
  return SendMessageW(hWnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(lpString)) ? TRUE : FALSE;
}

int WINAPI GetWindowTextW(HWND hWnd, LPWSTR lpString, int nMaxCount) {
  if (!lpString || nMaxCount <= 0) return 0;
  lpString[0] = 0;
  return static_cast<int>(SendMessageW(hWnd, WM_GETTEXT, static_cast<WPARAM>(nMaxCount), reinterpret_cast<LPARAM>(lpString)));
}

int WINAPI GetWindowTextLengthW(HWND hWnd) { return static_cast<int>(SendMessageW(hWnd, WM_GETTEXTLENGTH, 0, 0)); }

BOOL WINAPI UpdateWindow(HWND hWnd) {
  bool needs;
  {
    std::lock_guard<std::mutex> lock(Lock());
    Window* w = Find(hWnd);
    if (!w) return FALSE;
    needs = w->update && !cairo_region_is_empty(w->update) && IsVisibleChain(*w);
  }
  if (needs) SendMessageW(hWnd, WM_PAINT, 0, 0);
  return TRUE;
}

HMENU WINAPI GetMenu(HWND hWnd) {
  std::lock_guard<std::mutex> lock(Lock());
  Window* w = Find(hWnd);
  return w ? w->menu : nullptr;
}
