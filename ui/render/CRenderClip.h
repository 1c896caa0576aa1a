// The clip of one drawing scope: made for a rectangle (or a rounded one)
// on top of the device context's clip, restored when the object dies.
#pragma once

#include "Win32.h"

namespace SkinUI {

class CRenderClip {
 public:
  CRenderClip() = default;
  CRenderClip(const CRenderClip&) = delete;
  CRenderClip& operator=(const CRenderClip&) = delete;
  ~CRenderClip();

  static void GenerateClip(HDC hDC, RECT rc, CRenderClip& clip);
  static void GenerateRoundClip(HDC hDC, RECT rc, RECT rcItem, int width, int height, CRenderClip& clip);
  static void UseOldClipBegin(HDC hDC, CRenderClip& clip);
  static void UseOldClipEnd(HDC hDC, CRenderClip& clip);

  RECT rcItem = {0, 0, 0, 0};
  HDC hDC = nullptr;
  HRGN hRgn = nullptr;
  HRGN hOldRgn = nullptr;
};

}  // namespace SkinUI
