// A font resolved for drawing: the fontconfig fonts that serve one LOGFONTW
// (the best match first, then fallbacks for characters it lacks, so Chinese
// text renders whatever face was asked for), their cairo scaled fonts, the
// metrics, and a cache of glyphs and advances per character.
// Faces are shared by every font handle with the same description.
#pragma once

#include <cairo.h>
#include <fontconfig/fontconfig.h>

#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

#include "win32/Gdi.h"

namespace platform::gdi {

class FontFace {
 public:
  struct Glyph {
    int face = -1;  // index into the fallback list; -1: nothing to draw
    unsigned long index = 0;
    int advance = 0;  // whole pixels, as GDI measures
    ABC abc{0, 0, 0};  // ink box: A + B + C = advance
  };
  struct Metrics {
    int ascent = 0;
    int descent = 0;
    int height = 0;  // ascent + descent
    int internal_leading = 0;
    int external_leading = 0;
    int ave_char_width = 0;
    int max_char_width = 0;
    int em = 0;
  };

  // The shared face for a description; never null (falls back to any font).
  static std::shared_ptr<FontFace> For(const LOGFONTW& logfont);
  ~FontFace();
  FontFace(const FontFace&) = delete;
  FontFace& operator=(const FontFace&) = delete;

  const Metrics& GetMetrics() const { return metrics_; }
  const std::wstring& FaceName() const { return face_name_; }
  bool Underline() const { return underline_; }
  bool StrikeOut() const { return strike_out_; }
  int Weight() const { return weight_; }
  bool Italic() const { return italic_; }

  Glyph GlyphOf(wchar_t c);
  int Measure(const wchar_t* text, size_t count);
  // The ink box of c relative to its origin, as GetCharABCWidthsW reports.
  ABC AbcOf(wchar_t c);
  // Draws text with its baseline at y and its origin at x, glyph by glyph
  // at whole-pixel advances (dx, when given, replaces them). The source
  // colour and operator are the caller's. Adds the underline/strike-out.
  void Draw(cairo_t* cr, const wchar_t* text, size_t count, double x, double y, const int* dx = nullptr);

 private:
  struct Face {
    FcPattern* pattern = nullptr;  // prepared for rendering
    cairo_scaled_font_t* scaled = nullptr;
    bool oblique = false;  // italic asked for, face upright: sheared
  };

  explicit FontFace(const LOGFONTW& logfont);
  Glyph Lookup(wchar_t c);
  cairo_scaled_font_t* Scaled(int face);
  void DrawDecorations(cairo_t* cr, double x, double y, double width);

  std::mutex lock_;
  std::vector<Face> faces_;
  FcFontSet* fallbacks_ = nullptr;  // best match first; faces_ follows it
  FcPattern* request_ = nullptr;
  Metrics metrics_;
  std::wstring face_name_;
  double em_ = 12;
  bool underline_ = false;
  bool strike_out_ = false;
  bool italic_ = false;
  int weight_ = FW_NORMAL;
  bool antialias_ = true;
  Glyph latin_[256];
  bool latin_ready_[256] = {};
  std::unordered_map<wchar_t, Glyph> glyphs_;
};

}  // namespace platform::gdi
