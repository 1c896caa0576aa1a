#include "window/X11Backend.h"

namespace platform::window {
std::unique_ptr<DisplayBackend> X11Backend::Open() { return nullptr; }
}  // namespace platform::window
