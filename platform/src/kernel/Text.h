// Internal text and path helpers shared by the kernel functions.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "win32/Types.h"

namespace platform::kernel {

// Decodes UTF-8, handing each character to emit(wchar_t). Invalid input
// becomes U+FFFD, one per broken sequence (its maximal subpart). Returns
// whether any replacement was made.
template <class Emit>
bool DecodeUtf8(const char* text, size_t size, Emit&& emit);
// Encodes to UTF-8, handing each byte to emit(char). Surrogates and values
// beyond U+10FFFF become U+FFFD. Returns whether any replacement was made.
template <class Emit>
bool EncodeUtf8(const wchar_t* text, size_t count, Emit&& emit);

// UTF-8 <-> WCHAR. Invalid input becomes U+FFFD; invalid is set when any
// replacement was made.
std::wstring Utf8ToWide(std::string_view text, bool* invalid = nullptr);
std::string WideToUtf8(std::wstring_view text, bool* invalid = nullptr);

// A wide path as the native file system takes it: UTF-8, '\' turned to '/'.
std::string NativePath(LPCWSTR path);
// A native (UTF-8) text as a wide text.
std::wstring FromNative(std::string_view text);

// Copies text with its terminator into buffer of capacity units; false
// (nothing written past capacity) when it does not fit.
bool CopyTerminated(std::wstring_view text, LPWSTR buffer, size_t capacity);

// --- templates ---

inline bool IsUnicodeScalar(uint32_t c) { return c <= 0x10FFFF && (c < 0xD800 || c > 0xDFFF); }

template <class Emit>
bool DecodeUtf8(const char* text, size_t size, Emit&& emit) {
  const auto* s = reinterpret_cast<const unsigned char*>(text);
  bool bad = false;
  size_t i = 0;
  while (i < size) {
    // Runs of ASCII go eight bytes at a time.
    while (i + 8 <= size) {
      uint64_t word;
      __builtin_memcpy(&word, s + i, 8);
      if (word & 0x8080808080808080ULL) break;
      for (int k = 0; k < 8; ++k) emit(static_cast<wchar_t>(s[i + k]));
      i += 8;
    }
    if (i >= size) break;
    const unsigned char b0 = s[i];
    if (b0 < 0x80) {
      emit(static_cast<wchar_t>(b0));
      ++i;
      continue;
    }
    int extra;
    uint32_t c, min;
    if (b0 >= 0xC2 && b0 <= 0xDF) extra = 1, c = b0 & 0x1F, min = 0x80;
    else if (b0 >= 0xE0 && b0 <= 0xEF) extra = 2, c = b0 & 0x0F, min = 0x800;
    else if (b0 >= 0xF0 && b0 <= 0xF4) extra = 3, c = b0 & 0x07, min = 0x10000;
    else {
      emit(static_cast<wchar_t>(0xFFFD));
      bad = true;
      ++i;
      continue;
    }
    size_t j = i + 1;
    int got = 0;
    for (; got < extra && j < size; ++got, ++j) {
      const unsigned char b = s[j];
      if ((b & 0xC0) != 0x80) break;
      if (got == 0 && ((b0 == 0xE0 && b < 0xA0) || (b0 == 0xED && b > 0x9F) || (b0 == 0xF0 && b < 0x90) ||
                       (b0 == 0xF4 && b > 0x8F)))
        break;
      c = (c << 6) | (b & 0x3F);
    }
    if (got == extra && c >= min && IsUnicodeScalar(c)) {
      emit(static_cast<wchar_t>(c));
    } else {
      emit(static_cast<wchar_t>(0xFFFD));
      bad = true;
    }
    i = j;
  }
  return bad;
}

template <class Emit>
bool EncodeUtf8(const wchar_t* text, size_t count, Emit&& emit) {
  bool bad = false;
  for (size_t i = 0; i < count; ++i) {
    auto c = static_cast<uint32_t>(text[i]);
    if (c < 0x80) {
      emit(static_cast<char>(c));
      continue;
    }
    if (!IsUnicodeScalar(c)) c = 0xFFFD, bad = true;
    if (c < 0x800) {
      emit(static_cast<char>(0xC0 | (c >> 6)));
    } else if (c < 0x10000) {
      emit(static_cast<char>(0xE0 | (c >> 12)));
      emit(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    } else {
      emit(static_cast<char>(0xF0 | (c >> 18)));
      emit(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
      emit(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    }
    emit(static_cast<char>(0x80 | (c & 0x3F)));
  }
  return bad;
}

}  // namespace platform::kernel
