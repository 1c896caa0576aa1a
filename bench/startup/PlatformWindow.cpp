// A trivial window of our platform layer for the start-up benchmark:
// 600x360 with a text, a progress bar and a button drawn with GDI, no UI
// framework. Runs until it is ended.
#include "Win32.h"

namespace {

void Paint(HWND window) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window, &ps);
  RECT all;
  GetClientRect(window, &all);
  HBRUSH back = CreateSolidBrush(RGB(22, 58, 90));
  FillRect(dc, &all, back);
  DeleteObject(back);

  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(255, 255, 255));
  RECT text{24, 266, 320, 290};
  DrawTextW(dc, L"正在下载...(45%)", -1, &text, DT_LEFT | DT_VCENTER | DT_SINGLELINE);

  RECT track{24, 298, 576, 308}, fill{24, 298, 24 + 552 * 45 / 100, 308};
  HBRUSH trackBrush = CreateSolidBrush(RGB(60, 90, 120)), fillBrush = CreateSolidBrush(RGB(53, 208, 127));
  FillRect(dc, &track, trackBrush);
  FillRect(dc, &fill, fillBrush);
  DeleteObject(trackBrush);
  DeleteObject(fillBrush);

  RECT button{456, 318, 576, 350};
  HBRUSH buttonBrush = CreateSolidBrush(RGB(240, 143, 34));
  FillRect(dc, &button, buttonBrush);
  DeleteObject(buttonBrush);
  DrawTextW(dc, L"重试", -1, &button, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  EndPaint(window, &ps);
}

LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      Paint(window);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = Procedure;
  wc.hInstance = instance;
  wc.lpszClassName = L"StartupBenchWindow";
  if (!RegisterClassW(&wc)) return 1;
  HWND window = CreateWindowExW(0, wc.lpszClassName, L"update", WS_POPUP | WS_VISIBLE, 340, 220, 600, 360, nullptr,
                                nullptr, instance, nullptr);
  if (!window) return 1;
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}
