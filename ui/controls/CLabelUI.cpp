#include "controls/CLabelUI.h"

#include <cwchar>

#include "core/AttributeValues.h"
#include "manager/CPaintManagerUI.h"
#include "render/CRenderEngine.h"

namespace SkinUI {

CLabelUI::CLabelUI() = default;

LPCWSTR CLabelUI::GetClass() const { return L"LabelUI"; }

LPVOID CLabelUI::GetInterface(LPCWSTR pstrName) {
  if (pstrName != nullptr && wcscmp(pstrName, L"Label") == 0) return this;
  return CControlUI::GetInterface(pstrName);
}

void CLabelUI::SetText(LPCWSTR pstrText) {
  if (m_sText == (pstrText != nullptr ? pstrText : L"")) return;
  CControlUI::SetText(pstrText);
  RemeasureWidth();
}

DWORD CLabelUI::GetTextColor() const { return m_dwTextColor; }

void CLabelUI::SetTextColor(DWORD dwTextColor) {
  m_dwTextColor = dwTextColor;
  Invalidate();
}

DWORD CLabelUI::GetDisabledTextColor() const { return m_dwDisabledTextColor; }

void CLabelUI::SetDisabledTextColor(DWORD dwTextColor) {
  m_dwDisabledTextColor = dwTextColor;
  Invalidate();
}

int CLabelUI::GetFont() const { return m_iFont; }

void CLabelUI::SetFont(int index) {
  m_iFont = index;
  Invalidate();
  RemeasureWidth();
}

UINT CLabelUI::GetTextStyle() const { return m_uTextStyle; }

void CLabelUI::SetTextStyle(UINT uStyle) {
  m_uTextStyle = uStyle;
  Invalidate();
}

RECT CLabelUI::GetTextPadding() const { return m_rcTextPadding; }

void CLabelUI::SetTextPadding(RECT rc) {
  m_rcTextPadding = rc;
  Invalidate();
  RemeasureWidth();
}

bool CLabelUI::IsShowHtml() const { return m_bShowHtml; }

void CLabelUI::SetShowHtml(bool bShowHtml) {
  if (m_bShowHtml == bShowHtml) return;
  m_bShowHtml = bShowHtml;
  Invalidate();
}

bool CLabelUI::GetAutoCalcWidth() const { return m_bAutoCalcWidth; }
void CLabelUI::SetAutoCalcWidth(bool bAutoCalcWidth) { m_bAutoCalcWidth = bAutoCalcWidth; }

void CLabelUI::RemeasureWidth() {
  if (m_bAutoCalcWidth) NeedParentUpdate();
}

bool CLabelUI::PassOnMouseEvent(TEventUI& event) {
  if (IsMouseEnabled() || !IsMouseEvent(event.Type)) return false;
  if (m_pParent != nullptr)
    m_pParent->DoEvent(event);
  else
    CLabelUI::DoEvent(event);
  return true;
}

void CLabelUI::DoEvent(TEventUI& event) {
  if (event.Type == UIEVENT_SETFOCUS) {
    m_bFocused = true;
    return;
  }
  if (event.Type == UIEVENT_KILLFOCUS) {
    m_bFocused = false;
    return;
  }
  CControlUI::DoEvent(event);
}

void CLabelUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) {
  // The words of align and valign apply in this order, so a value holding
  // several ends with the last one's flags.
  if (wcscmp(pstrName, L"align") == 0) {
    UINT style = m_uTextStyle;
    if (wcsstr(pstrValue, L"left") != nullptr) style &= ~(DT_CENTER | DT_RIGHT | DT_SINGLELINE);
    if (wcsstr(pstrValue, L"center") != nullptr) style = (style & ~DT_RIGHT) | DT_CENTER;
    if (wcsstr(pstrValue, L"right") != nullptr) style = (style & ~(DT_CENTER | DT_SINGLELINE)) | DT_RIGHT;
    SetTextStyle(style);
  } else if (wcscmp(pstrName, L"valign") == 0) {
    UINT style = m_uTextStyle;
    if (wcsstr(pstrValue, L"top") != nullptr) style = (style & ~(DT_VCENTER | DT_BOTTOM)) | DT_SINGLELINE;
    if (wcsstr(pstrValue, L"center") != nullptr) style = (style & ~DT_BOTTOM) | DT_VCENTER | DT_SINGLELINE;
    if (wcsstr(pstrValue, L"bottom") != nullptr) style = (style & ~DT_VCENTER) | DT_BOTTOM | DT_SINGLELINE;
    SetTextStyle(style);
  } else if (wcscmp(pstrName, L"endellipsis") == 0) {
    SetTextStyle(ParseBool(pstrValue) ? m_uTextStyle | DT_END_ELLIPSIS : m_uTextStyle & ~DT_END_ELLIPSIS);
  } else if (wcscmp(pstrName, L"font") == 0) {
    SetFont(ParseInt(pstrValue));
  } else if (wcscmp(pstrName, L"textcolor") == 0) {
    SetTextColor(ParseColor(pstrValue));
  } else if (wcscmp(pstrName, L"disabledtextcolor") == 0) {
    SetDisabledTextColor(ParseColor(pstrValue));
  } else if (wcscmp(pstrName, L"textpadding") == 0) {
    SetTextPadding(ParseRect(pstrValue));
  } else if (wcscmp(pstrName, L"showhtml") == 0) {
    SetShowHtml(ParseBool(pstrValue));
  } else if (wcscmp(pstrName, L"autocalcwidth") == 0) {
    SetAutoCalcWidth(ParseBool(pstrValue));
  } else {
    CControlUI::SetAttribute(pstrName, pstrValue);
  }
}

SIZE CLabelUI::EstimateSize(SIZE szAvailable) {
  if (m_pManager == nullptr) return CControlUI::EstimateSize(szAvailable);
  if (m_bAutoCalcWidth && m_pManager->GetPaintDC() != nullptr) {
    // Measured as painted: on one line, and mark-up by what it shows.
    RECT rc = {0, 0, 9999, 9999};
    const UINT uStyle = m_uTextStyle | DT_SINGLELINE | DT_CALCRECT;
    if (m_bShowHtml) {
      int nLinks = 0;
      CRenderEngine::DrawHtmlText(m_pManager->GetPaintDC(), m_pManager, rc, m_sText, 0, nullptr, nullptr,
                                  nLinks, uStyle);
    } else {
      rc = RECT{0, 0, 0, 0};
      CRenderEngine::DrawText(m_pManager->GetPaintDC(), m_pManager, rc, m_sText, 0, m_iFont, uStyle);
    }
    m_cxyFixed.cx = rc.right - rc.left + m_rcTextPadding.left + m_rcTextPadding.right;
  }
  if (m_cxyFixed.cy == 0) return SIZE{m_cxyFixed.cx, m_pManager->GetFontInfo(GetFont())->tm.tmHeight + 4};
  return CControlUI::EstimateSize(szAvailable);
}

void CLabelUI::TakeDefaultColors() {
  if (m_pManager == nullptr) return;
  if (m_dwTextColor == 0) m_dwTextColor = m_pManager->GetDefaultFontColor();
  if (m_dwDisabledTextColor == 0) m_dwDisabledTextColor = m_pManager->GetDefaultDisabledColor();
}

RECT CLabelUI::TextRect() const {
  return RECT{m_rcItem.left + m_rcTextPadding.left, m_rcItem.top + m_rcTextPadding.top,
              m_rcItem.right - m_rcTextPadding.right, m_rcItem.bottom - m_rcTextPadding.bottom};
}

void CLabelUI::DrawLabelText(HDC hDC, RECT rc, DWORD dwColor, UINT uStyle) {
  if (m_bShowHtml) {
    int nLinks = 0;
    CRenderEngine::DrawHtmlText(hDC, m_pManager, rc, m_sText, dwColor, nullptr, nullptr, nLinks, uStyle);
  } else {
    CRenderEngine::DrawText(hDC, m_pManager, rc, m_sText, dwColor, m_iFont, uStyle);
  }
}

void CLabelUI::PaintText(HDC hDC) {
  TakeDefaultColors();
  if (m_sText.IsEmpty()) return;
  DrawLabelText(hDC, TextRect(), IsEnabled() ? m_dwTextColor : m_dwDisabledTextColor,
                m_uTextStyle | DT_SINGLELINE);
}

}  // namespace SkinUI
