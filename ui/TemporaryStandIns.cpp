// Stand-ins for definitions another branch brings; removed when it lands.
//
// The control base is declared here alone, with only its first virtual
// function, so that this file emits the class's type information: the
// sanitizer builds check calls through control pointers against it.
// Nothing here may touch a control's fields.
namespace SkinUI {

class CControlUI {
 public:
  virtual ~CControlUI();
  void Invalidate();
};

CControlUI::~CControlUI() = default;
void CControlUI::Invalidate() {}

}  // namespace SkinUI
