#include "controls/CHorizontalLayoutUI.h"

#include <algorithm>
#include <cwchar>

#include "controls/CScrollBarUI.h"
#include "controls/LayoutMath.h"
#include "core/AttributeValues.h"

namespace SkinUI {

CHorizontalLayoutUI::CHorizontalLayoutUI() : m_separator(false) {}

LPCWSTR CHorizontalLayoutUI::GetClass() const { return L"HorizontalLayoutUI"; }

LPVOID CHorizontalLayoutUI::GetInterface(LPCWSTR pstrName) {
  if (pstrName != nullptr && wcscmp(pstrName, L"HorizontalLayout") == 0) return this;
  return CContainerUI::GetInterface(pstrName);
}

UINT CHorizontalLayoutUI::GetControlFlags() const { return m_separator.GetControlFlags(*this); }

void CHorizontalLayoutUI::SetSepWidth(int iWidth) { m_separator.SetSize(iWidth); }
int CHorizontalLayoutUI::GetSepWidth() const { return m_separator.GetSize(); }
void CHorizontalLayoutUI::SetSepImmMode(bool bImmediately) { m_separator.SetImmMode(*this, bImmediately); }
bool CHorizontalLayoutUI::IsSepImmMode() const { return m_separator.IsImmMode(); }
RECT CHorizontalLayoutUI::GetThumbRect(bool bUseNew) const { return m_separator.GetThumbRect(m_rcItem, bUseNew); }

// Fixed widths first; the children of automatic width (estimated 0) share
// what is left equally. With a horizontal bar the children are laid out
// over the content's width: the inner width, or more when the children at
// their minimum need more, which is also what shows or hides the bar.
void CHorizontalLayoutUI::SetPos(RECT rc) {
  CControlUI::SetPos(rc);
  rc = ClientRect();
  if (m_items.IsEmpty()) {
    ProcessScrollBar(rc, 0, 0);
    return;
  }
  bool bHBar = IsHorizontalBarShown();

  SIZE szAvailable = {NonNegative(RectWidth(rc)), NonNegative(RectHeight(rc))};
  if (bHBar) szAvailable.cx = Saturate(int64_t{szAvailable.cx} + m_pHorizontalScrollBar->GetScrollRange());

  int nAdjustables = 0, nEstimated = 0;
  int64_t cxFixed = 0, cxMinimum = 0;
  for (int i = 0; i < m_items.GetSize(); ++i) {
    CControlUI* pControl = GetItemAt(i);
    if (!pControl->IsVisible() || pControl->IsFloat()) continue;
    SIZE sz = pControl->EstimateSize(szAvailable);
    RECT rcPadding = pControl->GetPadding();
    if (sz.cx == 0) {
      ++nAdjustables;
      cxMinimum += ClampToLimits(0, pControl->GetMinWidth(), pControl->GetMaxWidth());
    } else {
      sz.cx = ClampToLimits(NonNegative(sz.cx), pControl->GetMinWidth(), pControl->GetMaxWidth());
      cxMinimum += sz.cx;
    }
    cxFixed += int64_t{sz.cx} + rcPadding.left + rcPadding.right;
    cxMinimum += int64_t{rcPadding.left} + rcPadding.right;
    ++nEstimated;
  }
  int64_t cxPaddings = nEstimated > 0 ? int64_t{m_iChildPadding} * (nEstimated - 1) : 0;
  cxMinimum += cxPaddings;
  if (m_pHorizontalScrollBar != nullptr) szAvailable.cx = Saturate(std::max<int64_t>(RectWidth(rc), cxMinimum));
  int64_t cxExpand = 0;
  if (nAdjustables > 0) cxExpand = std::max<int64_t>(0, (szAvailable.cx - cxFixed - cxPaddings) / nAdjustables);

  int64_t iPosX = rc.left - (bHBar ? int64_t{m_pHorizontalScrollBar->GetScrollPos()} : 0);
  int64_t cxRemaining = szAvailable.cx, cxNeeded = 0;
  for (int i = 0; i < m_items.GetSize(); ++i) {
    CControlUI* pControl = GetItemAt(i);
    if (!pControl->IsVisible()) continue;
    if (pControl->IsFloat()) {
      SetFloatPos(i);
      continue;
    }
    RECT rcPadding = pControl->GetPadding();
    cxRemaining -= rcPadding.left;
    SIZE sz = pControl->EstimateSize(SIZE{NonNegative(cxRemaining), szAvailable.cy});
    int64_t cx = sz.cx == 0 ? cxExpand : sz.cx;
    cx = ClampToLimits(NonNegative(cx), pControl->GetMinWidth(), pControl->GetMaxWidth());
    int64_t cy = pControl->GetFixedHeight();
    if (cy == 0) cy = int64_t{rc.bottom} - rcPadding.bottom - rcPadding.top - rc.top;
    cy = ClampToLimits(NonNegative(cy), pControl->GetMinHeight(), pControl->GetMaxHeight());

    int64_t left = iPosX + rcPadding.left, top = int64_t{rc.top} + rcPadding.top;
    pControl->SetPos(RECT{Saturate(left), Saturate(top), Saturate(left + cx), Saturate(top + cy)});

    iPosX += int64_t{rcPadding.left} + cx + rcPadding.right + m_iChildPadding;
    cxNeeded += int64_t{rcPadding.left} + cx + rcPadding.right;
    cxRemaining -= cx + rcPadding.right + m_iChildPadding;
  }
  cxNeeded += cxPaddings;

  if (m_pHorizontalScrollBar != nullptr) {
    int64_t cxOverflow = cxNeeded - RectWidth(rc);
    bool bShow = cxOverflow > 0;
    if (bShow) m_pHorizontalScrollBar->SetScrollRange(Saturate(cxOverflow));
    if (bShow != bHBar) {
      m_pHorizontalScrollBar->SetVisible(bShow);
      if (!bShow) m_pHorizontalScrollBar->SetScrollRange(0);
      m_pHorizontalScrollBar->SetScrollPos(0);
      // The children's height changed with the bar: place them again.
      if (!m_bRelayout) {
        m_bRelayout = true;
        SetPos(m_rcItem);
        m_bRelayout = false;
        return;
      }
      rc.bottom = Saturate(int64_t{rc.bottom} + (bShow ? -1 : 1) * int64_t{m_pHorizontalScrollBar->GetFixedHeight()});
    }
  }
  ProcessScrollBar(rc, Saturate(cxNeeded), 0);
}

void CHorizontalLayoutUI::DoEvent(TEventUI& event) {
  if (m_separator.DoEvent(*this, m_rcItem, m_cxyFixed, event)) return;
  CContainerUI::DoEvent(event);
}

void CHorizontalLayoutUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) {
  if (pstrName != nullptr && wcscmp(pstrName, L"sepwidth") == 0)
    SetSepWidth(ParseInt(pstrValue));
  else if (pstrName != nullptr && wcscmp(pstrName, L"sepimm") == 0)
    SetSepImmMode(ParseBool(pstrValue));
  else
    CContainerUI::SetAttribute(pstrName, pstrValue);
}

void CHorizontalLayoutUI::DoPostPaint(HDC hDC, const RECT&) { m_separator.DoPostPaint(hDC, m_rcItem); }

}  // namespace SkinUI
