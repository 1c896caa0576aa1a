#include "SplitString.h"

#include "Win32.h"

#include <cstdio>

std::vector<std::string> SplitString(std::string text, std::string separator) {
  std::vector<std::string> pieces;
  if (separator.empty()) {
    if (!text.empty()) pieces.push_back(text);
    return pieces;
  }
  size_t position = 0;
  for (size_t found = text.find(separator); found != std::string::npos; found = text.find(separator, position)) {
    pieces.push_back(text.substr(position, found - position));
    position = found + separator.size();
  }
  if (position != text.size()) pieces.push_back(text.substr(position));
  return pieces;
}

bool JoinPathPieces(const std::vector<std::string>& pieces, size_t count, char* out, size_t capacity) {
  if (capacity == 0) return false;
  out[0] = '\0';
  std::string joined;
  for (size_t i = 0; i < count && i < pieces.size(); ++i) {
    if (i > 0) joined += PLATFORM_PATH_SEPARATOR_A;
    joined += pieces[i];
  }
  if (joined.size() >= capacity) return false;
  std::snprintf(out, capacity, "%s", joined.c_str());
  return true;
}
