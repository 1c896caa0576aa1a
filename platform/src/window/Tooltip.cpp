// The built-in window class "tooltips_class32": a list of tools, and a
// small top-most pop-up that shows one tool's text while tracking is
// active. It never takes the mouse or the activation.
//
// Messages handled: TTM_ADDTOOLW, TTM_DELTOOLW, TTM_NEWTOOLRECTW,
// TTM_GETTOOLINFOW, TTM_SETTOOLINFOW, TTM_UPDATETIPTEXTW, TTM_ACTIVATE,
// TTM_TRACKACTIVATE, TTM_TRACKPOSITION, TTM_POP, TTM_UPDATE,
// TTM_SETMAXTIPWIDTH, TTM_GETMAXTIPWIDTH, TTM_SETDELAYTIME, TTM_GETDELAYTIME.
#include "window/Tooltip.h"

#include <cairo.h>

#include <algorithm>
#include <mutex>
#include <string>
#include <vector>

#include "bridge/Bridge.h"
#include "kernel/Builtins.h"
#include "kernel/Text.h"
#include "window/State.h"

namespace platform::window {

void RegisterBuiltinClassLocked(const WNDCLASSEXW& wc);

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

constexpr double kFontSize = 12;
constexpr int kPadding = 4;
const char* const kFace = "WenQuanYi Micro Hei";

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

// Splits text into lines no wider than maxWidth (when positive).
std::vector<std::string> Lines(cairo_t* cr, const std::wstring& text, int maxWidth) {
  std::vector<std::string> lines;
  std::wstring line;
  auto width = [cr](const std::wstring& s) {
    cairo_text_extents_t e;
    cairo_text_extents(cr, kernel::WideToUtf8(s).c_str(), &e);
    return e.x_advance;
  };
  for (wchar_t c : text) {
    if (c == L'\n') {
      lines.push_back(kernel::WideToUtf8(line));
      line.clear();
      continue;
    }
    if (c == L'\r') continue;
    if (maxWidth > 0 && !line.empty() && width(line + c) > maxWidth - 2 * kPadding) {
      lines.push_back(kernel::WideToUtf8(line));
      line.clear();
    }
    line += c;
  }
  lines.push_back(kernel::WideToUtf8(line));
  return lines;
}

void SetFont(cairo_t* cr) {
  cairo_select_font_face(cr, kFace, CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cr, kFontSize);
}

SIZE Measure(const std::wstring& text, int maxWidth) {
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1);
  cairo_t* cr = cairo_create(s);
  SetFont(cr);
  double widest = 0;
  auto lines = Lines(cr, text, maxWidth);
  for (auto& l : lines) {
    cairo_text_extents_t e;
    cairo_text_extents(cr, l.c_str(), &e);
    widest = std::max(widest, e.x_advance);
  }
  cairo_font_extents_t fe;
  cairo_font_extents(cr, &fe);
  cairo_destroy(cr);
  cairo_surface_destroy(s);
  return SIZE{static_cast<LONG>(widest) + 2 * kPadding + 2,
              static_cast<LONG>(fe.height * lines.size()) + 2 * kPadding};
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
  cairo_surface_t* surface = bridge::SurfaceOfDC(dc);
  if (surface && t && t->shown < t->tools.size()) {
    RECT rc;
    GetClientRect(hwnd, &rc);
    cairo_t* cr = cairo_create(surface);
    cairo_rectangle(cr, 0, 0, rc.right, rc.bottom);
    cairo_set_source_rgb(cr, 1.0, 1.0, 0.882);
    cairo_fill(cr);
    cairo_rectangle(cr, 0.5, 0.5, rc.right - 1, rc.bottom - 1);
    cairo_set_source_rgb(cr, 0.46, 0.46, 0.46);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    SetFont(cr);
    cairo_font_extents_t fe;
    cairo_font_extents(cr, &fe);
    cairo_set_source_rgb(cr, 0, 0, 0);
    double y = kPadding + fe.ascent;
    for (auto& line : Lines(cr, t->tools[t->shown].text, t->maxWidth)) {
      cairo_move_to(cr, kPadding + 1, y);
      cairo_show_text(cr, line.c_str());
      y += fe.height;
    }
    cairo_destroy(cr);
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
                                  reinterpret_cast<FARPROC>(&SetLayeredWindowAttributes));
    kernel::RegisterBuiltinExport(L"user32.dll", "UpdateLayeredWindow",
                                  reinterpret_cast<FARPROC>(&UpdateLayeredWindow));
    kernel::RegisterBuiltinExport(L"user32.dll", "GetLayeredWindowAttributes",
                                  reinterpret_cast<FARPROC>(&GetLayeredWindowAttributes));
  });
}

}  // namespace platform::window

BOOL WINAPI InitCommonControlsEx(const INITCOMMONCONTROLSEX* picce) {
  if (!picce || picce->dwSize != sizeof(INITCOMMONCONTROLSEX)) return FALSE;
  platform::window::RegisterSystemClasses();
  return TRUE;
}

void WINAPI InitCommonControls() { platform::window::RegisterSystemClasses(); }
