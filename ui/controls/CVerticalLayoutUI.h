// A line layout that stacks its children top to bottom: fixed sizes first, the
// rest of the space shared by the children of automatic size. It can also
// be a splitter: a separator band at its bottom (negative: top) edge
// drags its fixed size (attributes "sepheight", "sepimm").
#pragma once

#include "controls/CContainerUI.h"
#include "controls/LineSeparator.h"

namespace SkinUI {

class CVerticalLayoutUI : public CContainerUI {
 public:
  CVerticalLayoutUI();

  LPCWSTR GetClass() const override;
  LPVOID GetInterface(LPCWSTR pstrName) override;
  UINT GetControlFlags() const override;

  void SetSepHeight(int iHeight);
  int GetSepHeight() const;
  void SetSepImmMode(bool bImmediately);
  bool IsSepImmMode() const;
  RECT GetThumbRect(bool bUseNew = false) const;

  void SetPos(RECT rc) override;
  void DoEvent(TEventUI& event) override;
  void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;
  void DoPostPaint(HDC hDC, const RECT& rcPaint) override;

 private:
  LineSeparator m_separator;
};

}  // namespace SkinUI
