// A display that saves presented frames on the way to the real one
// (FrameRecorder.h). Backend.cpp puts it in front of the chosen display
// when PLATFORM_RECORD_FRAMES names a folder; PLATFORM_RECORD_FPS is the
// rate per window (default 4, at most 60).
//
// Checklist:
// - [x] every call forwarded unchanged to the display behind it
// - [x] frames as a screen shows them: window region cut out, opacity applied
// - [x] a window's last frame written when it is hidden or destroyed, and
//       every window's at exit
#pragma once

#include <map>
#include <memory>
#include <mutex>

#include "window/Backend.h"
#include "window/FrameRecorder.h"

namespace platform::window {

class RecordingBackend final : public DisplayBackend {
 public:
  // Null (with a line on standard error) when the folder cannot be used;
  // the caller then goes on with `display` alone.
  static std::unique_ptr<DisplayBackend> Wrap(std::unique_ptr<DisplayBackend>& display, const char* folder,
                                              const char* fps);
  ~RecordingBackend() override;

  DisplayBackend& display() { return *m_display; }

  const char* Name() const override { return m_display->Name(); }
  RECT ScreenRect() override { return m_display->ScreenRect(); }
  RECT WorkArea() override { return m_display->WorkArea(); }
  void Create(const NativeView& view) override;
  void Destroy(HWND hwnd) override;
  void Configure(const NativeView& view) override;
  void Raise(HWND hwnd) override { m_display->Raise(hwnd); }
  void SetTitle(HWND hwnd, const std::wstring& title) override;
  void SetIcons(HWND hwnd, HICON big, HICON small) override { m_display->SetIcons(hwnd, big, small); }
  void SetShape(HWND hwnd, const cairo_region_t* shape) override;
  void SetOpacity(HWND hwnd, BYTE alpha) override;
  void SetCursor(HCURSOR cursor) override { m_display->SetCursor(cursor); }
  void WarpPointer(POINT screen) override { m_display->WarpPointer(screen); }
  void Present(HWND hwnd, cairo_surface_t* image, const RECT& dirty) override;

 private:
  struct Looks {
    std::wstring title;
    cairo_region_t* shape = nullptr;
    BYTE alpha = 255;
  };

  RecordingBackend(std::unique_ptr<DisplayBackend> display, std::unique_ptr<FrameRecorder> recorder);

  std::unique_ptr<DisplayBackend> m_display;
  std::unique_ptr<FrameRecorder> m_recorder;
  std::mutex m_mutex;
  std::map<HWND, Looks> m_looks;
};

}  // namespace platform::window
