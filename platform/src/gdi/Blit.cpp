// Copies, stretches, alpha blending, gradients, fills and pen lines. Each
// call draws through the DC's cairo context, so the clip always applies.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "gdi/DeviceContext.h"
#include "gdi/Region.h"
#include "win32/Errors.h"

using namespace platform::gdi;

namespace {

RECT Bounds(int x, int y, int w, int h) { return {x, y, x + w, y + h}; }

// A source for reading: the DC's surface, or a copy of the part read when
// source and destination are the same surface (cairo cannot read and write
// one image at once). Offsets map source coordinates into the surface.
struct Source {
  cairo_surface_t* surface = nullptr;
  int dx = 0, dy = 0;
  bool owned = false;
  ~Source() {
    if (owned) cairo_surface_destroy(surface);
  }
};

bool ReadableSource(DeviceContext& dst, DeviceContext& src, const cairo_rectangle_int_t& part, Source& out) {
  cairo_surface_t* surface = src.Surface();
  if (!surface) return false;
  cairo_surface_mark_dirty(surface);
  if (surface != dst.Surface()) {
    out.surface = surface;
    return true;
  }
  out.surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, part.width, part.height);
  out.owned = true;
  out.dx = -part.x;
  out.dy = -part.y;
  cairo_t* cr = cairo_create(out.surface);
  cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
  cairo_set_source_surface(cr, surface, -part.x, -part.y);
  cairo_paint(cr);
  cairo_destroy(cr);
  return cairo_surface_status(out.surface) == CAIRO_STATUS_SUCCESS;
}

// A negative extent runs back from x, x included (the usual idiom to
// mirror into [x - w + 1, x + 1)).
void Normalize(int& x, int& w, bool& mirrored) {
  if (w < 0) {
    x += w + 1;
    w = -w;
    mirrored = !mirrored;
  }
}

// An unscaled opaque copy between 32-bit surfaces, row by row inside each
// rectangle of the clip: the same bytes cairo would write, without its
// per-call set-up, which dominates small copies such as tiles. False when
// the surfaces are not both ARGB32 images (the caller then uses cairo).
bool CopyRows(DeviceContext& dst, const Source& source, int x0, int y0, int w, int h, int cx0, int cy0) {
  cairo_surface_t* to = dst.Surface();
  if (cairo_surface_get_type(to) != CAIRO_SURFACE_TYPE_IMAGE ||
      cairo_surface_get_type(source.surface) != CAIRO_SURFACE_TYPE_IMAGE ||
      cairo_image_surface_get_format(to) != CAIRO_FORMAT_ARGB32 ||
      cairo_image_surface_get_format(source.surface) != CAIRO_FORMAT_ARGB32)
    return false;
  cairo_surface_flush(to);
  unsigned char* out = cairo_image_surface_get_data(to);
  const unsigned char* in = cairo_image_surface_get_data(source.surface);
  const int out_stride = cairo_image_surface_get_stride(to), in_stride = cairo_image_surface_get_stride(source.surface);
  const cairo_region_t* clip = dst.EffectiveClip();
  const cairo_rectangle_int_t wanted{x0, y0, w, h};
  cairo_region_t* visible = cairo_region_create_rectangle(&wanted);
  cairo_region_intersect(visible, clip);
  for (int i = 0, n = cairo_region_num_rectangles(visible); i < n; ++i) {
    cairo_rectangle_int_t r;
    cairo_region_get_rectangle(visible, i, &r);
    const int sx = cx0 + source.dx + (r.x - x0), sy = cy0 + source.dy + (r.y - y0);
    for (int row = 0; row < r.height; ++row)
      std::memmove(out + static_cast<ptrdiff_t>(r.y + row) * out_stride + static_cast<ptrdiff_t>(r.x) * 4,
                   in + static_cast<ptrdiff_t>(sy + row) * in_stride + static_cast<ptrdiff_t>(sx) * 4,
                   static_cast<size_t>(r.width) * 4);
    cairo_surface_mark_dirty_rectangle(to, r.x, r.y, r.width, r.height);
  }
  cairo_region_destroy(visible);
  return true;
}

// Draws the source rectangle (sx, sy, sw, sh) of src into the destination
// rectangle of dst, scaled (and mirrored where the signs of the widths or
// heights differ). The source is cut to its surface first.
bool Compose(DeviceContext& dst, DeviceContext& src, int dx, int dy, int dw, int dh, int sx, int sy, int sw, int sh,
             cairo_operator_t op, double alpha, bool use_source_alpha) {
  bool mirror_x = false, mirror_y = false;
  Normalize(dx, dw, mirror_x);
  Normalize(sx, sw, mirror_x);
  Normalize(dy, dh, mirror_y);
  Normalize(sy, sh, mirror_y);
  if (dw == 0 || dh == 0 || sw == 0 || sh == 0) return true;
  // Cut the source to the surface and the destination by the same share.
  int cx0 = std::max(sx, 0), cy0 = std::max(sy, 0);
  int cx1 = std::min(sx + sw, src.Width()), cy1 = std::min(sy + sh, src.Height());
  if (cx1 <= cx0 || cy1 <= cy0) return true;
  auto map = [](int s, int s0, int sl, int d0, int dl, bool mirrored) {
    double t = static_cast<double>(s - s0) / sl;
    return d0 + (mirrored ? 1 - t : t) * dl;
  };
  double ux0 = map(cx0, sx, sw, dx, dw, mirror_x), ux1 = map(cx1, sx, sw, dx, dw, mirror_x);
  double uy0 = map(cy0, sy, sh, dy, dh, mirror_y), uy1 = map(cy1, sy, sh, dy, dh, mirror_y);
  int x0 = static_cast<int>(std::lround(std::min(ux0, ux1))), x1 = static_cast<int>(std::lround(std::max(ux0, ux1)));
  int y0 = static_cast<int>(std::lround(std::min(uy0, uy1))), y1 = static_cast<int>(std::lround(std::max(uy0, uy1)));
  if (x1 <= x0 || y1 <= y0) return true;
  int cw = cx1 - cx0, ch = cy1 - cy0;
  int w = x1 - x0, h = y1 - y0;

  Source source;
  if (!ReadableSource(dst, src, {cx0, cy0, cw, ch}, source)) return false;
  cairo_t* cr = dst.Begin();
  if (!cr) return false;
  bool scaled = w != cw || h != ch || mirror_x || mirror_y;
  if (!scaled && op == CAIRO_OPERATOR_SOURCE && alpha >= 1.0 && use_source_alpha &&
      CopyRows(dst, source, x0, y0, w, h, cx0, cy0)) {
    dst.End(Bounds(x0, y0, w, h));
    return true;
  }

  // A scaled read sees the source rectangle as an image of its own over the
  // same memory, padded at its edges, so that neighbours never bleed in.
  // Without per-pixel alpha the source counts as opaque: an RGB24 view of
  // the memory ignores the alpha byte. An unscaled read with alpha needs no
  // view at all.
  cairo_surface_t* view = nullptr;
  int view_x = cx0 + source.dx, view_y = cy0 + source.dy;
  if (scaled || !use_source_alpha) {
    unsigned char* data = cairo_image_surface_get_data(source.surface);
    if (data == nullptr) return false;
    const int stride = cairo_image_surface_get_stride(source.surface);
    view = cairo_image_surface_create_for_data(
        data + static_cast<ptrdiff_t>(view_y) * stride + static_cast<ptrdiff_t>(view_x) * 4,
        use_source_alpha ? CAIRO_FORMAT_ARGB32 : CAIRO_FORMAT_RGB24, cw, ch, stride);
    view_x = view_y = 0;
  }
  cairo_pattern_t* pattern = cairo_pattern_create_for_surface(view ? view : source.surface);
  if (!scaled) {
    cairo_matrix_t m;
    cairo_matrix_init_translate(&m, view_x - x0, view_y - y0);
    cairo_pattern_set_matrix(pattern, &m);
    cairo_pattern_set_filter(pattern, CAIRO_FILTER_NEAREST);
  } else {
    double xx = static_cast<double>(cw) / w, yy = static_cast<double>(ch) / h;
    cairo_matrix_t m;
    cairo_matrix_init(&m, mirror_x ? -xx : xx, 0, 0, mirror_y ? -yy : yy, mirror_x ? cw + x0 * xx : -x0 * xx,
                      mirror_y ? ch + y0 * yy : -y0 * yy);
    cairo_pattern_set_matrix(pattern, &m);
    cairo_pattern_set_extend(pattern, CAIRO_EXTEND_PAD);
    cairo_pattern_set_filter(pattern, dst.Current().stretch_mode == HALFTONE ? CAIRO_FILTER_GOOD : CAIRO_FILTER_NEAREST);
  }
  cairo_set_operator(cr, op);
  cairo_set_source(cr, pattern);
  cairo_rectangle(cr, x0, y0, w, h);
  if (alpha >= 1.0) {
    cairo_fill(cr);
  } else {
    cairo_save(cr);
    cairo_clip(cr);
    cairo_paint_with_alpha(cr, alpha);
    cairo_restore(cr);
  }
  cairo_set_source_rgb(cr, 0, 0, 0);  // lets go of the source surface
  cairo_pattern_destroy(pattern);
  if (view) cairo_surface_destroy(view);
  dst.End(Bounds(x0, y0, w, h));
  return true;
}

bool FillSolid(DeviceContext& dc, const RECT& r, double red, double green, double blue, double alpha) {
  if (r.right <= r.left || r.bottom <= r.top) return true;
  cairo_t* cr = dc.Begin();
  if (!cr) return false;
  cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
  cairo_set_source_rgba(cr, red, green, blue, alpha);
  cairo_rectangle(cr, r.left, r.top, r.right - r.left, r.bottom - r.top);
  cairo_fill(cr);
  dc.End(r);
  return true;
}

bool FillWithBrush(DeviceContext& dc, const RECT& r, const Brush& brush) {
  if (brush.Style() == BS_NULL) return true;
  COLORREF c = brush.Color();
  return FillSolid(dc, r, GetRValue(c) / 255.0, GetGValue(c) / 255.0, GetBValue(c) / 255.0, 1.0);
}

}  // namespace

BOOL WINAPI BitBlt(HDC hdc, int x, int y, int cx, int cy, HDC hdcSrc, int x1, int y1, DWORD rop) {
  auto dst = DeviceContext::Of(hdc);
  if (!dst) return FALSE;
  RECT r = Bounds(x, y, cx, cy);
  switch (rop) {
    case BLACKNESS: return FillSolid(*dst, r, 0, 0, 0, 0);
    case WHITENESS: return FillSolid(*dst, r, 1, 1, 1, 1);
    case PATCOPY: return dst->Current().brush.object && FillWithBrush(*dst, r, *dst->Current().brush.object);
    case SRCCOPY: break;
    default: SetLastError(ERROR_INVALID_PARAMETER); return FALSE;
  }
  auto src = DeviceContext::Of(hdcSrc);
  if (!src) return FALSE;
  if (cx <= 0 || cy <= 0) return TRUE;
  return Compose(*dst, *src, x, y, cx, cy, x1, y1, cx, cy, CAIRO_OPERATOR_SOURCE, 1.0, true) ? TRUE : FALSE;
}

BOOL WINAPI StretchBlt(HDC hdcDest, int xDest, int yDest, int wDest, int hDest, HDC hdcSrc, int xSrc, int ySrc,
                       int wSrc, int hSrc, DWORD rop) {
  if (rop != SRCCOPY) {
    if (wDest == wSrc && hDest == hSrc) return BitBlt(hdcDest, xDest, yDest, wDest, hDest, hdcSrc, xSrc, ySrc, rop);
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  auto dst = DeviceContext::Of(hdcDest);
  auto src = DeviceContext::Of(hdcSrc);
  if (!dst || !src) return FALSE;
  return Compose(*dst, *src, xDest, yDest, wDest, hDest, xSrc, ySrc, wSrc, hSrc, CAIRO_OPERATOR_SOURCE, 1.0, true)
             ? TRUE
             : FALSE;
}

BOOL WINAPI AlphaBlend(HDC hdcDest, int xDest, int yDest, int wDest, int hDest, HDC hdcSrc, int xSrc, int ySrc,
                       int wSrc, int hSrc, BLENDFUNCTION blend) {
  auto dst = DeviceContext::Of(hdcDest);
  auto src = DeviceContext::Of(hdcSrc);
  if (!dst || !src) return FALSE;
  // Win32 refuses negative sizes and source rectangles outside the source.
  if (blend.BlendOp != AC_SRC_OVER || wDest < 0 || hDest < 0 || wSrc < 0 || hSrc < 0 || xSrc < 0 || ySrc < 0 ||
      xSrc + wSrc > src->Width() || ySrc + hSrc > src->Height()) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (blend.SourceConstantAlpha == 0) return TRUE;
  return Compose(*dst, *src, xDest, yDest, wDest, hDest, xSrc, ySrc, wSrc, hSrc, CAIRO_OPERATOR_OVER,
                 blend.SourceConstantAlpha / 255.0, (blend.AlphaFormat & AC_SRC_ALPHA) != 0)
             ? TRUE
             : FALSE;
}

BOOL WINAPI GradientFill(HDC hdc, PTRIVERTEX vertices, ULONG vertex_count, PVOID mesh, ULONG mesh_count, ULONG mode) {
  auto dc = DeviceContext::Of(hdc);
  if (!dc || !vertices || !mesh || (mode != GRADIENT_FILL_RECT_H && mode != GRADIENT_FILL_RECT_V)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  auto* rects = static_cast<const GRADIENT_RECT*>(mesh);
  for (ULONG i = 0; i < mesh_count; ++i) {
    if (rects[i].UpperLeft >= vertex_count || rects[i].LowerRight >= vertex_count) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return FALSE;
    }
  }
  for (ULONG i = 0; i < mesh_count; ++i) {
    const TRIVERTEX& a = vertices[rects[i].UpperLeft];
    const TRIVERTEX& b = vertices[rects[i].LowerRight];
    int left = std::min(a.x, b.x), right = std::max(a.x, b.x);
    int top = std::min(a.y, b.y), bottom = std::max(a.y, b.y);
    if (right <= left || bottom <= top) continue;
    cairo_t* cr = dc->Begin();
    if (!cr) return FALSE;
    // The first and last pixel centres carry the two colours exactly.
    bool horizontal = mode == GRADIENT_FILL_RECT_H;
    double from = (horizontal ? a.x : a.y), to = (horizontal ? b.x : b.y);
    from += from <= to ? 0.5 : -0.5;
    to += from <= to ? -0.5 : 0.5;
    if (from == to) to += 0.001;
    cairo_pattern_t* pattern =
        horizontal ? cairo_pattern_create_linear(from, 0, to, 0) : cairo_pattern_create_linear(0, from, 0, to);
    for (const TRIVERTEX* v : {&a, &b}) {
      // The vertices hold premultiplied values, as the DIB stores them.
      double alpha = (v->Alpha >> 8) / 255.0;
      auto channel = [&](COLOR16 c) { return alpha > 0 ? std::min(1.0, (c >> 8) / 255.0 / alpha) : 0.0; };
      cairo_pattern_add_color_stop_rgba(pattern, v == &a ? 0 : 1, channel(v->Red), channel(v->Green),
                                        channel(v->Blue), alpha);
    }
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_set_source(cr, pattern);
    cairo_rectangle(cr, left, top, right - left, bottom - top);
    cairo_fill(cr);
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_pattern_destroy(pattern);
    dc->End({left, top, right, bottom});
  }
  return TRUE;
}

int WINAPI FillRect(HDC hdc, const RECT* rect, HBRUSH hbr) {
  auto dc = DeviceContext::Of(hdc);
  auto brush = FindObjectOf<Brush>(hbr);
  if (!dc || !brush || !rect) return 0;
  return FillWithBrush(*dc, *rect, *brush) ? 1 : 0;
}

BOOL WINAPI FillRgn(HDC hdc, HRGN hrgn, HBRUSH hbr) {
  auto dc = DeviceContext::Of(hdc);
  auto region = FindObjectOf<Region>(hrgn);
  auto brush = FindObjectOf<Brush>(hbr);
  if (!dc || !region || !brush) return FALSE;
  for (int i = 0, n = cairo_region_num_rectangles(region->Get()); i < n; ++i) {
    cairo_rectangle_int_t r;
    cairo_region_get_rectangle(region->Get(), i, &r);
    if (!FillWithBrush(*dc, Bounds(r.x, r.y, r.width, r.height), *brush)) return FALSE;
  }
  return TRUE;
}

BOOL WINAPI MoveToEx(HDC hdc, int x, int y, LPPOINT old) {
  auto dc = DeviceContext::Of(hdc);
  if (!dc) return FALSE;
  if (old) *old = dc->Current().position;
  dc->Current().position = {x, y};
  return TRUE;
}

BOOL WINAPI LineTo(HDC hdc, int x, int y) {
  auto dc = DeviceContext::Of(hdc);
  if (!dc) return FALSE;
  POINT from = dc->Current().position;
  dc->Current().position = {x, y};
  auto pen = dc->Current().pen.object;
  if (!pen || pen->Style() == PS_NULL) return TRUE;
  cairo_t* cr = dc->Begin();
  if (!cr) return FALSE;
  SetSourceColor(cr, pen->Color());
  int width = pen->Width();
  cairo_set_line_width(cr, width);
  if (width == 1) {
    // A one-pixel line covers its first pixel and stops before its last.
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
    static const double kDash[] = {18, 6}, kDot[] = {3, 3}, kDashDot[] = {9, 6, 3, 6}, kDashDotDot[] = {9, 3, 3, 3, 3, 3};
    switch (pen->Style()) {
      case PS_DASH: cairo_set_dash(cr, kDash, 2, 0); break;
      case PS_DOT: cairo_set_dash(cr, kDot, 2, 0); break;
      case PS_DASHDOT: cairo_set_dash(cr, kDashDot, 4, 0); break;
      case PS_DASHDOTDOT: cairo_set_dash(cr, kDashDotDot, 6, 0); break;
      default: break;
    }
  } else {
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  }
  cairo_move_to(cr, from.x + 0.5, from.y + 0.5);
  cairo_line_to(cr, x + 0.5, y + 0.5);
  cairo_stroke(cr);
  cairo_set_dash(cr, nullptr, 0, 0);
  int pad = width;
  dc->End({std::min<LONG>(from.x, x) - pad, std::min<LONG>(from.y, y) - pad, std::max<LONG>(from.x, x) + pad + 1,
           std::max<LONG>(from.y, y) + pad + 1});
  return TRUE;
}
