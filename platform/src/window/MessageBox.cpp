// Message boxes. Every box writes one line on standard error,
// "[MessageBox] <caption> | <text>". Headless, that is all and the answer
// is IDOK; on a display the box is a real modal window of the calling
// thread: text, caption, its buttons (OK; OK and Cancel; Yes and No),
// closed by a click on a button, Return (the first button) or Escape
// (Cancel or No, OK for a box with only OK). The owner is disabled while it
// shows; other windows of the thread keep getting their messages.
#include <cairo.h>

#include <algorithm>
#include <cstdio>
#include <mutex>
#include <string>
#include <vector>

#include "bridge/Bridge.h"
#include "kernel/Text.h"
#include "win32/CodePages.h"
#include "win32/MessageBox.h"
#include "win32/Windows.h"
#include "window/Backend.h"

namespace {

constexpr int kMargin = 16;
constexpr int kButtonWidth = 80;
constexpr int kButtonHeight = 26;
constexpr int kButtonGap = 10;
constexpr int kMaxTextWidth = 420;
constexpr double kFontSize = 13;
const char* const kFace = "WenQuanYi Micro Hei";
const wchar_t* const kClass = L"PlatformMessageBox";

struct Button {
  int id;
  const char* label;
  RECT rect;
};

struct Box {
  std::wstring text;
  std::vector<Button> buttons;
  int escape = IDOK;
  int result = 0;
};

void SetFont(cairo_t* cr) {
  cairo_select_font_face(cr, kFace, CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cr, kFontSize);
}

double Advance(cairo_t* cr, const std::string& s) {
  cairo_text_extents_t e;
  cairo_text_extents(cr, s.c_str(), &e);
  return e.x_advance;
}

// Lines of text no wider than kMaxTextWidth.
std::vector<std::string> Lines(cairo_t* cr, const std::wstring& text) {
  std::vector<std::string> lines;
  std::wstring line;
  for (wchar_t c : text) {
    if (c == L'\r') continue;
    if (c == L'\n') {
      lines.push_back(platform::kernel::WideToUtf8(line));
      line.clear();
      continue;
    }
    if (!line.empty() && Advance(cr, platform::kernel::WideToUtf8(line + c)) > kMaxTextWidth) {
      lines.push_back(platform::kernel::WideToUtf8(line));
      line.clear();
    }
    line += c;
  }
  lines.push_back(platform::kernel::WideToUtf8(line));
  return lines;
}

SIZE Layout(Box& box) {
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1);
  cairo_t* cr = cairo_create(s);
  SetFont(cr);
  double widest = 0;
  auto lines = Lines(cr, box.text);
  for (auto& l : lines) widest = std::max(widest, Advance(cr, l));
  cairo_font_extents_t fe;
  cairo_font_extents(cr, &fe);
  cairo_destroy(cr);
  cairo_surface_destroy(s);
  int buttons = static_cast<int>(box.buttons.size()) * (kButtonWidth + kButtonGap) - kButtonGap;
  int width = std::max({static_cast<int>(widest) + 2 * kMargin, buttons + 2 * kMargin, 240});
  int textHeight = static_cast<int>(fe.height * lines.size());
  int height = kMargin + textHeight + kMargin + kButtonHeight + kMargin;
  int x = width - kMargin - buttons, y = height - kMargin - kButtonHeight;
  for (Button& b : box.buttons) {
    b.rect = RECT{x, y, x + kButtonWidth, y + kButtonHeight};
    x += kButtonWidth + kButtonGap;
  }
  return SIZE{width, height};
}

void Paint(HWND hwnd, Box& box) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd, &ps);
  cairo_surface_t* surface = platform::bridge::SurfaceOfDC(dc);
  if (surface) {
    RECT rc;
    GetClientRect(hwnd, &rc);
    cairo_t* cr = cairo_create(surface);
    cairo_rectangle(cr, 0, 0, rc.right, rc.bottom);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_fill(cr);
    cairo_rectangle(cr, 0, rc.bottom - 2 * kMargin - kButtonHeight + kMargin / 2, rc.right, rc.bottom);
    cairo_set_source_rgb(cr, 0.94, 0.94, 0.94);
    cairo_fill(cr);
    SetFont(cr);
    cairo_font_extents_t fe;
    cairo_font_extents(cr, &fe);
    cairo_set_source_rgb(cr, 0, 0, 0);
    double y = kMargin + fe.ascent;
    for (auto& line : Lines(cr, box.text)) {
      cairo_move_to(cr, kMargin, y);
      cairo_show_text(cr, line.c_str());
      y += fe.height;
    }
    for (size_t i = 0; i < box.buttons.size(); ++i) {
      const Button& b = box.buttons[i];
      cairo_rectangle(cr, b.rect.left + 0.5, b.rect.top + 0.5, kButtonWidth - 1, kButtonHeight - 1);
      cairo_set_source_rgb(cr, 0.88, 0.88, 0.88);
      cairo_fill_preserve(cr);
      if (i == 0)
        cairo_set_source_rgb(cr, 0.0, 0.47, 0.84);  // the default button
      else
        cairo_set_source_rgb(cr, 0.68, 0.68, 0.68);
      cairo_set_line_width(cr, 1);
      cairo_stroke(cr);
      cairo_set_source_rgb(cr, 0, 0, 0);
      double w = Advance(cr, b.label);
      cairo_move_to(cr, b.rect.left + (kButtonWidth - w) / 2, b.rect.top + (kButtonHeight + fe.ascent - fe.descent) / 2);
      cairo_show_text(cr, b.label);
    }
    cairo_destroy(cr);
  }
  EndPaint(hwnd, &ps);
}

LRESULT CALLBACK BoxProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE)
    SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                      reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
  auto* box = reinterpret_cast<Box*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!box) return DefWindowProcW(hwnd, msg, wParam, lParam);
  switch (msg) {
    case WM_PAINT: Paint(hwnd, *box); return 0;
    case WM_LBUTTONUP: {
      POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      for (const Button& b : box->buttons)
        if (PtInRect(&b.rect, pt)) box->result = b.id;
      return 0;
    }
    case WM_KEYDOWN:
      if (wParam == VK_RETURN) box->result = box->buttons.front().id;
      if (wParam == VK_ESCAPE) box->result = box->escape;
      return 0;
    case WM_CLOSE: box->result = box->escape; return 0;
    default: return DefWindowProcW(hwnd, msg, wParam, lParam);
  }
}

int RunBox(HWND owner, const std::wstring& text, const std::wstring& caption, UINT type) {
  static std::once_flag once;
  std::call_once(once, [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = BoxProc;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kClass;
    RegisterClassExW(&wc);
  });
  Box box;
  box.text = text;
  switch (type & 0xF) {
    case MB_OKCANCEL:
      box.buttons = {{IDOK, "OK", {}}, {IDCANCEL, "Cancel", {}}};
      box.escape = IDCANCEL;
      break;
    case MB_YESNO:
      box.buttons = {{IDYES, "Yes", {}}, {IDNO, "No", {}}};
      box.escape = IDNO;
      break;
    default: box.buttons = {{IDOK, "OK", {}}}; break;
  }
  SIZE client = Layout(box);
  DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
  RECT frame{0, 0, client.cx, client.cy};
  AdjustWindowRectEx(&frame, style, FALSE, 0);
  int cx = frame.right - frame.left, cy = frame.bottom - frame.top;
  owner = owner ? GetAncestor(owner, GA_ROOT) : nullptr;
  RECT centre;
  if (!owner || !GetWindowRect(owner, &centre)) SystemParametersInfoW(SPI_GETWORKAREA, 0, &centre, 0);
  int x = (centre.left + centre.right - cx) / 2, y = (centre.top + centre.bottom - cy) / 2;
  HWND hwnd = CreateWindowExW((type & (MB_TOPMOST | MB_SYSTEMMODAL)) ? WS_EX_TOPMOST : 0, kClass, caption.c_str(),
                              style, x, y, cx, cy, owner, nullptr, nullptr, &box);
  if (!hwnd) return 0;
  bool ownerWasEnabled = owner && IsWindowEnabled(owner);
  if (ownerWasEnabled) EnableWindow(owner, FALSE);
  ShowWindow(hwnd, SW_SHOWNORMAL);
  MSG m;
  bool quit = false;
  int quitCode = 0;
  while (!box.result && IsWindow(hwnd)) {
    if (!GetMessageW(&m, nullptr, 0, 0)) {
      quit = true;
      quitCode = static_cast<int>(m.wParam);
      break;
    }
    TranslateMessage(&m);
    DispatchMessageW(&m);
  }
  if (ownerWasEnabled) EnableWindow(owner, TRUE);
  if (IsWindow(hwnd)) DestroyWindow(hwnd);
  if (owner && IsWindow(owner)) SetActiveWindow(owner);
  if (quit) PostQuitMessage(quitCode);  // the outer loop ends too
  return box.result ? box.result : box.escape;
}

std::wstring FromAnsi(LPCSTR text) {
  if (!text) return {};
  int size = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
  if (size <= 0) return {};
  std::wstring wide(static_cast<size_t>(size), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), size);
  wide.resize(static_cast<size_t>(size - 1));
  return wide;
}

}  // namespace

int WINAPI MessageBoxW(HWND hWnd, LPCWSTR lpText, LPCWSTR lpCaption, UINT uType) {
  std::wstring caption = lpCaption ? lpCaption : L"Error";
  std::wstring text = lpText ? lpText : L"";
  fprintf(stderr, "[MessageBox] %s | %s\n", platform::kernel::WideToUtf8(caption).c_str(),
          platform::kernel::WideToUtf8(text).c_str());
  fflush(stderr);
  if (platform::window::IsHeadless()) return IDOK;
  return RunBox(hWnd, text, caption, uType);
}

int WINAPI MessageBoxA(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType) {
  std::wstring text = FromAnsi(lpText), caption = FromAnsi(lpCaption);
  return MessageBoxW(hWnd, lpText ? text.c_str() : nullptr, lpCaption ? caption.c_str() : nullptr, uType);
}
