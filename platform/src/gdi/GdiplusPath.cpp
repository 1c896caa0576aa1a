// Gdiplus: paths, string formats, fonts and start-up.
#include <atomic>
#include <cstring>

#include "win32/Gdiplus.h"

namespace Gdiplus {

namespace {
std::atomic<ULONG_PTR> g_next_token{1};
}  // namespace

Status WINAPI GdiplusStartup(ULONG_PTR* token, const GdiplusStartupInput* input, GdiplusStartupOutput* output) {
  if (!token || !input) return InvalidParameter;
  if (input->GdiplusVersion < 1 || input->GdiplusVersion > 3) return UnsupportedGdiplusVersion;
  if (input->SuppressBackgroundThread && !output) return InvalidParameter;
  if (output) *output = GdiplusStartupOutput{};
  *token = g_next_token++;
  return Ok;
}

// Nothing is held between start-up and shut-down.
void WINAPI GdiplusShutdown(ULONG_PTR) {}

// --- GraphicsPath ---

GraphicsPath::Figure& GraphicsPath::Open() {
  if (start_new_ || figures_.empty()) {
    figures_.emplace_back();
    start_new_ = false;
  }
  return figures_.back();
}

Status GraphicsPath::AddLine(REAL x1, REAL y1, REAL x2, REAL y2) {
  Open().segments.push_back({Segment::Line, {x1, y1, x2, y2, 0, 0}});
  return Ok;
}

Status GraphicsPath::AddArc(REAL x, REAL y, REAL width, REAL height, REAL start, REAL sweep) {
  if (width <= 0 || height <= 0) return InvalidParameter;
  Open().segments.push_back({Segment::Arc, {x, y, width, height, start, sweep}});
  return Ok;
}

Status GraphicsPath::AddRectangle(const RectF& r) {
  if (r.Width <= 0 || r.Height <= 0) return Ok;
  StartFigure();
  Figure& figure = Open();
  figure.segments.push_back({Segment::Line, {r.X, r.Y, r.X + r.Width, r.Y, 0, 0}});
  figure.segments.push_back({Segment::Line, {r.X + r.Width, r.Y + r.Height, r.X, r.Y + r.Height, 0, 0}});
  return CloseFigure();
}

Status GraphicsPath::AddEllipse(REAL x, REAL y, REAL width, REAL height) {
  StartFigure();
  Status status = AddArc(x, y, width, height, 0, 360);
  CloseFigure();
  return status;
}

Status GraphicsPath::StartFigure() {
  start_new_ = true;
  return Ok;
}

Status GraphicsPath::CloseFigure() {
  if (!figures_.empty() && !start_new_) figures_.back().closed = true;
  start_new_ = true;
  return Ok;
}

Status GraphicsPath::Reset() {
  figures_.clear();
  start_new_ = true;
  return Ok;
}

INT GraphicsPath::GetPointCount() const {
  INT count = 0;
  for (const auto& figure : figures_)
    for (const auto& segment : figure.segments) count += segment.kind == Segment::Line ? 2 : 4;
  return count;
}

// --- StringFormat ---

const StringFormat* StringFormat::GenericDefault() {
  static const StringFormat format;
  return &format;
}

const StringFormat* StringFormat::GenericTypographic() {
  static const StringFormat format = [] {
    StringFormat f(StringFormatFlagsNoFitBlackBox | StringFormatFlagsLineLimit | StringFormatFlagsNoClip);
    f.trimming_ = StringTrimmingNone;
    f.typographic_ = true;
    return f;
  }();
  return &format;
}

// --- Font ---

Font::Font(HDC hdc) : Font(hdc, static_cast<HFONT>(GetCurrentObject(hdc, OBJ_FONT))) {}

Font::Font(HDC, HFONT hfont) {
  LOGFONTW lf{};
  if (hfont && GetObjectW(hfont, sizeof lf, &lf) == static_cast<int>(sizeof lf)) Init(&lf);
}

Font::Font(HDC, const LOGFONTW* logfont) {
  if (logfont) Init(logfont);
}

void Font::Init(const LOGFONTW* logfont) { font_ = CreateFontIndirectW(logfont); }

Font::~Font() {
  if (font_) DeleteObject(font_);
}

Status Font::GetLogFontW(const void*, LOGFONTW* logfont) const {
  if (!font_ || !logfont) return InvalidParameter;
  return GetObjectW(font_, sizeof *logfont, logfont) ? Ok : GenericError;
}

INT Font::GetStyle() const {
  LOGFONTW lf{};
  if (GetLogFontW(nullptr, &lf) != Ok) return FontStyleRegular;
  return (lf.lfWeight >= FW_BOLD ? FontStyleBold : 0) | (lf.lfItalic ? FontStyleItalic : 0) |
         (lf.lfUnderline ? FontStyleUnderline : 0) | (lf.lfStrikeOut ? FontStyleStrikeout : 0);
}

}  // namespace Gdiplus
