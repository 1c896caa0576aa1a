// Wide formatting with the Windows C runtime's conventions. Each
// conversion is parsed here and its argument fetched by its real type;
// numbers are then formatted by the C library, texts are copied.
#include "win32/Format.h"

#include <cstdio>
#include <cstring>
#include <cwchar>
#include <string>

#include "win32/CodePages.h"

namespace {

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

enum class Size { Default, Char, Short, Long, LongLong, SizeT, IntMax, PtrDiff, LongDouble, Wide, Narrow };

std::wstring Widen(const char* text, size_t length) {
  if (length == 0) return {};
  int count = MultiByteToWideChar(CP_ACP, 0, text, static_cast<int>(length), nullptr, 0);
  if (count <= 0) return std::wstring(text, text + length);
  std::wstring wide(static_cast<size_t>(count), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text, static_cast<int>(length), wide.data(), count);
  return wide;
}

void Pad(std::wstring& out, const std::wstring& body, int width, bool left, wchar_t fill = L' ') {
  size_t pad = width > 0 && static_cast<size_t>(width) > body.size() ? width - body.size() : 0;
  if (!left) out.append(pad, fill);
  out += body;
  if (left) out.append(pad, L' ');
}

// Formats into out; false for a malformed conversion (output so far kept).
bool FormatTo(std::wstring& out, const wchar_t* format, va_list args) {
  if (!format) return false;
  for (const wchar_t* p = format; *p;) {
    if (*p != L'%') {
      out.push_back(*p++);
      continue;
    }
    const wchar_t* start = p++;
    if (*p == L'%') {
      out.push_back(L'%');
      ++p;
      continue;
    }
    std::string flags;
    while (*p && wcschr(L"-+ #0", *p)) flags.push_back(static_cast<char>(*p++));
    bool left = flags.find('-') != std::string::npos;
    int width = -1, precision = -1;
    if (*p == L'*') {
      width = va_arg(args, int);
      if (width < 0) left = true, width = -width, flags.push_back('-');
      ++p;
    } else if (IsDigit(*p)) {
      width = 0;
      while (IsDigit(*p)) width = width * 10 + (*p++ - L'0');
    }
    if (*p == L'.') {
      ++p;
      precision = 0;
      if (*p == L'*') {
        precision = va_arg(args, int);
        ++p;
      } else {
        while (IsDigit(*p)) precision = precision * 10 + (*p++ - L'0');
      }
    }
    Size size = Size::Default;
    if (p[0] == L'I' && p[1] == L'6' && p[2] == L'4') size = Size::LongLong, p += 3;
    else if (p[0] == L'I' && p[1] == L'3' && p[2] == L'2') size = Size::Default, p += 3;
    else if (*p == L'I') size = Size::SizeT, ++p;
    else if (p[0] == L'h' && p[1] == L'h') size = Size::Char, p += 2;
    else if (*p == L'h') size = Size::Short, ++p;
    else if (p[0] == L'l' && p[1] == L'l') size = Size::LongLong, p += 2;
    else if (*p == L'l') size = Size::Long, ++p;
    else if (*p == L'w') size = Size::Wide, ++p;
    else if (*p == L'z') size = Size::SizeT, ++p;
    else if (*p == L'j') size = Size::IntMax, ++p;
    else if (*p == L't') size = Size::PtrDiff, ++p;
    else if (*p == L'L') size = Size::LongDouble, ++p;
    wchar_t conversion = *p;
    if (!conversion) {
      out.append(start);
      return false;
    }
    ++p;

    // The C library formats the number; the conversion it gets is rebuilt narrow.
    auto number = [&](const char* length, auto value) {
      std::string conversionFormat = "%" + flags;
      if (width >= 0) conversionFormat += std::to_string(width);
      if (precision >= 0) conversionFormat += "." + std::to_string(precision);
      conversionFormat += length;
      conversionFormat.push_back(static_cast<char>(conversion));
      char buffer[512];
      int n = snprintf(buffer, sizeof buffer, conversionFormat.c_str(), value);
      if (n < 0) return;
      if (static_cast<size_t>(n) < sizeof buffer) {
        out.append(buffer, buffer + n);
      } else {
        std::string big(static_cast<size_t>(n) + 1, '\0');
        snprintf(big.data(), big.size(), conversionFormat.c_str(), value);
        out.append(big.begin(), big.begin() + n);
      }
    };

    switch (conversion) {
      case L'd':
      case L'i':
        if (size == Size::LongLong || size == Size::IntMax) number("ll", va_arg(args, long long));
        else if (size == Size::SizeT || size == Size::PtrDiff) number("ll", static_cast<long long>(va_arg(args, intptr_t)));
        else if (size == Size::Long) number("", static_cast<int>(va_arg(args, long)));  // Win32 long is 32-bit
        else if (size == Size::Short) number("", static_cast<int>(static_cast<short>(va_arg(args, int))));
        else if (size == Size::Char) number("", static_cast<int>(static_cast<signed char>(va_arg(args, int))));
        else number("", va_arg(args, int));
        break;
      case L'u':
      case L'o':
      case L'x':
      case L'X':
        if (size == Size::LongLong || size == Size::IntMax) number("ll", va_arg(args, unsigned long long));
        else if (size == Size::SizeT || size == Size::PtrDiff) number("ll", static_cast<unsigned long long>(va_arg(args, uintptr_t)));
        else if (size == Size::Long) number("", static_cast<unsigned>(va_arg(args, unsigned long)));
        else if (size == Size::Short) number("", static_cast<unsigned>(static_cast<unsigned short>(va_arg(args, unsigned))));
        else if (size == Size::Char) number("", static_cast<unsigned>(static_cast<unsigned char>(va_arg(args, unsigned))));
        else number("", va_arg(args, unsigned));
        break;
      case L'e':
      case L'E':
      case L'f':
      case L'F':
      case L'g':
      case L'G':
      case L'a':
      case L'A':
        if (size == Size::LongDouble) number("", static_cast<double>(va_arg(args, long double)));
        else number("", va_arg(args, double));
        break;
      case L'p': {
        wchar_t buffer[32];
        swprintf(buffer, 32, L"%016llX", static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(va_arg(args, void*))));
        Pad(out, buffer, width, left);
        break;
      }
      case L'c':
      case L'C': {
        bool narrow = size == Size::Short || size == Size::Char || (conversion == L'C' && size != Size::Long && size != Size::Wide);
        int value = va_arg(args, int);
        std::wstring body;
        if (narrow) {
          char ch = static_cast<char>(value);
          body = Widen(&ch, 1);
        } else {
          body.assign(1, static_cast<wchar_t>(value));
        }
        Pad(out, body, width, left);
        break;
      }
      case L's':
      case L'S':
      case L'Z': {
        bool narrow = size == Size::Short || size == Size::Char || (conversion == L'S' && size != Size::Long && size != Size::Wide);
        std::wstring body;
        if (narrow) {
          const char* text = va_arg(args, const char*);
          if (!text) text = "(null)";
          size_t length = precision >= 0 ? strnlen(text, static_cast<size_t>(precision)) : strlen(text);
          body = Widen(text, length);
        } else {
          const wchar_t* text = va_arg(args, const wchar_t*);
          if (!text) text = L"(null)";
          size_t length = precision >= 0 ? wcsnlen(text, static_cast<size_t>(precision)) : wcslen(text);
          body.assign(text, length);
        }
        Pad(out, body, width, left);
        break;
      }
      case L'n':
        // Writing through %n is refused, as the secure runtime does.
        (void)va_arg(args, void*);
        break;
      default:
        out.append(start, p);
        return false;
    }
  }
  return true;
}

std::wstring Format(const wchar_t* format, va_list args, bool* ok) {
  std::wstring out;
  va_list copy;
  va_copy(copy, args);
  *ok = FormatTo(out, format, copy);
  va_end(copy);
  return out;
}

}  // namespace

int _vscwprintf(const wchar_t* format, va_list args) {
  bool ok;
  std::wstring out = Format(format, args, &ok);
  return ok ? static_cast<int>(out.size()) : -1;
}

int _scwprintf(const wchar_t* format, ...) {
  va_list args;
  va_start(args, format);
  int n = _vscwprintf(format, args);
  va_end(args);
  return n;
}

int _vsnwprintf(wchar_t* buffer, size_t count, const wchar_t* format, va_list args) {
  bool ok;
  std::wstring out = Format(format, args, &ok);
  if (!ok || !buffer) return -1;
  size_t n = out.size() < count ? out.size() : count;
  wmemcpy(buffer, out.data(), n);
  if (out.size() < count) buffer[out.size()] = 0;
  return out.size() <= count ? static_cast<int>(out.size()) : -1;
}

int _snwprintf(wchar_t* buffer, size_t count, const wchar_t* format, ...) {
  va_list args;
  va_start(args, format);
  int n = _vsnwprintf(buffer, count, format, args);
  va_end(args);
  return n;
}

int vswprintf_s(wchar_t* buffer, size_t sizeOfBuffer, const wchar_t* format, va_list args) {
  if (!buffer || sizeOfBuffer == 0) return -1;
  bool ok;
  std::wstring out = Format(format, args, &ok);
  if (!ok || out.size() + 1 > sizeOfBuffer) {
    buffer[0] = 0;
    return -1;
  }
  wmemcpy(buffer, out.data(), out.size());
  buffer[out.size()] = 0;
  return static_cast<int>(out.size());
}

int swprintf_s(wchar_t* buffer, size_t sizeOfBuffer, const wchar_t* format, ...) {
  va_list args;
  va_start(args, format);
  int n = vswprintf_s(buffer, sizeOfBuffer, format, args);
  va_end(args);
  return n;
}

int WINAPI wvsprintfW(LPWSTR buffer, LPCWSTR format, va_list args) {
  constexpr size_t kLimit = 1024;  // user32's buffer limit, terminator included
  if (!buffer) return 0;
  bool ok;
  std::wstring out = Format(format, args, &ok);
  size_t n = out.size() < kLimit - 1 ? out.size() : kLimit - 1;
  wmemcpy(buffer, out.data(), n);
  buffer[n] = 0;
  return static_cast<int>(n);
}

int wsprintfW(LPWSTR buffer, LPCWSTR format, ...) {
  va_list args;
  va_start(args, format);
  int n = wvsprintfW(buffer, format, args);
  va_end(args);
  return n;
}
