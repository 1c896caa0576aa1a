#include "controls/CVerticalLayoutUI.h"

#include <algorithm>
#include <cwchar>

#include "controls/CScrollBarUI.h"
#include "controls/LayoutMath.h"
#include "core/AttributeValues.h"

namespace SkinUI {

CVerticalLayoutUI::CVerticalLayoutUI() : m_separator(true) {}

LPCWSTR CVerticalLayoutUI::GetClass() const { return L"VerticalLayoutUI"; }

LPVOID CVerticalLayoutUI::GetInterface(LPCWSTR pstrName) {
  if (pstrName != nullptr && wcscmp(pstrName, L"VerticalLayout") == 0) return this;
  return CContainerUI::GetInterface(pstrName);
}

UINT CVerticalLayoutUI::GetControlFlags() const { return m_separator.GetControlFlags(*this); }

void CVerticalLayoutUI::SetSepHeight(int iHeight) { m_separator.SetSize(iHeight); }
int CVerticalLayoutUI::GetSepHeight() const { return m_separator.GetSize(); }
void CVerticalLayoutUI::SetSepImmMode(bool bImmediately) { m_separator.SetImmMode(*this, bImmediately); }
bool CVerticalLayoutUI::IsSepImmMode() const { return m_separator.IsImmMode(); }
RECT CVerticalLayoutUI::GetThumbRect(bool bUseNew) const { return m_separator.GetThumbRect(m_rcItem, bUseNew); }

// Fixed heights first; the children of automatic height (estimated 0)
// share what is left equally, the remainder of that division stays empty.
void CVerticalLayoutUI::SetPos(RECT rc) {
  CControlUI::SetPos(rc);
  rc = ClientRect();
  if (m_items.IsEmpty()) {
    ProcessScrollBar(rc, 0, 0);
    return;
  }
  bool bVBar = IsVerticalBarShown(), bHBar = IsHorizontalBarShown();

  SIZE szAvailable = {NonNegative(RectWidth(rc)), NonNegative(RectHeight(rc))};
  if (bHBar) szAvailable.cx = Saturate(int64_t{szAvailable.cx} + m_pHorizontalScrollBar->GetScrollRange());

  int nAdjustables = 0, nEstimated = 0;
  int64_t cyFixed = 0;
  for (int i = 0; i < m_items.GetSize(); ++i) {
    CControlUI* pControl = GetItemAt(i);
    if (!pControl->IsVisible() || pControl->IsFloat()) continue;
    SIZE sz = pControl->EstimateSize(szAvailable);
    if (sz.cy == 0) {
      ++nAdjustables;
    } else {
      sz.cy = ClampToLimits(NonNegative(sz.cy), pControl->GetMinHeight(), pControl->GetMaxHeight());
    }
    RECT rcPadding = pControl->GetPadding();
    cyFixed += int64_t{sz.cy} + rcPadding.top + rcPadding.bottom;
    ++nEstimated;
  }
  int64_t cyPaddings = nEstimated > 0 ? int64_t{m_iChildPadding} * (nEstimated - 1) : 0;
  int64_t cyExpand = 0;
  if (nAdjustables > 0) cyExpand = std::max<int64_t>(0, (szAvailable.cy - cyFixed - cyPaddings) / nAdjustables);

  int64_t iPosY = rc.top - (bVBar ? int64_t{m_pVerticalScrollBar->GetScrollPos()} : 0);
  int64_t iPosX = rc.left - (bHBar ? int64_t{m_pHorizontalScrollBar->GetScrollPos()} : 0);
  int64_t cyRemaining = szAvailable.cy, cyNeeded = 0;
  for (int i = 0; i < m_items.GetSize(); ++i) {
    CControlUI* pControl = GetItemAt(i);
    if (!pControl->IsVisible()) continue;
    if (pControl->IsFloat()) {
      SetFloatPos(i);
      continue;
    }
    RECT rcPadding = pControl->GetPadding();
    cyRemaining -= rcPadding.top;
    SIZE sz = pControl->EstimateSize(SIZE{szAvailable.cx, NonNegative(cyRemaining)});
    int64_t cy = sz.cy == 0 ? cyExpand : sz.cy;
    cy = ClampToLimits(NonNegative(cy), pControl->GetMinHeight(), pControl->GetMaxHeight());
    int64_t cx = pControl->GetFixedWidth();
    if (cx == 0) cx = int64_t{szAvailable.cx} - rcPadding.left - rcPadding.right;
    cx = ClampToLimits(NonNegative(cx), pControl->GetMinWidth(), pControl->GetMaxWidth());

    int64_t left = iPosX + rcPadding.left, top = iPosY + rcPadding.top;
    pControl->SetPos(RECT{Saturate(left), Saturate(top), Saturate(left + cx), Saturate(top + cy)});

    iPosY += int64_t{rcPadding.top} + cy + rcPadding.bottom + m_iChildPadding;
    cyNeeded += int64_t{rcPadding.top} + cy + rcPadding.bottom;
    cyRemaining -= cy + rcPadding.bottom + m_iChildPadding;
  }
  ProcessScrollBar(rc, 0, Saturate(cyNeeded + cyPaddings));
}

void CVerticalLayoutUI::DoEvent(TEventUI& event) {
  if (m_separator.DoEvent(*this, m_rcItem, m_cxyFixed, event)) return;
  CContainerUI::DoEvent(event);
}

void CVerticalLayoutUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) {
  if (pstrName != nullptr && wcscmp(pstrName, L"sepheight") == 0)
    SetSepHeight(ParseInt(pstrValue));
  else if (pstrName != nullptr && wcscmp(pstrName, L"sepimm") == 0)
    SetSepImmMode(ParseBool(pstrValue));
  else
    CContainerUI::SetAttribute(pstrName, pstrValue);
}

void CVerticalLayoutUI::DoPostPaint(HDC hDC, const RECT&) { m_separator.DoPostPaint(hDC, m_rcItem); }

}  // namespace SkinUI
