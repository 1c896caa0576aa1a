// A container that arranges its children in rows of equal columns, each
// child centred in its tile. With an item width the columns follow from
// the width ("itemsize"), else they are given ("columns").
#pragma once

#include "controls/CContainerUI.h"

namespace SkinUI {

class CTileLayoutUI : public CContainerUI {
 public:
  CTileLayoutUI();

  LPCWSTR GetClass() const override;
  LPVOID GetInterface(LPCWSTR pstrName) override;

  SIZE GetItemSize() const;
  void SetItemSize(SIZE szItem);
  int GetColumns() const;
  void SetColumns(int nCols);

  void SetPos(RECT rc) override;
  void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;

 protected:
  SIZE m_szItem = {0, 0};
  int m_nColumns = 1;
};

}  // namespace SkinUI
