// The built-in window class "tooltips_class32": a list of tools, and a
// small top-most pop-up that shows one tool's text while tracking is
// active. It never takes the mouse or the activation.
//
// Messages handled: TTM_ADDTOOLW, TTM_DELTOOLW, TTM_NEWTOOLRECTW,
// TTM_GETTOOLINFOW, TTM_SETTOOLINFOW, TTM_UPDATETIPTEXTW, TTM_ACTIVATE,
// TTM_TRACKACTIVATE, TTM_TRACKPOSITION, TTM_POP, TTM_UPDATE,
// TTM_SETMAXTIPWIDTH, TTM_GETMAXTIPWIDTH, TTM_SETDELAYTIME, TTM_GETDELAYTIME.
#include "window/Tooltip.h"

#include <algorithm>
#include <mutex>
#include <string>
#include <vector>

#include "bridge/Bridge.h"
#include "kernel/Builtins.h"
#include "win32/Gdi.h"
#include "window/State.h"

namespace platform::window {

namespace {

struct Tool {
  UINT flags;
  HWND hwnd;
  UINT_PTR id;
  RECT rect;
  std::wstring text;
};

struct Tooltip {
  std::vector<Tool> tools;
  bool active = true;
  bool tracking = false;
  size_t shown = 0;  // index of the tool shown while tracking
  POINT trackPos{};
  bool trackPosSet = false;
  int maxWidth = -1;
  int delays[4] = {500, 100, 5000, 500};  // automatic, reshow, autopop, initial
};

constexpr int kPadding = 4;

Tooltip* Data(HWND hwnd) { return reinterpret_cast<Tooltip*>(GetWindowLongPtrW(hwnd, 0)); }

Tool* FindTool(Tooltip& t, const TOOLINFOW* info) {
  if (!info) return nullptr;
  for (Tool& tool : t.tools)
    if (tool.hwnd == info->hwnd && tool.id == info->uId) return &tool;
  return nullptr;
}

std::wstring TextOf(const TOOLINFOW* info) {
  if (!info || !info->lpszText || info->lpszText == LPSTR_TEXTCALLBACKW || IS_INTRESOURCE(info->lpszText)) return L"";
  return info->lpszText;
}

UINT TextFormat(int maxWidth) { return DT_NOPREFIX | DT_EXPANDTABS | (maxWidth > 0 ? DT_WORDBREAK : 0); }

SIZE Measure(const std::wstring& text, int maxWidth) {
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  RECT r{0, 0, maxWidth > 0 ? std::max(1, maxWidth - 2 * kPadding - 2) : 4096, 0};
  DrawTextW(dc, text.c_str(), -1, &r, TextFormat(maxWidth) | DT_CALCRECT);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  return SIZE{r.right - r.left + 2 * kPadding + 2, r.bottom - r.top + 2 * kPadding + 2};
}

void Show(HWND hwnd, Tooltip& t) {
  if (!t.active || !t.tracking || t.shown >= t.tools.size() || t.tools[t.shown].text.empty()) {
    ShowWindow(hwnd, SW_HIDE);
    return;
  }
  SIZE size = Measure(t.tools[t.shown].text, t.maxWidth);
  POINT at = t.trackPos;
  if (!t.trackPosSet || !(t.tools[t.shown].flags & TTF_TRACK)) {
    GetCursorPos(&at);
    at.y += 21;  // below the arrow cursor
  }
  int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
  at.x = std::clamp<LONG>(at.x, 0, std::max<LONG>(0, cx - size.cx));
  at.y = std::clamp<LONG>(at.y, 0, std::max<LONG>(0, cy - size.cy));
  SetWindowPos(hwnd, HWND_TOPMOST, at.x, at.y, size.cx, size.cy, SWP_NOACTIVATE);
  InvalidateRect(hwnd, nullptr, FALSE);
  ShowWindow(hwnd, SW_SHOWNA);
}

void Paint(HWND hwnd) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd, &ps);
  Tooltip* t = Data(hwnd);
  if (dc && t && t->shown < t->tools.size()) {
    RECT rc;
    GetClientRect(hwnd, &rc);
    HBRUSH back = CreateSolidBrush(RGB(255, 255, 225)), edge = CreateSolidBrush(RGB(118, 118, 118));
    FillRect(dc, &rc, edge);
    RECT inside{1, 1, rc.right - 1, rc.bottom - 1};
    FillRect(dc, &inside, back);
    DeleteObject(back);
    DeleteObject(edge);
    HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 0));
    RECT text{kPadding + 1, kPadding + 1, rc.right - kPadding - 1, rc.bottom - kPadding - 1};
    DrawTextW(dc, t->tools[t->shown].text.c_str(), -1, &text, TextFormat(t->maxWidth));
    SelectObject(dc, old);
  }
  EndPaint(hwnd, &ps);
}

LRESULT CALLBACK TooltipProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  Tooltip* t = Data(hwnd);
  auto* info = reinterpret_cast<TOOLINFOW*>(lParam);
  switch (msg) {
    case WM_NCCREATE:
      SetWindowLongPtrW(hwnd, 0, reinterpret_cast<LONG_PTR>(new Tooltip()));
      SetWindowLongPtrW(hwnd, GWL_EXSTYLE, GetWindowLongPtrW(hwnd, GWL_EXSTYLE) | WS_EX_TOPMOST | WS_EX_TOOLWINDOW);
      return DefWindowProcW(hwnd, msg, wParam, lParam);
    case WM_NCDESTROY:
      delete t;
      SetWindowLongPtrW(hwnd, 0, 0);
      return 0;
    case WM_NCCALCSIZE: return 0;  // all client: the tip draws its own border
    case WM_NCHITTEST: return HTTRANSPARENT;
    case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
    case WM_PAINT: Paint(hwnd); return 0;
    default: break;
  }
  if (!t) return DefWindowProcW(hwnd, msg, wParam, lParam);
  switch (msg) {
    case TTM_ADDTOOLW:
      if (!info) return FALSE;
      if (Tool* tool = FindTool(*t, info)) {
        *tool = Tool{info->uFlags, info->hwnd, info->uId, info->rect, TextOf(info)};
      } else {
        t->tools.push_back(Tool{info->uFlags, info->hwnd, info->uId, info->rect, TextOf(info)});
      }
      return TRUE;
    case TTM_DELTOOLW: {
      Tool* tool = FindTool(*t, info);
      if (!tool) return 0;
      size_t index = static_cast<size_t>(tool - t->tools.data());
      t->tools.erase(t->tools.begin() + static_cast<std::ptrdiff_t>(index));
      if (t->tracking && t->shown == index) {
        t->tracking = false;
        ShowWindow(hwnd, SW_HIDE);
      }
      return 0;
    }
    case TTM_NEWTOOLRECTW:
      if (Tool* tool = FindTool(*t, info)) tool->rect = info->rect;
      return 0;
    case TTM_GETTOOLINFOW: {
      Tool* tool = FindTool(*t, info);
      if (!tool) return FALSE;
      info->uFlags = tool->flags;
      info->rect = tool->rect;
      return TRUE;
    }
    case TTM_SETTOOLINFOW:
    case TTM_UPDATETIPTEXTW:
      if (Tool* tool = FindTool(*t, info)) {
        tool->text = TextOf(info);
        if (msg == TTM_SETTOOLINFOW) {
          tool->flags = info->uFlags;
          tool->rect = info->rect;
        }
        if (t->tracking && &t->tools[t->shown] == tool) Show(hwnd, *t);
      }
      return 0;
    case TTM_ACTIVATE:
      t->active = wParam != 0;
      if (!t->active) ShowWindow(hwnd, SW_HIDE);
      return 0;
    case TTM_TRACKACTIVATE: {
      Tool* tool = FindTool(*t, info);
      if (wParam && tool) {
        t->tracking = true;
        t->shown = static_cast<size_t>(tool - t->tools.data());
        Show(hwnd, *t);
      } else {
        t->tracking = false;
        ShowWindow(hwnd, SW_HIDE);
      }
      return 0;
    }
    case TTM_TRACKPOSITION:
      t->trackPos = POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      t->trackPosSet = true;
      if (t->tracking) Show(hwnd, *t);
      return 0;
    case TTM_POP:
      ShowWindow(hwnd, SW_HIDE);
      return 0;
    case TTM_UPDATE:
      if (t->tracking) Show(hwnd, *t);
      return 0;
    case TTM_SETMAXTIPWIDTH: {
      int old = t->maxWidth;
      t->maxWidth = static_cast<int>(lParam);
      return old;
    }
    case TTM_GETMAXTIPWIDTH: return t->maxWidth;
    case TTM_SETDELAYTIME: {
      int ms = static_cast<SHORT>(LOWORD(lParam));
      int base = static_cast<int>(GetDoubleClickTime());
      if (wParam == TTDT_AUTOMATIC) {
        int initial = ms < 0 ? base : ms;
        t->delays[TTDT_INITIAL] = initial;
        t->delays[TTDT_RESHOW] = initial / 5;
        t->delays[TTDT_AUTOPOP] = initial * 10;
      } else if (wParam <= TTDT_INITIAL) {
        int defaults[4] = {base, base / 5, base * 10, base};
        t->delays[wParam] = ms < 0 ? defaults[wParam] : ms;
      }
      return 0;
    }
    case TTM_GETDELAYTIME: return wParam <= TTDT_INITIAL ? t->delays[wParam] : 0;
    default: return DefWindowProcW(hwnd, msg, wParam, lParam);
  }
}

}  // namespace


void RegisterSystemClasses() {
  static std::once_flag once;
  std::call_once(once, [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_SAVEBITS | CS_DROPSHADOW;
    wc.lpfnWndProc = TooltipProc;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = TOOLTIPS_CLASSW;
    {
      std::lock_guard<std::mutex> lock(Lock());
      RegisterBuiltinClassLocked(wc);
      for (auto& c : S().classes)
        if (c->name == TOOLTIPS_CLASSW) c->windowExtra = sizeof(void*);
    }
    // Looked up at run time by name, as on Windows.
    kernel::RegisterBuiltinExport(L"user32.dll", "SetLayeredWindowAttributes",
                                  reinterpret_cast<FARPROC>(reinterpret_cast<void*>(&SetLayeredWindowAttributes)));
    kernel::RegisterBuiltinExport(L"user32.dll", "UpdateLayeredWindow",
                                  reinterpret_cast<FARPROC>(reinterpret_cast<void*>(&UpdateLayeredWindow)));
    kernel::RegisterBuiltinExport(L"user32.dll", "GetLayeredWindowAttributes",
                                  reinterpret_cast<FARPROC>(reinterpret_cast<void*>(&GetLayeredWindowAttributes)));
  });
}

}  // namespace platform::window

BOOL WINAPI InitCommonControlsEx(const INITCOMMONCONTROLSEX* picce) {
  if (!picce || picce->dwSize != sizeof(INITCOMMONCONTROLSEX)) return FALSE;
  platform::window::RegisterSystemClasses();
  return TRUE;
}

void WINAPI InitCommonControls() { platform::window::RegisterSystemClasses(); }
