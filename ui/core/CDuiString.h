// A wide string with a small inline buffer: texts of up to 62 units live in
// the object, longer ones in one heap block. The length is not stored; it
// is the position of the first zero unit.
#pragma once

#include <cstdarg>
#include <type_traits>

#include "Win32.h"

namespace SkinUI {

// What C varargs carry soundly: numbers, characters, enumerations and
// pointers. An object, a CDuiString among them, is passed as GetData().
template <typename T>
concept FormatArgument = std::is_scalar_v<T>;

class CDuiString {
 public:
  // Units in the inline buffer, terminator included.
  static constexpr int kInlineUnits = 64;
  // Longest text kept inline; from 63 units on the text goes to the heap.
  static constexpr int kMaxInlineLength = 62;

  CDuiString();
  CDuiString(const WCHAR ch);
  CDuiString(const CDuiString& src);
  CDuiString(LPCWSTR lpsz, int nLen = -1);
  ~CDuiString();

  void Empty();
  int GetLength() const;
  bool IsEmpty() const;
  WCHAR GetAt(int nIndex) const;
  void SetAt(int nIndex, WCHAR ch);
  void Append(LPCWSTR pstr);
  void Assign(LPCWSTR pstr, int nLength = -1);
  LPCWSTR GetData() const;
  operator LPCWSTR() const;
  WCHAR operator[](int nIndex) const;

  const CDuiString& operator=(const CDuiString& src);
  const CDuiString& operator=(const WCHAR ch);
  const CDuiString& operator=(LPCWSTR pstr);
  const CDuiString& operator=(LPCSTR lpStr);
  const CDuiString& operator+=(const CDuiString& src);
  const CDuiString& operator+=(LPCWSTR pstr);
  const CDuiString& operator+=(const WCHAR ch);
  const CDuiString& operator+=(LPCSTR lpStr);
  CDuiString operator+(const CDuiString& src) const;
  CDuiString operator+(LPCWSTR pstr) const;

  bool operator==(LPCWSTR str) const;
  bool operator!=(LPCWSTR str) const;
  bool operator<=(LPCWSTR str) const;
  bool operator<(LPCWSTR str) const;
  bool operator>=(LPCWSTR str) const;
  bool operator>(LPCWSTR str) const;
  int Compare(LPCWSTR pstr) const;
  int CompareNoCase(LPCWSTR pstr) const;

  void MakeUpper();
  void MakeLower();

  CDuiString Left(int nLength) const;
  CDuiString Mid(int iPos, int nLength = -1) const;
  CDuiString Right(int nLength) const;

  int Find(WCHAR ch, int iPos = 0) const;
  int Find(LPCWSTR pstr, int iPos = 0) const;
  int ReverseFind(WCHAR ch) const;
  int Replace(LPCWSTR pstrFrom, LPCWSTR pstrTo);

  // Templates rather than C variadics: Format(L"%d", 0) cannot pick the
  // argument-list overload (a literal 0 converts to va_list), and an
  // argument that is not a FormatArgument does not compile.
  template <FormatArgument... Args>
  int Format(LPCWSTR pstrFormat, Args... args) {
    return FormatArgs(pstrFormat, args...);
  }
  int Format(LPCWSTR pstrFormat, va_list Args);
  template <FormatArgument... Args>
  int SmallFormat(LPCWSTR pstrFormat, Args... args) {
    return SmallFormatArgs(pstrFormat, args...);
  }

 private:
  int FormatArgs(LPCWSTR pstrFormat, ...);
  int SmallFormatArgs(LPCWSTR pstrFormat, ...);
  int FormatV(LPCWSTR pstrFormat, va_list Args);
  bool IsInline() const { return m_pstr == m_szBuffer; }
  bool Aliases(LPCWSTR pstr) const;
  void ToInline();

  LPWSTR m_pstr;
  WCHAR m_szBuffer[kInlineUnits];
};

}  // namespace SkinUI
