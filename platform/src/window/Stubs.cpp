// Placeholder until the window manager exists: no windows, so sending and
// posting reach nobody; cursors are remembered only.
#include "win32/Errors.h"
#include "win32/Windows.h"

LRESULT WINAPI SendMessageW(HWND, UINT, WPARAM, LPARAM) { return 0; }
BOOL WINAPI PostMessageW(HWND, UINT, WPARAM, LPARAM) {
  SetLastError(ERROR_INVALID_WINDOW_HANDLE);
  return FALSE;
}
BOOL WINAPI IsWindow(HWND) { return FALSE; }

static HCURSOR g_cursor = nullptr;
HCURSOR WINAPI LoadCursorW(HINSTANCE, LPCWSTR name) { return reinterpret_cast<HCURSOR>(const_cast<LPWSTR>(name)); }
HCURSOR WINAPI SetCursor(HCURSOR cursor) {
  HCURSOR old = g_cursor;
  g_cursor = cursor;
  return old;
}
HCURSOR WINAPI GetCursor() { return g_cursor; }
