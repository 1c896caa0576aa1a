#include "kernel/Text.h"

#include <cstring>

namespace platform::kernel {
std::wstring Utf8ToWide(std::string_view text, bool* invalid) {
  std::wstring out;
  out.reserve(text.size());
  bool bad = DecodeUtf8(text.data(), text.size(), [&](wchar_t c) { out.push_back(c); });
  if (invalid) *invalid = bad;
  return out;
}

std::string WideToUtf8(std::wstring_view text, bool* invalid) {
  std::string out;
  out.reserve(text.size());
  bool bad = EncodeUtf8(text.data(), text.size(), [&](char c) { out.push_back(c); });
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
