// Mark-up text on arbitrary input: drawn into a small bitmap with three
// link slots and measured, with the style flags and the box taken from the
// first two bytes.
#include <string>

#include "manager/CPaintManagerUI.h"
#include "render/CRenderEngine.h"

using namespace SkinUI;

namespace {

struct Canvas {
  HDC dc = CreateCompatibleDC(nullptr);
  BYTE* bits = nullptr;
  HBITMAP target = CRenderEngine::CreateBitmap(nullptr, 64, 32, &bits);
  CPaintManagerUI manager;
  Canvas() {
    SelectObject(dc, target);
    BYTE* p = nullptr;
    HBITMAP image = CRenderEngine::CreateBitmap(nullptr, 12, 6, &p);
    for (int i = 0; i < 12 * 6 * 4; ++i) p[i] = static_cast<BYTE>(i * 37);
    manager.AddImage(L"x", image, 12, 6, true);
  }
};

constexpr UINT kStyles[] = {DT_CENTER,    DT_RIGHT,      DT_VCENTER,     DT_BOTTOM,
                            DT_WORDBREAK, DT_SINGLELINE, DT_END_ELLIPSIS};

}  // namespace

extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Canvas canvas;
  if (size < 2) return 0;
  UINT style = 0;
  for (int i = 0; i < 7; ++i)
    if (data[0] & (1 << i)) style |= kStyles[i];
  const RECT box = {data[1] & 7, (data[1] >> 3) & 3, 64 - ((data[1] >> 5) & 7) * 8, 32};
  // Bytes are units; the upper half stands for ideographs.
  std::wstring text;
  for (size_t i = 2; i < size; ++i)
    text += data[i] < 0x80 ? static_cast<wchar_t>(data[i]) : L'\x4E00' + data[i];
  canvas.manager.RemoveAllFonts();
  canvas.manager.AddFont(L"Sans", 14, true, false, false);
  RECT links[3] = {};
  CDuiString texts[3];
  int count = 3;
  RECT rc = box;
  CRenderEngine::DrawHtmlText(canvas.dc, &canvas.manager, rc, text.c_str(), 0xFF000000, links, texts, count,
                              style);
  if (count < 0 || count > 3) __builtin_trap();
  rc = RECT{box.left, box.top, box.right, 9999};
  count = 3;
  CRenderEngine::DrawHtmlText(canvas.dc, &canvas.manager, rc, text.c_str(), 0xFF000000, links, texts, count,
                              style | DT_CALCRECT);
  if (rc.right > box.right || rc.right < box.left || rc.bottom < box.top) __builtin_trap();
  return 0;
}
