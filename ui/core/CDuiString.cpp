#include "core/CDuiString.h"

#include <cstdint>
#include <cstdlib>
#include <cwchar>
#include <vector>

namespace SkinUI {

namespace {

WCHAR FoldLower(WCHAR ch) { return (ch >= L'A' && ch <= L'Z') ? static_cast<WCHAR>(ch - L'A' + L'a') : ch; }

// Narrow texts of the system are in the ANSI code page.
std::vector<WCHAR> FromAnsi(LPCSTR lpStr) {
  std::vector<WCHAR> wide;
  int n = ::MultiByteToWideChar(CP_ACP, 0, lpStr, -1, nullptr, 0);
  if (n <= 0) return wide;
  wide.resize(static_cast<size_t>(n));
  if (::MultiByteToWideChar(CP_ACP, 0, lpStr, -1, wide.data(), n) <= 0) wide.clear();
  return wide;
}

}  // namespace

CDuiString::CDuiString() : m_pstr(m_szBuffer) { m_szBuffer[0] = 0; }

CDuiString::CDuiString(const WCHAR ch) : m_pstr(m_szBuffer) {
  m_szBuffer[0] = ch;
  m_szBuffer[1] = 0;
}

CDuiString::CDuiString(const CDuiString& src) : m_pstr(m_szBuffer) {
  m_szBuffer[0] = 0;
  Assign(src.m_pstr);
}

CDuiString::CDuiString(LPCWSTR lpsz, int nLen) : m_pstr(m_szBuffer) {
  m_szBuffer[0] = 0;
  Assign(lpsz, nLen);
}

CDuiString::~CDuiString() {
  if (!IsInline()) free(m_pstr);
}

// True when pstr points into this string's own text, which a reallocation
// or an overlapping copy would destroy.
bool CDuiString::Aliases(LPCWSTR pstr) const {
  auto p = reinterpret_cast<uintptr_t>(pstr);
  auto begin = reinterpret_cast<uintptr_t>(m_pstr);
  auto end = reinterpret_cast<uintptr_t>(m_pstr + wcslen(m_pstr));
  return p >= begin && p <= end;
}

void CDuiString::ToInline() {
  if (IsInline()) return;
  free(m_pstr);
  m_pstr = m_szBuffer;
}

void CDuiString::Empty() {
  ToInline();
  m_szBuffer[0] = 0;
}

int CDuiString::GetLength() const { return static_cast<int>(wcslen(m_pstr)); }
bool CDuiString::IsEmpty() const { return m_pstr[0] == 0; }
WCHAR CDuiString::GetAt(int nIndex) const { return m_pstr[nIndex]; }
void CDuiString::SetAt(int nIndex, WCHAR ch) { m_pstr[nIndex] = ch; }
LPCWSTR CDuiString::GetData() const { return m_pstr; }
CDuiString::operator LPCWSTR() const { return m_pstr; }
WCHAR CDuiString::operator[](int nIndex) const { return m_pstr[nIndex]; }

void CDuiString::Assign(LPCWSTR pstr, int nLength) {
  if (pstr == nullptr) pstr = L"";
  if (nLength < 0) nLength = static_cast<int>(wcslen(pstr));
  if (Aliases(pstr)) {
    CDuiString copy(pstr, nLength);
    Assign(copy.m_pstr, nLength);
    return;
  }
  if (nLength <= kMaxInlineLength) {
    ToInline();
  } else if (IsInline() || GetLength() < nLength) {
    size_t bytes = (static_cast<size_t>(nLength) + 1) * sizeof(WCHAR);
    void* block = IsInline() ? malloc(bytes) : realloc(m_pstr, bytes);
    if (block == nullptr) return;  // out of memory: keep the current text
    m_pstr = static_cast<LPWSTR>(block);
  }
  wcsncpy(m_pstr, pstr, static_cast<size_t>(nLength));
  m_pstr[nLength] = 0;
}

void CDuiString::Append(LPCWSTR pstr) {
  if (pstr == nullptr) return;
  if (Aliases(pstr)) {
    CDuiString copy(pstr);
    Append(copy.m_pstr);
    return;
  }
  size_t current = wcslen(m_pstr);
  size_t total = current + wcslen(pstr);
  if (total > static_cast<size_t>(kMaxInlineLength)) {
    size_t bytes = (total + 1) * sizeof(WCHAR);
    if (IsInline()) {
      auto block = static_cast<LPWSTR>(malloc(bytes));
      if (block == nullptr) return;
      wmemcpy(block, m_szBuffer, current + 1);
      m_pstr = block;
    } else {
      auto block = static_cast<LPWSTR>(realloc(m_pstr, bytes));
      if (block == nullptr) return;
      m_pstr = block;
    }
  } else if (!IsInline()) {
    wmemcpy(m_szBuffer, m_pstr, current + 1);
    free(m_pstr);
    m_pstr = m_szBuffer;
  }
  wcscpy(m_pstr + current, pstr);
}

const CDuiString& CDuiString::operator=(const CDuiString& src) {
  Assign(src.m_pstr);
  return *this;
}

const CDuiString& CDuiString::operator=(LPCWSTR pstr) {
  if (pstr == nullptr)
    Empty();
  else
    Assign(pstr);
  return *this;
}

const CDuiString& CDuiString::operator=(LPCSTR lpStr) {
  if (lpStr == nullptr) {
    Empty();
    return *this;
  }
  std::vector<WCHAR> wide = FromAnsi(lpStr);
  if (wide.empty())
    Empty();
  else
    Assign(wide.data());
  return *this;
}

const CDuiString& CDuiString::operator=(const WCHAR ch) {
  Empty();
  m_szBuffer[0] = ch;
  m_szBuffer[1] = 0;
  return *this;
}

const CDuiString& CDuiString::operator+=(const CDuiString& src) {
  Append(src.m_pstr);
  return *this;
}

const CDuiString& CDuiString::operator+=(LPCWSTR pstr) {
  Append(pstr);
  return *this;
}

const CDuiString& CDuiString::operator+=(const WCHAR ch) {
  WCHAR str[] = {ch, 0};
  Append(str);
  return *this;
}

const CDuiString& CDuiString::operator+=(LPCSTR lpStr) {
  if (lpStr == nullptr) return *this;
  std::vector<WCHAR> wide = FromAnsi(lpStr);
  if (!wide.empty()) Append(wide.data());
  return *this;
}

CDuiString CDuiString::operator+(const CDuiString& src) const {
  CDuiString result(*this);
  result.Append(src.m_pstr);
  return result;
}

CDuiString CDuiString::operator+(LPCWSTR pstr) const {
  CDuiString result(*this);
  if (pstr != nullptr) result.Append(pstr);
  return result;
}

bool CDuiString::operator==(LPCWSTR str) const { return Compare(str) == 0; }
bool CDuiString::operator!=(LPCWSTR str) const { return Compare(str) != 0; }
bool CDuiString::operator<=(LPCWSTR str) const { return Compare(str) <= 0; }
bool CDuiString::operator<(LPCWSTR str) const { return Compare(str) < 0; }
bool CDuiString::operator>=(LPCWSTR str) const { return Compare(str) >= 0; }
bool CDuiString::operator>(LPCWSTR str) const { return Compare(str) > 0; }

int CDuiString::Compare(LPCWSTR pstr) const { return wcscmp(m_pstr, pstr ? pstr : L""); }

int CDuiString::CompareNoCase(LPCWSTR pstr) const {
  if (pstr == nullptr) pstr = L"";
  LPCWSTR a = m_pstr;
  for (;; ++a, ++pstr) {
    WCHAR ca = FoldLower(*a), cb = FoldLower(*pstr);
    if (ca != cb) return ca < cb ? -1 : 1;
    if (ca == 0) return 0;
  }
}

void CDuiString::MakeUpper() {
  for (LPWSTR p = m_pstr; *p; ++p)
    if (*p >= L'a' && *p <= L'z') *p = static_cast<WCHAR>(*p - L'a' + L'A');
}

void CDuiString::MakeLower() {
  for (LPWSTR p = m_pstr; *p; ++p) *p = FoldLower(*p);
}

CDuiString CDuiString::Left(int nLength) const {
  int len = GetLength();
  if (nLength < 0) nLength = 0;
  if (nLength > len) nLength = len;
  return CDuiString(m_pstr, nLength);
}

CDuiString CDuiString::Mid(int iPos, int nLength) const {
  long long len = GetLength();
  if (iPos < 0) return CDuiString();  // would read before the text
  long long n = nLength < 0 ? len - iPos : nLength;
  if (iPos + n > len) n = len - iPos;
  if (n <= 0) return CDuiString();
  return CDuiString(m_pstr + iPos, static_cast<int>(n));
}

CDuiString CDuiString::Right(int nLength) const {
  int len = GetLength();
  if (nLength < 0) nLength = 0;  // would read past the text
  if (nLength > len) nLength = len;
  return CDuiString(m_pstr + len - nLength, nLength);
}

int CDuiString::Find(WCHAR ch, int iPos) const {
  if (iPos != 0 && (iPos < 0 || iPos >= GetLength())) return -1;
  LPCWSTR p = wcschr(m_pstr + iPos, ch);
  return p ? static_cast<int>(p - m_pstr) : -1;
}

int CDuiString::Find(LPCWSTR pstr, int iPos) const {
  if (pstr == nullptr) return -1;
  if (iPos != 0 && (iPos < 0 || iPos > GetLength())) return -1;
  LPCWSTR p = wcsstr(m_pstr + iPos, pstr);
  return p ? static_cast<int>(p - m_pstr) : -1;
}

int CDuiString::ReverseFind(WCHAR ch) const {
  LPCWSTR p = wcsrchr(m_pstr, ch);
  return p ? static_cast<int>(p - m_pstr) : -1;
}

int CDuiString::Replace(LPCWSTR pstrFrom, LPCWSTR pstrTo) {
  // An empty search text would match at the same place forever.
  if (pstrFrom == nullptr || *pstrFrom == 0) return 0;
  // Copies, because either text may point into this string.
  const CDuiString from(pstrFrom), to(pstrTo);
  const int cchFrom = from.GetLength(), cchTo = to.GetLength();
  int nCount = 0;
  int iPos = Find(from);
  while (iPos >= 0) {
    CDuiString replaced = Left(iPos);
    replaced += to;
    replaced += Mid(iPos + cchFrom);
    Assign(replaced);
    ++nCount;
    iPos = Find(from, iPos + cchTo);
  }
  return nCount;
}

int CDuiString::FormatArgs(LPCWSTR pstrFormat, ...) {
  va_list args;
  va_start(args, pstrFormat);
  int n = FormatV(pstrFormat, args);
  va_end(args);
  return n;
}

int CDuiString::Format(LPCWSTR pstrFormat, va_list Args) { return FormatV(pstrFormat, Args); }

int CDuiString::FormatV(LPCWSTR pstrFormat, va_list Args) {
  va_list measure;
  va_copy(measure, Args);
  int length = _vscwprintf(pstrFormat, measure);
  va_end(measure);
  if (length < 0) {
    Empty();
    return length;
  }
  std::vector<WCHAR> buffer(static_cast<size_t>(length) + 1, 0);
  int n = _vsnwprintf(buffer.data(), buffer.size(), pstrFormat, Args);
  Assign(buffer.data());
  return n;
}

int CDuiString::SmallFormatArgs(LPCWSTR pstrFormat, ...) {
  WCHAR buffer[kInlineUnits] = {};
  va_list args;
  va_start(args, pstrFormat);
  // Longer output is cut to 63 characters and reported as -1.
  int n = _vsnwprintf(buffer, kInlineUnits - 1, pstrFormat, args);
  va_end(args);
  buffer[kInlineUnits - 1] = 0;
  Assign(buffer);
  return n;
}

}  // namespace SkinUI
