#include "window/ShownImage.h"

namespace platform::window {

cairo_surface_t* ShownImage(cairo_surface_t* image, const cairo_region_t* shape, BYTE alpha) {
  int width = cairo_image_surface_get_width(image), height = cairo_image_surface_get_height(image);
  cairo_surface_t* shown = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
  cairo_t* cr = cairo_create(shown);
  if (shape) {
    for (int i = 0; i < cairo_region_num_rectangles(shape); ++i) {
      cairo_rectangle_int_t box;
      cairo_region_get_rectangle(shape, i, &box);
      cairo_rectangle(cr, box.x, box.y, box.width, box.height);
    }
    cairo_clip(cr);
  }
  cairo_set_source_surface(cr, image, 0, 0);
  cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
  cairo_paint_with_alpha(cr, alpha / 255.0);
  cairo_destroy(cr);
  return shown;
}

}  // namespace platform::window
