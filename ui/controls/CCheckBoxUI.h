// An option under its own class name, checked and unchecked.
#pragma once

#include "controls/COptionUI.h"

namespace SkinUI {

class CCheckBoxUI : public COptionUI {
 public:
  LPCWSTR GetClass() const override;

  bool GetCheck() const;
  void SetCheck(bool bCheck);
};

}  // namespace SkinUI
