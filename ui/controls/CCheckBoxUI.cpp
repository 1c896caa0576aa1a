#include "controls/CCheckBoxUI.h"

namespace SkinUI {

LPCWSTR CCheckBoxUI::GetClass() const { return L"CheckBoxUI"; }
bool CCheckBoxUI::GetCheck() const { return IsSelected(); }
void CCheckBoxUI::SetCheck(bool bCheck) { Selected(bCheck); }

}  // namespace SkinUI
