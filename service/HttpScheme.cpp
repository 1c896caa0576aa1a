#include "HttpScheme.h"

namespace {

bool StartsWithNoCase(const char* text, const char* prefix) {
  for (; *prefix; ++text, ++prefix) {
    char c = *text;
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != *prefix) return false;
  }
  return true;
}

}  // namespace

bool HasHttpScheme(const char* url) {
  return url && (StartsWithNoCase(url, "http://") || StartsWithNoCase(url, "https://"));
}
