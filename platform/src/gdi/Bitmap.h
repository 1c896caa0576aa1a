// A 32-bit bitmap: a cairo ARGB32 image surface, so a DIB section's pixels
// (top-down, premultiplied BGRA) are the surface's own memory.
#pragma once

#include <cairo.h>

#include "gdi/GdiObject.h"

namespace platform::gdi {

class Bitmap : public GdiObject {
 public:
  // Null when the surface cannot be made (size <= 0 or out of memory).
  static std::shared_ptr<Bitmap> Create(int width, int height, bool dib_section);
  ~Bitmap() override;
  DWORD Type() const override { return OBJ_BITMAP; }

  cairo_surface_t* Surface() const { return surface_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  BYTE* Bits() const { return cairo_image_surface_get_data(surface_); }
  bool IsDibSection() const { return dib_section_; }

 private:
  Bitmap(cairo_surface_t* surface, int width, int height, bool dib_section)
      : surface_(surface), width_(width), height_(height), dib_section_(dib_section) {}

  cairo_surface_t* surface_;
  int width_;
  int height_;
  bool dib_section_;
};

}  // namespace platform::gdi
