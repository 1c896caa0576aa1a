// The separator of a line layout: a band at one edge of the layout that
// the user drags to change the layout's fixed height (vertical layout) or
// width (horizontal layout). A positive size puts a band of that many
// pixels at the bottom or right edge, a negative one at the top or left.
//
// Drag states:
//   event        | idle                               | dragging (UISTATE_CAPTURED)
//   -------------+------------------------------------+---------------------------------------
//   button down  | in the band: dragging; the layout  | -
//                | paints the band after the window   |
//                | (post-paint) unless immediate      |
//   mouse move   | -                                  | the moved edge follows the mouse within
//                |                                    | the layout's limits; immediate mode
//                |                                    | moves the layout at once
//   button up    | -                                  | idle; the layout takes the new position
//   set cursor   | in the band: the resize cursor     | the same
#pragma once

#include "Win32.h"
#include "core/UIDefines.h"

namespace SkinUI {

class CControlUI;

class LineSeparator {
 public:
  explicit LineSeparator(bool bVertical) : m_bVertical(bVertical) {}

  int GetSize() const { return m_iSize; }
  void SetSize(int iSize) { m_iSize = iSize; }
  bool IsImmMode() const { return m_bImmMode; }
  void SetImmMode(CControlUI& layout, bool bImmediately);
  bool IsDragging() const { return (m_uButtonState & UISTATE_CAPTURED) != 0; }

  // The band, from the position being dragged to when bUseNewPos is set
  // and a drag is on, else from rcItem.
  RECT GetThumbRect(const RECT& rcItem, bool bUseNewPos) const;
  UINT GetControlFlags(const CControlUI& layout) const;
  // Whether the event was the separator's. The layout's item rectangle and
  // fixed size are changed in place: the siblings reflow at the button-up
  // unless in immediate mode.
  bool DoEvent(CControlUI& layout, RECT& rcItem, SIZE& cxyFixed, TEventUI& event);
  void DoPostPaint(HDC hDC, const RECT& rcItem) const;

 private:
  bool m_bVertical;
  int m_iSize = 0;
  UINT m_uButtonState = 0;
  POINT m_ptLastMouse = {0, 0};
  RECT m_rcNewPos = {0, 0, 0, 0};
  bool m_bImmMode = false;
};

}  // namespace SkinUI
