// The GDI+ subset as a small facade with GDI+'s names (namespace Gdiplus):
// anti-aliased fills, lines, rectangles, paths and text on a device
// context. Drawn through the DC, so its clip applies.
#pragma once

#include <memory>
#include <vector>

#include "win32/Gdi.h"

namespace Gdiplus {

typedef float REAL;
typedef DWORD ARGB;
typedef int INT;
typedef unsigned int UINT32;

enum Status {
  Ok = 0,
  GenericError = 1,
  InvalidParameter = 2,
  OutOfMemory = 3,
  ObjectBusy = 4,
  InsufficientBuffer = 5,
  NotImplemented = 6,
  Win32Error = 7,
  WrongState = 8,
  Aborted = 9,
  FileNotFound = 10,
  ValueOverflow = 11,
  AccessDenied = 12,
  UnknownImageFormat = 13,
  FontFamilyNotFound = 14,
  FontStyleNotFound = 15,
  NotTrueTypeFont = 16,
  UnsupportedGdiplusVersion = 17,
  GdiplusNotInitialized = 18,
};

enum SmoothingMode {
  SmoothingModeInvalid = -1,
  SmoothingModeDefault = 0,
  SmoothingModeHighSpeed = 1,
  SmoothingModeHighQuality = 2,
  SmoothingModeNone = 3,
  SmoothingModeAntiAlias = 4,
  SmoothingModeAntiAlias8x4 = SmoothingModeAntiAlias,
  SmoothingModeAntiAlias8x8 = 5,
};

enum PixelOffsetMode {
  PixelOffsetModeInvalid = -1,
  PixelOffsetModeDefault = 0,
  PixelOffsetModeHighSpeed = 1,
  PixelOffsetModeHighQuality = 2,
  PixelOffsetModeNone = 3,
  PixelOffsetModeHalf = 4,
};

enum TextRenderingHint {
  TextRenderingHintSystemDefault = 0,
  TextRenderingHintSingleBitPerPixelGridFit = 1,
  TextRenderingHintSingleBitPerPixel = 2,
  TextRenderingHintAntiAliasGridFit = 3,
  TextRenderingHintAntiAlias = 4,
  TextRenderingHintClearTypeGridFit = 5,
};

enum DashStyle { DashStyleSolid, DashStyleDash, DashStyleDot, DashStyleDashDot, DashStyleDashDotDot };
enum PenAlignment { PenAlignmentCenter = 0, PenAlignmentInset = 1 };
enum FillMode { FillModeAlternate, FillModeWinding };
enum Unit { UnitWorld, UnitDisplay, UnitPixel, UnitPoint, UnitInch, UnitDocument, UnitMillimeter };

enum FontStyle {
  FontStyleRegular = 0,
  FontStyleBold = 1,
  FontStyleItalic = 2,
  FontStyleBoldItalic = 3,
  FontStyleUnderline = 4,
  FontStyleStrikeout = 8,
};

enum StringAlignment { StringAlignmentNear = 0, StringAlignmentCenter = 1, StringAlignmentFar = 2 };

enum StringTrimming {
  StringTrimmingNone = 0,
  StringTrimmingCharacter = 1,
  StringTrimmingWord = 2,
  StringTrimmingEllipsisCharacter = 3,
  StringTrimmingEllipsisWord = 4,
  StringTrimmingEllipsisPath = 5,
};

enum StringFormatFlags {
  StringFormatFlagsDirectionRightToLeft = 0x00000001,
  StringFormatFlagsDirectionVertical = 0x00000002,
  StringFormatFlagsNoFitBlackBox = 0x00000004,
  StringFormatFlagsDisplayFormatControl = 0x00000020,
  StringFormatFlagsNoFontFallback = 0x00000400,
  StringFormatFlagsMeasureTrailingSpaces = 0x00000800,
  StringFormatFlagsNoWrap = 0x00001000,
  StringFormatFlagsLineLimit = 0x00002000,
  StringFormatFlagsNoClip = 0x00004000,
};

struct GdiplusStartupInput {
  UINT32 GdiplusVersion = 1;
  void* DebugEventCallback = nullptr;
  BOOL SuppressBackgroundThread = FALSE;
  BOOL SuppressExternalCodecs = FALSE;
  GdiplusStartupInput() = default;
};

struct GdiplusStartupOutput {
  void* NotificationHook = nullptr;
  void* NotificationUnhook = nullptr;
};

Status WINAPI GdiplusStartup(ULONG_PTR* token, const GdiplusStartupInput* input, GdiplusStartupOutput* output);
void WINAPI GdiplusShutdown(ULONG_PTR token);

class Color {
 public:
  enum { AlphaShift = 24, RedShift = 16, GreenShift = 8, BlueShift = 0 };
  Color() : argb_(0xFF000000) {}
  Color(BYTE r, BYTE g, BYTE b) : argb_(MakeARGB(255, r, g, b)) {}
  Color(BYTE a, BYTE r, BYTE g, BYTE b) : argb_(MakeARGB(a, r, g, b)) {}
  Color(ARGB argb) : argb_(argb) {}  // NOLINT: GDI+ converts implicitly
  BYTE GetA() const { return static_cast<BYTE>(argb_ >> AlphaShift); }
  BYTE GetR() const { return static_cast<BYTE>(argb_ >> RedShift); }
  BYTE GetG() const { return static_cast<BYTE>(argb_ >> GreenShift); }
  BYTE GetB() const { return static_cast<BYTE>(argb_ >> BlueShift); }
  ARGB GetValue() const { return argb_; }
  void SetValue(ARGB argb) { argb_ = argb; }
  static ARGB MakeARGB(BYTE a, BYTE r, BYTE g, BYTE b) {
    return (ARGB(a) << AlphaShift) | (ARGB(r) << RedShift) | (ARGB(g) << GreenShift) | ARGB(b);
  }

 private:
  ARGB argb_;
};

struct PointF {
  REAL X = 0, Y = 0;
  PointF() = default;
  PointF(REAL x, REAL y) : X(x), Y(y) {}
};

struct Point {
  INT X = 0, Y = 0;
  Point() = default;
  Point(INT x, INT y) : X(x), Y(y) {}
};

struct SizeF {
  REAL Width = 0, Height = 0;
  SizeF() = default;
  SizeF(REAL w, REAL h) : Width(w), Height(h) {}
};

struct RectF {
  REAL X = 0, Y = 0, Width = 0, Height = 0;
  RectF() = default;
  RectF(REAL x, REAL y, REAL w, REAL h) : X(x), Y(y), Width(w), Height(h) {}
  REAL GetLeft() const { return X; }
  REAL GetTop() const { return Y; }
  REAL GetRight() const { return X + Width; }
  REAL GetBottom() const { return Y + Height; }
};

struct Rect {
  INT X = 0, Y = 0, Width = 0, Height = 0;
  Rect() = default;
  Rect(INT x, INT y, INT w, INT h) : X(x), Y(y), Width(w), Height(h) {}
};

class Brush {
 public:
  virtual ~Brush() = default;
  Status GetLastStatus() const { return Ok; }
  virtual Color BrushColor() const = 0;  // what the facade paints with
};

class SolidBrush : public Brush {
 public:
  explicit SolidBrush(const Color& color) : color_(color) {}
  Status GetColor(Color* color) const {
    if (!color) return InvalidParameter;
    *color = color_;
    return Ok;
  }
  Status SetColor(const Color& color) {
    color_ = color;
    return Ok;
  }
  Color BrushColor() const override { return color_; }

 private:
  Color color_;
};

class Pen {
 public:
  explicit Pen(const Color& color, REAL width = 1.0f) : color_(color), width_(width) {}
  Status SetWidth(REAL width) {
    width_ = width;
    return Ok;
  }
  REAL GetWidth() const { return width_; }
  Status SetColor(const Color& color) {
    color_ = color;
    return Ok;
  }
  Status GetColor(Color* color) const {
    if (!color) return InvalidParameter;
    *color = color_;
    return Ok;
  }
  Status SetDashStyle(DashStyle style) {
    dash_ = style;
    return Ok;
  }
  DashStyle GetDashStyle() const { return dash_; }
  Status SetAlignment(PenAlignment alignment) {
    alignment_ = alignment;
    return Ok;
  }
  PenAlignment GetAlignment() const { return alignment_; }
  Status GetLastStatus() const { return Ok; }

 private:
  Color color_;
  REAL width_;
  DashStyle dash_ = DashStyleSolid;
  PenAlignment alignment_ = PenAlignmentCenter;
};

class GraphicsPath {
 public:
  explicit GraphicsPath(FillMode mode = FillModeAlternate) : mode_(mode) {}
  Status AddLine(REAL x1, REAL y1, REAL x2, REAL y2);
  Status AddLine(INT x1, INT y1, INT x2, INT y2) {
    return AddLine(REAL(x1), REAL(y1), REAL(x2), REAL(y2));
  }
  Status AddLine(const PointF& a, const PointF& b) { return AddLine(a.X, a.Y, b.X, b.Y); }
  // Angles in degrees, clockwise from the x axis (y grows downwards).
  Status AddArc(REAL x, REAL y, REAL width, REAL height, REAL startAngle, REAL sweepAngle);
  Status AddArc(INT x, INT y, INT width, INT height, REAL startAngle, REAL sweepAngle) {
    return AddArc(REAL(x), REAL(y), REAL(width), REAL(height), startAngle, sweepAngle);
  }
  Status AddArc(const RectF& r, REAL startAngle, REAL sweepAngle) {
    return AddArc(r.X, r.Y, r.Width, r.Height, startAngle, sweepAngle);
  }
  Status AddRectangle(const RectF& r);
  Status AddRectangle(const Rect& r) { return AddRectangle(RectF(REAL(r.X), REAL(r.Y), REAL(r.Width), REAL(r.Height))); }
  Status AddEllipse(REAL x, REAL y, REAL width, REAL height);
  Status StartFigure();
  Status CloseFigure();
  Status Reset();
  INT GetPointCount() const;
  FillMode GetFillMode() const { return mode_; }
  Status GetLastStatus() const { return Ok; }

  // The recorded figures, replayed by Graphics.
  struct Segment {
    enum Kind { Line, Arc } kind;
    REAL a[6];  // line: x1 y1 x2 y2; arc: x y w h start sweep
  };
  struct Figure {
    std::vector<Segment> segments;
    bool closed = false;
  };
  const std::vector<Figure>& Figures() const { return figures_; }

 private:
  Figure& Open();

  FillMode mode_;
  std::vector<Figure> figures_;
  bool start_new_ = true;
};

class StringFormat {
 public:
  explicit StringFormat(INT formatFlags = 0, LANGID language = 0) : flags_(formatFlags) { (void)language; }
  explicit StringFormat(const StringFormat* format) {
    if (format) *this = *format;
  }
  static const StringFormat* GenericDefault();
  static const StringFormat* GenericTypographic();
  Status SetFormatFlags(INT flags) {
    flags_ = flags;
    return Ok;
  }
  INT GetFormatFlags() const { return flags_; }
  Status SetAlignment(StringAlignment align) {
    alignment_ = align;
    return Ok;
  }
  StringAlignment GetAlignment() const { return alignment_; }
  Status SetLineAlignment(StringAlignment align) {
    line_alignment_ = align;
    return Ok;
  }
  StringAlignment GetLineAlignment() const { return line_alignment_; }
  Status SetTrimming(StringTrimming trimming) {
    trimming_ = trimming;
    return Ok;
  }
  StringTrimming GetTrimming() const { return trimming_; }
  Status GetLastStatus() const { return Ok; }
  // GenericDefault pads the layout box by a sixth of the em on each side;
  // GenericTypographic and formats copied from it do not.
  bool IsTypographic() const { return typographic_; }

 private:
  INT flags_ = 0;
  StringAlignment alignment_ = StringAlignmentNear;
  StringAlignment line_alignment_ = StringAlignmentNear;
  StringTrimming trimming_ = StringTrimmingCharacter;
  bool typographic_ = false;
};

class Font {
 public:
  // The font selected into hdc, or the given one.
  explicit Font(HDC hdc);
  Font(HDC hdc, HFONT hfont);
  Font(HDC hdc, const LOGFONTW* logfont);
  ~Font();
  Font(const Font&) = delete;
  Font& operator=(const Font&) = delete;
  BOOL IsAvailable() const { return font_ != nullptr; }
  Status GetLastStatus() const { return font_ ? Ok : InvalidParameter; }
  REAL GetSize() const;  // the em height in pixels
  INT GetStyle() const;
  Unit GetUnit() const { return UnitPixel; }
  Status GetLogFontW(const void* graphics, LOGFONTW* logfont) const;
  HFONT Handle() const { return font_; }  // owned by this object

 private:
  void Init(const LOGFONTW* logfont);
  HFONT font_ = nullptr;
};

class Graphics {
 public:
  explicit Graphics(HDC hdc);
  ~Graphics();
  Graphics(const Graphics&) = delete;
  Graphics& operator=(const Graphics&) = delete;
  static Graphics* FromHDC(HDC hdc) { return new Graphics(hdc); }

  Status GetLastStatus() const { return status_; }
  Status SetSmoothingMode(SmoothingMode mode);
  SmoothingMode GetSmoothingMode() const { return smoothing_; }
  Status SetPixelOffsetMode(PixelOffsetMode mode);
  PixelOffsetMode GetPixelOffsetMode() const { return pixel_offset_; }
  Status SetTextRenderingHint(TextRenderingHint hint);
  TextRenderingHint GetTextRenderingHint() const { return text_hint_; }

  Status FillRectangle(const Brush* brush, REAL x, REAL y, REAL width, REAL height);
  Status FillRectangle(const Brush* brush, INT x, INT y, INT width, INT height) {
    return FillRectangle(brush, REAL(x), REAL(y), REAL(width), REAL(height));
  }
  Status FillRectangle(const Brush* brush, const RectF& r) { return FillRectangle(brush, r.X, r.Y, r.Width, r.Height); }
  Status FillRectangle(const Brush* brush, const Rect& r) { return FillRectangle(brush, r.X, r.Y, r.Width, r.Height); }
  Status DrawLine(const Pen* pen, REAL x1, REAL y1, REAL x2, REAL y2);
  Status DrawLine(const Pen* pen, INT x1, INT y1, INT x2, INT y2) {
    return DrawLine(pen, REAL(x1), REAL(y1), REAL(x2), REAL(y2));
  }
  Status DrawLine(const Pen* pen, const PointF& a, const PointF& b) { return DrawLine(pen, a.X, a.Y, b.X, b.Y); }
  Status DrawRectangle(const Pen* pen, REAL x, REAL y, REAL width, REAL height);
  Status DrawRectangle(const Pen* pen, INT x, INT y, INT width, INT height) {
    return DrawRectangle(pen, REAL(x), REAL(y), REAL(width), REAL(height));
  }
  Status DrawRectangle(const Pen* pen, const RectF& r) { return DrawRectangle(pen, r.X, r.Y, r.Width, r.Height); }
  Status DrawRectangle(const Pen* pen, const Rect& r) { return DrawRectangle(pen, r.X, r.Y, r.Width, r.Height); }
  Status DrawPath(const Pen* pen, const GraphicsPath* path);
  Status FillPath(const Brush* brush, const GraphicsPath* path);

  Status DrawString(const WCHAR* string, INT length, const Font* font, const RectF& layoutRect,
                    const StringFormat* format, const Brush* brush);
  Status DrawString(const WCHAR* string, INT length, const Font* font, const PointF& origin,
                    const StringFormat* format, const Brush* brush);
  Status DrawString(const WCHAR* string, INT length, const Font* font, const PointF& origin, const Brush* brush) {
    return DrawString(string, length, font, origin, nullptr, brush);
  }
  Status MeasureString(const WCHAR* string, INT length, const Font* font, const RectF& layoutRect,
                       const StringFormat* format, RectF* boundingBox, INT* codepointsFitted = nullptr,
                       INT* linesFilled = nullptr) const;
  Status MeasureString(const WCHAR* string, INT length, const Font* font, const PointF& origin,
                       const StringFormat* format, RectF* boundingBox) const;
  void Flush() {}

 private:
  Status Text(const WCHAR* string, INT length, const Font* font, const RectF& box, const StringFormat* format,
              const Brush* brush, RectF* measured, INT* fitted, INT* lines) const;
  Status Stroke(const Pen* pen, const GraphicsPath& path);

  HDC hdc_;
  Status status_ = Ok;
  SmoothingMode smoothing_ = SmoothingModeNone;
  PixelOffsetMode pixel_offset_ = PixelOffsetModeDefault;
  TextRenderingHint text_hint_ = TextRenderingHintSystemDefault;
};

}  // namespace Gdiplus
