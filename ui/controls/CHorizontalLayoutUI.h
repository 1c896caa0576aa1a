// A line layout that places its children left to right: fixed sizes first, the
// rest of the space shared by the children of automatic size. It can also
// be a splitter: a separator band at its right (negative: left) edge
// drags its fixed size (attributes "sepwidth", "sepimm").
#pragma once

#include "controls/CContainerUI.h"
#include "controls/LineSeparator.h"

namespace SkinUI {

class CHorizontalLayoutUI : public CContainerUI {
 public:
  CHorizontalLayoutUI();

  LPCWSTR GetClass() const override;
  LPVOID GetInterface(LPCWSTR pstrName) override;
  UINT GetControlFlags() const override;

  void SetSepWidth(int iWidth);
  int GetSepWidth() const;
  void SetSepImmMode(bool bImmediately);
  bool IsSepImmMode() const;
  RECT GetThumbRect(bool bUseNew = false) const;

  void SetPos(RECT rc) override;
  void DoEvent(TEventUI& event) override;
  void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;
  void DoPostPaint(HDC hDC, const RECT& rcPaint) override;

 private:
  LineSeparator m_separator;
  bool m_bRelayout = false;  // guard while the horizontal bar that just appeared or left re-runs the layout
};

}  // namespace SkinUI
