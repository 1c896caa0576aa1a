// A region: a cairo region (a set of pixel rectangles).
#pragma once

#include <cairo.h>

#include "gdi/GdiObject.h"

namespace platform::gdi {

class Region : public GdiObject {
 public:
  Region() : region_(cairo_region_create()) {}
  explicit Region(const cairo_region_t* copy) : region_(cairo_region_copy(copy)) {}
  explicit Region(const cairo_rectangle_int_t& rect) : region_(cairo_region_create_rectangle(&rect)) {}
  Region(const Region&) = delete;
  Region& operator=(const Region&) = delete;
  ~Region() override { cairo_region_destroy(region_); }
  DWORD Type() const override { return OBJ_REGION; }

  cairo_region_t* Get() const { return region_; }
  void Assign(const cairo_region_t* other);

  // The region of a rounded rectangle with Win32's geometry (see Gdi.h).
  static cairo_region_t* CreateRoundRect(int x1, int y1, int x2, int y2, int w, int h);
  // The rectangle (x1, y1, x2, y2) ordered; empty when it has no area.
  static cairo_rectangle_int_t Rect(int x1, int y1, int x2, int y2);
  // NULLREGION, SIMPLEREGION or COMPLEXREGION.
  static int Kind(const cairo_region_t* region);

 private:
  cairo_region_t* region_;
};

}  // namespace platform::gdi
