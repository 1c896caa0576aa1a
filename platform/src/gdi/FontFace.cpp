#include "gdi/FontFace.h"

#include <cairo-ft.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <map>

#include "kernel/Text.h"

namespace platform::gdi {
namespace {

// The face behind the stock GUI font and behind an empty face name.
constexpr char kDefaultFamily[] = "WenQuanYi Micro Hei";
constexpr double kDefaultEm = 12;
constexpr double kObliqueShear = 0.2;

std::wstring KeyOf(const LOGFONTW& lf) {
  std::wstring key(lf.lfFaceName, wcsnlen(lf.lfFaceName, LF_FACESIZE));
  key += L'|' + std::to_wstring(lf.lfHeight) + L'|' + std::to_wstring(lf.lfWeight) + L'|' + std::to_wstring(lf.lfItalic != 0) +
         std::to_wstring(lf.lfUnderline != 0) + std::to_wstring(lf.lfStrikeOut != 0) +
         std::to_wstring(lf.lfQuality == NONANTIALIASED_QUALITY);
  return key;
}

}  // namespace

std::shared_ptr<FontFace> FontFace::For(const LOGFONTW& logfont) {
  static std::mutex lock;
  static std::map<std::wstring, std::shared_ptr<FontFace>> cache;
  std::lock_guard guard(lock);
  std::wstring key = KeyOf(logfont);
  auto found = cache.find(key);
  if (found != cache.end()) return found->second;
  if (cache.size() > 256) {
    std::erase_if(cache, [](const auto& entry) { return entry.second.use_count() == 1; });
  }
  auto face = std::shared_ptr<FontFace>(new FontFace(logfont));
  cache.emplace(std::move(key), face);
  return face;
}

FontFace::FontFace(const LOGFONTW& lf) {
  face_name_.assign(lf.lfFaceName, wcsnlen(lf.lfFaceName, LF_FACESIZE));
  underline_ = lf.lfUnderline != 0;
  strike_out_ = lf.lfStrikeOut != 0;
  italic_ = lf.lfItalic != 0;
  weight_ = lf.lfWeight == FW_DONTCARE ? FW_NORMAL : std::clamp<int>(lf.lfWeight, 1, 1000);
  antialias_ = lf.lfQuality != NONANTIALIASED_QUALITY;
  // A negative height is the character (em) height; a positive one the cell
  // height, converted once the face's proportions are known.
  em_ = lf.lfHeight < 0 ? -static_cast<double>(lf.lfHeight) : lf.lfHeight > 0 ? lf.lfHeight : kDefaultEm;
  em_ = std::min(em_, 2048.0);

  request_ = FcPatternCreate();
  std::string family = face_name_.empty() ? kDefaultFamily : kernel::WideToUtf8(face_name_);
  FcPatternAddString(request_, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
  FcPatternAddString(request_, FC_FAMILY, reinterpret_cast<const FcChar8*>("sans-serif"));
  FcPatternAddDouble(request_, FC_PIXEL_SIZE, em_);
  FcPatternAddDouble(request_, FC_WEIGHT, FcWeightFromOpenTypeDouble(weight_));
  FcPatternAddInteger(request_, FC_SLANT, italic_ ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcConfigSubstitute(nullptr, request_, FcMatchPattern);
  FcDefaultSubstitute(request_);
  FcResult result;
  fallbacks_ = FcFontSort(nullptr, request_, FcTrue, nullptr, &result);
  if (fallbacks_) faces_.resize(fallbacks_->nfont);

  if (lf.lfHeight > 0 && Scaled(0)) {
    cairo_font_extents_t extents;
    cairo_scaled_font_extents(faces_[0].scaled, &extents);
    double cell = extents.ascent + extents.descent;
    if (cell > 0) {
      double em = std::max(1.0, std::round(em_ * em_ / cell));
      if (em != em_) {
        for (auto& face : faces_) {
          if (face.scaled) cairo_scaled_font_destroy(face.scaled);
          face.scaled = nullptr;
        }
        em_ = em;
      }
    }
  }

  metrics_.em = static_cast<int>(std::lround(em_));
  if (Scaled(0)) {
    cairo_font_extents_t extents;
    cairo_scaled_font_extents(faces_[0].scaled, &extents);
    metrics_.ascent = static_cast<int>(std::ceil(extents.ascent - 1e-3));
    metrics_.descent = static_cast<int>(std::ceil(extents.descent - 1e-3));
    metrics_.external_leading =
        std::max(0, static_cast<int>(std::lround(extents.height - extents.ascent - extents.descent)));
    metrics_.max_char_width = static_cast<int>(std::ceil(extents.max_x_advance - 1e-3));
  } else {
    metrics_.ascent = metrics_.em;
    metrics_.descent = metrics_.em / 4;
  }
  metrics_.height = metrics_.ascent + metrics_.descent;
  metrics_.internal_leading = std::max(0, metrics_.height - metrics_.em);
  metrics_.ave_char_width = std::max(1, Lookup(L'x').advance);
  metrics_.max_char_width = std::max(metrics_.max_char_width, metrics_.ave_char_width);
}

FontFace::~FontFace() {
  for (auto& face : faces_) {
    if (face.scaled) cairo_scaled_font_destroy(face.scaled);
    if (face.pattern) FcPatternDestroy(face.pattern);
  }
  if (fallbacks_) FcFontSetDestroy(fallbacks_);
  if (request_) FcPatternDestroy(request_);
}

cairo_scaled_font_t* FontFace::Scaled(int index) {
  if (index < 0 || static_cast<size_t>(index) >= faces_.size()) return nullptr;
  Face& face = faces_[index];
  if (face.scaled) return face.scaled;
  if (!face.pattern) {
    face.pattern = FcFontRenderPrepare(nullptr, request_, fallbacks_->fonts[index]);
    if (!face.pattern) return nullptr;
    // Rendering options are ours (grey anti-aliasing, whole-pixel advances);
    // styles the face lacks are synthesised here, not by configuration.
    for (const char* option : {FC_ANTIALIAS, FC_RGBA, FC_HINTING, FC_HINT_STYLE, FC_AUTOHINT, FC_LCD_FILTER, FC_MATRIX,
                               FC_EMBOLDEN}) {
      FcPatternDel(face.pattern, option);
    }
    // Judged by the font as installed; configuration may have renamed the
    // prepared pattern's style already.
    const FcPattern* installed = fallbacks_->fonts[index];
    double weight = FC_WEIGHT_REGULAR;
    FcPatternGetDouble(installed, FC_WEIGHT, 0, &weight);
    if (weight_ >= FW_SEMIBOLD && weight < FC_WEIGHT_DEMIBOLD) FcPatternAddBool(face.pattern, FC_EMBOLDEN, FcTrue);
    int slant = FC_SLANT_ROMAN;
    FcPatternGetInteger(installed, FC_SLANT, 0, &slant);
    face.oblique = italic_ && slant == FC_SLANT_ROMAN;
  }
  cairo_font_face_t* font_face = cairo_ft_font_face_create_for_pattern(face.pattern);
  cairo_matrix_t font_matrix;
  cairo_matrix_init(&font_matrix, em_, 0, face.oblique ? -kObliqueShear * em_ : 0, em_, 0, 0);
  cairo_matrix_t identity;
  cairo_matrix_init_identity(&identity);
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_antialias(options, antialias_ ? CAIRO_ANTIALIAS_GRAY : CAIRO_ANTIALIAS_NONE);
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_SLIGHT);
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_ON);
  face.scaled = cairo_scaled_font_create(font_face, &font_matrix, &identity, options);
  cairo_font_options_destroy(options);
  cairo_font_face_destroy(font_face);
  if (cairo_scaled_font_status(face.scaled) != CAIRO_STATUS_SUCCESS) {
    cairo_scaled_font_destroy(face.scaled);
    face.scaled = nullptr;
  }
  return face.scaled;
}

FontFace::Glyph FontFace::Lookup(wchar_t c) {
  auto code = static_cast<uint32_t>(c);
  if (code < 256 && latin_ready_[code]) return latin_[code];
  if (code >= 256) {
    auto found = glyphs_.find(c);
    if (found != glyphs_.end()) return found->second;
  }
  Glyph glyph;
  if (code >= 0x20 && code != 0x7F) {
    for (size_t i = 0; i < faces_.size(); ++i) {
      FcCharSet* charset = nullptr;
      if (FcPatternGetCharSet(fallbacks_->fonts[i], FC_CHARSET, 0, &charset) != FcResultMatch ||
          !FcCharSetHasChar(charset, code)) {
        continue;
      }
      cairo_scaled_font_t* scaled = Scaled(static_cast<int>(i));
      if (!scaled) continue;
      FT_Face ft = cairo_ft_scaled_font_lock_face(scaled);
      FT_UInt index = ft ? FT_Get_Char_Index(ft, code) : 0;
      cairo_ft_scaled_font_unlock_face(scaled);
      if (index == 0) continue;
      glyph.face = static_cast<int>(i);
      glyph.index = index;
      break;
    }
    if (glyph.face < 0 && Scaled(0)) glyph.face = 0;  // the missing-glyph box, as Win32 shows
    if (glyph.face >= 0) {
      cairo_glyph_t g{glyph.index, 0, 0};
      cairo_text_extents_t extents;
      cairo_scaled_font_glyph_extents(faces_[glyph.face].scaled, &g, 1, &extents);
      glyph.advance = static_cast<int>(std::lround(extents.x_advance));
      glyph.abc = {0, static_cast<UINT>(glyph.advance), 0};
      if (extents.width > 0) {
        glyph.abc.abcA = static_cast<int>(std::floor(extents.x_bearing));
        int right = static_cast<int>(std::ceil(extents.x_bearing + extents.width));
        glyph.abc.abcB = static_cast<UINT>(std::max(1, right - glyph.abc.abcA));
        glyph.abc.abcC = glyph.advance - glyph.abc.abcA - static_cast<int>(glyph.abc.abcB);
      }
    }
  }
  if (code < 256) {
    latin_[code] = glyph;
    latin_ready_[code] = true;
  } else {
    glyphs_.emplace(c, glyph);
  }
  return glyph;
}

FontFace::Glyph FontFace::GlyphOf(wchar_t c) {
  std::lock_guard guard(lock_);
  return Lookup(c);
}

int FontFace::Measure(const wchar_t* text, size_t count) {
  std::lock_guard guard(lock_);
  int width = 0;
  for (size_t i = 0; i < count; ++i) width += Lookup(text[i]).advance;
  return width;
}

ABC FontFace::AbcOf(wchar_t c) {
  std::lock_guard guard(lock_);
  return Lookup(c).abc;
}

void FontFace::Draw(cairo_t* cr, const wchar_t* text, size_t count, double x, double y, const int* dx) {
  std::lock_guard guard(lock_);
  thread_local std::vector<cairo_glyph_t> run;
  double pen = x;
  int run_face = -1;
  auto flush = [&] {
    if (!run.empty() && run_face >= 0) {
      cairo_set_scaled_font(cr, faces_[run_face].scaled);
      cairo_show_glyphs(cr, run.data(), static_cast<int>(run.size()));
    }
    run.clear();
  };
  for (size_t i = 0; i < count; ++i) {
    Glyph glyph = Lookup(text[i]);
    if (glyph.face >= 0 && text[i] != L' ') {
      if (glyph.face != run_face) {
        flush();
        run_face = glyph.face;
      }
      run.push_back({glyph.index, pen, y});
    }
    pen += dx ? dx[i] : glyph.advance;
  }
  flush();
  if (underline_ || strike_out_) DrawDecorations(cr, x, y, pen - x);
}

void FontFace::DrawDecorations(cairo_t* cr, double x, double y, double width) {
  if (width <= 0) return;
  double thickness = std::max(1.0, std::round(em_ / 14));
  if (underline_) {
    double top = y + std::max(1.0, std::round(metrics_.descent / 3.0));
    cairo_rectangle(cr, x, top, width, thickness);
  }
  if (strike_out_) {
    double top = y - std::round(metrics_.ascent * 0.3);
    cairo_rectangle(cr, x, top, width, thickness);
  }
  cairo_fill(cr);
}

}  // namespace platform::gdi
