// The test interface of the window manager: input in screen coordinates
// (on either backend), read-back of presented pixels (headless backend).
// Tests and tools include it as "window/TestDisplay.h" with platform/src
// on their include path.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "win32/Windows.h"

namespace platform::window::test {

// The backend in use: "headless" or "x11".
const char* BackendName();

// Input as the display would deliver it. time 0 is now; tests of double
// clicks pass their own times.
void MouseMove(int x, int y, DWORD time = 0);
void MouseButton(int button, bool down, int x, int y, DWORD time = 0);  // 0 left, 1 right, 2 middle
void Click(int x, int y, int button = 0, DWORD time = 0);
void Wheel(int delta, int x, int y);
void Key(WORD vk, bool down);
void Tap(WORD vk);  // down and up

// Dispatches every message the calling thread has (TranslateMessage
// included) without waiting; returns how many.
int Pump();
// Pumps until predicate() holds or timeout_ms passes; whether it held.
bool PumpUntil(bool (*predicate)(void*), void* context, DWORD timeout_ms);

struct Pixels {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> argb;  // premultiplied, row-major
  uint32_t At(int x, int y) const { return argb[static_cast<size_t>(y) * width + x]; }
};
// What the top-level window hwnd last presented (whole window). False
// when nothing was presented or the backend is not headless.
bool ReadPresented(HWND hwnd, Pixels* out);
// Writes the same pixels as a PNG file.
bool WritePresentedPng(HWND hwnd, const std::string& path);
// Headless: the cursor last set, the title and icons the display knows.
HCURSOR DisplayCursor();
std::wstring DisplayTitle(HWND hwnd);
HICON DisplayIcon(HWND hwnd, bool big);

}  // namespace platform::window::test
