#include "controls/CTextUI.h"

#include <cwchar>

#include "core/AttributeValues.h"
#include "manager/CPaintManagerUI.h"
#include "render/CRenderEngine.h"

namespace SkinUI {

CTextUI::CTextUI() {
  m_uTextStyle = DT_WORDBREAK;
  m_rcTextPadding.left = 2;
  m_rcTextPadding.right = 2;
}

LPCWSTR CTextUI::GetClass() const { return L"TextUI"; }

LPVOID CTextUI::GetInterface(LPCWSTR pstrName) {
  if (pstrName != nullptr && wcscmp(pstrName, L"Text") == 0) return this;
  return CLabelUI::GetInterface(pstrName);
}

UINT CTextUI::GetControlFlags() const { return IsEnabled() && m_nLinks > 0 ? UIFLAG_SETCURSOR : 0; }

CDuiString* CTextUI::GetLinkContent(int iIndex) {
  return iIndex >= 0 && iIndex < m_nLinks ? &m_sLinks[iIndex] : nullptr;
}

DWORD CTextUI::GetShadowColor() const { return m_dwShadowColor; }
void CTextUI::SetShadowColor(DWORD dwColor) { m_dwShadowColor = dwColor; }

void CTextUI::SetText(LPCWSTR pstrText) {
  if (m_sText == (pstrText != nullptr ? pstrText : L"")) return;
  CLabelUI::SetText(pstrText);
  if (m_pParent != nullptr) m_pParent->NeedUpdate();
}

int CTextUI::LinkAt(POINT pt) const {
  for (int i = 0; i < m_nLinks; ++i)
    if (::PtInRect(&m_rcLinks[i], pt)) return i;
  return -1;
}

void CTextUI::ClearLinksFrom(int iFirst) {
  for (int i = iFirst; i < kMaxLinks; ++i) {
    m_rcLinks[i] = RECT{0, 0, 0, 0};
    m_sLinks[i].Empty();
  }
  if (m_nHoverLink >= iFirst) m_nHoverLink = -1;
}

void CTextUI::DoEvent(TEventUI& event) {
  if (PassOnMouseEvent(event)) return;
  const int link = LinkAt(event.ptMouse);
  switch (event.Type) {
    case UIEVENT_SETCURSOR:
      if (link < 0) break;
      ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
      return;
    case UIEVENT_BUTTONDOWN:
    case UIEVENT_DBLCLICK:
      if (link < 0 || (event.Type == UIEVENT_DBLCLICK && !IsEnabled())) break;
      Invalidate();
      return;
    case UIEVENT_BUTTONUP:
      if (link < 0 || !IsEnabled()) break;
      if (m_pManager != nullptr) m_pManager->SendNotify(this, L"link", static_cast<WPARAM>(link));
      return;
    case UIEVENT_CONTEXTMENU:
      return;
    case UIEVENT_MOUSEMOVE:
      if (!IsEnabled() || m_nLinks <= 0) break;
      if (link != m_nHoverLink) {
        m_nHoverLink = link;
        Invalidate();
      }
      return;
    case UIEVENT_MOUSELEAVE:
      if (!IsEnabled() || m_nLinks <= 0 || m_nHoverLink < 0) break;
      m_nHoverLink = -1;
      Invalidate();
      return;
    default:
      break;
  }
  CLabelUI::DoEvent(event);
}

void CTextUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) {
  if (wcscmp(pstrName, L"shadowcolor") == 0)
    SetShadowColor(ParseColor(pstrValue));
  else
    CLabelUI::SetAttribute(pstrName, pstrValue);
}

SIZE CTextUI::EstimateSize(SIZE szAvailable) {
  // Only auto width uses the measure.
  if (m_pManager == nullptr || m_pManager->GetPaintDC() == nullptr || !m_bAutoCalcWidth)
    return CControlUI::EstimateSize(szAvailable);
  RECT rc = {m_rcTextPadding.left, 0, 9999 - m_rcTextPadding.right, 9999};
  if (m_bShowHtml) {
    int nLinks = 0;
    CRenderEngine::DrawHtmlText(m_pManager->GetPaintDC(), m_pManager, rc, m_sText, 0, nullptr, nullptr,
                                nLinks, m_uTextStyle | DT_CALCRECT);
  } else {
    CRenderEngine::DrawText(m_pManager->GetPaintDC(), m_pManager, rc, m_sText, 0, m_iFont,
                            m_uTextStyle | DT_CALCRECT);
  }
  m_cxyFixed.cx = rc.right - rc.left + m_rcTextPadding.left + m_rcTextPadding.right;
  return CControlUI::EstimateSize(szAvailable);
}

void CTextUI::PaintText(HDC hDC) {
  if (m_sText.IsEmpty()) {
    m_nLinks = 0;
    ClearLinksFrom(0);
    return;
  }
  TakeDefaultColors();
  RECT rc = TextRect();
  const DWORD dwColor = IsEnabled() ? m_dwTextColor : m_dwDisabledTextColor;
  m_nLinks = kMaxLinks;
  if (m_bShowHtml) {
    CRenderEngine::DrawHtmlText(hDC, m_pManager, rc, m_sText, dwColor, m_rcLinks, m_sLinks, m_nLinks,
                                m_uTextStyle);
    ClearLinksFrom(m_nLinks);
    return;
  }
  // Plain text has no links: the slots stay, empty, so nothing is hit.
  ClearLinksFrom(0);
  if (m_dwShadowColor != 0) {
    RECT rcShadow = {rc.left + 1, rc.top + 1, rc.right + 1, rc.bottom + 1};
    CRenderEngine::DrawText(hDC, m_pManager, rcShadow, m_sText, m_dwShadowColor, m_iFont, m_uTextStyle);
  }
  CRenderEngine::DrawText(hDC, m_pManager, rc, m_sText, dwColor, m_iFont, m_uTextStyle);
}

}  // namespace SkinUI
