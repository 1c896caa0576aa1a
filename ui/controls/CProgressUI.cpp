#include "controls/CProgressUI.h"

#include <algorithm>
#include <climits>
#include <cwchar>

#include "core/AttributeValues.h"
#include "manager/CPaintManagerUI.h"

namespace SkinUI {

CProgressUI::CProgressUI() {
  m_uTextStyle = DT_SINGLELINE | DT_CENTER;
  SetFixedHeight(12);
}

LPCWSTR CProgressUI::GetClass() const { return L"ProgressUI"; }

LPVOID CProgressUI::GetInterface(LPCWSTR pstrName) {
  if (pstrName != nullptr && wcscmp(pstrName, L"Progress") == 0) return this;
  return CLabelUI::GetInterface(pstrName);
}

bool CProgressUI::IsHorizontal() const { return m_bHorizontal; }

void CProgressUI::SetHorizontal(bool bHorizontal) {
  if (m_bHorizontal == bHorizontal) return;
  m_bHorizontal = bHorizontal;
  Invalidate();
}

bool CProgressUI::IsStretchForeImage() const { return m_bStretchForeImage; }

void CProgressUI::SetStretchForeImage(bool bStretchForeImage) {
  if (m_bStretchForeImage == bStretchForeImage) return;
  m_bStretchForeImage = bStretchForeImage;
  Invalidate();
}

int CProgressUI::GetMinValue() const { return m_nMin; }

void CProgressUI::SetMinValue(int nMin) {
  m_nMin = nMin;
  Invalidate();
}

int CProgressUI::GetMaxValue() const { return m_nMax; }

void CProgressUI::SetMaxValue(int nMax) {
  m_nMax = nMax;
  Invalidate();
}

int CProgressUI::GetValue() const { return m_nValue; }

void CProgressUI::SetValue(int nValue) {
  if (nValue == m_nValue || nValue < m_nMin || nValue > m_nMax) return;
  m_nValue = nValue;
  Invalidate();
}

void CProgressUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) {
  if (wcscmp(pstrName, L"hor") == 0)
    SetHorizontal(ParseBool(pstrValue));
  else if (wcscmp(pstrName, L"min") == 0)
    SetMinValue(ParseInt(pstrValue));
  else if (wcscmp(pstrName, L"max") == 0)
    SetMaxValue(ParseInt(pstrValue));
  else if (wcscmp(pstrName, L"value") == 0)
    SetValue(ParseInt(pstrValue));
  else if (wcscmp(pstrName, L"isstretchfore") == 0)
    SetStretchForeImage(ParseBool(pstrValue));
  else
    CLabelUI::SetAttribute(pstrName, pstrValue);
}

void CProgressUI::PaintStatusImage(HDC hDC) {
  // An empty or inverted range becomes one unit wide; the arithmetic is
  // 64-bit, so any int range and any bar size are exact.
  if (m_nMax <= m_nMin) m_nMax = m_nMin < INT_MAX ? m_nMin + 1 : INT_MAX;
  m_nValue = std::clamp(m_nValue, m_nMin, m_nMax);
  const LONGLONG range = std::max<LONGLONG>(1, LONGLONG{m_nMax} - m_nMin);
  const LONGLONG width = m_rcItem.right - m_rcItem.left, height = m_rcItem.bottom - m_rcItem.top;
  RECT rc = {0, 0, static_cast<LONG>(width), static_cast<LONG>(height)};
  if (m_bHorizontal)
    rc.right = static_cast<LONG>(width * (LONGLONG{m_nValue} - m_nMin) / range);
  else
    rc.top = static_cast<LONG>(height * (LONGLONG{m_nMax} - m_nValue) / range);
  if (!m_diFore.IsLoadSuccess()) return;
  if (m_bStretchForeImage) {
    m_sForeImageModify.Format(L"dest='%d,%d,%d,%d'", rc.left, rc.top, rc.right, rc.bottom);
  } else {
    // The same part of the image as of the bar, counted from the image's
    // own origin in a sprite, and no more of it than there is.
    if (m_pManager == nullptr || !m_diFore.LoadImage(m_pManager)) return;
    const RECT& sprite = m_diFore.m_rcSource;
    const RECT source = {sprite.left + rc.left, sprite.top + rc.top,
                         std::min(sprite.left + rc.right, sprite.right),
                         std::min(sprite.top + rc.bottom, sprite.bottom)};
    if (source.right <= source.left || source.bottom <= source.top) return;
    m_sForeImageModify.Format(L"dest='%d,%d,%d,%d' source='%d,%d,%d,%d'", rc.left, rc.top,
                              rc.left + (source.right - source.left), rc.top + (source.bottom - source.top),
                              source.left, source.top, source.right, source.bottom);
  }
  DrawImage(hDC, m_diFore, m_sForeImageModify);
}

}  // namespace SkinUI
