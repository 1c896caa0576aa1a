// Fonts of a window: the default font and the list addressed by index,
// searched by description or handle up the parent resource chain.
#include <new>

#include "manager/CPaintManagerUI.h"

namespace SkinUI {

namespace {

// The platform's default GUI font with the given face (at most 31
// characters), the default character set and the size as a pixel height.
LOGFONTW Describe(LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic) {
  LOGFONTW lf = {};
  ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(LOGFONTW), &lf);
  if (pStrFontName != nullptr) {
    wcsncpy(lf.lfFaceName, pStrFontName, LF_FACESIZE - 1);
    lf.lfFaceName[LF_FACESIZE - 1] = 0;
  }
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfHeight = -nSize;
  if (bBold) lf.lfWeight = FW_BOLD;
  if (bUnderline) lf.lfUnderline = TRUE;
  if (bItalic) lf.lfItalic = TRUE;
  return lf;
}

void Measure(HDC hDC, TFontInfo* pFontInfo) {
  if (hDC == nullptr || pFontInfo == nullptr || pFontInfo->hFont == nullptr) return;
  HGDIOBJ hOldFont = ::SelectObject(hDC, pFontInfo->hFont);
  ::GetTextMetricsW(hDC, &pFontInfo->tm);
  ::SelectObject(hDC, hOldFont);
}

bool Matches(const TFontInfo* pFontInfo, LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline,
             bool bItalic) {
  return pFontInfo->sFontName == (pStrFontName ? pStrFontName : L"") && pFontInfo->iSize == nSize &&
         pFontInfo->bBold == bBold && pFontInfo->bUnderline == bUnderline && pFontInfo->bItalic == bItalic;
}

TFontInfo* FontAt(const CStdPtrArray& fonts, int i) { return static_cast<TFontInfo*>(fonts[i]); }

}  // namespace

TFontInfo* CPaintManagerUI::GetDefaultFontInfo() {
  CPaintManagerUI* top = this;
  while (top->m_pParentResourcePM != nullptr) top = top->m_pParentResourcePM;
  if (top->m_DefaultFontInfo.tm.tmHeight == 0) Measure(top->m_hDcPaint, &top->m_DefaultFontInfo);
  return &top->m_DefaultFontInfo;
}

void CPaintManagerUI::SetDefaultFont(LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic) {
  LOGFONTW lf = Describe(pStrFontName, nSize, bBold, bUnderline, bItalic);
  HFONT hFont = ::CreateFontIndirectW(&lf);
  if (hFont == nullptr) return;
  if (m_DefaultFontInfo.hFont) ::DeleteObject(m_DefaultFontInfo.hFont);
  m_DefaultFontInfo.hFont = hFont;
  m_DefaultFontInfo.sFontName = pStrFontName ? pStrFontName : L"";
  m_DefaultFontInfo.iSize = nSize;
  m_DefaultFontInfo.bBold = bBold;
  m_DefaultFontInfo.bUnderline = bUnderline;
  m_DefaultFontInfo.bItalic = bItalic;
  m_DefaultFontInfo.tm = {};
  Measure(m_hDcPaint, &m_DefaultFontInfo);
}

DWORD CPaintManagerUI::GetCustomFontCount() const { return static_cast<DWORD>(m_aCustomFonts.GetSize()); }

HFONT CPaintManagerUI::AddFont(LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic) {
  return AddFontAt(m_aCustomFonts.GetSize(), pStrFontName, nSize, bBold, bUnderline, bItalic);
}

HFONT CPaintManagerUI::AddFontAt(int index, LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline,
                                 bool bItalic) {
  LOGFONTW lf = Describe(pStrFontName, nSize, bBold, bUnderline, bItalic);
  lf.lfQuality = CLEARTYPE_QUALITY;
  HFONT hFont = ::CreateFontIndirectW(&lf);
  if (hFont == nullptr) return nullptr;
  TFontInfo* pFontInfo = new (std::nothrow) TFontInfo;
  if (pFontInfo == nullptr) {
    ::DeleteObject(hFont);
    return nullptr;
  }
  pFontInfo->hFont = hFont;
  pFontInfo->sFontName = pStrFontName ? pStrFontName : L"";
  pFontInfo->iSize = nSize;
  pFontInfo->bBold = bBold;
  pFontInfo->bUnderline = bUnderline;
  pFontInfo->bItalic = bItalic;
  Measure(m_hDcPaint, pFontInfo);
  if (!m_aCustomFonts.InsertAt(index, pFontInfo)) {
    ::DeleteObject(hFont);
    delete pFontInfo;
    return nullptr;
  }
  return hFont;
}

HFONT CPaintManagerUI::GetFont(int index) {
  if (index < 0 || index >= m_aCustomFonts.GetSize()) return GetDefaultFontInfo()->hFont;
  return FontAt(m_aCustomFonts, index)->hFont;
}

HFONT CPaintManagerUI::GetFont(LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic) {
  for (CPaintManagerUI* pm = this; pm != nullptr; pm = pm->m_pParentResourcePM)
    for (int i = 0; i < pm->m_aCustomFonts.GetSize(); ++i)
      if (Matches(FontAt(pm->m_aCustomFonts, i), pStrFontName, nSize, bBold, bUnderline, bItalic))
        return FontAt(pm->m_aCustomFonts, i)->hFont;
  return nullptr;
}

int CPaintManagerUI::GetFontIndex(HFONT hFont) {
  for (int i = 0; i < m_aCustomFonts.GetSize(); ++i)
    if (FontAt(m_aCustomFonts, i)->hFont == hFont) return i;
  return -1;
}

int CPaintManagerUI::GetFontIndex(LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic) {
  for (int i = 0; i < m_aCustomFonts.GetSize(); ++i)
    if (Matches(FontAt(m_aCustomFonts, i), pStrFontName, nSize, bBold, bUnderline, bItalic)) return i;
  return -1;
}

bool CPaintManagerUI::FindFont(HFONT hFont) {
  if (hFont == nullptr) return false;
  for (CPaintManagerUI* pm = this; pm != nullptr; pm = pm->m_pParentResourcePM)
    if (pm->GetFontIndex(hFont) >= 0) return true;
  return false;
}

bool CPaintManagerUI::FindFont(LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic) {
  return GetFont(pStrFontName, nSize, bBold, bUnderline, bItalic) != nullptr;
}

bool CPaintManagerUI::RemoveFont(HFONT hFont) { return RemoveFontAt(GetFontIndex(hFont)); }

bool CPaintManagerUI::RemoveFontAt(int index) {
  if (index < 0 || index >= m_aCustomFonts.GetSize()) return false;
  TFontInfo* pFontInfo = FontAt(m_aCustomFonts, index);
  ::DeleteObject(pFontInfo->hFont);
  delete pFontInfo;
  return m_aCustomFonts.Remove(index);
}

void CPaintManagerUI::RemoveAllFonts() {
  for (int i = 0; i < m_aCustomFonts.GetSize(); ++i) {
    TFontInfo* pFontInfo = FontAt(m_aCustomFonts, i);
    ::DeleteObject(pFontInfo->hFont);
    delete pFontInfo;
  }
  m_aCustomFonts.Empty();
}

TFontInfo* CPaintManagerUI::GetFontInfo(int index) {
  if (index < 0 || index >= m_aCustomFonts.GetSize()) return GetDefaultFontInfo();
  TFontInfo* pFontInfo = FontAt(m_aCustomFonts, index);
  if (pFontInfo->tm.tmHeight == 0) Measure(m_hDcPaint, pFontInfo);
  return pFontInfo;
}

TFontInfo* CPaintManagerUI::GetFontInfo(HFONT hFont) {
  for (CPaintManagerUI* pm = this; pm != nullptr; pm = pm->m_pParentResourcePM) {
    const int i = pm->GetFontIndex(hFont);
    if (i < 0) continue;
    TFontInfo* pFontInfo = FontAt(pm->m_aCustomFonts, i);
    if (pFontInfo->tm.tmHeight == 0) Measure(pm->m_hDcPaint, pFontInfo);
    return pFontInfo;
  }
  return GetDefaultFontInfo();
}

}  // namespace SkinUI
