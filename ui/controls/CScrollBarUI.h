// The scroll bar a container needs: a plain track with a thumb whose length
// shows the page, a range and a clamped position. A press on the track
// pages, the thumb drags, and the owner container does the scrolling (its
// line and page steps); events the bar does not use go to the owner.
// A new bar is vertical, 16 pixels thick, and hidden until its owner's
// layout needs it.
#pragma once

#include "controls/CControlUI.h"

namespace SkinUI {

class CContainerUI;

class CScrollBarUI : public CControlUI {
 public:
  static constexpr int kThickness = 16;
  static constexpr int kMinThumb = 10;

  CScrollBarUI();

  LPCWSTR GetClass() const override;
  LPVOID GetInterface(LPCWSTR pstrName) override;

  CContainerUI* GetOwner() const;
  void SetOwner(CContainerUI* pOwner);
  bool IsHorizontal() const;
  void SetHorizontal(bool bHorizontal = true);
  // At least 0; a position beyond a new range is pulled back.
  int GetScrollRange() const;
  void SetScrollRange(int nRange);
  // Clamped to 0 ... range.
  int GetScrollPos() const;
  void SetScrollPos(int nPos);
  // The step of a bar without an owner.
  int GetLineSize() const;
  void SetLineSize(int nSize);
  DWORD GetThumbColor() const;
  void SetThumbColor(DWORD dwColor);
  // Where the thumb is, in window coordinates.
  RECT GetThumbRect() const;

  void SetPos(RECT rc) override;
  void DoEvent(TEventUI& event) override;
  void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;
  void PaintStatusImage(HDC hDC) override;

 private:
  // The track's extent along the bar, the thumb's length and its offset.
  int TrackLength() const;
  int ThumbLength() const;
  int ThumbOffset() const;
  void ScrollTo(int64_t nPos);
  void Page(int nDirection);

  CContainerUI* m_pOwner = nullptr;
  bool m_bHorizontal = false;
  int m_nRange = 0;
  int m_nPos = 0;
  int m_nLineSize = 8;
  DWORD m_dwThumbColor = 0xFFC2C2C2;
  UINT m_uButtonState = 0;
  POINT m_ptDragStart = {0, 0};
  int m_nDragStartPos = 0;
};

}  // namespace SkinUI
