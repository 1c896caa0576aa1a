// The default window procedure: text, icons, non-client geometry and hit
// testing, cursors, activation, the caption-drag and border-resize loops,
// system commands, and WM_SIZE/WM_MOVE after position changes.
//
// Dragging follows Win32: WM_NCLBUTTONDOWN on HTCAPTION or a border code
// sends WM_SYSCOMMAND SC_MOVE/SC_SIZE, whose default handling captures the
// mouse and runs its own message loop until the button is released
// (Escape puts the window back). Each step goes through SetWindowPos, so
// WM_WINDOWPOSCHANGING and WM_GETMINMAXINFO limit it.
#include <algorithm>
#include <cstring>

#include "window/Backend.h"
#include "window/Paint.h"
#include "window/State.h"

namespace platform::window {

MINMAXINFO QueryMinMax(HWND hwnd) {
  MINMAXINFO mmi{};
  RECT work = Backend().WorkArea(), screen = Backend().ScreenRect();
  RECT f{};
  {
    std::lock_guard<std::mutex> lock(Lock());
    if (Window* w = Find(hwnd)) f = FrameInsets(w->style, w->exStyle);
  }
  LONG border = f.left;
  mmi.ptMaxSize = POINT{work.right - work.left + 2 * border, work.bottom - work.top + 2 * border};
  mmi.ptMaxPosition = POINT{work.left - screen.left - border, work.top - screen.top - border};
  bool framed = f.left > 0 || f.top > 0;
  mmi.ptMinTrackSize = framed ? POINT{GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK)} : POINT{0, 0};
  mmi.ptMaxTrackSize = POINT{GetSystemMetrics(SM_CXMAXTRACK), GetSystemMetrics(SM_CYMAXTRACK)};
  SendMessageW(hwnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmi));
  return mmi;
}

namespace {

LRESULT HitTest(HWND hwnd, POINT pt) {
  std::lock_guard<std::mutex> lock(Lock());
  Window* w = Find(hwnd);
  if (!w) return HTNOWHERE;
  RECT r = WindowRectOnScreen(*w);
  if (!PtInRect(&r, pt)) return HTNOWHERE;
  POINT o = ClientOriginOnScreen(*w);
  RECT client = ClientRectOf(*w);
  OffsetRect(&client, o.x, o.y);
  if (PtInRect(&client, pt)) return HTCLIENT;
  RECT f = FrameInsets(w->style, w->exStyle);
  bool maximized = w->style & WS_MAXIMIZE;
  if ((w->style & WS_THICKFRAME) && !maximized) {
    const int corner = GetSystemMetrics(SM_CXSIZE);
    bool left = pt.x < r.left + f.left, right = pt.x >= r.right - f.right;
    bool top = pt.y < r.top + f.left, bottom = pt.y >= r.bottom - f.bottom;
    bool nearLeft = pt.x < r.left + corner, nearRight = pt.x >= r.right - corner;
    bool nearTop = pt.y < r.top + corner, nearBottom = pt.y >= r.bottom - corner;
    if (top) return nearLeft ? HTTOPLEFT : nearRight ? HTTOPRIGHT : HTTOP;
    if (bottom) return nearLeft ? HTBOTTOMLEFT : nearRight ? HTBOTTOMRIGHT : HTBOTTOM;
    if (left) return nearTop ? HTTOPLEFT : nearBottom ? HTBOTTOMLEFT : HTLEFT;
    if (right) return nearTop ? HTTOPRIGHT : nearBottom ? HTBOTTOMRIGHT : HTRIGHT;
  }
  if ((w->style & WS_CAPTION) == WS_CAPTION && pt.y < client.top && pt.y >= r.top + f.left) return HTCAPTION;
  return HTBORDER;
}

HCURSOR CursorFor(LRESULT hit) {
  switch (hit) {
    case HTLEFT: case HTRIGHT: return LoadCursorW(nullptr, IDC_SIZEWE);
    case HTTOP: case HTBOTTOM: return LoadCursorW(nullptr, IDC_SIZENS);
    case HTTOPLEFT: case HTBOTTOMRIGHT: return LoadCursorW(nullptr, IDC_SIZENWSE);
    case HTTOPRIGHT: case HTBOTTOMLEFT: return LoadCursorW(nullptr, IDC_SIZENESW);
    default: return LoadCursorW(nullptr, IDC_ARROW);
  }
}

// The SC_MOVE / SC_SIZE loop. edge is 0 for a move, else WMSZ_*.
void SizeMoveLoop(HWND hwnd, int edge, POINT start) {
  SendMessageW(hwnd, WM_ENTERSIZEMOVE, 0, 0);
  SetCapture(hwnd);
  RECT orig;
  GetWindowRect(hwnd, &orig);
  HWND parent = GetAncestor(hwnd, GA_PARENT);
  if (parent) MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&orig), 2);
  MINMAXINFO mmi{};
  if (edge) mmi = QueryMinMax(hwnd);
  MSG m;
  for (;;) {
    if (!GetMessageW(&m, nullptr, 0, 0)) {
      PostQuitMessage(static_cast<int>(m.wParam));
      break;
    }
    if (GetCapture() != hwnd || !IsWindow(hwnd)) break;
    if (m.message == WM_MOUSEMOVE || m.message == WM_LBUTTONUP) {
      LONG dx = m.pt.x - start.x, dy = m.pt.y - start.y;
      RECT r = orig;
      if (!edge) {
        OffsetRect(&r, dx, dy);
        SendMessageW(hwnd, WM_MOVING, 0, reinterpret_cast<LPARAM>(&r));
        SetWindowPos(hwnd, nullptr, r.left, r.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      } else {
        bool left = edge == WMSZ_LEFT || edge == WMSZ_TOPLEFT || edge == WMSZ_BOTTOMLEFT;
        bool right = edge == WMSZ_RIGHT || edge == WMSZ_TOPRIGHT || edge == WMSZ_BOTTOMRIGHT;
        bool top = edge == WMSZ_TOP || edge == WMSZ_TOPLEFT || edge == WMSZ_TOPRIGHT;
        bool bottom = edge == WMSZ_BOTTOM || edge == WMSZ_BOTTOMLEFT || edge == WMSZ_BOTTOMRIGHT;
        auto limit = [](LONG size, LONG lo, LONG hi) { return std::clamp(size, lo, std::max(lo, hi)); };
        if (left) r.left = r.right - limit(r.right - (r.left + dx), mmi.ptMinTrackSize.x, mmi.ptMaxTrackSize.x);
        if (right) r.right = r.left + limit(r.right + dx - r.left, mmi.ptMinTrackSize.x, mmi.ptMaxTrackSize.x);
        if (top) r.top = r.bottom - limit(r.bottom - (r.top + dy), mmi.ptMinTrackSize.y, mmi.ptMaxTrackSize.y);
        if (bottom) r.bottom = r.top + limit(r.bottom + dy - r.top, mmi.ptMinTrackSize.y, mmi.ptMaxTrackSize.y);
        SendMessageW(hwnd, WM_SIZING, static_cast<WPARAM>(edge), reinterpret_cast<LPARAM>(&r));
        SetWindowPos(hwnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
      }
      if (m.message == WM_LBUTTONUP) break;
      continue;
    }
    if (m.message == WM_KEYDOWN && m.wParam == VK_ESCAPE) {
      SetWindowPos(hwnd, nullptr, orig.left, orig.top, orig.right - orig.left, orig.bottom - orig.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
      break;
    }
    if (m.message == WM_RBUTTONDOWN || m.message == WM_RBUTTONUP) continue;
    TranslateMessage(&m);
    DispatchMessageW(&m);
  }
  if (GetCapture() == hwnd) ReleaseCapture();
  SendMessageW(hwnd, WM_EXITSIZEMOVE, 0, 0);
}

LRESULT SysCommand(HWND hwnd, WPARAM wParam, LPARAM lParam) {
  switch (wParam & 0xFFF0) {
    case SC_CLOSE: SendMessageW(hwnd, WM_CLOSE, 0, 0); break;
    case SC_MINIMIZE: ShowWindow(hwnd, SW_MINIMIZE); break;
    case SC_MAXIMIZE: ShowWindow(hwnd, SW_MAXIMIZE); break;
    case SC_RESTORE: ShowWindow(hwnd, SW_RESTORE); break;
    case SC_MOVE:
    case SC_SIZE: {
      if (IsZoomed(hwnd)) break;
      POINT start{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      if (!lParam) GetCursorPos(&start);
      int edge = (wParam & 0xFFF0) == SC_SIZE ? static_cast<int>(wParam & 0x000F) : 0;
      SizeMoveLoop(hwnd, edge, start);
      break;
    }
    default: break;
  }
  return 0;
}

}  // namespace
}  // namespace platform::window

using namespace platform::window;

LRESULT WINAPI DefWindowProcW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  switch (Msg) {
    case WM_NCCREATE: {
      auto* cs = reinterpret_cast<CREATESTRUCTW*>(lParam);
      if (cs && cs->lpszName && !IS_INTRESOURCE(cs->lpszName)) {
        std::lock_guard<std::mutex> lock(Lock());
        if (Window* w = Find(hWnd)) w->text = cs->lpszName;
      }
      return TRUE;
    }
    case WM_NCCALCSIZE: {
      RECT* r = reinterpret_cast<RECT*>(lParam);
      if (!r) return 0;
      RECT f{};
      {
        std::lock_guard<std::mutex> lock(Lock());
        if (Window* w = Find(hWnd)) f = FrameInsets(w->style, w->exStyle);
      }
      r->left += f.left;
      r->top += f.top;
      r->right = std::max(r->left, r->right - f.right);
      r->bottom = std::max(r->top, r->bottom - f.bottom);
      return 0;
    }
    case WM_NCHITTEST: return HitTest(hWnd, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
    case WM_SETCURSOR: {
      HWND parent = GetAncestor(hWnd, GA_PARENT);
      if (parent && SendMessageW(parent, WM_SETCURSOR, wParam, lParam)) return TRUE;
      LRESULT hit = static_cast<SHORT>(LOWORD(lParam));
      if (hit == HTERROR) {
        if (HIWORD(lParam) == WM_LBUTTONDOWN || HIWORD(lParam) == WM_RBUTTONDOWN) MessageBeep(0);
        return FALSE;
      }
      HCURSOR cursor = CursorFor(hit);
      if (hit == HTCLIENT) {
        std::lock_guard<std::mutex> lock(Lock());
        Window* w = Find(hWnd);
        cursor = w ? w->cls->cursor : nullptr;
      }
      if (cursor) SetCursor(cursor);
      return cursor != nullptr;
    }
    case WM_MOUSEACTIVATE: {
      HWND parent = GetAncestor(hWnd, GA_PARENT);
      if (parent) {
        LRESULT r = SendMessageW(parent, WM_MOUSEACTIVATE, wParam, lParam);
        if (r) return r;
      }
      return MA_ACTIVATE;
    }
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE && !HIWORD(wParam)) SetFocus(hWnd);
      return 0;
    case WM_NCACTIVATE: return TRUE;
    case WM_NCLBUTTONDOWN: {
      LRESULT hit = static_cast<LRESULT>(wParam);
      if (hit == HTCAPTION) return SendMessageW(hWnd, WM_SYSCOMMAND, SC_MOVE | HTCAPTION, lParam);
      if (hit >= HTLEFT && hit <= HTBOTTOMRIGHT)
        return SendMessageW(hWnd, WM_SYSCOMMAND, SC_SIZE | static_cast<WPARAM>(hit - HTLEFT + WMSZ_LEFT), lParam);
      return 0;
    }
    case WM_NCLBUTTONDBLCLK:
      if (wParam == HTCAPTION) {
        DWORD style = static_cast<DWORD>(GetWindowLongPtrW(hWnd, GWL_STYLE));
        if (style & WS_MAXIMIZEBOX)
          SendMessageW(hWnd, WM_SYSCOMMAND, IsZoomed(hWnd) ? SC_RESTORE : SC_MAXIMIZE, lParam);
      }
      return 0;
    case WM_RBUTTONUP: {
      POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      ClientToScreen(hWnd, &pt);
      SendMessageW(hWnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hWnd), MAKELPARAM(pt.x, pt.y));
      return 0;
    }
    case WM_NCRBUTTONUP:
      SendMessageW(hWnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hWnd), lParam);
      return 0;
    case WM_CONTEXTMENU:
    case WM_MOUSEWHEEL: {
      HWND parent = GetAncestor(hWnd, GA_PARENT);
      return parent ? SendMessageW(parent, Msg, wParam, lParam) : 0;
    }
    case WM_SYSCOMMAND: return SysCommand(hWnd, wParam, lParam);
    case WM_SYSKEYDOWN:
      if (wParam == VK_F4 && (lParam & (1 << 29))) {
        HWND root = GetAncestor(hWnd, GA_ROOT);
        PostMessageW(root, WM_SYSCOMMAND, SC_CLOSE, 0);
      }
      return 0;
    case WM_CLOSE: DestroyWindow(hWnd); return 0;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      BeginPaint(hWnd, &ps);
      EndPaint(hWnd, &ps);
      return 0;
    }
    case WM_ERASEBKGND: return paint::EraseBackground(hWnd, reinterpret_cast<HDC>(wParam));
    case WM_WINDOWPOSCHANGING: {
      auto* wp = reinterpret_cast<WINDOWPOS*>(lParam);
      if (!wp || (wp->flags & SWP_NOSIZE)) return 0;
      DWORD style = static_cast<DWORD>(GetWindowLongPtrW(hWnd, GWL_STYLE));
      bool overlapped = !(style & (WS_POPUP | WS_CHILD));
      if ((overlapped || (style & WS_THICKFRAME)) && !(style & (WS_MINIMIZE | WS_MAXIMIZE))) {
        MINMAXINFO mmi = QueryMinMax(hWnd);
        wp->cx = std::clamp<int>(wp->cx, mmi.ptMinTrackSize.x, std::max(mmi.ptMinTrackSize.x, mmi.ptMaxTrackSize.x));
        wp->cy = std::clamp<int>(wp->cy, mmi.ptMinTrackSize.y, std::max(mmi.ptMinTrackSize.y, mmi.ptMaxTrackSize.y));
      }
      return 0;
    }
    case WM_WINDOWPOSCHANGED: {
      auto* wp = reinterpret_cast<WINDOWPOS*>(lParam);
      if (!wp) return 0;
      RECT rc{};
      POINT origin{};
      DWORD style = 0;
      {
        std::lock_guard<std::mutex> lock(Lock());
        Window* w = Find(hWnd);
        if (!w) return 0;
        rc = ClientRectOf(*w);
        origin = POINT{w->rect.left + w->client.left, w->rect.top + w->client.top};
        style = w->style;
      }
      if (!(wp->flags & SWP_NOMOVE)) SendMessageW(hWnd, WM_MOVE, 0, MAKELPARAM(origin.x, origin.y));
      if (!(wp->flags & SWP_NOSIZE)) {
        WPARAM kind = (style & WS_MINIMIZE) ? SIZE_MINIMIZED : (style & WS_MAXIMIZE) ? SIZE_MAXIMIZED : SIZE_RESTORED;
        SendMessageW(hWnd, WM_SIZE, kind, MAKELPARAM(rc.right, rc.bottom));
      }
      return 0;
    }
    case WM_SETTEXT: {
      auto text = reinterpret_cast<LPCWSTR>(lParam);
      {
        std::lock_guard<std::mutex> lock(Lock());
        Window* w = Find(hWnd);
        if (!w) return FALSE;
        w->text = text ? text : L"";
      }
      Backend().SetTitle(hWnd, text ? text : L"");
      return TRUE;
    }
    case WM_GETTEXT: {
      auto buffer = reinterpret_cast<LPWSTR>(lParam);
      if (!buffer || wParam == 0) return 0;
      std::lock_guard<std::mutex> lock(Lock());
      Window* w = Find(hWnd);
      if (!w) return 0;
      size_t n = std::min(w->text.size(), static_cast<size_t>(wParam - 1));
      std::copy_n(w->text.data(), n, buffer);
      buffer[n] = 0;
      return static_cast<LRESULT>(n);
    }
    case WM_GETTEXTLENGTH: {
      std::lock_guard<std::mutex> lock(Lock());
      Window* w = Find(hWnd);
      return w ? static_cast<LRESULT>(w->text.size()) : 0;
    }
    case WM_SETICON: {
      HICON icon = reinterpret_cast<HICON>(lParam), old, big, small;
      {
        std::lock_guard<std::mutex> lock(Lock());
        Window* w = Find(hWnd);
        if (!w) return 0;
        HICON& slot = wParam == ICON_BIG ? w->iconBig : w->iconSmall;
        old = slot;
        slot = icon;
        big = w->iconBig;
        small = w->iconSmall;
      }
      Backend().SetIcons(hWnd, big, small);
      return reinterpret_cast<LRESULT>(old);
    }
    case WM_GETICON: {
      std::lock_guard<std::mutex> lock(Lock());
      Window* w = Find(hWnd);
      if (!w) return 0;
      return reinterpret_cast<LRESULT>(wParam == ICON_BIG ? w->iconBig : w->iconSmall);
    }
    case WM_SHOWWINDOW:
    case WM_NCPAINT:
    case WM_GETDLGCODE:
      return 0;
    default:
      return 0;
  }
}
