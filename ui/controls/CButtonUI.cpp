#include "controls/CButtonUI.h"

#include <cwchar>

#include "controls/CTabLayoutUI.h"
#include "core/AttributeValues.h"
#include "manager/CPaintManagerUI.h"
#include "render/CRenderEngine.h"

namespace SkinUI {

CButtonUI::CButtonUI() { m_uTextStyle = DT_SINGLELINE | DT_VCENTER | DT_CENTER; }

LPCWSTR CButtonUI::GetClass() const { return L"ButtonUI"; }

LPVOID CButtonUI::GetInterface(LPCWSTR pstrName) {
  if (pstrName != nullptr && wcscmp(pstrName, L"Button") == 0) return this;
  return CLabelUI::GetInterface(pstrName);
}

UINT CButtonUI::GetControlFlags() const {
  return (IsKeyboardEnabled() ? UIFLAG_TABSTOP : 0) | (IsEnabled() ? UIFLAG_SETCURSOR : 0);
}

bool CButtonUI::Activate() {
  if (!CControlUI::Activate()) return false;
  if (m_pManager != nullptr) {
    // A click handler may delete the button.
    auto alive = Watch();
    m_pManager->SendNotify(this, L"click");
    if (*alive) BindTriggerTabSel();
  }
  return true;
}

void CButtonUI::SetEnabled(bool bEnable) {
  CControlUI::SetEnabled(bEnable);
  if (!IsEnabled()) m_uButtonState = 0;
}

void CButtonUI::DoEvent(TEventUI& event) {
  if (PassOnMouseEvent(event)) return;
  const bool inside = ::PtInRect(&m_rcItem, event.ptMouse) != FALSE;
  switch (event.Type) {
    case UIEVENT_SETFOCUS:
    case UIEVENT_KILLFOCUS:
      Invalidate();
      break;
    case UIEVENT_KEYDOWN:
      if (!IsKeyboardEnabled() || (event.chKey != VK_SPACE && event.chKey != VK_RETURN)) break;
      Activate();
      return;
    case UIEVENT_BUTTONDOWN:
    case UIEVENT_DBLCLICK:
      if (inside && IsEnabled()) {
        m_uButtonState |= UISTATE_PUSHED | UISTATE_CAPTURED;
        Invalidate();
      }
      return;
    case UIEVENT_MOUSEMOVE:
      if (m_uButtonState & UISTATE_CAPTURED) {
        if (inside)
          m_uButtonState |= UISTATE_PUSHED;
        else
          m_uButtonState &= ~UISTATE_PUSHED;
        Invalidate();
      }
      return;
    case UIEVENT_BUTTONUP:
      if (m_uButtonState & UISTATE_CAPTURED) {
        // Released before the click is sent, so that a handler running a
        // modal loop does not leave the button pushed.
        m_uButtonState &= ~(UISTATE_PUSHED | UISTATE_CAPTURED);
        Invalidate();
        if (inside) Activate();
      }
      return;
    case UIEVENT_CONTEXTMENU:
      if (IsContextMenuUsed() && m_pManager != nullptr)
        m_pManager->SendNotify(this, L"menu", event.wParam, event.lParam);
      return;
    case UIEVENT_MOUSEENTER:
      if (IsEnabled()) {
        m_uButtonState |= UISTATE_HOT;
        Invalidate();
      }
      break;
    case UIEVENT_MOUSELEAVE:
      if (IsEnabled()) {
        m_uButtonState &= ~UISTATE_HOT;
        Invalidate();
      }
      break;
    case UIEVENT_SETCURSOR:
      ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
      return;
    default:
      break;
  }
  CLabelUI::DoEvent(event);
}

DWORD CButtonUI::GetHotBkColor() const { return m_dwHotBkColor; }
void CButtonUI::SetHotBkColor(DWORD dwColor) { m_dwHotBkColor = dwColor; }
DWORD CButtonUI::GetHotTextColor() const { return m_dwHotTextColor; }
void CButtonUI::SetHotTextColor(DWORD dwColor) { m_dwHotTextColor = dwColor; }
DWORD CButtonUI::GetPushedTextColor() const { return m_dwPushedTextColor; }
void CButtonUI::SetPushedTextColor(DWORD dwColor) { m_dwPushedTextColor = dwColor; }
DWORD CButtonUI::GetFocusedTextColor() const { return m_dwFocusedTextColor; }
void CButtonUI::SetFocusedTextColor(DWORD dwColor) { m_dwFocusedTextColor = dwColor; }

LPCWSTR CButtonUI::GetHotForeImage() const { return m_diHotFore.GetAttributeString(); }

void CButtonUI::SetHotForeImage(LPCWSTR pStrImage) {
  m_diHotFore.SetAttributeString(pStrImage != nullptr ? pStrImage : L"");
  Invalidate();
}

LPCWSTR CButtonUI::GetPushedForeImage() const { return m_diPushedFore.GetAttributeString(); }

void CButtonUI::SetPushedForeImage(LPCWSTR pStrImage) {
  m_diPushedFore.SetAttributeString(pStrImage != nullptr ? pStrImage : L"");
  Invalidate();
}

void CButtonUI::BindTabIndex(int index) {
  if (index >= 0) m_iBindTabIndex = index;
}

void CButtonUI::BindTabLayoutName(LPCWSTR pstrName) {
  if (pstrName != nullptr) m_sBindTabLayoutName = pstrName;
}

void CButtonUI::BindTriggerTabSel(int index) {
  if (m_sBindTabLayoutName.IsEmpty() || (m_iBindTabIndex < 0 && index < 0) || m_pManager == nullptr) return;
  CControlUI* pControl = m_pManager->FindControl(m_sBindTabLayoutName);
  auto* pTab =
      pControl != nullptr ? static_cast<CTabLayoutUI*>(pControl->GetInterface(L"TabLayout")) : nullptr;
  if (pTab != nullptr) pTab->SelectItem(index >= 0 ? index : m_iBindTabIndex);
}

void CButtonUI::RemoveBindTabIndex() {
  m_iBindTabIndex = -1;
  m_sBindTabLayoutName.Empty();
}

int CButtonUI::GetBindTabLayoutIndex() const { return m_iBindTabIndex; }
LPCWSTR CButtonUI::GetBindTabLayoutName() const { return m_sBindTabLayoutName; }

void CButtonUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) {
  if (wcscmp(pstrName, L"hotforeimage") == 0) {
    SetHotForeImage(pstrValue);
  } else if (wcscmp(pstrName, L"pushedforeimage") == 0) {
    SetPushedForeImage(pstrValue);
  } else if (wcscmp(pstrName, L"bindtabindex") == 0) {
    BindTabIndex(ParseInt(pstrValue));
  } else if (wcscmp(pstrName, L"bindtablayoutname") == 0) {
    BindTabLayoutName(pstrValue);
  } else if (wcscmp(pstrName, L"hotbkcolor") == 0) {
    SetHotBkColor(ParseColor(pstrValue));
  } else if (wcscmp(pstrName, L"hottextcolor") == 0) {
    SetHotTextColor(ParseColor(pstrValue));
  } else if (wcscmp(pstrName, L"pushedtextcolor") == 0) {
    SetPushedTextColor(ParseColor(pstrValue));
  } else if (wcscmp(pstrName, L"focusedtextcolor") == 0) {
    SetFocusedTextColor(ParseColor(pstrValue));
  } else if (wcscmp(pstrName, L"multiline") == 0) {
    SetTextStyle(ParseBool(pstrValue) ? (m_uTextStyle & ~DT_SINGLELINE) | DT_WORDBREAK
                                      : (m_uTextStyle & ~DT_WORDBREAK) | DT_SINGLELINE);
  } else {
    CLabelUI::SetAttribute(pstrName, pstrValue);
  }
}

SIZE CButtonUI::EstimateSize(SIZE szAvailable) {
  if (m_cxyFixed.cy == 0 && m_pManager != nullptr)
    return SIZE{m_cxyFixed.cx, m_pManager->GetFontInfo(GetFont())->tm.tmHeight + 8};
  return CControlUI::EstimateSize(szAvailable);
}

void CButtonUI::UpdatePaintState() {
  if (IsFocused())
    m_uButtonState |= UISTATE_FOCUSED;
  else
    m_uButtonState &= ~UISTATE_FOCUSED;
  if (!IsEnabled())
    m_uButtonState |= UISTATE_DISABLED;
  else
    m_uButtonState &= ~UISTATE_DISABLED;
}

bool CButtonUI::IsUsable(const CImageAttribute& image) { return image.IsLoadSuccess(); }

bool CButtonUI::DrawUsable(HDC hDC, CImageAttribute& image) {
  return IsUsable(image) && DrawImage(hDC, image);
}

// The first of disabled, pushed, hot and focused picks its image; the
// normal image stands in when that one is missing or fails to load.
bool CButtonUI::PaintStateImages(HDC hDC) {
  UpdatePaintState();
  if (m_uButtonState & UISTATE_DISABLED) {
    if (DrawUsable(hDC, m_diDisabled)) return DrawUsable(hDC, m_diFore);
  } else if (m_uButtonState & UISTATE_PUSHED) {
    if (DrawUsable(hDC, m_diPushed)) return !DrawUsable(hDC, m_diPushedFore) && DrawUsable(hDC, m_diFore);
  } else if (m_uButtonState & UISTATE_HOT) {
    if (DrawUsable(hDC, m_diHot)) return !DrawUsable(hDC, m_diHotFore) && DrawUsable(hDC, m_diFore);
    if (m_dwHotBkColor != 0) {
      CRenderEngine::DrawColor(hDC, m_rcPaint, GetAdjustColor(m_dwHotBkColor));
      return false;
    }
  } else if (m_uButtonState & UISTATE_FOCUSED) {
    if (DrawUsable(hDC, m_diFocused)) return false;
  }
  DrawUsable(hDC, m_diNormal);
  return DrawUsable(hDC, m_diFore);
}

void CButtonUI::PaintStatusImage(HDC hDC) { PaintStateImages(hDC); }

void CButtonUI::PaintText(HDC hDC) {
  UpdatePaintState();
  TakeDefaultColors();
  if (m_sText.IsEmpty()) return;
  DWORD dwColor = IsEnabled() ? m_dwTextColor : m_dwDisabledTextColor;
  if ((m_uButtonState & UISTATE_PUSHED) && m_dwPushedTextColor != 0)
    dwColor = m_dwPushedTextColor;
  else if ((m_uButtonState & UISTATE_HOT) && m_dwHotTextColor != 0)
    dwColor = m_dwHotTextColor;
  else if ((m_uButtonState & UISTATE_FOCUSED) && m_dwFocusedTextColor != 0)
    dwColor = m_dwFocusedTextColor;
  DrawLabelText(hDC, TextRect(), dwColor, m_uTextStyle);
}

}  // namespace SkinUI
