// Draws the demo skin's images and the background the demo service hands
// out, so that every picture of the demo is ours and can be made again:
//
//   demo-skin-images DEMO_DIR     (writes DEMO_DIR/skin/images/*.png and
//                                  DEMO_DIR/service/files/bg.png)
//
// Deterministic: the same cairo gives the same files.
#include <cairo.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;

struct Rgba {
  double r, g, b, a;
};

Rgba Hex(uint32_t rgb, double alpha = 1) {
  return Rgba{((rgb >> 16) & 255) / 255.0, ((rgb >> 8) & 255) / 255.0, (rgb & 255) / 255.0, alpha};
}

void Source(cairo_t* cr, Rgba c) { cairo_set_source_rgba(cr, c.r, c.g, c.b, c.a); }

void RoundedRect(cairo_t* cr, double x, double y, double w, double h, double radius) {
  cairo_new_sub_path(cr);
  cairo_arc(cr, x + w - radius, y + radius, radius, -M_PI / 2, 0);
  cairo_arc(cr, x + w - radius, y + h - radius, radius, 0, M_PI / 2);
  cairo_arc(cr, x + radius, y + h - radius, radius, M_PI / 2, M_PI);
  cairo_arc(cr, x + radius, y + radius, radius, M_PI, 3 * M_PI / 2);
  cairo_close_path(cr);
}

void VerticalGradient(cairo_t* cr, double y0, double y1, Rgba top, Rgba bottom) {
  cairo_pattern_t* p = cairo_pattern_create_linear(0, y0, 0, y1);
  cairo_pattern_add_color_stop_rgba(p, 0, top.r, top.g, top.b, top.a);
  cairo_pattern_add_color_stop_rgba(p, 1, bottom.r, bottom.g, bottom.b, bottom.a);
  cairo_set_source(cr, p);
  cairo_pattern_destroy(p);
}

bool Save(cairo_surface_t* surface, const fs::path& path) {
  fs::create_directories(path.parent_path());
  bool ok = cairo_surface_write_to_png(surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
  std::printf("%s %s\n", ok ? "wrote" : "cannot write", path.c_str());
  cairo_surface_destroy(surface);
  return ok;
}

// 600x360: a night sky over three ridges, a low moon, a few stars. The
// lower third stays quiet: the skin lays its status panel there.
bool Background(const fs::path& path) {
  constexpr int kWidth = 600, kHeight = 360;
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kWidth, kHeight);
  cairo_t* cr = cairo_create(s);
  cairo_pattern_t* sky = cairo_pattern_create_linear(0, 0, 0, kHeight);
  cairo_pattern_add_color_stop_rgb(sky, 0, 0.05, 0.11, 0.22);
  cairo_pattern_add_color_stop_rgb(sky, 0.55, 0.13, 0.33, 0.47);
  cairo_pattern_add_color_stop_rgb(sky, 1, 0.04, 0.08, 0.13);
  cairo_set_source(cr, sky);
  cairo_paint(cr);
  cairo_pattern_destroy(sky);

  uint32_t seed = 17;
  auto next = [&seed] {
    seed = seed * 1103515245u + 12345u;
    return (seed >> 8) & 0xFFFF;
  };
  for (int i = 0; i < 70; ++i) {
    double x = next() % kWidth, y = next() % 170, size = 0.6 + (next() % 100) / 90.0;
    Source(cr, Rgba{1, 1, 1, 0.35 + (next() % 60) / 100.0});
    cairo_arc(cr, x, y, size, 0, 2 * M_PI);
    cairo_fill(cr);
  }

  cairo_pattern_t* glow = cairo_pattern_create_radial(455, 105, 20, 455, 105, 90);
  cairo_pattern_add_color_stop_rgba(glow, 0, 1, 0.93, 0.75, 0.35);
  cairo_pattern_add_color_stop_rgba(glow, 1, 1, 0.93, 0.75, 0);
  cairo_set_source(cr, glow);
  cairo_paint(cr);
  cairo_pattern_destroy(glow);
  Source(cr, Rgba{1, 0.95, 0.82, 1});
  cairo_arc(cr, 455, 105, 30, 0, 2 * M_PI);
  cairo_fill(cr);

  struct Ridge {
    double base, height, wave;
    Rgba colour;
  } ridges[] = {
      {215, 70, 0.011, Hex(0x1E4E6B, 0.85)},
      {240, 55, 0.017, Hex(0x143A52, 0.92)},
      {262, 40, 0.023, Hex(0x0C2233, 1)},
  };
  for (const Ridge& ridge : ridges) {
    cairo_move_to(cr, 0, kHeight);
    for (int x = 0; x <= kWidth; x += 4) {
      double y = ridge.base - ridge.height * (0.55 + 0.45 * std::sin(x * ridge.wave + ridge.base)) *
                                  (0.7 + 0.3 * std::cos(x * ridge.wave * 2.7));
      cairo_line_to(cr, x, y);
    }
    cairo_line_to(cr, kWidth, kHeight);
    cairo_close_path(cr);
    Source(cr, ridge.colour);
    cairo_fill(cr);
  }
  cairo_destroy(cr);
  return Save(s, path);
}

// 84x56: minimise (top row) and close (bottom row) in the states normal,
// hot and pushed, 28x28 each.
bool CaptionButtons(const fs::path& path) {
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 84, 56);
  cairo_t* cr = cairo_create(s);
  for (int row = 0; row < 2; ++row) {
    for (int state = 0; state < 3; ++state) {
      double x = state * 28, y = row * 28;
      if (state > 0) {
        Rgba back = row == 1 ? Hex(0xE0383E, state == 1 ? 0.9 : 1) : Rgba{1, 1, 1, state == 1 ? 0.18 : 0.3};
        if (row == 1 && state == 2) back = Hex(0xA8262B);
        RoundedRect(cr, x + 2, y + 2, 24, 24, 5);
        Source(cr, back);
        cairo_fill(cr);
      }
      Source(cr, Rgba{1, 1, 1, 0.95});
      cairo_set_line_width(cr, 2);
      cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
      if (row == 0) {
        cairo_move_to(cr, x + 9, y + 15);
        cairo_line_to(cr, x + 19, y + 15);
      } else {
        cairo_move_to(cr, x + 9, y + 9);
        cairo_line_to(cr, x + 19, y + 19);
        cairo_move_to(cr, x + 19, y + 9);
        cairo_line_to(cr, x + 9, y + 19);
      }
      cairo_stroke(cr);
    }
  }
  cairo_destroy(cr);
  return Save(s, path);
}

// 120x96: the retry button in the states normal, hot and pushed, 120x32
// each, warm so that it stands out on the cool background.
bool RetryButton(const fs::path& path) {
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 120, 96);
  cairo_t* cr = cairo_create(s);
  const Rgba tops[] = {Hex(0xF7A93B), Hex(0xFFBE5C), Hex(0xD9821B)};
  const Rgba bottoms[] = {Hex(0xE07B12), Hex(0xF08F22), Hex(0xB9650A)};
  for (int state = 0; state < 3; ++state) {
    double y = state * 32;
    RoundedRect(cr, 0.5, y + 0.5, 119, 31, 6);
    VerticalGradient(cr, y, y + 32, tops[state], bottoms[state]);
    cairo_fill_preserve(cr);
    Source(cr, Rgba{1, 1, 1, 0.25});
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
  }
  cairo_destroy(cr);
  return Save(s, path);
}

// 552x20: the progress track (top 10 rows) and its fill (bottom 10 rows),
// rounded at both ends; the skin keeps 5 pixels at each end unstretched.
bool ProgressBar(const fs::path& path) {
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 552, 20);
  cairo_t* cr = cairo_create(s);
  RoundedRect(cr, 0, 0, 552, 10, 5);
  Source(cr, Rgba{1, 1, 1, 0.16});
  cairo_fill(cr);
  RoundedRect(cr, 0, 10, 552, 10, 5);
  cairo_pattern_t* fill = cairo_pattern_create_linear(0, 0, 552, 0);
  cairo_pattern_add_color_stop_rgb(fill, 0, 0.21, 0.82, 0.5);
  cairo_pattern_add_color_stop_rgb(fill, 1, 0.12, 0.64, 1);
  cairo_set_source(cr, fill);
  cairo_fill(cr);
  cairo_pattern_destroy(fill);
  cairo_destroy(cr);
  return Save(s, path);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: demo-skin-images DEMO_DIR\n");
    return 2;
  }
  fs::path demo = argv[1];
  bool ok = Background(demo / "service" / "files" / "bg.png");
  ok = CaptionButtons(demo / "skin" / "images" / "caption-buttons.png") && ok;
  ok = RetryButton(demo / "skin" / "images" / "retry.png") && ok;
  ok = ProgressBar(demo / "skin" / "images" / "progress.png") && ok;
  return ok ? 0 : 1;
}
