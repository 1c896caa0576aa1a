// A button with a selected state. Options of one group (by name, per
// window) are exclusive: selecting one deselects the others. Selecting
// sends "selectchanged"; so does deselecting an option without a group.
#pragma once

#include "controls/CButtonUI.h"

namespace SkinUI {

class COptionUI : public CButtonUI {
 public:
  COptionUI();
  ~COptionUI() override;

  LPCWSTR GetClass() const override;
  LPVOID GetInterface(LPCWSTR pstrName) override;

  // Joins the new window's group and leaves the old window's.
  void SetManager(CPaintManagerUI* pManager, CControlUI* pParent, bool bInit = true) override;

  bool IsSelected() const;
  LPCWSTR GetGroup() const;
  void SetGroup(LPCWSTR pStrGroupName = nullptr);
  DWORD GetSelectBkColor() const;
  void SetSelectedBkColor(DWORD dwBkColor);
  // The colour selected text is drawn in: the one set, else the window's
  // default font colour (0 without a window).
  DWORD GetSelectedTextColor() const;
  void SetSelectedTextColor(DWORD dwTextColor);
  LPCWSTR GetSelectedImage() const;
  void SetSelectedImage(LPCWSTR pStrImage);
  LPCWSTR GetSelectedHotImage() const;
  void SetSelectedHotImage(LPCWSTR pStrImage);
  LPCWSTR GetSelectedPushedImage() const;
  void SetSelectedPushedImage(LPCWSTR pStrImage);
  LPCWSTR GetSelectedForedImage() const;
  void SetSelectedForedImage(LPCWSTR pStrImage);

  bool Activate() override;
  void SetEnabled(bool bEnable = true) override;
  void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;
  void PaintStatusImage(HDC hDC) override;
  void PaintText(HDC hDC) override;

  virtual void Selected(bool bSelected);

 protected:
  // Deselects the other members of this option's group in its window.
  void DeselectOthers();

  bool m_bSelected = false;
  CDuiString m_sGroupName;
  DWORD m_dwSelectedBkColor = 0;
  DWORD m_dwSelectedTextColor = 0;
  CImageAttribute m_diSelected;
  CImageAttribute m_diSelectedHot;
  CImageAttribute m_diSelectedPushed;
  CImageAttribute m_diSelectedFore;
};

}  // namespace SkinUI
