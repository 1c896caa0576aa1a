// Fonts, metrics, extents and text output at a point.
#include <algorithm>
#include <cstring>

#include "gdi/DeviceContext.h"
#include "gdi/TextDrawing.h"
#include "win32/Errors.h"

using namespace platform::gdi;

namespace {

FontFace* FaceOf(DeviceContext& dc) {
  auto& font = dc.Current().font.object;
  return font ? &font->Face() : nullptr;
}

size_t LengthOf(LPCWSTR text, int count) { return count < 0 ? std::wcslen(text) : static_cast<size_t>(count); }

}  // namespace

namespace platform::gdi {

void FillTextBackground(cairo_t* cr, const DeviceContext::State& state, double x, double y, double w, double h) {
  SetSourceColor(cr, state.bk_color);
  cairo_rectangle(cr, x, y, w, h);
  cairo_fill(cr);
}

}  // namespace platform::gdi

HFONT WINAPI CreateFontIndirectW(const LOGFONTW* lf) {
  if (!lf) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  LOGFONTW copy = *lf;
  copy.lfFaceName[LF_FACESIZE - 1] = 0;
  return static_cast<HFONT>(AddObject(std::make_shared<Font>(copy)));
}

BOOL WINAPI GetTextMetricsW(HDC hdc, LPTEXTMETRICW tm) {
  auto dc = DeviceContext::Of(hdc);
  FontFace* face = dc ? FaceOf(*dc) : nullptr;
  if (!face || !tm) return FALSE;
  const auto& m = face->GetMetrics();
  const LOGFONTW& lf = dc->Current().font.object->LogFont();
  *tm = TEXTMETRICW{};
  tm->tmHeight = m.height;
  tm->tmAscent = m.ascent;
  tm->tmDescent = m.descent;
  tm->tmInternalLeading = m.internal_leading;
  tm->tmExternalLeading = m.external_leading;
  tm->tmAveCharWidth = m.ave_char_width;
  tm->tmMaxCharWidth = m.max_char_width;
  tm->tmWeight = face->Weight();
  tm->tmDigitizedAspectX = 96;
  tm->tmDigitizedAspectY = 96;
  tm->tmFirstChar = L' ';
  tm->tmLastChar = static_cast<WCHAR>(0xFFFD);
  tm->tmDefaultChar = L'?';
  tm->tmBreakChar = L' ';
  tm->tmItalic = face->Italic() ? 255 : 0;
  tm->tmUnderlined = face->Underline() ? 255 : 0;
  tm->tmStruckOut = face->StrikeOut() ? 255 : 0;
  // Win32's odd naming: the "fixed pitch" bit marks a variable-pitch font.
  tm->tmPitchAndFamily = TMPF_FIXED_PITCH | TMPF_VECTOR | TMPF_TRUETYPE | FF_SWISS;
  tm->tmCharSet = lf.lfCharSet;
  return TRUE;
}

int WINAPI GetTextFaceW(HDC hdc, int count, LPWSTR name) {
  auto dc = DeviceContext::Of(hdc);
  if (!dc || !dc->Current().font.object) return 0;
  const LOGFONTW& lf = dc->Current().font.object->LogFont();
  int length = static_cast<int>(wcsnlen(lf.lfFaceName, LF_FACESIZE));
  if (!name) return length + 1;
  if (count <= 0) return 0;
  int n = std::min(length, count - 1);
  std::wmemcpy(name, lf.lfFaceName, n);
  name[n] = 0;
  return n;
}

BOOL WINAPI GetTextExtentPoint32W(HDC hdc, LPCWSTR text, int count, LPSIZE size) {
  auto dc = DeviceContext::Of(hdc);
  FontFace* face = dc ? FaceOf(*dc) : nullptr;
  if (!face || !size || count < 0 || (!text && count > 0)) return FALSE;
  size->cx = face->Measure(text, static_cast<size_t>(count));
  size->cy = face->GetMetrics().height;
  return TRUE;
}

BOOL WINAPI GetTextExtentExPointW(HDC hdc, LPCWSTR text, int count, int max_extent, LPINT fit, LPINT dx,
                                  LPSIZE size) {
  auto dc = DeviceContext::Of(hdc);
  FontFace* face = dc ? FaceOf(*dc) : nullptr;
  if (!face || !size || count < 0 || (!text && count > 0)) return FALSE;
  int width = 0, fitted = 0;
  for (int i = 0; i < count; ++i) {
    width += face->GlyphOf(text[i]).advance;
    if (dx) dx[i] = width;
    if (width <= max_extent) fitted = i + 1;
  }
  if (fit) *fit = fitted;
  size->cx = width;
  size->cy = face->GetMetrics().height;
  return TRUE;
}

BOOL WINAPI GetCharABCWidthsW(HDC hdc, UINT first, UINT last, LPABC abc) {
  auto dc = DeviceContext::Of(hdc);
  FontFace* face = dc ? FaceOf(*dc) : nullptr;
  if (!face || !abc || last < first) return FALSE;
  for (UINT c = first; c <= last; ++c) abc[c - first] = face->AbcOf(static_cast<wchar_t>(c));
  return TRUE;
}

BOOL WINAPI GetCharWidth32W(HDC hdc, UINT first, UINT last, LPINT widths) {
  auto dc = DeviceContext::Of(hdc);
  FontFace* face = dc ? FaceOf(*dc) : nullptr;
  if (!face || !widths || last < first) return FALSE;
  for (UINT c = first; c <= last; ++c) widths[c - first] = face->GlyphOf(static_cast<wchar_t>(c)).advance;
  return TRUE;
}

BOOL WINAPI ExtTextOutW(HDC hdc, int x, int y, UINT options, const RECT* rect, LPCWSTR text, UINT count,
                        const INT* dx) {
  auto dc = DeviceContext::Of(hdc);
  FontFace* face = dc ? FaceOf(*dc) : nullptr;
  if (!face || (!text && count > 0)) return FALSE;
  auto& state = dc->Current();
  const auto& m = face->GetMetrics();
  int width = 0;
  for (UINT i = 0; i < count; ++i) width += dx ? dx[i] : face->GlyphOf(text[i]).advance;
  if (state.text_align & TA_UPDATECP) {
    x = state.position.x;
    y = state.position.y;
  }
  UINT horizontal = state.text_align & TA_CENTER;
  int left = horizontal == TA_CENTER ? x - width / 2 : horizontal == TA_RIGHT ? x - width : x;
  UINT vertical = state.text_align & TA_BASELINE;
  int top = vertical == TA_BASELINE ? y - m.ascent : vertical == TA_BOTTOM ? y - m.height : y;
  if (state.text_align & TA_UPDATECP) state.position.x = horizontal == TA_LEFT ? x + width : horizontal == TA_RIGHT ? x - width : x;

  cairo_t* cr = dc->Begin();
  if (!cr) return FALSE;
  cairo_save(cr);
  RECT changed{left, top, left + width, top + m.height};
  if (rect && (options & (ETO_CLIPPED | ETO_OPAQUE))) {
    if (options & ETO_CLIPPED) {
      cairo_rectangle(cr, rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top);
      cairo_clip(cr);
    }
    if (options & ETO_OPAQUE) {
      FillTextBackground(cr, state, rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top);
      changed = {std::min(changed.left, rect->left), std::min(changed.top, rect->top),
                 std::max(changed.right, rect->right), std::max(changed.bottom, rect->bottom)};
    }
  }
  if (state.bk_mode == OPAQUE && !(options & ETO_OPAQUE)) FillTextBackground(cr, state, left, top, width, m.height);
  SetSourceColor(cr, state.text_color);
  face->Draw(cr, text, count, left, top + m.ascent, dx);
  cairo_restore(cr);
  dc->End({changed.left - m.em, changed.top, changed.right + m.em, changed.bottom});
  return TRUE;
}

BOOL WINAPI TextOutW(HDC hdc, int x, int y, LPCWSTR text, int count) {
  if (count < 0) return FALSE;
  return ExtTextOutW(hdc, x, y, 0, nullptr, text, static_cast<UINT>(count), nullptr);
}

int WINAPI DrawTextW(HDC hdc, LPCWSTR text, int count, LPRECT rect, UINT format) {
  auto dc = DeviceContext::Of(hdc);
  FontFace* face = dc ? FaceOf(*dc) : nullptr;
  if (!face || !text || !rect) return 0;
  return DrawTextOn(*dc, *face, text, LengthOf(text, count), *rect, format);
}
