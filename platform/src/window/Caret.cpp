// The caret as state: owner, size, position, visibility, blink time. The
// framework draws its own caret, so nothing is painted here.
#include <mutex>

#include "window/State.h"

namespace {
struct Caret {
  HWND owner = nullptr;
  SIZE size{};
  POINT pos{};
  int hideCount = 1;  // a new caret starts hidden
};
Caret g_caret;
UINT g_blinkTime = 530;
}  // namespace

using platform::window::Lock;

BOOL WINAPI CreateCaret(HWND hWnd, HBITMAP, int nWidth, int nHeight) {
  if (!IsWindow(hWnd)) return FALSE;
  std::lock_guard<std::mutex> lock(Lock());
  g_caret = Caret{hWnd, SIZE{nWidth ? nWidth : 1, nHeight ? nHeight : 16}, POINT{}, 1};
  return TRUE;
}

BOOL WINAPI DestroyCaret() {
  std::lock_guard<std::mutex> lock(Lock());
  if (!g_caret.owner) return FALSE;
  g_caret = Caret{};
  return TRUE;
}

BOOL WINAPI ShowCaret(HWND hWnd) {
  std::lock_guard<std::mutex> lock(Lock());
  if (!g_caret.owner || (hWnd && hWnd != g_caret.owner)) return FALSE;
  if (g_caret.hideCount > 0) --g_caret.hideCount;
  return TRUE;
}

BOOL WINAPI HideCaret(HWND hWnd) {
  std::lock_guard<std::mutex> lock(Lock());
  if (!g_caret.owner || (hWnd && hWnd != g_caret.owner)) return FALSE;
  ++g_caret.hideCount;
  return TRUE;
}

BOOL WINAPI SetCaretPos(int X, int Y) {
  std::lock_guard<std::mutex> lock(Lock());
  if (!g_caret.owner) return FALSE;
  g_caret.pos = POINT{X, Y};
  return TRUE;
}

BOOL WINAPI GetCaretPos(LPPOINT lpPoint) {
  std::lock_guard<std::mutex> lock(Lock());
  if (!lpPoint) return FALSE;
  *lpPoint = g_caret.pos;
  return TRUE;
}

UINT WINAPI GetCaretBlinkTime() {
  std::lock_guard<std::mutex> lock(Lock());
  return g_blinkTime;
}

BOOL WINAPI SetCaretBlinkTime(UINT uMSeconds) {
  std::lock_guard<std::mutex> lock(Lock());
  g_blinkTime = uMSeconds;
  return TRUE;
}
