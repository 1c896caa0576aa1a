// The narrow interface between the window manager and a display. One
// backend is chosen at start (Backend.cpp): X11 when DISPLAY is set and
// reachable, else headless; PLATFORM_DISPLAY=x11|headless forces it.
// PLATFORM_RECORD_FRAMES=FOLDER puts a frame recorder in front of it.
//
// The window manager calls a backend with the lock released; a backend
// reports input through input::Deliver* (Input.h) from any thread.
#pragma once

#include <cairo.h>

#include "window/State.h"

namespace platform::window {

struct NativeView {
  HWND hwnd;
  RECT screenRect;    // the whole window, screen coordinates
  DWORD style;
  DWORD exStyle;
  HWND owner;
  bool visible;
  bool topmost;
};

class DisplayBackend {
 public:
  virtual ~DisplayBackend() = default;
  virtual const char* Name() const = 0;
  virtual RECT ScreenRect() = 0;  // the one monitor
  virtual RECT WorkArea() = 0;

  virtual void Create(const NativeView& view) = 0;
  virtual void Destroy(HWND hwnd) = 0;
  // Position, size, visibility or stacking changed.
  virtual void Configure(const NativeView& view) = 0;
  virtual void Raise(HWND hwnd) = 0;
  virtual void SetTitle(HWND hwnd, const std::wstring& title) = 0;
  virtual void SetIcons(HWND hwnd, HICON big, HICON small) = 0;
  // Window coordinates; null: no shape.
  virtual void SetShape(HWND hwnd, const cairo_region_t* shape) = 0;
  virtual void SetOpacity(HWND hwnd, BYTE alpha) = 0;
  virtual void SetCursor(HCURSOR cursor) = 0;
  virtual void WarpPointer(POINT screen) = 0;
  // image: the whole window, premultiplied ARGB32; dirty in window coordinates.
  virtual void Present(HWND hwnd, cairo_surface_t* image, const RECT& dirty) = 0;
};

DisplayBackend& Backend();
// The display itself, behind the frame recorder when there is one.
DisplayBackend& ActualBackend();
// Lock held. What the backend is told about w; whether w has a native window.
NativeView ViewOf(const Window& w);
bool HasNative(const Window& w);
// Whether Backend() is the headless one (for the message box).
bool IsHeadless();

}  // namespace platform::window
