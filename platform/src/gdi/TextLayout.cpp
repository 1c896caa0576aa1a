#include "gdi/TextLayout.h"

#include <cwchar>

namespace platform::gdi {
namespace {

bool NoBreakBefore(wchar_t c) { return c && std::wcschr(L"\x3001\x3002\xFF0C\xFF1B\xFF1A\xFF1F\xFF01\xFF09\x300B\x300D\x300F\x3011\x3015\x2026\x2014,.;:?!)]}%", c); }
bool NoBreakAfter(wchar_t c) { return c && std::wcschr(L"\xFF08\x300A\x300C\x300E\x3010\x3014([{", c); }

bool CanBreakBefore(wchar_t previous, wchar_t current) {
  if (current == L' ') return false;
  if (previous == L' ') return true;
  if (NoBreakBefore(current) || NoBreakAfter(previous)) return false;
  return IsIdeograph(previous) || IsIdeograph(current);
}

int Width(FontFace& face, std::wstring_view text, size_t start, size_t end, bool keep_trailing_spaces) {
  if (!keep_trailing_spaces) {
    while (end > start && text[end - 1] == L' ') --end;
  }
  return face.Measure(text.data() + start, end - start);
}

void BreakParagraph(FontFace& face, std::wstring_view text, size_t begin, size_t end, const LayoutOptions& o,
                    std::vector<TextLine>& lines) {
  if (!o.wrap || begin == end) {
    lines.push_back({begin, end - begin, Width(face, text, begin, end, o.keep_trailing_spaces)});
    return;
  }
  size_t start = begin;
  while (start < end) {
    int width = 0;
    size_t last_break = 0;  // 0: none yet in this line
    bool overflow = false;
    size_t i = start;
    for (; i < end; ++i) {
      if (i > start && CanBreakBefore(text[i - 1], text[i])) {
        if (overflow) break;
        last_break = i;
      }
      int advance = face.GlyphOf(text[i]).advance;
      if (text[i] != L' ' && i > start && width + advance > o.max_width) {
        if (last_break) {
          i = last_break;
          break;
        }
        overflow = true;  // the word goes on to its end
      }
      width += advance;
    }
    lines.push_back({start, i - start, Width(face, text, start, i, false)});
    while (i < end && text[i] == L' ') ++i;
    start = i;
  }
}

}  // namespace

bool IsIdeograph(wchar_t c) {
  auto u = static_cast<uint32_t>(c);
  return (u >= 0x1100 && u <= 0x11FF) || (u >= 0x2E80 && u <= 0xA4CF) || (u >= 0xAC00 && u <= 0xD7A3) ||
         (u >= 0xF900 && u <= 0xFAFF) || (u >= 0xFE30 && u <= 0xFE4F) || (u >= 0xFF00 && u <= 0xFFEF) ||
         (u >= 0x20000 && u <= 0x3FFFD);
}

void BreakLines(FontFace& face, std::wstring_view text, const LayoutOptions& options, std::vector<TextLine>& lines) {
  lines.clear();
  if (options.single_line) {
    BreakParagraph(face, text, 0, text.size(), options, lines);
    return;
  }
  size_t begin = 0;
  for (;;) {
    size_t end = begin;
    while (end < text.size() && text[end] != L'\n' && text[end] != L'\r') ++end;
    BreakParagraph(face, text, begin, end, options, lines);
    if (end == text.size()) break;
    begin = end + ((text[end] == L'\r' && end + 1 < text.size() && text[end + 1] == L'\n') ? 2 : 1);
  }
}

void AddEllipsis(FontFace& face, std::wstring_view text, TextLine& line, std::wstring_view ellipsis,
                 int max_width) {
  int room = max_width - face.Measure(ellipsis.data(), ellipsis.size());
  int width = 0;
  size_t keep = 0;
  while (keep < line.length) {
    int advance = face.GlyphOf(text[line.start + keep]).advance;
    if (width + advance > room) break;
    width += advance;
    ++keep;
  }
  line.length = keep;
  line.width = width + face.Measure(ellipsis.data(), ellipsis.size());
  line.ellipsis = true;
}

}  // namespace platform::gdi
