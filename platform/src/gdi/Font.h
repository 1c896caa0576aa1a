// A font handle's object: the LOGFONTW it was made from and its shared face.
#pragma once

#include "gdi/FontFace.h"
#include "gdi/GdiObject.h"

namespace platform::gdi {

class Font : public GdiObject {
 public:
  explicit Font(const LOGFONTW& logfont) : logfont_(logfont), face_(FontFace::For(logfont)) {}
  DWORD Type() const override { return OBJ_FONT; }
  const LOGFONTW& LogFont() const { return logfont_; }
  FontFace& Face() const { return *face_; }

  // The stock GUI font's description.
  static LOGFONTW DefaultGuiLogFont();

 private:
  LOGFONTW logfont_;
  std::shared_ptr<FontFace> face_;
};

}  // namespace platform::gdi
