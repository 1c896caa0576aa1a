// A container that shows one child at a time, the selected one, over its
// inner area; the others are hidden. Selecting a page focuses it and
// sends "tabselect" (wParam the new index, lParam the old one).
#pragma once

#include "controls/CContainerUI.h"

namespace SkinUI {

class CTabLayoutUI : public CContainerUI {
 public:
  CTabLayoutUI();

  LPCWSTR GetClass() const override;
  LPVOID GetInterface(LPCWSTR pstrName) override;

  // A page that is not selected is hidden.
  bool Add(CControlUI* pControl) override;
  bool AddAt(CControlUI* pControl, int iIndex) override;
  bool Remove(CControlUI* pControl) override;
  // Through this layout's Remove, so that the selection stays on a child.
  bool RemoveAt(int iIndex) override;
  void RemoveAll() override;
  int GetCurSel() const;
  virtual bool SelectItem(CControlUI* pControl);
  virtual bool SelectItem(int iIndex);

  void SetPos(RECT rc) override;
  void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;

 protected:
  int m_iCurSel = -1;
};

}  // namespace SkinUI
