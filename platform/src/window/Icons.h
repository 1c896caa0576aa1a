// Icons and cursors behind HICON/HCURSOR: an image, or a system cursor id.
#pragma once

#include <cairo.h>

#include <cstdint>

#include "win32/Types.h"

namespace platform::window {

struct IconObject {
  uint32_t magic = 0x49434F4E;
  int systemId = 0;                  // IDC_* / IDI_* number for system ones
  cairo_surface_t* image = nullptr;  // premultiplied ARGB32
  bool system = false;               // never destroyed
};

// The icon behind a handle, or null for anything else.
IconObject* AsIcon(HICON handle);

}  // namespace platform::window
