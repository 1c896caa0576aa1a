// Code pages: UTF-8 by our own codec, GBK (936) through iconv one character
// at a time so that invalid input and unmappable characters are handled
// per character as Win32 does.
#include "win32/CodePages.h"

#include <iconv.h>
#include <locale.h>
#include <wctype.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "kernel/Text.h"
#include "win32/Errors.h"


namespace {

constexpr UINT kGbk = 936;

// The process locale's charset, as setlocale(LC_ALL, "") would pick it.
UINT LocaleCodePage() {
  static const UINT page = [] {
    const char* names[] = {"LC_ALL", "LC_CTYPE", "LANG"};
    for (const char* name : names) {
      const char* value = getenv(name);
      if (!value || !*value) continue;
      std::string v = value;
      for (char& c : v) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
      if (v.find("gbk") != std::string::npos || v.find("gb2312") != std::string::npos ||
          v.find("cp936") != std::string::npos || v.find("gb18030") != std::string::npos)
        return kGbk;
      return static_cast<UINT>(CP_UTF8);
    }
    return static_cast<UINT>(CP_UTF8);
  }();
  return page;
}

UINT Resolve(UINT codePage) {
  if (codePage == CP_ACP || codePage == CP_OEMCP || codePage == 3 /* CP_THREAD_ACP */) return LocaleCodePage();
  return codePage;
}

// A cached conversion descriptor per thread and direction.
class Iconv {
 public:
  Iconv(const char* to, const char* from) {
    cd_ = iconv_open(to, from);
    if (cd_ == reinterpret_cast<iconv_t>(-1) && strcmp(from, "CP936") == 0) cd_ = iconv_open(to, "GBK");
    if (cd_ == reinterpret_cast<iconv_t>(-1) && strcmp(to, "CP936") == 0) cd_ = iconv_open("GBK", from);
  }
  ~Iconv() {
    if (ok()) iconv_close(cd_);
  }
  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
  // Converts exactly the given bytes; false when they are not one complete,
  // valid unit.
  bool Convert(const char* in, size_t inSize, char* out, size_t outSize, size_t* produced) {
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    char* src = const_cast<char*>(in);
    char* dst = out;
    size_t left = inSize, room = outSize;
    if (iconv(cd_, &src, &left, &dst, &room) == static_cast<size_t>(-1) || left != 0) return false;
    *produced = outSize - room;
    return true;
  }

 private:
  iconv_t cd_;
};

std::wstring GbkToWide(std::string_view bytes, bool* invalid) {
  thread_local Iconv decoder("WCHAR_T", "CP936");
  std::wstring out;
  bool bad = false;
  for (size_t i = 0; i < bytes.size();) {
    auto b = static_cast<unsigned char>(bytes[i]);
    if (b < 0x80) {
      out.push_back(b);
      ++i;
      continue;
    }
    wchar_t wc;
    size_t produced = 0;
    if (decoder.ok() && decoder.Convert(&bytes[i], 1, reinterpret_cast<char*>(&wc), sizeof wc, &produced) &&
        produced == sizeof wc) {
      out.push_back(wc);
      ++i;
      continue;
    }
    if (i + 1 < bytes.size() && decoder.ok() &&
        decoder.Convert(&bytes[i], 2, reinterpret_cast<char*>(&wc), sizeof wc, &produced) && produced == sizeof wc) {
      out.push_back(wc);
      i += 2;
      continue;
    }
    out.push_back(0xFFFD);
    bad = true;
    ++i;
  }
  if (invalid) *invalid = bad;
  return out;
}

// Encodes one character to GBK; false when the code page cannot hold it.
bool WideCharToGbk(wchar_t wc, std::string& out) {
  if (static_cast<uint32_t>(wc) < 0x80) {
    out.push_back(static_cast<char>(wc));
    return true;
  }
  thread_local Iconv encoder("CP936", "WCHAR_T");
  char buffer[8];
  size_t produced = 0;
  if (!encoder.ok() ||
      !encoder.Convert(reinterpret_cast<const char*>(&wc), sizeof wc, buffer, sizeof buffer, &produced) ||
      produced == 0)
    return false;
  out.append(buffer, produced);
  return true;
}

bool Supported(UINT page) { return page == CP_UTF8 || page == kGbk; }

}  // namespace

UINT WINAPI GetACP() { return LocaleCodePage(); }
UINT WINAPI GetOEMCP() { return LocaleCodePage(); }

int WINAPI MultiByteToWideChar(UINT CodePage, DWORD dwFlags, LPCSTR lpMultiByteStr, int cbMultiByte,
                               LPWSTR lpWideCharStr, int cchWideChar) {
  UINT page = Resolve(CodePage);
  if (!Supported(page)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  if (!lpMultiByteStr || cbMultiByte == 0 || cchWideChar < 0 || (cchWideChar > 0 && !lpWideCharStr) ||
      (lpWideCharStr && reinterpret_cast<const void*>(lpWideCharStr) == reinterpret_cast<const void*>(lpMultiByteStr))) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  if (dwFlags & ~static_cast<DWORD>(MB_PRECOMPOSED | MB_ERR_INVALID_CHARS)) {
    SetLastError(ERROR_INVALID_FLAGS);
    return 0;
  }
  // -1: up to and including the terminator.
  size_t size = cbMultiByte < 0 ? strlen(lpMultiByteStr) + 1 : static_cast<size_t>(cbMultiByte);
  const bool measure = cchWideChar == 0;
  const size_t capacity = static_cast<size_t>(cchWideChar);
  size_t count = 0;
  bool invalid;
  if (page == CP_UTF8) {
    // Straight into the caller's buffer, never past its end.
    invalid = platform::kernel::DecodeUtf8(lpMultiByteStr, size, [&](wchar_t c) {
      if (!measure && count < capacity) lpWideCharStr[count] = c;
      ++count;
    });
  } else {
    std::wstring wide = GbkToWide(std::string_view(lpMultiByteStr, size), &invalid);
    count = wide.size();
    if (!measure && count <= capacity) memcpy(lpWideCharStr, wide.data(), count * sizeof(wchar_t));
  }
  if (invalid && (dwFlags & MB_ERR_INVALID_CHARS)) {
    SetLastError(ERROR_NO_UNICODE_TRANSLATION);
    return 0;
  }
  if (!measure && count > capacity) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  return static_cast<int>(count);
}

int WINAPI WideCharToMultiByte(UINT CodePage, DWORD dwFlags, LPCWSTR lpWideCharStr, int cchWideChar,
                               LPSTR lpMultiByteStr, int cbMultiByte, LPCSTR lpDefaultChar,
                               LPBOOL lpUsedDefaultChar) {
  UINT page = Resolve(CodePage);
  if (!Supported(page)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  if (!lpWideCharStr || cchWideChar == 0 || cbMultiByte < 0 || (cbMultiByte > 0 && !lpMultiByteStr)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  // UTF-8 takes neither a default character nor its flag, as on Win32.
  if (page == CP_UTF8 && (lpDefaultChar || lpUsedDefaultChar)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  size_t count = cchWideChar < 0 ? wcslen(lpWideCharStr) + 1 : static_cast<size_t>(cchWideChar);
  const bool measure = cbMultiByte == 0;
  const size_t capacity = static_cast<size_t>(cbMultiByte);
  size_t size = 0;
  bool usedDefault = false;
  if (page == CP_UTF8) {
    bool invalid = platform::kernel::EncodeUtf8(lpWideCharStr, count, [&](char c) {
      if (!measure && size < capacity) lpMultiByteStr[size] = c;
      ++size;
    });
    if (invalid && (dwFlags & WC_ERR_INVALID_CHARS)) {
      SetLastError(ERROR_NO_UNICODE_TRANSLATION);
      return 0;
    }
  } else {
    std::string out;
    const char* fallback = lpDefaultChar && *lpDefaultChar ? lpDefaultChar : "?";
    for (size_t i = 0; i < count; ++i) {
      if (!WideCharToGbk(lpWideCharStr[i], out)) {
        out.append(fallback, strnlen(fallback, 2));
        usedDefault = true;
      }
    }
    size = out.size();
    if (!measure && size <= capacity) memcpy(lpMultiByteStr, out.data(), size);
  }
  if (lpUsedDefaultChar) *lpUsedDefaultChar = usedDefault;
  if (!measure && size > capacity) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  return static_cast<int>(size);
}

namespace {
// Classification by the Unicode tables of C.UTF-8, whatever locale the
// caller has set.
locale_t UnicodeLocale() {
  static locale_t loc = [] {
    locale_t l = newlocale(LC_CTYPE_MASK, "C.UTF-8", nullptr);
    if (!l) l = newlocale(LC_CTYPE_MASK, "en_US.UTF-8", nullptr);
    return l;
  }();
  return loc;
}
}  // namespace

BOOL WINAPI IsCharAlphaW(WCHAR ch) {
  locale_t loc = UnicodeLocale();
  return loc ? iswalpha_l(static_cast<wint_t>(ch), loc) != 0 : iswalpha(static_cast<wint_t>(ch)) != 0;
}

BOOL WINAPI IsCharAlphaNumericW(WCHAR ch) {
  locale_t loc = UnicodeLocale();
  return loc ? iswalnum_l(static_cast<wint_t>(ch), loc) != 0 : iswalnum(static_cast<wint_t>(ch)) != 0;
}

namespace {
template <class Fold>
LPWSTR FoldCase(LPWSTR text, Fold fold) {
  if (!text) return text;
  // A pointer value with a zero high part carries one character.
  if (IS_INTRESOURCE(text)) {
    auto ch = static_cast<wchar_t>(reinterpret_cast<uintptr_t>(text));
    return reinterpret_cast<LPWSTR>(static_cast<uintptr_t>(static_cast<uint16_t>(fold(ch))));
  }
  for (LPWSTR p = text; *p; ++p) *p = fold(*p);
  return text;
}
}  // namespace

LPWSTR WINAPI CharUpperW(LPWSTR lpsz) {
  return FoldCase(lpsz, [](wchar_t c) {
    locale_t loc = UnicodeLocale();
    return static_cast<wchar_t>(loc ? towupper_l(c, loc) : towupper(c));
  });
}

LPWSTR WINAPI CharLowerW(LPWSTR lpsz) {
  return FoldCase(lpsz, [](wchar_t c) {
    locale_t loc = UnicodeLocale();
    return static_cast<wchar_t>(loc ? towlower_l(c, loc) : towlower(c));
  });
}
