#include "controls/CTabLayoutUI.h"

#include <cwchar>

#include "controls/LayoutMath.h"
#include "core/AttributeValues.h"
#include "manager/CPaintManagerUI.h"

namespace SkinUI {

CTabLayoutUI::CTabLayoutUI() = default;

LPCWSTR CTabLayoutUI::GetClass() const { return L"TabLayoutUI"; }

LPVOID CTabLayoutUI::GetInterface(LPCWSTR pstrName) {
  if (pstrName != nullptr && wcscmp(pstrName, L"TabLayout") == 0) return this;
  return CContainerUI::GetInterface(pstrName);
}

bool CTabLayoutUI::Add(CControlUI* pControl) { return AddAt(pControl, GetCount()); }

bool CTabLayoutUI::AddAt(CControlUI* pControl, int iIndex) {
  if (!CContainerUI::AddAt(pControl, iIndex)) return false;
  if (m_iCurSel == -1 && pControl->IsVisible()) {
    m_iCurSel = GetItemIndex(pControl);
    return true;
  }
  // Inserted before the selection: the same page stays selected.
  if (m_iCurSel != -1 && iIndex <= m_iCurSel) m_iCurSel += 1;
  pControl->SetVisible(false);
  return true;
}

bool CTabLayoutUI::Remove(CControlUI* pControl) {
  int iIndex = GetItemIndex(pControl);
  if (!CContainerUI::Remove(pControl)) return false;
  if (m_iCurSel == iIndex) {
    if (GetCount() > 0) {
      m_iCurSel = 0;
      GetItemAt(m_iCurSel)->SetVisible(true);
    } else {
      m_iCurSel = -1;
    }
    NeedParentUpdate();
  } else if (m_iCurSel > iIndex) {
    m_iCurSel -= 1;
  }
  return true;
}

bool CTabLayoutUI::RemoveAt(int iIndex) { return Remove(GetItemAt(iIndex)); }

void CTabLayoutUI::RemoveAll() {
  m_iCurSel = -1;
  CContainerUI::RemoveAll();
  NeedParentUpdate();
}

int CTabLayoutUI::GetCurSel() const { return m_iCurSel; }

bool CTabLayoutUI::SelectItem(CControlUI* pControl) {
  int iIndex = GetItemIndex(pControl);
  return iIndex >= 0 && SelectItem(iIndex);
}

bool CTabLayoutUI::SelectItem(int iIndex) {
  if (iIndex < 0 || iIndex >= GetCount()) return false;
  if (iIndex == m_iCurSel) return true;
  int iOldSel = m_iCurSel;
  m_iCurSel = iIndex;
  // Focus changes run handlers, which may change the pages or delete us.
  auto alive = Watch();
  for (int i = 0; i < GetCount(); ++i) {
    CControlUI* pPage = GetItemAt(i);
    if (i != iIndex) {
      pPage->SetVisible(false);
      continue;
    }
    pPage->SetVisible(true);
    pPage->SetFocus();
    if (!*alive) return true;
    SetPos(m_rcItem);
  }
  NeedParentUpdate();
  if (m_pManager == nullptr) return true;
  CPaintManagerUI* pManager = m_pManager;
  pManager->SetNextTabControl();
  if (*alive) pManager->SendNotify(this, L"tabselect", static_cast<WPARAM>(m_iCurSel), iOldSel);
  return true;
}

void CTabLayoutUI::SetPos(RECT rc) {
  CControlUI::SetPos(rc);
  RECT rcInner = DeflateRect(m_rcItem, m_rcInset);
  for (int i = 0; i < GetCount(); ++i) {
    CControlUI* pControl = GetItemAt(i);
    if (!pControl->IsVisible()) continue;
    if (pControl->IsFloat()) {
      SetFloatPos(i);
      continue;
    }
    if (i != m_iCurSel) continue;
    RECT rcPage = DeflateRect(rcInner, pControl->GetPadding());
    SIZE szAvailable = {RectWidth(rcPage), RectHeight(rcPage)};
    SIZE sz = pControl->EstimateSize(szAvailable);
    if (sz.cx == 0) sz.cx = szAvailable.cx;
    if (sz.cy == 0) sz.cy = szAvailable.cy;
    sz.cx = ClampToLimits(NonNegative(sz.cx), pControl->GetMinWidth(), pControl->GetMaxWidth());
    sz.cy = ClampToLimits(NonNegative(sz.cy), pControl->GetMinHeight(), pControl->GetMaxHeight());
    pControl->SetPos(RECT{rcPage.left, rcPage.top, Saturate(int64_t{rcPage.left} + sz.cx),
                          Saturate(int64_t{rcPage.top} + sz.cy)});
  }
}

void CTabLayoutUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) {
  if (pstrName != nullptr && wcscmp(pstrName, L"selectedid") == 0) SelectItem(static_cast<int>(ParseInt(pstrValue)));
  CContainerUI::SetAttribute(pstrName, pstrValue);
}

}  // namespace SkinUI
