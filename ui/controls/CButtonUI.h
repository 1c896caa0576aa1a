// A label that can be pressed: hot, pushed, focused and disabled looks
// (state images, colours), "click" when released inside or on space and
// return, and an optional tab layout page selected by the click.
//
// Mouse and capture, by event (StateCaptured and StatePushed):
//
//   event                    | not captured                | captured
//   -------------------------+-----------------------------+-----------------------------------
//   button down / double     | inside and enabled: pushed  | the same
//                            | and captured                |
//   move                     | nothing                     | pushed while inside, else not
//   button up                | nothing                     | Activate when inside; neither
//                            |                             | pushed nor captured afterwards
//   enter / leave (enabled)  | hot / not hot               | the same
#pragma once

#include "controls/CLabelUI.h"

namespace SkinUI {

class CButtonUI : public CLabelUI {
 public:
  CButtonUI();

  LPCWSTR GetClass() const override;
  LPVOID GetInterface(LPCWSTR pstrName) override;
  UINT GetControlFlags() const override;

  bool Activate() override;
  void SetEnabled(bool bEnable = true) override;
  void DoEvent(TEventUI& event) override;

  DWORD GetHotBkColor() const;
  void SetHotBkColor(DWORD dwColor);
  DWORD GetHotTextColor() const;
  void SetHotTextColor(DWORD dwColor);
  DWORD GetPushedTextColor() const;
  void SetPushedTextColor(DWORD dwColor);
  DWORD GetFocusedTextColor() const;
  void SetFocusedTextColor(DWORD dwColor);
  LPCWSTR GetHotForeImage() const;
  void SetHotForeImage(LPCWSTR pStrImage);
  LPCWSTR GetPushedForeImage() const;
  void SetPushedForeImage(LPCWSTR pStrImage);

  void BindTabIndex(int index);
  void BindTabLayoutName(LPCWSTR pstrName);
  // Selects a page of the bound tab layout: index when it is >= 0, else
  // the bound index.
  void BindTriggerTabSel(int index = -1);
  void RemoveBindTabIndex();
  int GetBindTabLayoutIndex() const;
  LPCWSTR GetBindTabLayoutName() const;

  void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;
  SIZE EstimateSize(SIZE szAvailable) override;
  void PaintStatusImage(HDC hDC) override;
  void PaintText(HDC hDC) override;

 protected:
  // The focused and disabled bits follow the control before painting.
  void UpdatePaintState();
  // An image worth trying: set, and not failed to load before.
  static bool IsUsable(const CImageAttribute& image);
  // Draws a usable image; false when it is not usable or failed to draw.
  bool DrawUsable(HDC hDC, CImageAttribute& image);
  // The state images; whether the foreground image was drawn among them.
  bool PaintStateImages(HDC hDC);

  UINT m_uButtonState = 0;
  DWORD m_dwHotBkColor = 0;
  DWORD m_dwHotTextColor = 0;
  DWORD m_dwPushedTextColor = 0;
  DWORD m_dwFocusedTextColor = 0;
  CImageAttribute m_diHotFore;
  CImageAttribute m_diPushedFore;
  int m_iBindTabIndex = -1;
  CDuiString m_sBindTabLayoutName;
};

}  // namespace SkinUI
