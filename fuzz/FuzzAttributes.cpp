// Attribute text on controls: the first byte picks the root's kind, the
// rest is split at line feeds into attribute lists, the first for the root
// and one for each child (up to 32, of three kinds). The tree is laid out
// at several sizes, scrolled, hit-tested and painted into a small bitmap.
#include <string>
#include <vector>

#include "controls/CContainerUI.h"
#include "controls/CHorizontalLayoutUI.h"
#include "controls/CTabLayoutUI.h"
#include "controls/CTileLayoutUI.h"
#include "controls/CVerticalLayoutUI.h"
#include "manager/CPaintManagerUI.h"

using namespace SkinUI;

namespace {

CContainerUI* MakeContainer(unsigned kind) {
  switch (kind % 5) {
    case 0: return new CContainerUI;
    case 1: return new CVerticalLayoutUI;
    case 2: return new CHorizontalLayoutUI;
    case 3: return new CTileLayoutUI;
    default: return new CTabLayoutUI;
  }
}

CControlUI* MakeChild(size_t index) {
  switch (index % 3) {
    case 0: return new CControlUI;
    case 1: return new CVerticalLayoutUI;
    default: return new CHorizontalLayoutUI;
  }
}

}  // namespace

// Fontconfig keeps its parsed configuration until the process ends.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1 || size > 8192) return 0;
  // Each byte is one unit: blanks, quotes, '=' and digits are what matter.
  std::vector<std::wstring> lists(1);
  for (size_t i = 1; i < size; ++i) {
    if (data[i] == '\n') {
      if (lists.size() == 33) break;
      lists.emplace_back();
    } else {
      lists.back() += static_cast<wchar_t>(data[i]);
    }
  }

  CPaintManagerUI pm;
  CContainerUI* root = MakeContainer(data[0]);
  pm.AttachDialog(root);
  root->ApplyAttributeList(lists[0].c_str());
  for (size_t i = 1; i < lists.size(); ++i) {
    CControlUI* child = MakeChild(i);
    if (!root->Add(child)) {
      delete child;
      continue;
    }
    child->ApplyAttributeList(lists[i].c_str());
  }

  const RECT sizes[] = {{0, 0, 300, 200}, {0, 0, 1, 1}, {0, 0, 0, 0}, {-50, -50, 5000, 30}, {0, 0, 301, 201}};
  for (const RECT& rc : sizes) {
    root->SetPos(rc);
    root->SetScrollPos(SIZE{1 << 30, 1 << 30});
    root->LineDown();
    root->PageUp();
    root->EndRight();
    root->HomeLeft();
    pm.FindControl(POINT{10, 10});
    pm.FindControl(POINT{299, 199});
  }

  HDC hDC = ::CreateCompatibleDC(nullptr);
  BITMAPINFO bmi = {};
  bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bmi.bmiHeader.biWidth = 64;
  bmi.bmiHeader.biHeight = -64;
  bmi.bmiHeader.biPlanes = 1;
  bmi.bmiHeader.biBitCount = 32;
  void* pBits = nullptr;
  HBITMAP hBitmap = ::CreateDIBSection(hDC, &bmi, DIB_RGB_COLORS, &pBits, nullptr, 0);
  HGDIOBJ hOld = ::SelectObject(hDC, hBitmap);
  root->SetPos(RECT{0, 0, 64, 64});
  root->DoPaint(hDC, RECT{0, 0, 64, 64});
  ::SelectObject(hDC, hOld);
  ::DeleteObject(hBitmap);
  ::DeleteDC(hDC);
  return 0;
}
