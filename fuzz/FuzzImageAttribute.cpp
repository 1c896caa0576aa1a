// Image description strings on arbitrary text: parsed, modified, loaded
// from a window's cache and drawn with whatever rectangles they give, both
// through the attribute and straight through the blitter.
#include <string>

#include "manager/CPaintManagerUI.h"
#include "render/CImageAttribute.h"
#include "render/CRenderEngine.h"

using namespace SkinUI;

namespace {

struct Canvas {
  HDC dc = CreateCompatibleDC(nullptr);
  BYTE* bits = nullptr;
  HBITMAP target = CRenderEngine::CreateBitmap(nullptr, 32, 32, &bits);
  HBITMAP image = nullptr;
  CPaintManagerUI manager;
  Canvas() {
    SelectObject(dc, target);
    BYTE* p = nullptr;
    image = CRenderEngine::CreateBitmap(nullptr, 7, 5, &p);
    for (int i = 0; i < 7 * 5 * 4; ++i) p[i] = static_cast<BYTE>(i * 37);
    manager.AddImage(L"a", image, 7, 5, true);
  }
};

}  // namespace

// Fontconfig keeps its configuration (loaded for the window's default font)
// until the process ends.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Canvas canvas;
  // Bytes are units; a 0 splits the description from a modifier.
  std::wstring text(data, data + size), modifier;
  const size_t split = text.find(L'\0');
  if (split != std::wstring::npos) {
    modifier = text.substr(split + 1);
    text.resize(split);
  }
  CImageAttribute image;
  image.SetAttributeString(L"file='a'");
  image.ModifyAttribute(text.c_str());
  CImageAttribute copy(image);
  copy.ModifyAttribute(modifier.c_str());
  const RECT item = {2, 3, 30, 31}, paint = {0, 0, 32, 32};
  for (CImageAttribute* attribute : {&image, &copy}) {
    if (attribute->LoadImage(&canvas.manager))
      CRenderEngine::DrawImage(canvas.dc, &canvas.manager, item, paint, *attribute);
    CRenderEngine::DrawImage(canvas.dc, canvas.image, attribute->m_rcDest, paint, attribute->m_rcSource,
                             attribute->m_rcCorner, attribute->m_dwMask != 0, attribute->m_bFade, attribute->m_bHole,
                             attribute->m_bTiledX, attribute->m_bTiledY);
  }
  CImageAttribute parsed;
  parsed.SetAttributeString(text.c_str());
  return 0;
}
