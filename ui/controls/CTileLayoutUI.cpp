#include "controls/CTileLayoutUI.h"

#include <algorithm>
#include <cwchar>

#include "controls/CScrollBarUI.h"
#include "controls/LayoutMath.h"
#include "core/AttributeValues.h"

namespace SkinUI {

CTileLayoutUI::CTileLayoutUI() = default;

LPCWSTR CTileLayoutUI::GetClass() const { return L"TileLayoutUI"; }

LPVOID CTileLayoutUI::GetInterface(LPCWSTR pstrName) {
  if (pstrName != nullptr && wcscmp(pstrName, L"TileLayout") == 0) return this;
  return CContainerUI::GetInterface(pstrName);
}

SIZE CTileLayoutUI::GetItemSize() const { return m_szItem; }

void CTileLayoutUI::SetItemSize(SIZE szItem) {
  if (m_szItem.cx == szItem.cx && m_szItem.cy == szItem.cy) return;
  m_szItem = szItem;
  NeedUpdate();
}

int CTileLayoutUI::GetColumns() const { return m_nColumns; }

void CTileLayoutUI::SetColumns(int nCols) {
  if (nCols <= 0) return;
  m_nColumns = nCols;
  NeedUpdate();
}

// Tiles of equal width in rows; a row is as high as its highest member
// (measured once, at the row's first member). The child padding is split
// between neighbouring tiles: the outer tiles of a row lose half of it, the
// inner ones all of it.
void CTileLayoutUI::SetPos(RECT rc) {
  CControlUI::SetPos(rc);
  rc = ClientRect();
  if (m_items.IsEmpty()) {
    ProcessScrollBar(rc, 0, 0);
    return;
  }
  bool bVBar = IsVerticalBarShown(), bHBar = IsHorizontalBarShown();

  int64_t cxWidth = NonNegative(RectWidth(rc));
  if (m_szItem.cx > 0) m_nColumns = static_cast<int>((std::max<int64_t>)(cxWidth / m_szItem.cx, 1));
  int64_t nColumns = m_nColumns;
  int64_t cxTile = (cxWidth + (bHBar ? m_pHorizontalScrollBar->GetScrollRange() : 0)) / nColumns;

  int64_t x0 = rc.left - (bHBar ? int64_t{m_pHorizontalScrollBar->GetScrollPos()} : 0);
  int64_t y = rc.top - (bVBar ? int64_t{m_pVerticalScrollBar->GetScrollPos()} : 0);
  int64_t x = x0, cyRow = 0, cyNeeded = 0, nPlaced = 0;
  int64_t cxHalfPadding = m_iChildPadding / 2;
  for (int i = 0; i < m_items.GetSize(); ++i) {
    CControlUI* pControl = GetItemAt(i);
    if (!pControl->IsVisible()) continue;
    if (pControl->IsFloat()) {
      SetFloatPos(i);
      continue;
    }
    if (nPlaced % nColumns == 0) {
      int64_t k = nPlaced;
      for (int j = i; j < m_items.GetSize(); ++j) {
        CControlUI* pMember = GetItemAt(j);
        if (!pMember->IsVisible() || pMember->IsFloat()) continue;
        RECT rcPadding = pMember->GetPadding();
        bool bOuter = k == nPlaced || (k + 1) % nColumns == 0;
        int64_t cx = cxTile - rcPadding.left - rcPadding.right - (bOuter ? cxHalfPadding : m_iChildPadding);
        cx = ClampToLimits(NonNegative(cx), pMember->GetMinWidth(), pMember->GetMaxWidth());
        SIZE sz = pMember->EstimateSize(SIZE{static_cast<LONG>(cx), 9999});
        sz.cy = ClampToLimits(NonNegative(sz.cy), pMember->GetMinHeight(), pMember->GetMaxHeight());
        cyRow = std::max<int64_t>(cyRow, int64_t{sz.cy} + rcPadding.top + rcPadding.bottom);
        if (++k % nColumns == 0) break;
      }
    }

    RECT rcPadding = pControl->GetPadding();
    int64_t left = x + rcPadding.left + cxHalfPadding, right = x + cxTile - rcPadding.right - cxHalfPadding;
    if (nPlaced % nColumns == 0) left -= cxHalfPadding;
    if ((nPlaced + 1) % nColumns == 0) right += cxHalfPadding;
    int64_t top = y + rcPadding.top, bottom = y + cyRow;

    SIZE szTile = {NonNegative(right - left), NonNegative(bottom - top)};
    SIZE sz = pControl->EstimateSize(szTile);
    if (sz.cx == 0) sz.cx = szTile.cx;
    if (sz.cy == 0) sz.cy = szTile.cy;
    sz.cx = ClampToLimits(NonNegative(sz.cx), pControl->GetMinWidth(), pControl->GetMaxWidth());
    sz.cy = ClampToLimits(NonNegative(sz.cy), pControl->GetMinHeight(), pControl->GetMaxHeight());
    int64_t childLeft = (left + right - sz.cx) / 2, childTop = (top + bottom - sz.cy) / 2;
    pControl->SetPos(RECT{Saturate(childLeft), Saturate(childTop), Saturate(childLeft + sz.cx),
                          Saturate(childTop + sz.cy)});

    if (++nPlaced % nColumns == 0) {
      y += cyRow + m_iChildPadding;
      cyRow = 0;
      x = x0;
    } else {
      x += cxTile;
    }
    cyNeeded = bottom - rc.top + (bVBar ? m_pVerticalScrollBar->GetScrollPos() : 0);
  }
  ProcessScrollBar(rc, 0, Saturate(cyNeeded));
}

void CTileLayoutUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) {
  if (pstrName != nullptr && wcscmp(pstrName, L"itemsize") == 0)
    SetItemSize(ParseSize(pstrValue));
  else if (pstrName != nullptr && wcscmp(pstrName, L"columns") == 0)
    SetColumns(ParseInt(pstrValue));
  else
    CContainerUI::SetAttribute(pstrName, pstrValue);
}

}  // namespace SkinUI
