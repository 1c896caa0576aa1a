// A parsed skin document. The text is parsed in place into one buffer:
// terminators are written into it so that every element name, attribute
// name, attribute value and element text is a zero-terminated string
// there, and a flat table of elements points into it.
//
// The dialect is narrow: no DTD, no CDATA, no numeric character
// references, double-quoted attribute values only. Comments end at the
// first "->". Text after a child element is not kept. At the end of the
// text, missing end tags are tolerated for top-level elements and for
// elements directly inside the first one.
#pragma once

#include <array>
#include <type_traits>

#include "Win32.h"
#include "markup/CMarkupNode.h"

namespace SkinUI {

// ASCII units that may stand in an identifier.
inline constexpr std::array<bool, 128> kIdentifierAscii = [] {
  std::array<bool, 128> unit{};
  for (int ch = 0; ch < 128; ch++)
    unit[ch] = (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9') || ch == '_' || ch == ':';
  return unit;
}();

enum {
  XMLFILE_ENCODING_UTF8 = 0,
  XMLFILE_ENCODING_UNICODE = 1,  // UTF-16 with a byte-order mark
  XMLFILE_ENCODING_ANSI = 2,     // the system ANSI code page
};

class CMarkup {
  friend class CMarkupNode;

 public:
  static constexpr DWORD kMaxDocumentBytes = 4 * 1024 * 1024;

  explicit CMarkup(LPCWSTR pstrXML = nullptr);
  CMarkup(const CMarkup&) = delete;
  CMarkup& operator=(const CMarkup&) = delete;
  ~CMarkup();

  bool Load(LPCWSTR pstrXML);
  bool LoadFromMem(const BYTE* pByte, DWORD dwSize, int encoding = XMLFILE_ENCODING_UTF8);
  void Release();
  bool IsValid() const;

  void SetPreserveWhitespace(bool bPreserve = true);
  void GetLastErrorMessage(LPWSTR pstrMessage, SIZE_T cchMax) const;
  void GetLastErrorLocation(LPWSTR pstrSource, SIZE_T cchMax) const;

  CMarkupNode GetRoot();

 private:
  typedef struct tagXMLELEMENT {
    ULONG iStart;
    ULONG iChild;
    ULONG iNext;
    ULONG iParent;
    ULONG iData;
  } XMLELEMENT;

  bool _Parse();
  XMLELEMENT* _ReserveElement();
  // Every unit from 1 to 32 is whitespace.
  template <typename Text>
  static void _SkipWhitespace(Text& pstr) {
    while (*pstr > 0 && *pstr <= 32) ++pstr;
  }
  // Letters and digits of all scripts, '_' and ':'. Lower-case letters by
  // a compare (skin names are mostly made of them, and the loop then waits
  // on no table load), the rest of ASCII through a table, beyond it through
  // the platform's classification.
  static void _SkipIdentifier(LPWSTR& pstr) {
    for (;; ++pstr) {
      WCHAR ch = *pstr;
      // Unsigned, so that a negative 32-bit unit is not taken for ASCII.
      auto unit = static_cast<std::make_unsigned_t<WCHAR>>(ch);
      if (unit - 'a' < 26u) continue;
      if (unit < 128) {
        if (!kIdentifierAscii[unit]) return;
      } else if (ch < 128 || !::IsCharAlphaNumericW(ch)) {
        return;
      }
    }
  }
  LPWSTR _ParseAttributes(LPWSTR pstrText);
  LPWSTR _CloseElement(LPWSTR pstrText, LPCWSTR pstrName, LPWSTR pstrNameEnd, LPWSTR pstrDest);
  void _ParseData(LPWSTR& pstrText, LPWSTR& pstrDest, WCHAR cEnd);
  void _CopyData(LPWSTR& pstrText, LPWSTR& pstrDest, WCHAR cEnd);
  struct Entity {
    WCHAR ch;
    int length;
  };
  static Entity _ParseMetaChar(LPCWSTR pstrText);
  bool _Failed(LPCWSTR pstrError, LPCWSTR pstrLocation = nullptr);
  void ClearError();

  LPWSTR m_pstrXML = nullptr;
  XMLELEMENT* m_pElements = nullptr;
  ULONG m_nElements = 0;
  ULONG m_nReservedElements = 0;
  WCHAR m_szErrorMsg[100] = {};
  WCHAR m_szErrorXML[50] = {};
  bool m_bPreserveWhitespace = true;
};

}  // namespace SkinUI
