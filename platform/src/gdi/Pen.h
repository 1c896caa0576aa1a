// A cosmetic or geometric pen: style (PS_*), width in pixels, colour.
#pragma once

#include "gdi/GdiObject.h"

namespace platform::gdi {

class Pen : public GdiObject {
 public:
  Pen(UINT style, int width, COLORREF color) : style_(style), width_(width < 1 ? 1 : width), color_(color & 0xFFFFFF) {}
  DWORD Type() const override { return OBJ_PEN; }
  UINT Style() const { return style_; }
  int Width() const { return width_; }
  COLORREF Color() const { return color_; }

 private:
  UINT style_;
  int width_;
  COLORREF color_;
};

}  // namespace platform::gdi
