#include "controls/COptionUI.h"

#include <cwchar>
#include <vector>

#include "core/AttributeValues.h"
#include "manager/CPaintManagerUI.h"
#include "render/CRenderEngine.h"

namespace SkinUI {

COptionUI::COptionUI() = default;

COptionUI::~COptionUI() {
  if (!m_sGroupName.IsEmpty() && m_pManager != nullptr) m_pManager->RemoveOptionGroup(m_sGroupName, this);
}

LPCWSTR COptionUI::GetClass() const { return L"OptionUI"; }

LPVOID COptionUI::GetInterface(LPCWSTR pstrName) {
  if (pstrName != nullptr && wcscmp(pstrName, L"Option") == 0) return this;
  return CButtonUI::GetInterface(pstrName);
}

void COptionUI::SetManager(CPaintManagerUI* pManager, CControlUI* pParent, bool bInit) {
  if (m_pManager != nullptr && m_pManager != pManager && !m_sGroupName.IsEmpty())
    m_pManager->RemoveOptionGroup(m_sGroupName, this);
  CButtonUI::SetManager(pManager, pParent, bInit);
  if (!bInit || m_sGroupName.IsEmpty() || m_pManager == nullptr) return;
  m_pManager->AddOptionGroup(m_sGroupName, this);
  // Of several options a skin marks as selected, the last one joining wins.
  if (m_bSelected) DeselectOthers();
}

bool COptionUI::IsSelected() const { return m_bSelected; }

LPCWSTR COptionUI::GetGroup() const { return m_sGroupName; }

void COptionUI::SetGroup(LPCWSTR pStrGroupName) {
  if (pStrGroupName == nullptr) {
    if (m_sGroupName.IsEmpty()) return;
  } else if (m_sGroupName == pStrGroupName) {
    return;
  }
  if (!m_sGroupName.IsEmpty() && m_pManager != nullptr) m_pManager->RemoveOptionGroup(m_sGroupName, this);
  m_sGroupName = pStrGroupName != nullptr ? pStrGroupName : L"";
  if (!m_sGroupName.IsEmpty() && m_pManager != nullptr) m_pManager->AddOptionGroup(m_sGroupName, this);
  Selected(m_bSelected);
}

DWORD COptionUI::GetSelectBkColor() const { return m_dwSelectedBkColor; }
void COptionUI::SetSelectedBkColor(DWORD dwBkColor) { m_dwSelectedBkColor = dwBkColor; }

DWORD COptionUI::GetSelectedTextColor() const {
  if (m_dwSelectedTextColor != 0 || m_pManager == nullptr) return m_dwSelectedTextColor;
  return m_pManager->GetDefaultFontColor();
}

void COptionUI::SetSelectedTextColor(DWORD dwTextColor) { m_dwSelectedTextColor = dwTextColor; }

namespace {

void SetImage(CControlUI* pControl, CImageAttribute& slot, LPCWSTR pStrImage) {
  slot.SetAttributeString(pStrImage != nullptr ? pStrImage : L"");
  pControl->Invalidate();
}

}  // namespace

LPCWSTR COptionUI::GetSelectedImage() const { return m_diSelected.GetAttributeString(); }
void COptionUI::SetSelectedImage(LPCWSTR pStrImage) { SetImage(this, m_diSelected, pStrImage); }
LPCWSTR COptionUI::GetSelectedHotImage() const { return m_diSelectedHot.GetAttributeString(); }
void COptionUI::SetSelectedHotImage(LPCWSTR pStrImage) { SetImage(this, m_diSelectedHot, pStrImage); }
LPCWSTR COptionUI::GetSelectedPushedImage() const { return m_diSelectedPushed.GetAttributeString(); }
void COptionUI::SetSelectedPushedImage(LPCWSTR pStrImage) { SetImage(this, m_diSelectedPushed, pStrImage); }
LPCWSTR COptionUI::GetSelectedForedImage() const { return m_diSelectedFore.GetAttributeString(); }
void COptionUI::SetSelectedForedImage(LPCWSTR pStrImage) { SetImage(this, m_diSelectedFore, pStrImage); }

void COptionUI::DeselectOthers() {
  CStdPtrArray* pGroup = m_pManager->GetOptionGroup(m_sGroupName);
  if (pGroup == nullptr) return;
  // A copy: an override of Selected may change the group. Members that
  // are not options (the group takes any control) are left alone.
  std::vector<COptionUI*> members;
  for (int i = 0; i < pGroup->GetSize(); ++i)
    if (auto* pOption =
            static_cast<COptionUI*>(static_cast<CControlUI*>(pGroup->GetAt(i))->GetInterface(L"Option")))
      members.push_back(pOption);
  for (COptionUI* pOther : members)
    if (pOther != this) pOther->Selected(false);
}

void COptionUI::Selected(bool bSelected) {
  m_bSelected = bSelected;
  if (bSelected)
    m_uButtonState |= UISTATE_SELECTED;
  else
    m_uButtonState &= ~UISTATE_SELECTED;
  if (m_pManager != nullptr) {
    auto alive = Watch();
    if (m_sGroupName.IsEmpty()) {
      m_pManager->SendNotify(this, L"selectchanged");
    } else if (bSelected) {
      DeselectOthers();
      m_pManager->SendNotify(this, L"selectchanged");
    }
    if (!*alive) return;
  }
  Invalidate();
}

bool COptionUI::Activate() {
  auto alive = Watch();
  if (!CButtonUI::Activate()) return false;
  if (!*alive) return true;
  Selected(m_sGroupName.IsEmpty() ? !m_bSelected : true);
  return true;
}

void COptionUI::SetEnabled(bool bEnable) {
  CControlUI::SetEnabled(bEnable);
  if (!IsEnabled()) m_uButtonState = m_bSelected ? UISTATE_SELECTED : 0;
}

void COptionUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) {
  if (wcscmp(pstrName, L"group") == 0)
    SetGroup(pstrValue);
  else if (wcscmp(pstrName, L"selected") == 0)
    Selected(ParseBool(pstrValue));
  else if (wcscmp(pstrName, L"selectedimage") == 0)
    SetSelectedImage(pstrValue);
  else if (wcscmp(pstrName, L"selectedhotimage") == 0)
    SetSelectedHotImage(pstrValue);
  else if (wcscmp(pstrName, L"selectedpushedimage") == 0)
    SetSelectedPushedImage(pstrValue);
  else if (wcscmp(pstrName, L"selectedforeimage") == 0)
    SetSelectedForedImage(pstrValue);
  else if (wcscmp(pstrName, L"selectedbkcolor") == 0)
    SetSelectedBkColor(ParseColor(pstrValue));
  else if (wcscmp(pstrName, L"selectedtextcolor") == 0)
    SetSelectedTextColor(ParseColor(pstrValue));
  else
    CButtonUI::SetAttribute(pstrName, pstrValue);
}

// The selected images go before the button's; the foreground image is
// drawn once, the selected one instead of it while selected.
void COptionUI::PaintStatusImage(HDC hDC) {
  UpdatePaintState();
  const bool selected = (m_uButtonState & UISTATE_SELECTED) != 0;
  bool foreDrawn = false;
  if ((m_uButtonState & UISTATE_PUSHED) && selected && IsUsable(m_diSelectedPushed)) {
    if (!DrawImage(hDC, m_diSelectedPushed)) foreDrawn = PaintStateImages(hDC);
  } else if ((m_uButtonState & UISTATE_HOT) && selected && IsUsable(m_diSelectedHot)) {
    if (!DrawImage(hDC, m_diSelectedHot)) foreDrawn = PaintStateImages(hDC);
  } else if (selected) {
    if (IsUsable(m_diSelected)) {
      if (!DrawImage(hDC, m_diSelected)) foreDrawn = PaintStateImages(hDC);
    } else if (m_dwSelectedBkColor != 0) {
      CRenderEngine::DrawColor(hDC, m_rcPaint, GetAdjustColor(m_dwSelectedBkColor));
      return;
    } else {
      foreDrawn = PaintStateImages(hDC);
    }
  } else {
    foreDrawn = PaintStateImages(hDC);
  }
  if (m_bSelected && DrawUsable(hDC, m_diSelectedFore)) return;
  if (!foreDrawn) DrawUsable(hDC, m_diFore);
}

void COptionUI::PaintText(HDC hDC) {
  if ((m_uButtonState & UISTATE_SELECTED) == 0) {
    CButtonUI::PaintText(hDC);
    return;
  }
  const DWORD dwOldTextColor = m_dwTextColor;
  if (m_dwSelectedTextColor != 0) m_dwTextColor = m_dwSelectedTextColor;
  TakeDefaultColors();
  if (!m_sText.IsEmpty())
    DrawLabelText(hDC, TextRect(), IsEnabled() ? m_dwTextColor : m_dwDisabledTextColor, m_uTextStyle);
  m_dwTextColor = dwOldTextColor;
}

}  // namespace SkinUI
