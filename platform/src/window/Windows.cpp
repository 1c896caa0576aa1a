// Window classes and windows: registration, creation and destruction in
// Win32's message order, window longs and properties, geometry, showing,
// stacking and window regions.
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

#include "bridge/Bridge.h"
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

bool SameName(const std::wstring& a, LPCWSTR b) {
  if (!b) return false;
  size_t n = wcslen(b);
  if (n != a.size()) return false;
  for (size_t i = 0; i < n; ++i)
    if (std::towlower(a[i]) != std::towlower(b[i])) return false;
  return true;
}

std::shared_ptr<WindowClass> FindClassLocked(LPCWSTR name) {
  for (auto& c : S().classes) {
    if (IS_INTRESOURCE(name) ? c->atom == static_cast<ATOM>(reinterpret_cast<ULONG_PTR>(name)) : SameName(c->name, name))
      return c;
  }
  return nullptr;
}

NativeView ViewOf(const Window& w) {
  return NativeView{w.handle, WindowRectOnScreen(w), w.style, w.exStyle, w.owner,
                    IsVisibleChain(w) && !(w.style & WS_MINIMIZE), (w.exStyle & WS_EX_TOPMOST) != 0};
}

bool HasNative(const Window& w) { return !w.parent && !w.messageOnly; }

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

void RegisterBuiltinClassLocked(const WNDCLASSEXW& wc) {
  if (FindClassLocked(wc.lpszClassName)) return;
  auto c = std::make_shared<WindowClass>();
  c->name = wc.lpszClassName;
  c->style = wc.style | CS_GLOBALCLASS;
  c->proc = wc.lpfnWndProc;
  c->cursor = wc.hCursor;
  c->background = wc.hbrBackground;
  c->atom = S().nextAtom++;
  S().classes.push_back(c);
}

}  // namespace platform::window

using namespace platform::window;

// --- Classes ---

ATOM WINAPI RegisterClassExW(const WNDCLASSEXW* wc) {
  if (!wc || wc->cbSize != sizeof(WNDCLASSEXW) || !wc->lpszClassName || !wc->lpfnWndProc || wc->cbClsExtra < 0 ||
      wc->cbWndExtra < 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  RegisterSystemClasses();
  std::lock_guard<std::mutex> lock(Lock());
  if (!IS_INTRESOURCE(wc->lpszClassName) && FindClassLocked(wc->lpszClassName)) {
    SetLastError(ERROR_CLASS_ALREADY_EXISTS);
    return 0;
  }
  auto c = std::make_shared<WindowClass>();
  c->name = IS_INTRESOURCE(wc->lpszClassName) ? L"" : wc->lpszClassName;
  c->style = wc->style;
  c->proc = wc->lpfnWndProc;
  c->classExtra = wc->cbClsExtra;
  c->windowExtra = wc->cbWndExtra;
  c->instance = wc->hInstance;
  c->icon = wc->hIcon;
  c->iconSmall = wc->hIconSm;
  c->cursor = wc->hCursor;
  c->background = wc->hbrBackground;
  c->atom = S().nextAtom++;
  S().classes.push_back(c);
  return c->atom;
}

ATOM WINAPI RegisterClassW(const WNDCLASSW* wc) {
  if (!wc) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  WNDCLASSEXW ex{sizeof(WNDCLASSEXW), wc->style, wc->lpfnWndProc, wc->cbClsExtra, wc->cbWndExtra, wc->hInstance,
                 wc->hIcon, wc->hCursor, wc->hbrBackground, wc->lpszMenuName, wc->lpszClassName, nullptr};
  return RegisterClassExW(&ex);
}

BOOL WINAPI UnregisterClassW(LPCWSTR lpClassName, HINSTANCE) {
  std::lock_guard<std::mutex> lock(Lock());
  auto c = FindClassLocked(lpClassName);
  if (!c) {
    SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
    return FALSE;
  }
  for (auto& [h, w] : S().windows)
    if (w->cls == c) {
      SetLastError(ERROR_CLASS_HAS_WINDOWS);
      return FALSE;
    }
  std::erase(S().classes, c);
  return TRUE;
}

BOOL WINAPI GetClassInfoExW(HINSTANCE, LPCWSTR lpszClass, LPWNDCLASSEXW wc) {
  RegisterSystemClasses();
  std::lock_guard<std::mutex> lock(Lock());
  auto c = FindClassLocked(lpszClass);
  if (!c || !wc) {
    SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
    return FALSE;
  }
  wc->style = c->style;
  wc->lpfnWndProc = c->proc;
  wc->cbClsExtra = c->classExtra;
  wc->cbWndExtra = c->windowExtra;
  wc->hInstance = c->instance;
  wc->hIcon = c->icon;
  wc->hCursor = c->cursor;
  wc->hbrBackground = c->background;
  wc->lpszMenuName = nullptr;
  wc->lpszClassName = lpszClass;
  wc->hIconSm = c->iconSmall;
  return c->atom;
}

BOOL WINAPI GetClassInfoW(HINSTANCE hInstance, LPCWSTR lpClassName, LPWNDCLASSW wc) {
  WNDCLASSEXW ex{};
  ex.cbSize = sizeof ex;
  if (!GetClassInfoExW(hInstance, lpClassName, &ex) || !wc) return FALSE;
  *wc = WNDCLASSW{ex.style, ex.lpfnWndProc, ex.cbClsExtra, ex.cbWndExtra, ex.hInstance,
                  ex.hIcon, ex.hCursor, ex.hbrBackground, nullptr, lpClassName};
  return TRUE;
}

int WINAPI GetClassNameW(HWND hWnd, LPWSTR lpClassName, int nMaxCount) {
  std::lock_guard<std::mutex> lock(Lock());
  Window* w = Find(hWnd);
  if (!w || !lpClassName || nMaxCount <= 0) return 0;
  size_t n = std::min<size_t>(w->cls->name.size(), static_cast<size_t>(nMaxCount - 1));
  std::copy_n(w->cls->name.data(), n, lpClassName);
  lpClassName[n] = 0;
  return static_cast<int>(n);
}

ULONG_PTR WINAPI GetClassLongPtrW(HWND hWnd, int nIndex) {
  std::lock_guard<std::mutex> lock(Lock());
  Window* w = Find(hWnd);
  if (!w) return 0;
  switch (nIndex) {
    case GCLP_HCURSOR: return reinterpret_cast<ULONG_PTR>(w->cls->cursor);
    case GCLP_HICON: return reinterpret_cast<ULONG_PTR>(w->cls->icon);
    case GCL_STYLE: return w->cls->style;
    default: return 0;
  }
}

ULONG_PTR WINAPI SetClassLongPtrW(HWND hWnd, int nIndex, LONG_PTR value) {
  std::lock_guard<std::mutex> lock(Lock());
  Window* w = Find(hWnd);
  if (!w) return 0;
  ULONG_PTR old = 0;
  switch (nIndex) {
    case GCLP_HCURSOR:
      old = reinterpret_cast<ULONG_PTR>(w->cls->cursor);
      w->cls->cursor = reinterpret_cast<HCURSOR>(value);
      break;
    case GCLP_HICON:
      old = reinterpret_cast<ULONG_PTR>(w->cls->icon);
      w->cls->icon = reinterpret_cast<HICON>(value);
      break;
    case GCL_STYLE:
      old = w->cls->style;
      w->cls->style = static_cast<UINT>(value);
      break;
    default: break;
  }
  return old;
}

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

// --- Geometry ---

BOOL WINAPI GetWindowRect(HWND hWnd, LPRECT lpRect) {
  std::lock_guard<std::mutex> lock(Lock());
  Window* w = Find(hWnd);
  if (!w || !lpRect) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  *lpRect = WindowRectOnScreen(*w);
  return TRUE;
}

BOOL WINAPI GetClientRect(HWND hWnd, LPRECT lpRect) {
  std::lock_guard<std::mutex> lock(Lock());
  Window* w = Find(hWnd);
  if (!w || !lpRect) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  *lpRect = ClientRectOf(*w);
  return TRUE;
}

BOOL WINAPI ScreenToClient(HWND hWnd, LPPOINT lpPoint) {
  std::lock_guard<std::mutex> lock(Lock());
  Window* w = Find(hWnd);
  if (!w || !lpPoint) return FALSE;
  POINT o = ClientOriginOnScreen(*w);
  lpPoint->x -= o.x;
  lpPoint->y -= o.y;
  return TRUE;
}

BOOL WINAPI ClientToScreen(HWND hWnd, LPPOINT lpPoint) {
  std::lock_guard<std::mutex> lock(Lock());
  Window* w = Find(hWnd);
  if (!w || !lpPoint) return FALSE;
  POINT o = ClientOriginOnScreen(*w);
  lpPoint->x += o.x;
  lpPoint->y += o.y;
  return TRUE;
}

int WINAPI MapWindowPoints(HWND hWndFrom, HWND hWndTo, LPPOINT lpPoints, UINT cPoints) {
  std::lock_guard<std::mutex> lock(Lock());
  POINT from{0, 0}, to{0, 0};
  if (Window* w = Find(hWndFrom)) from = ClientOriginOnScreen(*w);
  if (Window* w = Find(hWndTo)) to = ClientOriginOnScreen(*w);
  LONG dx = from.x - to.x, dy = from.y - to.y;
  for (UINT i = 0; lpPoints && i < cPoints; ++i) {
    lpPoints[i].x += dx;
    lpPoints[i].y += dy;
  }
  return MAKELONG(static_cast<WORD>(dx), static_cast<WORD>(dy));
}

BOOL WINAPI AdjustWindowRectEx(LPRECT lpRect, DWORD dwStyle, BOOL bMenu, DWORD dwExStyle) {
  if (!lpRect) return FALSE;
  RECT f = FrameInsets(dwStyle, dwExStyle);
  lpRect->left -= f.left;
  lpRect->top -= f.top + (bMenu ? 20 : 0);
  lpRect->right += f.right;
  lpRect->bottom += f.bottom;
  return TRUE;
}

BOOL WINAPI AdjustWindowRect(LPRECT lpRect, DWORD dwStyle, BOOL bMenu) {
  return AdjustWindowRectEx(lpRect, dwStyle, bMenu, 0);
}

HMENU WINAPI GetMenu(HWND hWnd) {
  std::lock_guard<std::mutex> lock(Lock());
  Window* w = Find(hWnd);
  return w ? w->menu : nullptr;
}

BOOL WINAPI SetWindowPos(HWND hWnd, HWND hWndInsertAfter, int X, int Y, int cx, int cy, UINT uFlags) {
  WINDOWPOS wp{};
  RECT oldRect, oldClient;
  bool wasVisible;
  {
    std::lock_guard<std::mutex> lock(Lock());
    Window* w = Find(hWnd);
    if (!w) {
      SetLastError(ERROR_INVALID_WINDOW_HANDLE);
      return FALSE;
    }
    oldRect = w->rect;
    oldClient = w->client;
    wasVisible = w->style & WS_VISIBLE;
    if (uFlags & SWP_NOMOVE) {
      X = w->rect.left;
      Y = w->rect.top;
    }
    if (uFlags & SWP_NOSIZE) {
      cx = w->rect.right - w->rect.left;
      cy = w->rect.bottom - w->rect.top;
    }
    wp = WINDOWPOS{hWnd, hWndInsertAfter, X, Y, cx, cy, uFlags};
  }
  if (!(uFlags & SWP_NOSENDCHANGING)) SendMessageW(hWnd, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&wp));
  wp.x = std::clamp(wp.x, -kMaxPosition, kMaxPosition);
  wp.y = std::clamp(wp.y, -kMaxPosition, kMaxPosition);
  wp.cx = std::clamp(wp.cx, 0, kMaxWindowSize);
  wp.cy = std::clamp(wp.cy, 0, kMaxWindowSize);
  RECT newRect{wp.x, wp.y, wp.x + wp.cx, wp.y + wp.cy};
  bool moved = newRect.left != oldRect.left || newRect.top != oldRect.top;
  bool sized = newRect.right - newRect.left != oldRect.right - oldRect.left ||
               newRect.bottom - newRect.top != oldRect.bottom - oldRect.top;
  bool frame = uFlags & SWP_FRAMECHANGED;
  RECT clientInParent{oldRect.left + oldClient.left, oldRect.top + oldClient.top, oldRect.left + oldClient.right,
                      oldRect.top + oldClient.bottom};
  RECT newClient = clientInParent;
  OffsetRect(&newClient, newRect.left - oldRect.left, newRect.top - oldRect.top);
  if (sized || frame) {
    NCCALCSIZE_PARAMS p{};
    p.rgrc[0] = newRect;
    p.rgrc[1] = oldRect;
    p.rgrc[2] = clientInParent;
    p.lppos = &wp;
    SendMessageW(hWnd, WM_NCCALCSIZE, TRUE, reinterpret_cast<LPARAM>(&p));
    newClient = p.rgrc[0];
  }
  bool show = (wp.flags & SWP_SHOWWINDOW) && !wasVisible;
  bool hide = (wp.flags & SWP_HIDEWINDOW) && wasVisible;
  bool native = false, top = false;
  NativeView view{};
  {
    std::lock_guard<std::mutex> lock(Lock());
    Window* w = Find(hWnd);
    if (!w) return FALSE;
    int oldW = w->client.right - w->client.left, oldH = w->client.bottom - w->client.top;
    w->rect = newRect;
    w->client = RECT{newClient.left - newRect.left, newClient.top - newRect.top, newClient.right - newRect.left,
                     newClient.bottom - newRect.top};
    if (w->client.right < w->client.left) w->client.right = w->client.left;
    if (w->client.bottom < w->client.top) w->client.bottom = w->client.top;
    int newW = w->client.right - w->client.left, newH = w->client.bottom - w->client.top;
    if (show) w->style |= WS_VISIBLE;
    if (hide) w->style &= ~static_cast<DWORD>(WS_VISIBLE);
    paint::EnsureSurface(*w);
    bool redrawAll = frame || show || ((w->cls->style & CS_HREDRAW) && newW != oldW) ||
                     ((w->cls->style & CS_VREDRAW) && newH != oldH);
    if (redrawAll) {
      paint::InvalidateLocked(*w, nullptr, true);
    } else if (newW > oldW || newH > oldH) {
      RECT right{oldW, 0, newW, newH}, bottom{0, oldH, newW, newH};
      if (newW > oldW) paint::InvalidateLocked(*w, &right, true);
      if (newH > oldH) paint::InvalidateLocked(*w, &bottom, true);
    }
    if (!(wp.flags & SWP_NOZORDER) && !w->parent && !w->messageOnly) {
      auto& z = S().topLevels;
      HWND after = wp.hwndInsertAfter;
      if (after == HWND_TOPMOST) w->exStyle |= WS_EX_TOPMOST;
      if (after == HWND_NOTOPMOST) w->exStyle &= ~static_cast<DWORD>(WS_EX_TOPMOST);
      std::erase(z, hWnd);
      if (after == HWND_BOTTOM) {
        z.push_back(hWnd);
      } else if (after == HWND_TOP || after == HWND_TOPMOST || after == HWND_NOTOPMOST) {
        auto at = (w->exStyle & WS_EX_TOPMOST) ? z.begin() : std::find_if(z.begin(), z.end(), [](HWND h) {
          Window* o = Find(h);
          return !o || !(o->exStyle & WS_EX_TOPMOST);
        });
        z.insert(at, hWnd);
      } else {
        auto it = std::find(z.begin(), z.end(), after);
        z.insert(it == z.end() ? z.begin() : it + 1, hWnd);
      }
    }
    native = HasNative(*w);
    top = !w->parent;
    view = ViewOf(*w);
  }
  if (native) Backend().Configure(view);
  if (show && top && !(wp.flags & SWP_NOACTIVATE)) input::Activate(hWnd, WA_ACTIVE);
  if (hide) {
    input::Deactivate(hWnd);
    if (GetCapture() == hWnd) ReleaseCapture();
  }
  if (!(wp.flags & SWP_NOREDRAW) && (moved || sized || frame || show || hide)) paint::Present(hWnd, nullptr);
  if (!moved) wp.flags |= SWP_NOMOVE;
  if (!sized && !frame) wp.flags |= SWP_NOSIZE;
  SendMessageW(hWnd, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&wp));
  return TRUE;
}

BOOL WINAPI MoveWindow(HWND hWnd, int X, int Y, int nWidth, int nHeight, BOOL bRepaint) {
  return SetWindowPos(hWnd, nullptr, X, Y, nWidth, nHeight,
                      SWP_NOZORDER | SWP_NOACTIVATE | (bRepaint ? 0 : SWP_NOREDRAW));
}

BOOL WINAPI BringWindowToTop(HWND hWnd) { return SetWindowPos(hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE); }

BOOL WINAPI ShowWindow(HWND hWnd, int nCmdShow) {
  bool wasVisible, minimized, maximized;
  RECT restore;
  {
    std::lock_guard<std::mutex> lock(Lock());
    Window* w = Find(hWnd);
    if (!w) {
      SetLastError(ERROR_INVALID_WINDOW_HANDLE);
      return FALSE;
    }
    wasVisible = w->style & WS_VISIBLE;
    minimized = w->style & WS_MINIMIZE;
    maximized = w->style & WS_MAXIMIZE;
    restore = w->restore;
  }
  auto setState = [&](DWORD add, DWORD remove) {
    std::lock_guard<std::mutex> lock(Lock());
    Window* w = Find(hWnd);
    if (!w) return;
    if (!(w->style & (WS_MINIMIZE | WS_MAXIMIZE)) && (add & (WS_MINIMIZE | WS_MAXIMIZE))) w->restore = w->rect;
    w->style = (w->style | add) & ~remove;
  };
  UINT showFlag = wasVisible ? 0 : SWP_SHOWWINDOW;
  if (!wasVisible && nCmdShow != SW_HIDE) SendMessageW(hWnd, WM_SHOWWINDOW, TRUE, 0);
  switch (nCmdShow) {
    case SW_HIDE:
      if (!wasVisible) return FALSE;
      SendMessageW(hWnd, WM_SHOWWINDOW, FALSE, 0);
      SetWindowPos(hWnd, nullptr, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      break;
    case SW_MINIMIZE:
    case SW_SHOWMINIMIZED:
    case SW_SHOWMINNOACTIVE:
      if (!minimized) {
        setState(WS_MINIMIZE, WS_MAXIMIZE);
        SetWindowPos(hWnd, nullptr, -32000, -32000, 160, 28,
                     showFlag | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        if (nCmdShow != SW_SHOWMINNOACTIVE) input::Deactivate(hWnd);
      }
      break;
    case SW_MAXIMIZE: {
      if (!maximized) {
        MINMAXINFO mmi = QueryMinMax(hWnd);
        HMONITOR mon = MonitorFromWindow(hWnd, MONITOR_DEFAULTTONEAREST);
        MONITORINFO mi{sizeof(MONITORINFO), {}, {}, 0};
        GetMonitorInfoW(mon, &mi);
        setState(WS_MAXIMIZE, WS_MINIMIZE);
        LONG cx = std::min(mmi.ptMaxSize.x, mmi.ptMaxTrackSize.x);
        LONG cy = std::min(mmi.ptMaxSize.y, mmi.ptMaxTrackSize.y);
        SetWindowPos(hWnd, nullptr, mi.rcMonitor.left + mmi.ptMaxPosition.x, mi.rcMonitor.top + mmi.ptMaxPosition.y, cx,
                     cy, showFlag | SWP_NOZORDER | SWP_FRAMECHANGED);
      } else if (!wasVisible) {
        SetWindowPos(hWnd, nullptr, 0, 0, 0, 0, SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
      }
      input::Activate(hWnd, WA_ACTIVE);
      break;
    }
    case SW_RESTORE:
    case SW_SHOWNORMAL:
    case SW_SHOWDEFAULT:
    case SW_SHOWNOACTIVATE:
      if (minimized || maximized) {
        setState(0, WS_MINIMIZE | WS_MAXIMIZE);
        SetWindowPos(hWnd, nullptr, restore.left, restore.top, restore.right - restore.left,
                     restore.bottom - restore.top,
                     showFlag | SWP_NOZORDER | SWP_FRAMECHANGED | (nCmdShow == SW_SHOWNOACTIVATE ? SWP_NOACTIVATE : 0));
      } else if (!wasVisible) {
        SetWindowPos(hWnd, nullptr, 0, 0, 0, 0,
                     SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE | (nCmdShow == SW_SHOWNOACTIVATE ? SWP_NOACTIVATE : 0));
      }
      if (nCmdShow != SW_SHOWNOACTIVATE) input::Activate(hWnd, WA_ACTIVE);
      break;
    case SW_SHOWNA:
      if (!wasVisible)
        SetWindowPos(hWnd, nullptr, 0, 0, 0, 0, SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOZORDER);
      break;
    case SW_SHOW:
    default:
      if (!wasVisible) SetWindowPos(hWnd, nullptr, 0, 0, 0, 0, SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE);
      break;
  }
  return wasVisible;
}

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

// --- Window regions ---

int WINAPI SetWindowRgn(HWND hWnd, HRGN hRgn, BOOL bRedraw) {
  const cairo_region_t* region = hRgn ? platform::bridge::RegionOf(hRgn) : nullptr;
  HRGN oldHandle;
  NativeView view{};
  bool native;
  {
    std::lock_guard<std::mutex> lock(Lock());
    Window* w = Find(hWnd);
    if (!w) {
      SetLastError(ERROR_INVALID_WINDOW_HANDLE);
      return 0;
    }
    if (w->shape) cairo_region_destroy(w->shape);
    w->shape = region ? cairo_region_copy(region) : nullptr;
    oldHandle = w->shapeHandle;
    w->shapeHandle = hRgn;
    native = HasNative(*w);
    view = ViewOf(*w);
  }
  if (oldHandle && oldHandle != hRgn) DeleteObject(oldHandle);
  if (native) Backend().SetShape(hWnd, region);
  (void)view;
  if (bRedraw) paint::Present(hWnd, nullptr);
  return 1;
}

int WINAPI GetWindowRgn(HWND hWnd, HRGN hRgn) {
  std::lock_guard<std::mutex> lock(Lock());
  Window* w = Find(hWnd);
  if (!w || !w->shape || !hRgn) return 0;  // ERROR
  const cairo_region_t* target = platform::bridge::RegionOf(hRgn);
  if (!target) return 0;
  cairo_region_t* dst = const_cast<cairo_region_t*>(target);
  cairo_region_subtract(dst, dst);
  cairo_region_union(dst, w->shape);
  return cairo_region_num_rectangles(dst) > 1 ? 3 : (cairo_region_is_empty(dst) ? 1 : 2);
}
