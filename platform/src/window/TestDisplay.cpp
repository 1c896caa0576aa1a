#include "window/TestDisplay.h"

#include <cairo.h>

#include <chrono>
#include <cstring>
#include <thread>

#include "window/Backend.h"
#include "window/HeadlessBackend.h"
#include "window/Input.h"

namespace platform::window::test {
namespace {
HeadlessBackend* Headless() { return dynamic_cast<HeadlessBackend*>(&ActualBackend()); }
}  // namespace

const char* BackendName() { return Backend().Name(); }

void MouseMove(int x, int y, DWORD time) { input::DeliverMouseMove(POINT{x, y}, time); }
void MouseButton(int button, bool down, int x, int y, DWORD time) {
  input::DeliverButton(button, down, POINT{x, y}, time);
}
void Click(int x, int y, int button, DWORD time) {
  MouseMove(x, y, time);
  MouseButton(button, true, x, y, time);
  MouseButton(button, false, x, y, time);
}
void Wheel(int delta, int x, int y) { input::DeliverWheel(delta, POINT{x, y}); }
void Key(WORD vk, bool down) { input::DeliverKey(vk, down); }
void Tap(WORD vk) {
  Key(vk, true);
  Key(vk, false);
}

int Pump() {
  int count = 0;
  MSG m;
  while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
    if (m.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(m.wParam));
      break;
    }
    TranslateMessage(&m);
    DispatchMessageW(&m);
    ++count;
  }
  return count;
}

bool PumpUntil(bool (*predicate)(void*), void* context, DWORD timeout_ms) {
  auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  while (!predicate(context)) {
    if (std::chrono::steady_clock::now() > end) return false;
    if (!Pump()) std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return true;
}

bool ReadPresented(HWND hwnd, Pixels* out) {
  HeadlessBackend* headless = Headless();
  if (!headless || !out) return false;
  cairo_surface_t* image = headless->Presented(hwnd);
  if (!image) return false;
  cairo_surface_flush(image);
  out->width = cairo_image_surface_get_width(image);
  out->height = cairo_image_surface_get_height(image);
  out->argb.resize(static_cast<size_t>(out->width) * out->height);
  const unsigned char* data = cairo_image_surface_get_data(image);
  int stride = cairo_image_surface_get_stride(image);
  for (int y = 0; y < out->height; ++y)
    memcpy(&out->argb[static_cast<size_t>(y) * out->width], data + y * stride, static_cast<size_t>(out->width) * 4);
  cairo_surface_destroy(image);
  return true;
}

bool WritePresentedPng(HWND hwnd, const std::string& path) {
  HeadlessBackend* headless = Headless();
  if (!headless) return false;
  cairo_surface_t* image = headless->Presented(hwnd);
  if (!image) return false;
  bool ok = cairo_surface_write_to_png(image, path.c_str()) == CAIRO_STATUS_SUCCESS;
  cairo_surface_destroy(image);
  return ok;
}

HCURSOR DisplayCursor() { return Headless() ? Headless()->Cursor() : nullptr; }
std::wstring DisplayTitle(HWND hwnd) { return Headless() ? Headless()->Title(hwnd) : L""; }
HICON DisplayIcon(HWND hwnd, bool big) { return Headless() ? Headless()->Icon(hwnd, big) : nullptr; }

}  // namespace platform::window::test
