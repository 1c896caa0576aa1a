// Message boxes. Every box writes one line on standard error,
// "[MessageBox] <caption> | <text>". Headless, that is all and the answer
// is IDOK; on a display the box is a real modal window of the calling
// thread: text, caption, its buttons (OK; OK and Cancel; Yes and No),
// closed by a click on a button, Return (the first button) or Escape
// (Cancel or No, OK for a box with only OK). The owner is disabled while it
// shows; other windows of the thread keep getting their messages.
#include <algorithm>
#include <cstdio>
#include <mutex>
#include <string>
#include <vector>

#include "kernel/Text.h"
#include "win32/CodePages.h"
#include "win32/Gdi.h"
#include "win32/MessageBox.h"
#include "win32/Windows.h"
#include "window/Backend.h"

namespace {

constexpr int kMargin = 16;
constexpr int kButtonWidth = 80;
constexpr int kButtonHeight = 26;
constexpr int kButtonGap = 10;
constexpr int kMaxTextWidth = 420;
constexpr UINT kTextFormat = DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS;
const wchar_t* const kClass = L"PlatformMessageBox";

struct Button {
  int id;
  const wchar_t* label;
  RECT rect;
};

struct Box {
  std::wstring text;
  std::vector<Button> buttons;
  int escape = IDOK;
  int result = 0;
  RECT textRect{};
};

SIZE Layout(Box& box) {
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  RECT text{0, 0, kMaxTextWidth, 0};
  DrawTextW(dc, box.text.c_str(), -1, &text, kTextFormat | DT_CALCRECT);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  int buttons = static_cast<int>(box.buttons.size()) * (kButtonWidth + kButtonGap) - kButtonGap;
  int width = std::max({static_cast<int>(text.right) + 2 * kMargin, buttons + 2 * kMargin, 240});
  int height = kMargin + static_cast<int>(text.bottom) + kMargin + kButtonHeight + kMargin;
  box.textRect = RECT{kMargin, kMargin, kMargin + text.right, kMargin + text.bottom};
  int x = width - kMargin - buttons, y = height - kMargin - kButtonHeight;
  for (Button& b : box.buttons) {
    b.rect = RECT{x, y, x + kButtonWidth, y + kButtonHeight};
    x += kButtonWidth + kButtonGap;
  }
  return SIZE{width, height};
}

void Fill(HDC dc, const RECT& r, COLORREF colour) {
  HBRUSH brush = CreateSolidBrush(colour);
  FillRect(dc, &r, brush);
  DeleteObject(brush);
}

void Paint(HWND hwnd, Box& box) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd, &ps);
  if (dc) {
    RECT rc;
    GetClientRect(hwnd, &rc);
    Fill(dc, rc, RGB(255, 255, 255));
    Fill(dc, RECT{0, rc.bottom - kMargin * 3 / 2 - kButtonHeight, rc.right, rc.bottom}, RGB(240, 240, 240));
    HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 0));
    RECT text = box.textRect;
    DrawTextW(dc, box.text.c_str(), -1, &text, kTextFormat);
    for (size_t i = 0; i < box.buttons.size(); ++i) {
      RECT r = box.buttons[i].rect;
      Fill(dc, r, i == 0 ? RGB(0, 120, 215) : RGB(173, 173, 173));  // the default button's edge is blue
      RECT face{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
      Fill(dc, face, RGB(225, 225, 225));
      DrawTextW(dc, box.buttons[i].label, -1, &face, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
    SelectObject(dc, old);
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
      box.buttons = {{IDOK, L"OK", {}}, {IDCANCEL, L"Cancel", {}}};
      box.escape = IDCANCEL;
      break;
    case MB_YESNO:
      box.buttons = {{IDYES, L"Yes", {}}, {IDNO, L"No", {}}};
      box.escape = IDNO;
      break;
    default: box.buttons = {{IDOK, L"OK", {}}}; break;
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
