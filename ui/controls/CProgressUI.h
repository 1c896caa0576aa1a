// A label whose foreground image is revealed in proportion to a value
// between a minimum and a maximum: from the left, or from the bottom.
#pragma once

#include "controls/CLabelUI.h"

namespace SkinUI {

class CProgressUI : public CLabelUI {
 public:
  CProgressUI();

  LPCWSTR GetClass() const override;
  LPVOID GetInterface(LPCWSTR pstrName) override;

  bool IsHorizontal() const;
  void SetHorizontal(bool bHorizontal = true);
  bool IsStretchForeImage() const;
  void SetStretchForeImage(bool bStretchForeImage = true);
  int GetMinValue() const;
  void SetMinValue(int nMin);
  int GetMaxValue() const;
  void SetMaxValue(int nMax);
  int GetValue() const;
  // Ignored outside the minimum and maximum.
  void SetValue(int nValue);

  void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;
  void PaintStatusImage(HDC hDC) override;

 protected:
  bool m_bHorizontal = true;
  bool m_bStretchForeImage = true;
  int m_nMax = 100;
  int m_nMin = 0;
  int m_nValue = 0;
  CDuiString m_sForeImageModify;
};

}  // namespace SkinUI
