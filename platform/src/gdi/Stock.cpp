#include "gdi/Stock.h"

#include <array>
#include <cwchar>

#include "gdi/Bitmap.h"
#include "gdi/Brush.h"
#include "gdi/Font.h"
#include "gdi/Pen.h"

namespace platform::gdi {
namespace {

struct Table {
  std::array<HGDIOBJ, DEFAULT_GUI_FONT + 1> objects{};
  HGDIOBJ bitmap = nullptr;

  Table() {
    auto add = [&](int index, std::shared_ptr<GdiObject> object) { objects[index] = AddObject(std::move(object), true); };
    add(WHITE_BRUSH, std::make_shared<Brush>(BS_SOLID, RGB(255, 255, 255)));
    add(LTGRAY_BRUSH, std::make_shared<Brush>(BS_SOLID, RGB(192, 192, 192)));
    add(GRAY_BRUSH, std::make_shared<Brush>(BS_SOLID, RGB(128, 128, 128)));
    add(DKGRAY_BRUSH, std::make_shared<Brush>(BS_SOLID, RGB(64, 64, 64)));
    add(BLACK_BRUSH, std::make_shared<Brush>(BS_SOLID, RGB(0, 0, 0)));
    add(NULL_BRUSH, std::make_shared<Brush>(BS_NULL, 0));
    add(WHITE_PEN, std::make_shared<Pen>(PS_SOLID, 1, RGB(255, 255, 255)));
    add(BLACK_PEN, std::make_shared<Pen>(PS_SOLID, 1, RGB(0, 0, 0)));
    add(NULL_PEN, std::make_shared<Pen>(PS_NULL, 1, 0));
    LOGFONTW gui = Font::DefaultGuiLogFont();
    add(DEFAULT_GUI_FONT, std::make_shared<Font>(gui));
    LOGFONTW system = gui;
    system.lfHeight = -16;
    system.lfWeight = FW_BOLD;
    add(SYSTEM_FONT, std::make_shared<Font>(system));
    bitmap = AddObject(Bitmap::Create(1, 1, false), true);
  }
};

Table& Objects() {
  static Table table;
  return table;
}

}  // namespace

LOGFONTW Font::DefaultGuiLogFont() {
  LOGFONTW lf{};
  lf.lfHeight = -12;
  lf.lfWeight = FW_NORMAL;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfQuality = DEFAULT_QUALITY;
  std::wcsncpy(lf.lfFaceName, L"WenQuanYi Micro Hei", LF_FACESIZE - 1);
  return lf;
}

HGDIOBJ StockObject(int index) {
  if (index < 0 || index > DEFAULT_GUI_FONT) return nullptr;
  return Objects().objects[index];
}

HGDIOBJ StockBitmap() { return Objects().bitmap; }

}  // namespace platform::gdi
