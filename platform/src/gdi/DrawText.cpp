#include <algorithm>

#include "gdi/TextDrawing.h"
#include "gdi/TextLayout.h"

namespace platform::gdi {
namespace {

// Removes the '&' prefixes ("&&" is a literal '&') and notes which
// characters they underline.
std::wstring StripPrefixes(const wchar_t* text, size_t count, std::vector<size_t>& underlined) {
  std::wstring out;
  out.reserve(count);
  for (size_t i = 0; i < count; ++i) {
    if (text[i] == L'&' && i + 1 < count) {
      ++i;
      if (text[i] != L'&') underlined.push_back(out.size());
    }
    out += text[i];
  }
  return out;
}

std::wstring ExpandTabs(const std::wstring& text) {
  std::wstring out;
  size_t column = 0;
  for (wchar_t c : text) {
    if (c == L'\t') {
      do out += L' ';
      while (++column % 8);
      continue;
    }
    out += c;
    column = (c == L'\n' || c == L'\r') ? 0 : column + 1;
  }
  return out;
}

int LineLeft(const RECT& rect, const TextLine& line, UINT format) {
  if (format & DT_CENTER) return rect.left + (rect.right - rect.left - line.width) / 2;
  if (format & DT_RIGHT) return rect.right - line.width;
  return rect.left;
}

}  // namespace

int DrawTextOn(DeviceContext& dc, FontFace& face, const wchar_t* text, size_t count, RECT& rect, UINT format) {
  // The text as laid out; copied only when it must change.
  std::vector<size_t> underlined;
  std::wstring changed;
  std::wstring_view laid(text, count);
  const bool single = format & DT_SINGLELINE;
  if (!(format & DT_NOPREFIX) && laid.find(L'&') != laid.npos) {
    changed = StripPrefixes(text, count, underlined);
    laid = changed;
  }
  if (format & DT_HIDEPREFIX) underlined.clear();
  if ((format & DT_EXPANDTABS) && laid.find(L'\t') != laid.npos) {
    changed = ExpandTabs(std::wstring(laid));
    laid = changed;
  }
  if (single && laid.find_first_of(L"\r\n") != laid.npos) {
    if (laid.data() != changed.data()) changed.assign(laid);
    std::replace_if(changed.begin(), changed.end(), [](wchar_t c) { return c == L'\r' || c == L'\n'; }, L' ');
    laid = changed;
  }

  const auto& m = face.GetMetrics();
  const int box_width = rect.right - rect.left;
  const int line_height = m.height + ((format & DT_EXTERNALLEADING) ? m.external_leading : 0);
  LayoutOptions options;
  options.single_line = single;
  options.wrap = !single && (format & DT_WORDBREAK);
  options.max_width = std::max(0, box_width);
  thread_local std::vector<TextLine> lines;
  BreakLines(face, laid, options, lines);
  static constexpr std::wstring_view kEllipsis = L"...";
  if (format & (DT_END_ELLIPSIS | DT_WORD_ELLIPSIS | DT_PATH_ELLIPSIS)) {
    for (auto& line : lines) {
      if (line.width > box_width) AddEllipsis(face, laid, line, kEllipsis, box_width);
    }
  }
  int text_width = 0;
  for (const auto& line : lines) text_width = std::max(text_width, line.width);
  const int text_height = static_cast<int>(lines.size()) * line_height;

  if (format & DT_CALCRECT) {
    rect.right = rect.left + text_width;
    rect.bottom = rect.top + text_height;
    return text_height;
  }

  // Vertical placement applies to single lines only, as in Win32.
  int top = rect.top;
  if (single && (format & DT_VCENTER)) top = rect.top + (rect.bottom - rect.top - line_height) / 2;
  if (single && (format & DT_BOTTOM)) top = rect.bottom - line_height;

  cairo_t* cr = dc.Begin();
  if (!cr) return 0;
  auto& state = dc.Current();
  // Clipping costs cairo a slower path; text well inside the box needs none.
  bool inside = top >= rect.top && top + text_height <= rect.bottom;
  for (const auto& line : lines) {
    int x = LineLeft(rect, line, format);
    int overhang_left = 0, overhang_right = 0;
    if (line.length > 0) {
      overhang_left = std::max(0, -face.GlyphOf(laid[line.start]).abc.abcA);
      overhang_right = std::max(0, -face.GlyphOf(laid[line.start + line.length - 1]).abc.abcC);
    }
    inside = inside && x - overhang_left >= rect.left && x + line.width + overhang_right <= rect.right;
  }
  const bool clip = !(format & DT_NOCLIP) && !inside;
  if (clip) {
    cairo_save(cr);
    cairo_rectangle(cr, rect.left, rect.top, box_width, rect.bottom - rect.top);
    cairo_clip(cr);
  }
  int y = top;
  int min_left = rect.left, max_right = rect.right;
  for (const auto& line : lines) {
    int x = LineLeft(rect, line, format);
    min_left = std::min(min_left, x);
    max_right = std::max(max_right, x + line.width);
    if (state.bk_mode == OPAQUE) FillTextBackground(cr, state, x, y, line.width, line_height);
    SetSourceColor(cr, state.text_color);
    int baseline = y + m.ascent;
    face.Draw(cr, laid.data() + line.start, line.length, x, baseline);
    if (line.ellipsis) {
      int drawn = face.Measure(laid.data() + line.start, line.length);
      face.Draw(cr, kEllipsis.data(), kEllipsis.size(), x + drawn, baseline);
    }
    for (size_t at : underlined) {
      if (at < line.start || at >= line.start + line.length) continue;
      int offset = face.Measure(laid.data() + line.start, at - line.start);
      cairo_rectangle(cr, x + offset, baseline + 1, face.GlyphOf(laid[at]).advance, 1);
      cairo_fill(cr);
    }
    y += line_height;
  }
  if (clip) cairo_restore(cr);
  dc.End({min_left - m.em, top, max_right + m.em, top + text_height});
  return (top - rect.top) + text_height;
}

}  // namespace platform::gdi
