// Stand-ins for definitions another branch brings; removed when it lands.
#include "controls/CControlUI.h"

namespace SkinUI {

void CControlUI::Invalidate() {}

}  // namespace SkinUI
