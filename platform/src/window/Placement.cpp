// Where windows are: rectangles and coordinate mapping, SetWindowPos
// (with WM_WINDOWPOSCHANGING, WM_NCCALCSIZE and WM_WINDOWPOSCHANGED),
// ShowWindow (showing, hiding, minimising, maximising, restoring),
// stacking, and window regions.
#include <algorithm>

#include "bridge/Bridge.h"
#include "win32/Errors.h"
#include "win32/Gdi.h"
#include "window/Backend.h"
#include "window/Input.h"
#include "window/Paint.h"
#include "window/State.h"

namespace platform::window {
MINMAXINFO QueryMinMax(HWND hwnd);
}  // namespace platform::window

using namespace platform::window;

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
