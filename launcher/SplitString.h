// Splitting texts at a separator, and joining path pieces again.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

// Every occurrence of `separator` ends a piece; adjacent separators give an
// empty piece, a leading one a leading empty piece, a trailing one no
// trailing piece; an empty text gives no pieces. An empty separator gives
// the whole text as one piece.
std::vector<std::string> SplitString(std::string text, std::string separator);

// The first `count` pieces joined with the platform's path separator into
// `out` (`capacity` bytes, zero-terminated). False, with `out` empty, when
// they do not fit.
bool JoinPathPieces(const std::vector<std::string>& pieces, size_t count, char* out, size_t capacity);
