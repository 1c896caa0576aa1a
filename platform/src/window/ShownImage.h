// What a screen shows of a presented window: the image with the window
// region cut out and the constant opacity applied.
#pragma once

#include <cairo.h>

#include "win32/Types.h"

namespace platform::window {

// A new surface the caller destroys; shape (window coordinates) may be null.
cairo_surface_t* ShownImage(cairo_surface_t* image, const cairo_region_t* shape, BYTE alpha);

}  // namespace platform::window
