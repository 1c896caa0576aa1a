// Gdiplus::Graphics: drawing through a device context's cairo context.
// GDI+ puts pixel centres on whole coordinates unless the pixel offset is
// "half", so a one-pixel line at y = 5 covers exactly row 5.
#include <algorithm>
#include <cmath>
#include <cwchar>

#include "gdi/DeviceContext.h"
#include "gdi/TextLayout.h"
#include "win32/Gdiplus.h"

using platform::gdi::DeviceContext;
using platform::gdi::FindObjectOf;
using platform::gdi::FontFace;

namespace Gdiplus {
namespace {

constexpr double kPi = 3.14159265358979323846;

FontFace* FaceOf(const Font* font) {
  if (!font || !font->Handle()) return nullptr;
  auto object = FindObjectOf<platform::gdi::Font>(font->Handle());
  return object ? &object->Face() : nullptr;
}

void SetSource(cairo_t* cr, const Color& c) {
  cairo_set_source_rgba(cr, c.GetR() / 255.0, c.GetG() / 255.0, c.GetB() / 255.0, c.GetA() / 255.0);
}

// The parametric angle of the point at geometric angle theta on an
// ellipse with radii rx, ry (GDI+ measures arcs by the geometric angle).
double Parametric(double theta, double rx, double ry) {
  return std::atan2(rx * std::sin(theta), ry * std::cos(theta));
}

void AppendArc(cairo_t* cr, const REAL* a, bool first) {
  double rx = a[2] / 2.0, ry = a[3] / 2.0;
  double cx = a[0] + rx, cy = a[1] + ry;
  double sweep = std::clamp<double>(a[5], -360, 360) * kPi / 180;
  double start = a[4] * kPi / 180;
  double t0 = Parametric(start, rx, ry);
  double t1 = Parametric(start + sweep, rx, ry);
  if (std::fabs(sweep) >= 2 * kPi - 1e-9) {
    t1 = t0 + (sweep > 0 ? 2 * kPi : -2 * kPi);
  } else if (sweep > 0) {
    while (t1 < t0) t1 += 2 * kPi;
  } else {
    while (t1 > t0) t1 -= 2 * kPi;
  }
  if (first) cairo_new_sub_path(cr);
  cairo_save(cr);
  cairo_translate(cr, cx, cy);
  cairo_scale(cr, rx, ry);
  if (sweep >= 0) cairo_arc(cr, 0, 0, 1, t0, t1);
  else cairo_arc_negative(cr, 0, 0, 1, t0, t1);
  cairo_restore(cr);
}

void AppendPath(cairo_t* cr, const GraphicsPath& path) {
  for (const auto& figure : path.Figures()) {
    bool first = true;
    for (const auto& segment : figure.segments) {
      if (segment.kind == GraphicsPath::Segment::Line) {
        if (first) cairo_move_to(cr, segment.a[0], segment.a[1]);
        else cairo_line_to(cr, segment.a[0], segment.a[1]);
        cairo_line_to(cr, segment.a[2], segment.a[3]);
      } else {
        AppendArc(cr, segment.a, first);
      }
      first = false;
    }
    if (figure.closed && !first) cairo_close_path(cr);
  }
}

// Sets up cr for shapes: anti-aliasing and where pixel centres lie.
void PrepareShapes(cairo_t* cr, SmoothingMode smoothing, PixelOffsetMode offset) {
  bool smooth = smoothing == SmoothingModeAntiAlias || smoothing == SmoothingModeAntiAlias8x8 ||
                smoothing == SmoothingModeHighQuality;
  cairo_set_antialias(cr, smooth ? CAIRO_ANTIALIAS_DEFAULT : CAIRO_ANTIALIAS_NONE);
  if (offset != PixelOffsetModeHalf && offset != PixelOffsetModeHighQuality) cairo_translate(cr, 0.5, 0.5);
}

RECT Outer(double x0, double y0, double x1, double y1) {
  return {static_cast<LONG>(std::floor(x0)) - 1, static_cast<LONG>(std::floor(y0)) - 1,
          static_cast<LONG>(std::ceil(x1)) + 1, static_cast<LONG>(std::ceil(y1)) + 1};
}

}  // namespace

REAL Font::GetSize() const {
  FontFace* face = FaceOf(this);
  return face ? static_cast<REAL>(face->GetMetrics().em) : 0;
}

Graphics::Graphics(HDC hdc) : hdc_(hdc) {
  if (!DeviceContext::Of(hdc)) status_ = InvalidParameter;
}

Graphics::~Graphics() = default;

Status Graphics::SetSmoothingMode(SmoothingMode mode) {
  if (mode < SmoothingModeDefault || mode > SmoothingModeAntiAlias8x8) return InvalidParameter;
  smoothing_ = mode;
  return Ok;
}

Status Graphics::SetPixelOffsetMode(PixelOffsetMode mode) {
  if (mode < PixelOffsetModeDefault || mode > PixelOffsetModeHalf) return InvalidParameter;
  pixel_offset_ = mode;
  return Ok;
}

Status Graphics::SetTextRenderingHint(TextRenderingHint hint) {
  text_hint_ = hint;
  return Ok;
}

Status Graphics::FillRectangle(const Brush* brush, REAL x, REAL y, REAL width, REAL height) {
  auto dc = DeviceContext::Of(hdc_);
  if (!dc || !brush) return InvalidParameter;
  if (width <= 0 || height <= 0) return Ok;
  cairo_t* cr = dc->Begin();
  if (!cr) return GenericError;
  cairo_save(cr);
  PrepareShapes(cr, smoothing_, pixel_offset_);
  if (cairo_get_antialias(cr) == CAIRO_ANTIALIAS_NONE) {
    // Aliased: the pixels whose centres lie in [x, x + width).
    cairo_identity_matrix(cr);
    bool half = pixel_offset_ == PixelOffsetModeHalf || pixel_offset_ == PixelOffsetModeHighQuality;
    double shift = half ? -0.5 : 0;
    double x0 = std::ceil(x + shift), y0 = std::ceil(y + shift);
    double x1 = std::ceil(x + width + shift), y1 = std::ceil(y + height + shift);
    cairo_rectangle(cr, x0, y0, x1 - x0, y1 - y0);
  } else {
    cairo_rectangle(cr, x, y, width, height);
  }
  SetSource(cr, brush->BrushColor());
  cairo_fill(cr);
  cairo_restore(cr);
  dc->End(Outer(x, y, x + width, y + height));
  return Ok;
}

Status Graphics::Stroke(const Pen* pen, const GraphicsPath& path) {
  auto dc = DeviceContext::Of(hdc_);
  if (!dc || !pen) return InvalidParameter;
  if (path.Figures().empty()) return Ok;
  cairo_t* cr = dc->Begin();
  if (!cr) return GenericError;
  cairo_save(cr);
  PrepareShapes(cr, smoothing_, pixel_offset_);
  double width = std::max(pen->GetWidth(), 1.0f);  // thinner pens draw one pixel, as in GDI+
  Color color;
  pen->GetColor(&color);
  SetSource(cr, color);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_MITER);
  static const double kDash[] = {3, 1}, kDot[] = {1, 1}, kDashDot[] = {3, 1, 1, 1}, kDashDotDot[] = {3, 1, 1, 1, 1, 1};
  const double* pattern = nullptr;
  int count = 0;
  switch (pen->GetDashStyle()) {
    case DashStyleDash: pattern = kDash, count = 2; break;
    case DashStyleDot: pattern = kDot, count = 2; break;
    case DashStyleDashDot: pattern = kDashDot, count = 4; break;
    case DashStyleDashDotDot: pattern = kDashDotDot, count = 6; break;
    default: break;
  }
  if (pattern) {
    double scaled[6];
    for (int i = 0; i < count; ++i) scaled[i] = pattern[i] * width;
    cairo_set_dash(cr, scaled, count, 0);
  }
  bool all_closed = std::all_of(path.Figures().begin(), path.Figures().end(), [](const auto& f) { return f.closed; });
  AppendPath(cr, path);
  double x0, y0, x1, y1;
  cairo_set_line_width(cr, width);
  cairo_stroke_extents(cr, &x0, &y0, &x1, &y1);
  if (pen->GetAlignment() == PenAlignmentInset && all_closed && width > 1) {
    // Inside the outline only: twice the width, clipped to the shape.
    cairo_set_fill_rule(cr, path.GetFillMode() == FillModeAlternate ? CAIRO_FILL_RULE_EVEN_ODD : CAIRO_FILL_RULE_WINDING);
    cairo_clip_preserve(cr);
    cairo_set_line_width(cr, 2 * width);
  }
  cairo_stroke(cr);
  cairo_restore(cr);
  dc->End(Outer(x0, y0, x1 + 1, y1 + 1));
  return Ok;
}

Status Graphics::DrawLine(const Pen* pen, REAL x1, REAL y1, REAL x2, REAL y2) {
  GraphicsPath path;
  path.AddLine(x1, y1, x2, y2);
  return Stroke(pen, path);
}

Status Graphics::DrawRectangle(const Pen* pen, REAL x, REAL y, REAL width, REAL height) {
  GraphicsPath path;
  path.AddRectangle(RectF(x, y, width, height));
  return Stroke(pen, path);
}

Status Graphics::DrawPath(const Pen* pen, const GraphicsPath* path) {
  if (!path) return InvalidParameter;
  return Stroke(pen, *path);
}

Status Graphics::FillPath(const Brush* brush, const GraphicsPath* path) {
  auto dc = DeviceContext::Of(hdc_);
  if (!dc || !brush || !path) return InvalidParameter;
  cairo_t* cr = dc->Begin();
  if (!cr) return GenericError;
  cairo_save(cr);
  PrepareShapes(cr, smoothing_, pixel_offset_);
  AppendPath(cr, *path);
  cairo_set_fill_rule(cr, path->GetFillMode() == FillModeAlternate ? CAIRO_FILL_RULE_EVEN_ODD : CAIRO_FILL_RULE_WINDING);
  double x0, y0, x1, y1;
  cairo_fill_extents(cr, &x0, &y0, &x1, &y1);
  SetSource(cr, brush->BrushColor());
  cairo_fill(cr);
  cairo_restore(cr);
  dc->End(Outer(x0, y0, x1 + 1, y1 + 1));
  return Ok;
}

Status Graphics::Text(const WCHAR* string, INT length, const Font* font, const RectF& box,
                      const StringFormat* format, const Brush* brush, RectF* measured, INT* fitted,
                      INT* lines_filled) const {
  using namespace platform::gdi;
  FontFace* face = FaceOf(font);
  auto dc = DeviceContext::Of(hdc_);
  if (!face || !dc || !string || (!brush && !measured)) return InvalidParameter;
  const StringFormat& f = format ? *format : *StringFormat::GenericDefault();
  std::wstring text(string, length < 0 ? std::wcslen(string) : static_cast<size_t>(length));
  const auto& m = face->GetMetrics();
  const double pad = f.IsTypographic() ? 0 : m.em / 6.0;
  const int flags = f.GetFormatFlags();
  const double avail = std::max(0.0, box.Width - 2 * pad);

  LayoutOptions options;
  options.wrap = !(flags & StringFormatFlagsNoWrap) && box.Width > 0;
  options.max_width = static_cast<int>(std::floor(avail));
  options.keep_trailing_spaces = flags & StringFormatFlagsMeasureTrailingSpaces;
  std::vector<TextLine> lines;
  BreakLines(*face, text, options, lines);

  const int line_height = m.height;
  size_t visible = lines.size();
  if (box.Height > 0) {
    double fit = box.Height / line_height;
    size_t limit = static_cast<size_t>((flags & StringFormatFlagsLineLimit) ? std::floor(fit + 1e-6) : std::ceil(fit - 1e-6));
    visible = std::min(visible, std::max<size_t>(limit, (flags & StringFormatFlagsLineLimit) ? 0 : 1));
  }
  StringTrimming trimming = f.GetTrimming();
  bool ellipsis = trimming == StringTrimmingEllipsisCharacter || trimming == StringTrimmingEllipsisWord ||
                  trimming == StringTrimmingEllipsisPath;
  static const std::wstring kEllipsis = L"\x2026";
  if (ellipsis && visible > 0) {
    TextLine& last = lines[visible - 1];
    if (visible < lines.size()) {
      // The rest of the text is cut: the last shown line ends in an ellipsis.
      size_t end = last.start;
      while (end < text.size() && text[end] != L'\n' && text[end] != L'\r') ++end;
      last.length = end - last.start;
      AddEllipsis(*face, text, last, kEllipsis, options.max_width);
    }
    if (box.Width > 0) {
      for (size_t i = 0; i < visible; ++i)
        if (!lines[i].ellipsis && lines[i].width > avail) AddEllipsis(*face, text, lines[i], kEllipsis, options.max_width);
    }
  }

  double widest = 0;
  for (size_t i = 0; i < visible; ++i) widest = std::max<double>(widest, lines[i].width);
  const double total = static_cast<double>(visible) * line_height;
  auto x_of = [&](const TextLine& line) {
    switch (f.GetAlignment()) {
      case StringAlignmentCenter: return box.X + pad + (avail - line.width) / 2;
      case StringAlignmentFar: return box.X + pad + avail - line.width;
      default: return box.X + pad;
    }
  };
  double top = box.Y;
  if (box.Height > 0 && f.GetLineAlignment() == StringAlignmentCenter) top += (box.Height - total) / 2;
  if (box.Height > 0 && f.GetLineAlignment() == StringAlignmentFar) top += box.Height - total;

  if (measured) {
    double left = box.X;
    if (visible > 0 && f.GetAlignment() != StringAlignmentNear) {
      left = x_of(lines[0]) - pad;
      for (size_t i = 1; i < visible; ++i) left = std::min(left, x_of(lines[i]) - pad);
    }
    *measured = RectF(static_cast<REAL>(left), static_cast<REAL>(top), static_cast<REAL>(widest + 2 * pad),
                      static_cast<REAL>(total));
  }
  if (fitted) {
    size_t end = visible ? lines[visible - 1].start + lines[visible - 1].length : 0;
    *fitted = static_cast<INT>(visible == lines.size() ? text.size() : end);
  }
  if (lines_filled) *lines_filled = static_cast<INT>(visible);
  if (!brush) return Ok;

  cairo_t* cr = dc->Begin();
  if (!cr) return GenericError;
  cairo_save(cr);
  if (!(flags & StringFormatFlagsNoClip) && box.Width > 0 && box.Height > 0) {
    cairo_rectangle(cr, box.X, box.Y, box.Width, box.Height);
    cairo_clip(cr);
  }
  SetSource(cr, brush->BrushColor());
  double y = top;
  double min_x = box.X, max_x = box.X + box.Width;
  for (size_t i = 0; i < visible; ++i) {
    const TextLine& line = lines[i];
    double x = x_of(line);
    min_x = std::min(min_x, x);
    max_x = std::max(max_x, x + line.width);
    face->Draw(cr, text.data() + line.start, line.length, x, y + m.ascent);
    if (line.ellipsis) {
      int drawn = face->Measure(text.data() + line.start, line.length);
      face->Draw(cr, kEllipsis.data(), kEllipsis.size(), x + drawn, y + m.ascent);
    }
    y += line_height;
  }
  cairo_restore(cr);
  dc->End(Outer(min_x - m.em, top, max_x + m.em, top + total));
  return Ok;
}

Status Graphics::DrawString(const WCHAR* string, INT length, const Font* font, const RectF& box,
                            const StringFormat* format, const Brush* brush) {
  if (!brush) return InvalidParameter;
  return Text(string, length, font, box, format, brush, nullptr, nullptr, nullptr);
}

Status Graphics::DrawString(const WCHAR* string, INT length, const Font* font, const PointF& origin,
                            const StringFormat* format, const Brush* brush) {
  return DrawString(string, length, font, RectF(origin.X, origin.Y, 0, 0), format, brush);
}

Status Graphics::MeasureString(const WCHAR* string, INT length, const Font* font, const RectF& box,
                               const StringFormat* format, RectF* bounding, INT* fitted, INT* lines) const {
  if (!bounding) return InvalidParameter;
  return Text(string, length, font, box, format, nullptr, bounding, fitted, lines);
}

Status Graphics::MeasureString(const WCHAR* string, INT length, const Font* font, const PointF& origin,
                               const StringFormat* format, RectF* bounding) const {
  return MeasureString(string, length, font, RectF(origin.X, origin.Y, 0, 0), format, bounding);
}

}  // namespace Gdiplus
