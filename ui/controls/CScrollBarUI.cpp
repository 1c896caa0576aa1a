#include "controls/CScrollBarUI.h"

#include <algorithm>
#include <cwchar>

#include "controls/CContainerUI.h"
#include "controls/LayoutMath.h"
#include "core/AttributeValues.h"
#include "render/CRenderEngine.h"

namespace SkinUI {

CScrollBarUI::CScrollBarUI() {
  m_cxyFixed.cx = kThickness;
  m_bVisible = false;
  m_dwBackColor = 0xFFF0F0F0;
}

LPCWSTR CScrollBarUI::GetClass() const { return L"ScrollBarUI"; }

LPVOID CScrollBarUI::GetInterface(LPCWSTR pstrName) {
  if (pstrName != nullptr && wcscmp(pstrName, L"ScrollBar") == 0) return this;
  return CControlUI::GetInterface(pstrName);
}

CContainerUI* CScrollBarUI::GetOwner() const { return m_pOwner; }
void CScrollBarUI::SetOwner(CContainerUI* pOwner) { m_pOwner = pOwner; }
bool CScrollBarUI::IsHorizontal() const { return m_bHorizontal; }

void CScrollBarUI::SetHorizontal(bool bHorizontal) {
  if (m_bHorizontal == bHorizontal) return;
  m_bHorizontal = bHorizontal;
  m_cxyFixed = bHorizontal ? SIZE{0, kThickness} : SIZE{kThickness, 0};
  NeedParentUpdate();
}

int CScrollBarUI::GetScrollRange() const { return m_nRange; }

void CScrollBarUI::SetScrollRange(int nRange) {
  nRange = (std::max)(nRange, 0);
  if (m_nRange == nRange) return;
  m_nRange = nRange;
  if (m_nPos > m_nRange) m_nPos = m_nRange;
  Invalidate();
}

int CScrollBarUI::GetScrollPos() const { return m_nPos; }

void CScrollBarUI::SetScrollPos(int nPos) {
  nPos = std::clamp(nPos, 0, m_nRange);
  if (m_nPos == nPos) return;
  m_nPos = nPos;
  Invalidate();
}

int CScrollBarUI::GetLineSize() const { return m_nLineSize; }

void CScrollBarUI::SetLineSize(int nSize) {
  if (nSize > 0) m_nLineSize = nSize;
}

DWORD CScrollBarUI::GetThumbColor() const { return m_dwThumbColor; }

void CScrollBarUI::SetThumbColor(DWORD dwColor) {
  if (m_dwThumbColor == dwColor) return;
  m_dwThumbColor = dwColor;
  Invalidate();
}

int CScrollBarUI::TrackLength() const { return m_bHorizontal ? GetWidth() : GetHeight(); }

// The thumb is to the track what the page is to page plus range; the bar's
// own length stands for the page.
int CScrollBarUI::ThumbLength() const {
  int64_t track = (std::max)(TrackLength(), 0);
  if (m_nRange <= 0 || track == 0) return static_cast<int>(track);
  int64_t thumb = track * track / (track + m_nRange);
  return static_cast<int>(std::clamp<int64_t>(thumb, std::min<int64_t>(kMinThumb, track), track));
}

int CScrollBarUI::ThumbOffset() const {
  if (m_nRange <= 0) return 0;
  int64_t travel = (std::max)(TrackLength(), 0) - ThumbLength();
  return static_cast<int>(travel * m_nPos / m_nRange);
}

RECT CScrollBarUI::GetThumbRect() const {
  RECT rc = m_rcItem;
  int offset = ThumbOffset(), length = ThumbLength();
  if (m_bHorizontal) {
    rc.left = Saturate(int64_t{m_rcItem.left} + offset);
    rc.right = Saturate(int64_t{rc.left} + length);
  } else {
    rc.top = Saturate(int64_t{m_rcItem.top} + offset);
    rc.bottom = Saturate(int64_t{rc.top} + length);
  }
  return rc;
}

void CScrollBarUI::SetPos(RECT rc) {
  CControlUI::SetPos(rc);
  Invalidate();
}

void CScrollBarUI::ScrollTo(int64_t nPos) {
  int pos = static_cast<int>(std::clamp<int64_t>(nPos, 0, m_nRange));
  if (m_pOwner == nullptr) {
    SetScrollPos(pos);
    return;
  }
  SIZE sz = m_pOwner->GetScrollPos();
  (m_bHorizontal ? sz.cx : sz.cy) = pos;
  m_pOwner->SetScrollPos(sz);
}

void CScrollBarUI::Page(int nDirection) {
  if (m_pOwner == nullptr) {
    ScrollTo(int64_t{m_nPos} + int64_t{nDirection} * TrackLength());
  } else if (m_bHorizontal) {
    nDirection < 0 ? m_pOwner->PageLeft() : m_pOwner->PageRight();
  } else {
    nDirection < 0 ? m_pOwner->PageUp() : m_pOwner->PageDown();
  }
}

// Drag states:
//   event         | idle                                | dragging (UISTATE_CAPTURED)
//   --------------+-------------------------------------+----------------------------------
//   button down   | on the thumb: start dragging;       | -
//                 | before / after it: page back / on   |
//   mouse move    | -                                   | position follows the thumb
//   button up     | -                                   | idle
//   anything else | to the owner (wheel, keys)          | to the owner
void CScrollBarUI::DoEvent(TEventUI& event) {
  switch (event.Type) {
    case UIEVENT_BUTTONDOWN:
    case UIEVENT_DBLCLICK: {
      if (!IsEnabled()) return;
      RECT rcThumb = GetThumbRect();
      if (::PtInRect(&rcThumb, event.ptMouse)) {
        m_uButtonState |= UISTATE_CAPTURED;
        m_ptDragStart = event.ptMouse;
        m_nDragStartPos = m_nPos;
      } else {
        LONG at = m_bHorizontal ? event.ptMouse.x : event.ptMouse.y;
        LONG thumbStart = m_bHorizontal ? rcThumb.left : rcThumb.top;
        Page(at < thumbStart ? -1 : 1);
      }
      Invalidate();
      return;
    }
    case UIEVENT_BUTTONUP:
      if ((m_uButtonState & UISTATE_CAPTURED) == 0) break;
      m_uButtonState &= ~UISTATE_CAPTURED;
      Invalidate();
      return;
    case UIEVENT_MOUSEMOVE: {
      if ((m_uButtonState & UISTATE_CAPTURED) == 0) break;
      int64_t travel = int64_t{(std::max)(TrackLength(), 0)} - ThumbLength();
      if (travel <= 0) return;
      int64_t moved = m_bHorizontal ? int64_t{event.ptMouse.x} - m_ptDragStart.x
                                    : int64_t{event.ptMouse.y} - m_ptDragStart.y;
      ScrollTo(m_nDragStartPos + moved * m_nRange / travel);
      return;
    }
    case UIEVENT_SETFOCUS:
    case UIEVENT_KILLFOCUS:
    case UIEVENT_SETCURSOR:
    case UIEVENT_TIMER: CControlUI::DoEvent(event); return;
    case UIEVENT_SCROLLWHEEL:
      if (m_pOwner == nullptr) {
        ScrollTo(int64_t{m_nPos} + (LOWORD(event.wParam) == 0 ? -m_nLineSize : m_nLineSize));
        return;
      }
      break;
    default: break;
  }
  if (m_pOwner != nullptr)
    m_pOwner->DoEvent(event);
  else
    CControlUI::DoEvent(event);
}

void CScrollBarUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) {
  if (pstrName != nullptr && wcscmp(pstrName, L"thumbcolor") == 0)
    SetThumbColor(ParseColor(pstrValue));
  else if (pstrName != nullptr && wcscmp(pstrName, L"linesize") == 0)
    SetLineSize(ParseInt(pstrValue));
  else
    CControlUI::SetAttribute(pstrName, pstrValue);
}

void CScrollBarUI::PaintStatusImage(HDC hDC) {
  if (m_dwThumbColor == 0 || m_nRange <= 0) return;
  RECT rcThumb = GetThumbRect(), rcPaint;
  if (!::IntersectRect(&rcPaint, &rcThumb, &m_rcPaint)) return;
  DWORD dwColor = m_dwThumbColor;
  // A dragged thumb is drawn darker.
  if ((m_uButtonState & UISTATE_CAPTURED) != 0)
    dwColor = (dwColor & 0xFF000000) | ((dwColor >> 1) & 0x007F7F7F);
  CRenderEngine::DrawColor(hDC, rcPaint, GetAdjustColor(dwColor));
}

}  // namespace SkinUI
