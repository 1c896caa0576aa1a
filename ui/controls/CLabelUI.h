// A text in a font and colour inside padding, plain or with mark-up, on one
// line by default; with auto width it is as wide as its text.
#pragma once

#include "controls/CControlUI.h"

namespace SkinUI {

class CLabelUI : public CControlUI {
 public:
  CLabelUI();

  LPCWSTR GetClass() const override;
  LPVOID GetInterface(LPCWSTR pstrName) override;

  // With auto width a new text, font or padding asks for a new layout.
  void SetText(LPCWSTR pstrText) override;

  DWORD GetTextColor() const;
  void SetTextColor(DWORD dwTextColor);
  DWORD GetDisabledTextColor() const;
  void SetDisabledTextColor(DWORD dwTextColor);
  int GetFont() const;
  void SetFont(int index);
  UINT GetTextStyle() const;
  void SetTextStyle(UINT uStyle);
  RECT GetTextPadding() const;
  void SetTextPadding(RECT rc);
  bool IsShowHtml() const;
  void SetShowHtml(bool bShowHtml = true);

  void DoEvent(TEventUI& event) override;
  void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;
  SIZE EstimateSize(SIZE szAvailable) override;
  void PaintText(HDC hDC) override;

  virtual bool GetAutoCalcWidth() const;
  virtual void SetAutoCalcWidth(bool bAutoCalcWidth);

 protected:
  // Fills the colours left at 0 from the manager's defaults, once.
  void TakeDefaultColors();
  // The text rectangle: the item reduced by the text padding.
  RECT TextRect() const;
  // Draws the text in a colour with a style, with or without mark-up.
  void DrawLabelText(HDC hDC, RECT rc, DWORD dwColor, UINT uStyle);
  // Asks for a new layout when the width follows the text.
  void RemeasureWidth();
  // A control that takes no mouse input hands mouse events to its parent
  // (or to the label's handling without one); true when it did.
  bool PassOnMouseEvent(TEventUI& event);

  DWORD m_dwTextColor = 0;
  DWORD m_dwDisabledTextColor = 0;
  int m_iFont = -1;
  UINT m_uTextStyle = DT_VCENTER;
  RECT m_rcTextPadding = {0, 0, 0, 0};
  bool m_bShowHtml = false;
  bool m_bAutoCalcWidth = false;
};

}  // namespace SkinUI
