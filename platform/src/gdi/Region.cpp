#include "gdi/Region.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace platform::gdi {

void Region::Assign(const cairo_region_t* other) {
  if (other == region_) return;
  cairo_region_t* copy = cairo_region_copy(other);
  cairo_region_destroy(region_);
  region_ = copy;
}

cairo_rectangle_int_t Region::Rect(int x1, int y1, int x2, int y2) {
  if (x1 > x2) std::swap(x1, x2);
  if (y1 > y2) std::swap(y1, y2);
  return {x1, y1, x2 - x1, y2 - y1};
}

int Region::Kind(const cairo_region_t* region) {
  int n = cairo_region_num_rectangles(region);
  return n == 0 ? NULLREGION : n == 1 ? SIMPLEREGION : COMPLEXREGION;
}

cairo_region_t* Region::CreateRoundRect(int x1, int y1, int x2, int y2, int w, int h) {
  if (x1 > x2) std::swap(x1, x2);
  if (y1 > y2) std::swap(y1, y2);
  // Win32 leaves out the last column and row of a rounded rectangle.
  int width = x2 - x1 - 1;
  int height = y2 - y1 - 1;
  if (width <= 0 || height <= 0) return cairo_region_create();
  w = std::clamp(std::abs(w), 0, width);
  h = std::clamp(std::abs(h), 0, height);
  if (w < 2 || h < 2) {
    cairo_rectangle_int_t box{x1, y1, width, height};
    return cairo_region_create_rectangle(&box);
  }
  // Each row spans the box minus the corner ellipse's inset at the row's
  // centre line; rows of the straight middle span the whole box.
  const double a = w / 2.0;
  const double b = h / 2.0;
  auto inset = [&](int row) {  // row counted from the nearer edge
    double dy = b - (row + 0.5);
    if (dy <= 0) return 0;
    double dx = a * std::sqrt(std::max(0.0, 1.0 - (dy * dy) / (b * b)));
    return static_cast<int>(std::lround(a - dx));
  };
  std::vector<cairo_rectangle_int_t> rows;
  int corner_rows = (h + 1) / 2;
  for (int r = 0; r < corner_rows && r < height; ++r) {
    int in = inset(r);
    rows.push_back({x1 + in, y1 + r, width - 2 * in, 1});
    int mirrored = height - 1 - r;
    if (mirrored > r && mirrored >= corner_rows) rows.push_back({x1 + in, y1 + mirrored, width - 2 * in, 1});
  }
  int middle_top = corner_rows;
  int middle_bottom = height - corner_rows;
  if (middle_bottom > middle_top) rows.push_back({x1, y1 + middle_top, width, middle_bottom - middle_top});
  rows.erase(std::remove_if(rows.begin(), rows.end(), [](const auto& r) { return r.width <= 0; }), rows.end());
  return cairo_region_create_rectangles(rows.data(), static_cast<int>(rows.size()));
}

}  // namespace platform::gdi
