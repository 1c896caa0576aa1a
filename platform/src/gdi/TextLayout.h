// Line breaking and end ellipsis for DrawTextW and the Gdiplus facade.
// Lines break at spaces and between ideographs (not before closing or
// after opening punctuation); a word wider than the box is not split.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "gdi/FontFace.h"

namespace platform::gdi {

struct TextLine {
  size_t start = 0;   // into the laid-out text
  size_t length = 0;  // characters drawn from start
  int width = 0;      // of those characters, plus the ellipsis when added
  bool ellipsis = false;
};

struct LayoutOptions {
  bool single_line = false;      // newlines do not end lines
  bool wrap = false;             // break lines wider than max_width
  bool keep_trailing_spaces = true;  // count spaces at the end of a line
  int max_width = 0;
};

// Replaces lines with the lines of text.
void BreakLines(FontFace& face, std::wstring_view text, const LayoutOptions& options, std::vector<TextLine>& lines);
// Shortens line so that it and ellipsis fit max_width (never below nothing).
void AddEllipsis(FontFace& face, std::wstring_view text, TextLine& line, std::wstring_view ellipsis,
                 int max_width);

bool IsIdeograph(wchar_t c);

}  // namespace platform::gdi
