#include "gdi/Bitmap.h"

#include <new>

namespace platform::gdi {

std::shared_ptr<Bitmap> Bitmap::Create(int width, int height, bool dib_section) {
  // cairo's limit; also keeps width * height * 4 far from overflowing.
  if (width <= 0 || height <= 0 || width > 32767 || height > 32767) return nullptr;
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
  if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(surface);
    return nullptr;
  }
  // Win32 hands out DIB memory row by row without padding for 32 bits.
  if (cairo_image_surface_get_stride(surface) != width * 4) {
    cairo_surface_destroy(surface);
    return nullptr;
  }
  return std::shared_ptr<Bitmap>(new (std::nothrow) Bitmap(surface, width, height, dib_section));
}

Bitmap::~Bitmap() { cairo_surface_destroy(surface_); }

}  // namespace platform::gdi
