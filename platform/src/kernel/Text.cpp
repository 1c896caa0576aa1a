#include "kernel/Text.h"

#include <cstring>

namespace platform::kernel {
namespace {

constexpr wchar_t kReplacement = 0xFFFD;

bool IsScalar(uint32_t c) { return c <= 0x10FFFF && (c < 0xD800 || c > 0xDFFF); }

}  // namespace

std::wstring Utf8ToWide(std::string_view text, bool* invalid) {
  std::wstring out;
  out.reserve(text.size());
  bool bad = false;
  size_t i = 0;
  const size_t n = text.size();
  while (i < n) {
    auto b0 = static_cast<unsigned char>(text[i]);
    if (b0 < 0x80) {
      out.push_back(b0);
      ++i;
      continue;
    }
    int extra;
    uint32_t c, min;
    if (b0 >= 0xC2 && b0 <= 0xDF) extra = 1, c = b0 & 0x1F, min = 0x80;
    else if (b0 >= 0xE0 && b0 <= 0xEF) extra = 2, c = b0 & 0x0F, min = 0x800;
    else if (b0 >= 0xF0 && b0 <= 0xF4) extra = 3, c = b0 & 0x07, min = 0x10000;
    else {
      out.push_back(kReplacement), bad = true, ++i;
      continue;
    }
    // Take continuation bytes while they keep the sequence valid, so that a
    // broken sequence is replaced by one U+FFFD (its maximal subpart).
    size_t j = i + 1;
    int got = 0;
    for (; got < extra && j < n; ++got, ++j) {
      auto b = static_cast<unsigned char>(text[j]);
      if ((b & 0xC0) != 0x80) break;
      if (got == 0) {
        if ((b0 == 0xE0 && b < 0xA0) || (b0 == 0xED && b > 0x9F) || (b0 == 0xF0 && b < 0x90) ||
            (b0 == 0xF4 && b > 0x8F))
          break;
      }
      c = (c << 6) | (b & 0x3F);
    }
    if (got == extra && c >= min && IsScalar(c)) {
      out.push_back(static_cast<wchar_t>(c));
    } else {
      out.push_back(kReplacement);
      bad = true;
    }
    i = j;
  }
  if (invalid) *invalid = bad;
  return out;
}

std::string WideToUtf8(std::wstring_view text, bool* invalid) {
  std::string out;
  out.reserve(text.size());
  bool bad = false;
  for (wchar_t wc : text) {
    auto c = static_cast<uint32_t>(wc);
    if (!IsScalar(c)) c = kReplacement, bad = true;
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (c >> 6)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (c >> 12)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (c >> 18)));
      out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
  }
  if (invalid) *invalid = bad;
  return out;
}

std::string NativePath(LPCWSTR path) {
  if (!path) return {};
  std::string native = WideToUtf8(path);
  for (char& ch : native)
    if (ch == '\\') ch = '/';
  return native;
}

std::wstring FromNative(std::string_view text) { return Utf8ToWide(text); }

bool CopyTerminated(std::wstring_view text, LPWSTR buffer, size_t capacity) {
  if (!buffer || text.size() + 1 > capacity) return false;
  std::memcpy(buffer, text.data(), text.size() * sizeof(wchar_t));
  buffer[text.size()] = 0;
  return true;
}

}  // namespace platform::kernel
