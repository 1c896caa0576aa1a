#include "markup/CMarkup.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <new>
#include <vector>

namespace SkinUI {

namespace {

constexpr ULONG kFirstReserve = 500;

// A zero-terminated copy of bytes in a multi-byte code page; invalid
// sequences become the replacement character.
LPWSTR DecodeMultiByte(UINT codePage, const BYTE* pByte, DWORD dwSize) {
  int cch = 0;
  if (dwSize > 0) {
    cch = ::MultiByteToWideChar(codePage, 0, reinterpret_cast<LPCSTR>(pByte), static_cast<int>(dwSize), nullptr, 0);
    if (cch <= 0) return nullptr;
  }
  auto text = static_cast<LPWSTR>(malloc((static_cast<size_t>(cch) + 1) * sizeof(WCHAR)));
  if (text == nullptr) return nullptr;
  if (cch > 0) cch = ::MultiByteToWideChar(codePage, 0, reinterpret_cast<LPCSTR>(pByte), static_cast<int>(dwSize), text, cch);
  text[cch > 0 ? cch : 0] = 0;
  return text;
}

// One well-formed UTF-8 sequence at p (its first byte is not ASCII) into
// out; returns its length, or 0 when it is malformed, overlong, a surrogate,
// beyond U+10FFFF, or needs a surrogate pair in a 16-bit WCHAR. Those are
// left to the code-page conversion, which owns the replacement rules.
inline int DecodeSequence(const BYTE* p, const BYTE* end, WCHAR* out) {
  unsigned b0 = p[0];
  if (b0 >= 0xC2 && b0 <= 0xDF) {
    if (end - p < 2 || (p[1] & 0xC0) != 0x80) return 0;
    *out = static_cast<WCHAR>((b0 & 0x1F) << 6 | (p[1] & 0x3F));
    return 2;
  }
  if (b0 >= 0xE0 && b0 <= 0xEF) {
    if (end - p < 3 || (p[1] & 0xC0) != 0x80 || (p[2] & 0xC0) != 0x80) return 0;
    unsigned c = (b0 & 0x0F) << 12 | (p[1] & 0x3Fu) << 6 | (p[2] & 0x3F);
    if (c < 0x800 || (c >= 0xD800 && c <= 0xDFFF)) return 0;
    *out = static_cast<WCHAR>(c);
    return 3;
  }
  if (sizeof(WCHAR) >= 4 && b0 >= 0xF0 && b0 <= 0xF4) {
    if (end - p < 4 || (p[1] & 0xC0) != 0x80 || (p[2] & 0xC0) != 0x80 || (p[3] & 0xC0) != 0x80) return 0;
    unsigned c = (b0 & 0x07) << 18 | (p[1] & 0x3Fu) << 12 | (p[2] & 0x3Fu) << 6 | (p[3] & 0x3F);
    if (c < 0x10000 || c > 0x10FFFF) return 0;
    *out = static_cast<WCHAR>(c);
    return 4;
  }
  return 0;
}

// UTF-8 in one pass, straight into the document buffer: ASCII sixteen bytes
// at a time, well-formed sequences here. A run of non-ASCII bytes holding
// anything else goes whole through the code-page conversion, which gives the
// same result as converting the entire text, because a multi-byte sequence
// never contains an ASCII byte. The buffer is sized for the worst case, one
// unit per byte.
LPWSTR DecodeUtf8(const BYTE* pByte, DWORD dwSize) {
  auto text = static_cast<LPWSTR>(malloc((static_cast<size_t>(dwSize) + 1) * sizeof(WCHAR)));
  if (text == nullptr) return nullptr;
  const BYTE* p = pByte;
  const BYTE* const end = pByte + dwSize;
  LPWSTR out = text;
  while (p < end) {
    for (; end - p >= 16; p += 16, out += 16) {
      uint64_t a, b;
      memcpy(&a, p, 8);
      memcpy(&b, p + 8, 8);
      if (((a | b) & 0x8080808080808080ull) != 0) break;
      for (int k = 0; k < 16; k++) out[k] = static_cast<WCHAR>(p[k]);
    }
    if (p == end) break;
    if (*p < 0x80) {
      *out++ = static_cast<WCHAR>(*p++);
      continue;
    }
    const BYTE* run = p;
    LPWSTR runOut = out;
    while (p < end && *p >= 0x80) {
      int n = DecodeSequence(p, end, out);
      if (n == 0) break;
      p += n;
      ++out;
    }
    if (p < end && *p >= 0x80) {
      while (p < end && *p >= 0x80) ++p;
      int cch = ::MultiByteToWideChar(CP_UTF8, 0, reinterpret_cast<LPCSTR>(run), static_cast<int>(p - run), runOut,
                                      static_cast<int>(dwSize - (runOut - text)));
      if (cch <= 0) {
        free(text);
        return nullptr;
      }
      out = runOut + cch;
    }
  }
  *out = 0;
  return text;
}

// UTF-16 in either byte order into WCHAR units: copied where WCHAR is
// 16 bits, combined from surrogate pairs where it is 32. Lone surrogates
// become the replacement character. The caller's bytes stay untouched.
LPWSTR DecodeUtf16(const BYTE* pByte, size_t units, bool bigEndian) {
  auto text = static_cast<LPWSTR>(malloc((units + 1) * sizeof(WCHAR)));
  if (text == nullptr) return nullptr;
  auto unit = [&](size_t i) -> unsigned {
    unsigned a = pByte[2 * i], b = pByte[2 * i + 1];
    return bigEndian ? (a << 8 | b) : (b << 8 | a);
  };
  size_t out = 0;
  for (size_t i = 0; i < units; ++i) {
    unsigned u = unit(i);
    if constexpr (sizeof(WCHAR) == 2) {
      text[out++] = static_cast<WCHAR>(u);
    } else if (u >= 0xD800 && u <= 0xDBFF && i + 1 < units && unit(i + 1) >= 0xDC00 && unit(i + 1) <= 0xDFFF) {
      text[out++] = static_cast<WCHAR>(0x10000 + ((u - 0xD800) << 10) + (unit(i + 1) - 0xDC00));
      ++i;
    } else if (u >= 0xD800 && u <= 0xDFFF) {
      text[out++] = static_cast<WCHAR>(0xFFFD);
    } else {
      text[out++] = static_cast<WCHAR>(u);
    }
  }
  text[out] = 0;
  return text;
}

}  // namespace

CMarkup::CMarkup(LPCWSTR pstrXML) {
  if (pstrXML != nullptr) Load(pstrXML);
}

CMarkup::~CMarkup() { Release(); }

bool CMarkup::IsValid() const { return m_pElements != nullptr; }

void CMarkup::SetPreserveWhitespace(bool bPreserve) { m_bPreserveWhitespace = bPreserve; }

bool CMarkup::Load(LPCWSTR pstrXML) {
  Release();
  ClearError();
  if (pstrXML == nullptr) return false;
  size_t cch = wcslen(pstrXML);
  m_pstrXML = static_cast<LPWSTR>(malloc((cch + 1) * sizeof(WCHAR)));
  if (m_pstrXML == nullptr) return _Failed(L"Out of memory");
  wmemcpy(m_pstrXML, pstrXML, cch + 1);
  bool bRes = _Parse();
  if (!bRes) Release();
  return bRes;
}

bool CMarkup::LoadFromMem(const BYTE* pByte, DWORD dwSize, int encoding) {
  Release();
  ClearError();
  if (dwSize > kMaxDocumentBytes) return _Failed(L"File too large");
  if (pByte == nullptr && dwSize > 0) return false;

  if (encoding == XMLFILE_ENCODING_UTF8) {
    if (dwSize >= 3 && pByte[0] == 0xEF && pByte[1] == 0xBB && pByte[2] == 0xBF) {
      pByte += 3;
      dwSize -= 3;
    }
    m_pstrXML = DecodeUtf8(pByte, dwSize);
  } else if (encoding == XMLFILE_ENCODING_ANSI) {
    m_pstrXML = DecodeMultiByte(CP_ACP, pByte, dwSize);
  } else if (encoding == XMLFILE_ENCODING_UNICODE) {
    // Without a byte-order mark the text is read as little-endian, the
    // order Windows writes.
    bool bigEndian = false;
    if (dwSize >= 2 && ((pByte[0] == 0xFF && pByte[1] == 0xFE) || (pByte[0] == 0xFE && pByte[1] == 0xFF))) {
      bigEndian = pByte[0] == 0xFE;
      pByte += 2;
      dwSize -= 2;
    }
    m_pstrXML = DecodeUtf16(pByte, dwSize / 2, bigEndian);
  } else {
    return false;
  }
  if (m_pstrXML == nullptr) return _Failed(L"Out of memory");

  bool bRes = _Parse();
  if (!bRes) Release();
  return bRes;
}

void CMarkup::Release() {
  free(m_pstrXML);
  free(m_pElements);
  m_pstrXML = nullptr;
  m_pElements = nullptr;
  m_nElements = 0;
}

void CMarkup::GetLastErrorMessage(LPWSTR pstrMessage, SIZE_T cchMax) const {
  if (pstrMessage != nullptr) wcsncpy(pstrMessage, m_szErrorMsg, cchMax);
}

void CMarkup::GetLastErrorLocation(LPWSTR pstrSource, SIZE_T cchMax) const {
  if (pstrSource != nullptr) wcsncpy(pstrSource, m_szErrorXML, cchMax);
}

CMarkupNode CMarkup::GetRoot() {
  if (m_nElements < 2) return CMarkupNode();
  return CMarkupNode(this, 1);
}

void CMarkup::ClearError() {
  m_szErrorMsg[0] = 0;
  m_szErrorXML[0] = 0;
}

bool CMarkup::_Failed(LPCWSTR pstrError, LPCWSTR pstrLocation) {
  const size_t cchMsg = sizeof(m_szErrorMsg) / sizeof(WCHAR) - 1;
  const size_t cchXml = sizeof(m_szErrorXML) / sizeof(WCHAR) - 1;
  wcsncpy(m_szErrorMsg, pstrError, cchMsg);
  m_szErrorMsg[cchMsg] = 0;
  wcsncpy(m_szErrorXML, pstrLocation != nullptr ? pstrLocation : L"", cchXml);
  m_szErrorXML[cchXml] = 0;
  return false;
}

CMarkup::XMLELEMENT* CMarkup::_ReserveElement() {
  if (m_nElements == 0) m_nReservedElements = 0;
  if (m_nElements >= m_nReservedElements) {
    ULONG nReserved = m_nReservedElements + m_nReservedElements / 2 + kFirstReserve;
    if (nReserved < m_nReservedElements) return nullptr;  // the 32-bit count would wrap
    auto table = static_cast<XMLELEMENT*>(realloc(m_pElements, static_cast<size_t>(nReserved) * sizeof(XMLELEMENT)));
    if (table == nullptr) return nullptr;
    m_pElements = table;
    m_nReservedElements = nReserved;
  }
  return &m_pElements[m_nElements++];
}

// Most values and texts hold neither an entity nor a blank to collapse:
// they are scanned here, inline in the callers, and stay where they are.
inline void CMarkup::_ParseData(LPWSTR& pstrText, LPWSTR& pstrDest, WCHAR cEnd) {
  // Zero, blank, '"' and '&' all sort below '&' + 1; most text does not.
  if (pstrDest == pstrText) {
    for (;; ++pstrText) {
      WCHAR ch = *pstrText;
      if (ch > L'&') {
        if (ch == cEnd) break;
      } else if (ch == 0 || ch == L'&' || ch == cEnd || (ch == L' ' && !m_bPreserveWhitespace)) {
        break;
      }
    }
    pstrDest = pstrText;
    if (*pstrText == 0 || *pstrText == cEnd) return;
  }
  // Through copies, so that the callers' positions are not taken by address
  // and stay in registers.
  LPWSTR pstrRead = pstrText, pstrWrite = pstrDest;
  _CopyData(pstrRead, pstrWrite, cEnd);
  pstrText = pstrRead;
  pstrDest = pstrWrite;
}

// From the first entity or collapsed blank on, the text moves down. The
// positions are worked on in locals, which stay in registers.
void CMarkup::_CopyData(LPWSTR& pstrText, LPWSTR& pstrDest, WCHAR cEnd) {
  LPWSTR pstrRead = pstrText, pstrWrite = pstrDest;
  while (*pstrRead != 0 && *pstrRead != cEnd) {
    if (*pstrRead > L'&') {
      *pstrWrite++ = *pstrRead++;
    } else if (*pstrRead == L'&') {
      Entity entity = _ParseMetaChar(++pstrRead);
      *pstrWrite++ = entity.ch;
      pstrRead += entity.length;
    } else if (*pstrRead == L' ') {
      *pstrWrite++ = *pstrRead++;
      if (!m_bPreserveWhitespace) _SkipWhitespace(pstrRead);
    } else {
      *pstrWrite++ = *pstrRead++;
    }
  }
  // Blanks over what the copy left behind, so that attribute mapping can
  // walk across a shortened value. The first position is the caller's,
  // for the terminator.
  for (LPWSTR pstrFill = pstrWrite + 1; pstrFill < pstrRead; ++pstrFill) *pstrFill = L' ';
  pstrText = pstrRead;
  pstrDest = pstrWrite;
}

// The document is a sequence of sibling elements, each of which may hold
// another such sequence. Open elements wait on an explicit stack rather
// than the call stack, so deep nesting cannot exhaust the thread's stack.
bool CMarkup::_Parse() {
  if (_ReserveElement() == nullptr) return _Failed(L"Out of memory");  // record 0: index 0 means "none"
  ClearError();

  struct OpenElement {
    ULONG iElement;
    LPCWSTR pstrName;
    LPWSTR pstrNameEnd;
    LPWSTR pstrDest;
  };
  std::vector<OpenElement> open;

  LPWSTR pstrText = m_pstrXML;
  ULONG iParent = 0;    // parent of the current sequence
  ULONG iPrevious = 0;  // last element of the current sequence
  bool sequenceEnds = false;
  _SkipWhitespace(pstrText);
  for (;;) {
    if (!sequenceEnds) {
      if (*pstrText == 0 && iParent <= 1) {
        sequenceEnds = true;
      } else {
        _SkipWhitespace(pstrText);
        if (*pstrText != L'<') return _Failed(L"Expected start tag", pstrText);
        if (pstrText[1] == L'/') sequenceEnds = true;
      }
    }
    if (sequenceEnds) {
      // Back to the element whose children these were: its end tag.
      sequenceEnds = false;
      if (open.empty()) return true;
      OpenElement el = open.back();
      open.pop_back();
      iParent = m_pElements[el.iElement].iParent;
      iPrevious = el.iElement;
      pstrText = _CloseElement(pstrText, el.pstrName, el.pstrNameEnd, el.pstrDest);
      if (pstrText == nullptr) return false;
      continue;
    }

    *pstrText++ = 0;
    _SkipWhitespace(pstrText);
    // Comments, declarations and processing instructions are skipped.
    if (*pstrText == L'!' || *pstrText == L'?') {
      WCHAR ch = *pstrText == L'!' ? L'-' : L'?';
      while (*pstrText != 0 && !(pstrText[0] == ch && pstrText[1] == L'>')) ++pstrText;
      if (*pstrText != 0) pstrText += 2;
      _SkipWhitespace(pstrText);
      continue;
    }

    XMLELEMENT* pEl = _ReserveElement();
    if (pEl == nullptr) return _Failed(L"Out of memory", pstrText);
    ULONG iPos = static_cast<ULONG>(pEl - m_pElements);
    pEl->iStart = static_cast<ULONG>(pstrText - m_pstrXML);
    pEl->iParent = iParent;
    pEl->iNext = pEl->iChild = 0;
    pEl->iData = pEl->iStart;
    if (iPrevious != 0)
      m_pElements[iPrevious].iNext = iPos;
    else if (iParent > 0)
      m_pElements[iParent].iChild = iPos;
    iPrevious = iPos;

    LPCWSTR pstrName = pstrText;
    _SkipIdentifier(pstrText);
    LPWSTR pstrNameEnd = pstrText;
    if (*pstrText == 0) return _Failed(L"Error parsing element name", pstrText);
    pstrText = _ParseAttributes(pstrText);
    if (pstrText == nullptr) return false;
    _SkipWhitespace(pstrText);

    if (pstrText[0] == L'/' && pstrText[1] == L'>') {
      m_pElements[iPos].iData = static_cast<ULONG>(pstrText - m_pstrXML);
      *pstrText = 0;
      pstrText += 2;
      *pstrNameEnd = 0;
      _SkipWhitespace(pstrText);
      continue;
    }
    if (*pstrText != L'>') return _Failed(L"Expected start-tag closing", pstrText);
    m_pElements[iPos].iData = static_cast<ULONG>(++pstrText - m_pstrXML);
    LPWSTR pstrDest = pstrText;
    _ParseData(pstrText, pstrDest, L'<');
    // Where entities shortened the text it can be ended now; otherwise
    // its end is the '<', which gets its terminator below.
    if (pstrDest < pstrText) *pstrDest = 0;
    if (*pstrText == 0 && iParent <= 1) {
      *pstrNameEnd = 0;
      sequenceEnds = true;
      continue;
    }
    if (*pstrText != L'<') return _Failed(L"Expected end-tag start", pstrText);
    if (pstrText[1] != L'/') {
      try {
        open.push_back({iPos, pstrName, pstrNameEnd, pstrDest});
      } catch (const std::bad_alloc&) {
        return _Failed(L"Out of memory", pstrText);
      }
      iParent = iPos;
      iPrevious = 0;
      continue;
    }
    pstrText = _CloseElement(pstrText, pstrName, pstrNameEnd, pstrDest);
    if (pstrText == nullptr) return false;
  }
}

// At an element's end tag, or at the end of the text when it has none.
// Returns the position after it, or null after recording a failure.
LPWSTR CMarkup::_CloseElement(LPWSTR pstrText, LPCWSTR pstrName, LPWSTR pstrNameEnd, LPWSTR pstrDest) {
  if (pstrText[0] == L'<' && pstrText[1] == L'/') {
    *pstrDest = 0;
    *pstrText = 0;
    pstrText += 2;
    _SkipWhitespace(pstrText);
    size_t cchName = static_cast<size_t>(pstrNameEnd - pstrName);
    if (wcsncmp(pstrText, pstrName, cchName) != 0) {
      _Failed(L"Unmatched closing tag", pstrText);
      return nullptr;
    }
    pstrText += cchName;
    _SkipWhitespace(pstrText);
    // Never step over the document's terminator.
    if (*pstrText == 0) {
      _Failed(L"Unmatched closing tag", pstrText);
      return nullptr;
    }
    if (*pstrText++ != L'>') {
      _Failed(L"Unmatched closing tag", pstrText);
      return nullptr;
    }
  }
  *pstrNameEnd = 0;
  _SkipWhitespace(pstrText);
  return pstrText;
}

// Returns the position after the attributes, or null after recording a
// failure.
LPWSTR CMarkup::_ParseAttributes(LPWSTR pstrText) {
  if (*pstrText == L'>') return pstrText;
  *pstrText++ = 0;
  for (;;) {
    _SkipWhitespace(pstrText);
    if (*pstrText == 0 || *pstrText == L'>' || *pstrText == L'/') return pstrText;
    _SkipIdentifier(pstrText);
    LPWSTR pstrIdentifierEnd = pstrText;
    _SkipWhitespace(pstrText);
    if (*pstrText != L'=') {
      _Failed(L"Error while parsing attributes", pstrText);
      return nullptr;
    }
    *pstrText++ = L' ';
    *pstrIdentifierEnd = 0;
    _SkipWhitespace(pstrText);
    if (*pstrText == 0) {
      _Failed(L"Expected attribute value", pstrText);
      return nullptr;
    }
    if (*pstrText++ != L'"') {
      _Failed(L"Expected attribute value", pstrText);
      return nullptr;
    }
    LPWSTR pstrDest = pstrText;
    _ParseData(pstrText, pstrDest, L'"');
    if (*pstrText == 0) {
      _Failed(L"Error while parsing attribute string", pstrText);
      return nullptr;
    }
    *pstrDest = 0;
    if (pstrText != pstrDest) *pstrText = L' ';
    pstrText++;
  }
}

// The entity after a '&': the character it stands for and its length
// after the '&', or the '&' itself and 0 when it is none of the five.
CMarkup::Entity CMarkup::_ParseMetaChar(LPCWSTR pstrText) {
  // Matched unit by unit: the text is terminated, so no comparison reads
  // past its end.
  const WCHAR* p = pstrText;
  if (p[0] == L'a') {
    if (p[1] == L'm' && p[2] == L'p' && p[3] == L';') return {L'&', 4};
    if (p[1] == L'p' && p[2] == L'o' && p[3] == L's' && p[4] == L';') return {L'\'', 5};
  } else if (p[0] == L'l' || p[0] == L'g') {
    if (p[1] == L't' && p[2] == L';') return {p[0] == L'l' ? L'<' : L'>', 3};
  } else if (p[0] == L'q') {
    if (p[1] == L'u' && p[2] == L'o' && p[3] == L't' && p[4] == L';') return {L'"', 5};
  }
  return {L'&', 0};
}

}  // namespace SkinUI
