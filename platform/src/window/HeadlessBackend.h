// The headless display: a virtual screen (1280x800, or the size in
// PLATFORM_HEADLESS_SCREEN=WIDTHxHEIGHT) with windows in memory.
//
// Checklist:
// - [x] one monitor, work area = screen (no task bar)
// - [x] windows keep the pixels they last presented, with their window
//       region cut out and their constant opacity applied, as a screen
//       would show them (read back through TestDisplay.h)
// - [x] titles, icons, cursor remembered for tests
// - [x] input comes only from the test interface (TestDisplay.h)
// - [ ] no screen composition of overlapping windows: each window is read
//       back on its own
#pragma once

#include <map>
#include <mutex>
#include <vector>

#include "window/Backend.h"

namespace platform::window {

class HeadlessBackend final : public DisplayBackend {
 public:
  HeadlessBackend();
  ~HeadlessBackend() override;
  const char* Name() const override { return "headless"; }
  RECT ScreenRect() override { return screen_; }
  RECT WorkArea() override { return screen_; }
  void Create(const NativeView& view) override;
  void Destroy(HWND hwnd) override;
  void Configure(const NativeView& view) override;
  void Raise(HWND) override {}
  void SetTitle(HWND hwnd, const std::wstring& title) override;
  void SetIcons(HWND hwnd, HICON big, HICON small) override;
  void SetShape(HWND hwnd, const cairo_region_t* shape) override;
  void SetOpacity(HWND hwnd, BYTE alpha) override;
  void SetCursor(HCURSOR cursor) override;
  void WarpPointer(POINT) override {}
  void Present(HWND hwnd, cairo_surface_t* image, const RECT& dirty) override;

  // A copy of what hwnd last presented (null when nothing); the caller
  // destroys it.
  cairo_surface_t* Presented(HWND hwnd);
  HCURSOR Cursor();
  std::wstring Title(HWND hwnd);
  HICON Icon(HWND hwnd, bool big);
  int PresentCount(HWND hwnd);

 private:
  struct Record {
    cairo_surface_t* image = nullptr;
    cairo_region_t* shape = nullptr;
    BYTE alpha = 255;
    std::wstring title;
    HICON big = nullptr, small = nullptr;
    bool visible = false;
    int presents = 0;
  };
  std::mutex mutex_;
  std::map<HWND, Record> windows_;
  HCURSOR cursor_ = nullptr;
  RECT screen_{0, 0, 1280, 800};
};

}  // namespace platform::window
