// The X11 display.
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
