#include "render/CRenderClip.h"

namespace SkinUI {

namespace {

// Keeps the context's clip box as the old region and selects the new
// region cut to it; a second use of the same object releases the first.
void Apply(HDC hDC, RECT rc, HRGN hNew, CRenderClip& clip) {
  if (clip.hRgn) ::DeleteObject(clip.hRgn);
  if (clip.hOldRgn) ::DeleteObject(clip.hOldRgn);
  RECT rcClip = {0, 0, 0, 0};
  ::GetClipBox(hDC, &rcClip);
  clip.hOldRgn = ::CreateRectRgnIndirect(&rcClip);
  clip.hRgn = hNew;
  if (clip.hRgn && clip.hOldRgn) ::CombineRgn(clip.hRgn, clip.hRgn, clip.hOldRgn, RGN_AND);
  ::SelectClipRgn(hDC, clip.hRgn);
  clip.hDC = hDC;
  clip.rcItem = rc;
}

}  // namespace

CRenderClip::~CRenderClip() {
  if (hDC != nullptr && hOldRgn != nullptr) ::SelectClipRgn(hDC, hOldRgn);
  if (hOldRgn) ::DeleteObject(hOldRgn);
  if (hRgn) ::DeleteObject(hRgn);
}

void CRenderClip::GenerateClip(HDC hDC, RECT rc, CRenderClip& clip) {
  if (hDC == nullptr) return;
  Apply(hDC, rc, ::CreateRectRgnIndirect(&rc), clip);
}

void CRenderClip::GenerateRoundClip(HDC hDC, RECT rc, RECT rcItem, int width, int height, CRenderClip& clip) {
  if (hDC == nullptr) return;
  HRGN hRgn = ::CreateRectRgnIndirect(&rc);
  HRGN hRound = ::CreateRoundRectRgn(rcItem.left, rcItem.top, rcItem.right + 1, rcItem.bottom + 1, width * 2,
                                     height * 2);
  if (hRgn && hRound) ::CombineRgn(hRgn, hRgn, hRound, RGN_AND);
  if (hRound) ::DeleteObject(hRound);
  Apply(hDC, rc, hRgn, clip);
}

void CRenderClip::UseOldClipBegin(HDC hDC, CRenderClip& clip) {
  if (hDC != nullptr && clip.hOldRgn) ::SelectClipRgn(hDC, clip.hOldRgn);
}

void CRenderClip::UseOldClipEnd(HDC hDC, CRenderClip& clip) {
  if (hDC != nullptr && clip.hRgn) ::SelectClipRgn(hDC, clip.hRgn);
}

}  // namespace SkinUI
