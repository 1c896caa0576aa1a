// The X11 display: one connection, a reader thread that turns X events
// into hardware input for the window manager, and one X window per
// top-level window.
//
// Checklist:
// - [x] borderless X windows for every top-level window (Motif hints): the
//       window manager's own frame (caption, borders) is drawn by us
// - [x] pixels pushed with XPutImage, kept for repainting on Expose
// - [x] window shapes from window regions (XShape)
// - [x] big and small icons (_NET_WM_ICON), titles (WM_NAME, _NET_WM_NAME)
// - [x] cursors from the cursor font for the system cursors
// - [x] constant opacity (_NET_WM_WINDOW_OPACITY; shown by a compositor);
//       per-pixel alpha through a 32-bit visual when a compositing manager
//       runs (every window gets that visual, so one made layered later has
//       it too; windows that are not layered are shown opaque), else the
//       alpha-0 pixels of layered windows are cut out by a shape
// - [x] mouse, wheel, keys (with the characters X produced), pointer leave,
//       the close button of a window manager (WM_DELETE_WINDOW)
// - [ ] moves and resizes made by a window manager are not read back
// - [ ] one screen; no input methods
#pragma once

#include <memory>

#include "window/Backend.h"

namespace platform::window {

class X11Backend {
 public:
  // A backend on the display named by DISPLAY, or null when it cannot be opened.
  static std::unique_ptr<DisplayBackend> Open();
};

}  // namespace platform::window
