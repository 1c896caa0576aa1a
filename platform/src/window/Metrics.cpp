// System metrics, the one monitor, and user32's rectangle helpers.
#include <algorithm>

#include "window/Backend.h"
#include "window/State.h"

namespace {
// The one monitor's handle.
HMONITOR const kMonitor = reinterpret_cast<HMONITOR>(0x4D4F4E31);

RECT Screen() { return platform::window::Backend().ScreenRect(); }
}  // namespace

int WINAPI GetSystemMetrics(int nIndex) {
  RECT s = Screen();
  RECT work = platform::window::Backend().WorkArea();
  switch (nIndex) {
    case SM_CXSCREEN:
    case SM_CXVIRTUALSCREEN:
    case SM_CXMAXIMIZED:
      return s.right - s.left;
    case SM_CYSCREEN:
    case SM_CYVIRTUALSCREEN:
    case SM_CYMAXIMIZED:
      return s.bottom - s.top;
    case SM_CXFULLSCREEN: return work.right - work.left;
    case SM_CYFULLSCREEN: return work.bottom - work.top - 23;
    case SM_CXMAXTRACK: return s.right - s.left + 16;
    case SM_CYMAXTRACK: return s.bottom - s.top + 16;
    case SM_CXVSCROLL:
    case SM_CYHSCROLL: return 17;
    case SM_CYCAPTION: return 23;
    case SM_CXBORDER:
    case SM_CYBORDER: return 1;
    case SM_CXDLGFRAME:
    case SM_CYDLGFRAME: return 3;
    case SM_CXFRAME:
    case SM_CYFRAME: return 4;
    case SM_CXPADDEDBORDER: return 4;
    case SM_CXICON:
    case SM_CYICON:
    case SM_CXCURSOR:
    case SM_CYCURSOR: return 32;
    case SM_CXSMICON:
    case SM_CYSMICON: return 16;
    case SM_CYMENU: return 20;
    case SM_CXMIN: return 136;
    case SM_CYMIN: return 39;
    case SM_CXSIZE:
    case SM_CYSIZE: return 23;
    case SM_CXMINTRACK: return 136;
    case SM_CYMINTRACK: return 39;
    case SM_CXDOUBLECLK:
    case SM_CYDOUBLECLK: return 4;
    case SM_CMONITORS: return 1;
    default: return 0;
  }
}

HMONITOR WINAPI MonitorFromPoint(POINT pt, DWORD dwFlags) {
  RECT s = Screen();
  if (dwFlags == MONITOR_DEFAULTTONULL && !PtInRect(&s, pt)) return nullptr;
  return kMonitor;
}

HMONITOR WINAPI MonitorFromRect(LPCRECT lprc, DWORD dwFlags) {
  RECT s = Screen(), overlap;
  if (dwFlags == MONITOR_DEFAULTTONULL && (!lprc || !IntersectRect(&overlap, lprc, &s))) return nullptr;
  return kMonitor;
}

HMONITOR WINAPI MonitorFromWindow(HWND hwnd, DWORD dwFlags) {
  RECT r;
  if (!GetWindowRect(hwnd, &r)) return dwFlags == MONITOR_DEFAULTTONULL ? nullptr : kMonitor;
  if (IsIconic(hwnd)) return kMonitor;
  return MonitorFromRect(&r, dwFlags);
}

BOOL WINAPI GetMonitorInfoW(HMONITOR hMonitor, LPMONITORINFO lpmi) {
  if (hMonitor != kMonitor || !lpmi ||
      (lpmi->cbSize != sizeof(MONITORINFO) && lpmi->cbSize != sizeof(MONITORINFOEXW)))
    return FALSE;
  lpmi->rcMonitor = Screen();
  lpmi->rcWork = platform::window::Backend().WorkArea();
  lpmi->dwFlags = MONITORINFOF_PRIMARY;
  if (lpmi->cbSize == sizeof(MONITORINFOEXW)) {
    const wchar_t name[] = L"\\\\.\\DISPLAY1";
    std::copy(std::begin(name), std::end(name), reinterpret_cast<MONITORINFOEXW*>(lpmi)->szDevice);
  }
  return TRUE;
}

BOOL WINAPI SystemParametersInfoW(UINT uiAction, UINT, PVOID pvParam, UINT) {
  if (uiAction == SPI_GETWORKAREA && pvParam) {
    *static_cast<RECT*>(pvParam) = platform::window::Backend().WorkArea();
    return TRUE;
  }
  return FALSE;
}

BOOL WINAPI SetRect(LPRECT r, int l, int t, int rt, int b) {
  if (!r) return FALSE;
  *r = RECT{l, t, rt, b};
  return TRUE;
}
BOOL WINAPI SetRectEmpty(LPRECT r) { return SetRect(r, 0, 0, 0, 0); }
BOOL WINAPI CopyRect(LPRECT d, const RECT* s) {
  if (!d || !s) return FALSE;
  *d = *s;
  return TRUE;
}
BOOL WINAPI IsRectEmpty(const RECT* r) { return !r || r->right <= r->left || r->bottom <= r->top; }
BOOL WINAPI PtInRect(const RECT* r, POINT p) {
  return r && p.x >= r->left && p.x < r->right && p.y >= r->top && p.y < r->bottom;
}
BOOL WINAPI OffsetRect(LPRECT r, int dx, int dy) {
  if (!r) return FALSE;
  r->left += dx;
  r->right += dx;
  r->top += dy;
  r->bottom += dy;
  return TRUE;
}
BOOL WINAPI InflateRect(LPRECT r, int dx, int dy) {
  if (!r) return FALSE;
  r->left -= dx;
  r->right += dx;
  r->top -= dy;
  r->bottom += dy;
  return TRUE;
}
BOOL WINAPI IntersectRect(LPRECT d, const RECT* a, const RECT* b) {
  if (!d || !a || !b) return FALSE;
  RECT r{std::max(a->left, b->left), std::max(a->top, b->top), std::min(a->right, b->right),
         std::min(a->bottom, b->bottom)};
  if (IsRectEmpty(&r)) {
    *d = RECT{0, 0, 0, 0};
    return FALSE;
  }
  *d = r;
  return TRUE;
}
BOOL WINAPI UnionRect(LPRECT d, const RECT* a, const RECT* b) {
  if (!d || !a || !b) return FALSE;
  if (IsRectEmpty(a)) {
    *d = IsRectEmpty(b) ? RECT{0, 0, 0, 0} : *b;
  } else if (IsRectEmpty(b)) {
    *d = *a;
  } else {
    *d = RECT{std::min(a->left, b->left), std::min(a->top, b->top), std::max(a->right, b->right),
              std::max(a->bottom, b->bottom)};
  }
  return !IsRectEmpty(d);
}
BOOL WINAPI EqualRect(const RECT* a, const RECT* b) {
  return a && b && a->left == b->left && a->top == b->top && a->right == b->right && a->bottom == b->bottom;
}
