// A solid or null brush.
#pragma once

#include "gdi/GdiObject.h"

namespace platform::gdi {

class Brush : public GdiObject {
 public:
  Brush(UINT style, COLORREF color) : style_(style), color_(color & 0xFFFFFF) {}
  DWORD Type() const override { return OBJ_BRUSH; }
  UINT Style() const { return style_; }
  COLORREF Color() const { return color_; }

 private:
  UINT style_;
  COLORREF color_;
};

}  // namespace platform::gdi
