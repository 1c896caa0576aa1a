#include "core/AttributeValues.h"

#include <cstring>
#include <cwchar>

namespace SkinUI {

namespace {

// The C locale's white space, so results never depend on the locale.
bool IsBlank(WCHAR ch) { return ch == L' ' || (ch >= L'\t' && ch <= L'\r'); }

int HexDigit(WCHAR ch) {
  if (ch >= L'0' && ch <= L'9') return ch - L'0';
  if (ch >= L'a' && ch <= L'f') return ch - L'a' + 10;
  if (ch >= L'A' && ch <= L'F') return ch - L'A' + 10;
  return -1;
}

// Reads digits of a base into an unsigned 64-bit value that stops growing
// past limit; returns the position after the digits.
LPCWSTR ReadDigits(LPCWSTR p, int base, ULONGLONG limit, ULONGLONG* pValue) {
  ULONGLONG value = 0;
  for (;; ++p) {
    int digit = HexDigit(*p);
    if (digit < 0 || digit >= base) break;
    if (value <= limit) value = value * base + digit;
  }
  *pValue = value;
  return p;
}

}  // namespace

LONG ParseInt(LPCWSTR pstr, LPCWSTR* ppEnd) {
  if (ppEnd) *ppEnd = pstr;
  if (pstr == nullptr) return 0;
  LPCWSTR p = pstr;
  while (IsBlank(*p)) ++p;
  bool negative = false;
  if (*p == L'+' || *p == L'-') negative = (*p++ == L'-');
  ULONGLONG value = 0;
  LPCWSTR end = ReadDigits(p, 10, 0xFFFFFFFFull, &value);
  if (end == p) return 0;
  if (ppEnd) *ppEnd = end;
  if (negative) return value >= 0x80000000ull ? INT32_MIN : -static_cast<LONG>(value);
  return value >= 0x7FFFFFFFull ? INT32_MAX : static_cast<LONG>(value);
}

DWORD ParseHex(LPCWSTR pstr, LPCWSTR* ppEnd) {
  if (ppEnd) *ppEnd = pstr;
  if (pstr == nullptr) return 0;
  LPCWSTR p = pstr;
  while (IsBlank(*p)) ++p;
  bool negative = false;
  if (*p == L'+' || *p == L'-') negative = (*p++ == L'-');
  if (p[0] == L'0' && (p[1] == L'x' || p[1] == L'X') && HexDigit(p[2]) >= 0) p += 2;
  ULONGLONG value = 0;
  LPCWSTR end = ReadDigits(p, 16, 0xFFFFFFFFull, &value);
  if (end == p) return 0;
  if (ppEnd) *ppEnd = end;
  if (value > 0xFFFFFFFFull) return 0xFFFFFFFFu;
  DWORD result = static_cast<DWORD>(value);
  return negative ? static_cast<DWORD>(0u - result) : result;
}

DWORD ParseColor(LPCWSTR pstr) {
  if (pstr == nullptr) return 0;
  if (*pstr == L'#') ++pstr;
  return ParseHex(pstr);
}

bool ParseBool(LPCWSTR pstr) { return pstr != nullptr && std::wcscmp(pstr, L"true") == 0; }

int ParseIntList(LPCWSTR pstr, LONG* pValues, int nCount) {
  if (nCount > 4) nCount = 4;
  for (int i = 0; i < nCount; ++i) pValues[i] = 0;
  if (pstr == nullptr) return 0;
  LPCWSTR p = pstr;
  int read = 0;
  while (read < nCount && *p != L'\0') {
    LPCWSTR end = p;
    pValues[read++] = ParseInt(p, &end);
    if (*end == L'\0') break;
    p = end + 1;  // exactly one separator, whatever it is
  }
  return read;
}

RECT ParseRect(LPCWSTR pstr) {
  LONG v[4];
  ParseIntList(pstr, v, 4);
  return RECT{v[0], v[1], v[2], v[3]};
}

SIZE ParseSize(LPCWSTR pstr) {
  LONG v[2];
  ParseIntList(pstr, v, 2);
  return SIZE{v[0], v[1]};
}

}  // namespace SkinUI
