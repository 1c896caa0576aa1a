#include "controls/LineSeparator.h"

#include <algorithm>

#include "controls/CControlUI.h"
#include "controls/LayoutMath.h"
#include "manager/CPaintManagerUI.h"
#include "render/CRenderEngine.h"

namespace SkinUI {

namespace {

// The edges along the drag: top and bottom of a vertical layout, left and
// right of a horizontal one.
LONG& Start(RECT& rc, bool bVertical) { return bVertical ? rc.top : rc.left; }
LONG& End(RECT& rc, bool bVertical) { return bVertical ? rc.bottom : rc.right; }
LONG Along(POINT pt, bool bVertical) { return bVertical ? pt.y : pt.x; }

}  // namespace

void LineSeparator::SetImmMode(CControlUI& layout, bool bImmediately) {
  if (m_bImmMode == bImmediately) return;
  if (IsDragging() && !m_bImmMode && layout.GetManager() != nullptr) layout.GetManager()->RemovePostPaint(&layout);
  m_bImmMode = bImmediately;
}

RECT LineSeparator::GetThumbRect(const RECT& rcItem, bool bUseNewPos) const {
  RECT rc = (IsDragging() && bUseNewPos) ? m_rcNewPos : rcItem;
  LONG start = Start(rc, m_bVertical), end = End(rc, m_bVertical);
  if (m_iSize >= 0) {
    LONG bandStart = Saturate(int64_t{end} - m_iSize);
    // A vertical band stays inside the layout; a horizontal one may not.
    Start(rc, m_bVertical) = m_bVertical ? (std::max)(bandStart, start) : bandStart;
  } else {
    LONG bandEnd = Saturate(int64_t{start} - m_iSize);
    End(rc, m_bVertical) = m_bVertical ? (std::min)(bandEnd, end) : bandEnd;
  }
  return rc;
}

UINT LineSeparator::GetControlFlags(const CControlUI& layout) const {
  return layout.IsEnabled() && m_iSize != 0 ? UIFLAG_SETCURSOR : 0;
}

bool LineSeparator::DoEvent(CControlUI& layout, RECT& rcItem, SIZE& cxyFixed, TEventUI& event) {
  if (m_iSize == 0) return false;
  CPaintManagerUI* pManager = layout.GetManager();
  switch (event.Type) {
    case UIEVENT_BUTTONDOWN: {
      if (!layout.IsEnabled()) return false;
      RECT rcBand = GetThumbRect(rcItem, false);
      if (!::PtInRect(&rcBand, event.ptMouse)) return false;
      m_uButtonState |= UISTATE_CAPTURED;
      m_ptLastMouse = event.ptMouse;
      m_rcNewPos = rcItem;
      if (!m_bImmMode && pManager != nullptr) pManager->AddPostPaint(&layout);
      return true;
    }
    case UIEVENT_BUTTONUP:
      if (!IsDragging()) return false;
      m_uButtonState &= ~UISTATE_CAPTURED;
      rcItem = m_rcNewPos;
      if (!m_bImmMode && pManager != nullptr) pManager->RemovePostPaint(&layout);
      layout.NeedParentUpdate();
      return true;
    case UIEVENT_MOUSEMOVE: {
      if (!IsDragging()) return false;
      int64_t d = int64_t{Along(event.ptMouse, m_bVertical)} - Along(m_ptLastMouse, m_bVertical);
      m_ptLastMouse = event.ptMouse;
      LONG at = Along(event.ptMouse, m_bVertical);
      RECT rc = m_rcNewPos;
      // The edge moves only while the mouse is on its side of the band, so
      // that it waits for the mouse once it stopped at a limit.
      if (m_iSize >= 0) {
        LONG& edge = End(rc, m_bVertical);
        if (d > 0 && at < int64_t{edge} - m_iSize) return true;
        if (d < 0 && at > edge) return true;
        edge = Saturate(edge + d);
      } else {
        LONG& edge = Start(rc, m_bVertical);
        if (d > 0 && at < edge) return true;
        if (d < 0 && at > int64_t{edge} - m_iSize) return true;
        edge = Saturate(edge + d);
      }
      LONG nMin = m_bVertical ? layout.GetMinHeight() : layout.GetMinWidth();
      LONG nMax = m_bVertical ? layout.GetMaxHeight() : layout.GetMaxWidth();
      auto size = [this](RECT r) { return m_bVertical ? RectHeight(r) : RectWidth(r); };
      // Sets the size by moving the edge being dragged.
      auto resize = [&](LONG nSize) {
        if (m_iSize >= 0)
          End(rc, m_bVertical) = Saturate(int64_t{Start(rc, m_bVertical)} + nSize);
        else
          Start(rc, m_bVertical) = Saturate(int64_t{End(rc, m_bVertical)} - nSize);
      };
      if (size(rc) <= nMin) {
        if (size(m_rcNewPos) <= nMin) return true;
        resize(nMin);
      }
      if (size(rc) >= nMax) {
        if (size(m_rcNewPos) >= nMax) return true;
        resize(nMax);
      }
      RECT rcOldBand = GetThumbRect(rcItem, true);
      m_rcNewPos = rc;
      (m_bVertical ? cxyFixed.cy : cxyFixed.cx) = size(rc);
      if (m_bImmMode) {
        rcItem = m_rcNewPos;
        layout.NeedParentUpdate();
      } else if (pManager != nullptr) {
        RECT rcNewBand = GetThumbRect(rcItem, true), rcItemBand = GetThumbRect(rcItem, false), rcInvalidate;
        ::UnionRect(&rcInvalidate, &rcOldBand, &rcNewBand);
        ::UnionRect(&rcInvalidate, &rcInvalidate, &rcItemBand);
        pManager->Invalidate(rcInvalidate);
      }
      return true;
    }
    case UIEVENT_SETCURSOR: {
      if (!layout.IsEnabled()) return false;
      RECT rcBand = GetThumbRect(rcItem, false);
      if (!::PtInRect(&rcBand, event.ptMouse)) return false;
      ::SetCursor(::LoadCursorW(nullptr, m_bVertical ? IDC_SIZENS : IDC_SIZEWE));
      return true;
    }
    default: return false;
  }
}

void LineSeparator::DoPostPaint(HDC hDC, const RECT& rcItem) const {
  if (!IsDragging() || m_bImmMode) return;
  CRenderEngine::DrawColor(hDC, GetThumbRect(rcItem, true), 0xAA000000);
}

}  // namespace SkinUI
