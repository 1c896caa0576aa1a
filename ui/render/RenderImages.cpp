// The image blitter: a source part of a bitmap drawn into a destination as
// a nine-grid (corners 1:1, edges stretched along one axis, the middle
// stretched or tiled, or left out as a hole), alpha-blended or copied.
#include <algorithm>

#include "manager/CPaintManagerUI.h"
#include "render/CImageAttribute.h"
#include "render/CRenderEngine.h"

namespace SkinUI {

namespace {

// Coordinates from skins are clamped to this range first, so that sums of
// a few of them cannot overflow.
constexpr LONG kCoordLimit = 1 << 28;

LONG ClampCoord(LONG v) { return std::clamp(v, -kCoordLimit, kCoordLimit); }

RECT ClampRect(const RECT& rc) {
  return RECT{ClampCoord(rc.left), ClampCoord(rc.top), ClampCoord(rc.right), ClampCoord(rc.bottom)};
}

LONG Width(const RECT& rc) { return rc.right - rc.left; }
LONG Height(const RECT& rc) { return rc.bottom - rc.top; }
bool IsEmpty(const RECT& rc) { return rc.right <= rc.left || rc.bottom <= rc.top; }

RECT Intersect(const RECT& a, const RECT& b) {
  return RECT{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
              std::min(a.bottom, b.bottom)};
}

bool Meets(const RECT& a, const RECT& b) { return !IsEmpty(Intersect(a, b)); }

bool Contains(const RECT& outer, const RECT& inner) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

// Draws the pieces of one image. Pieces of equal source and destination
// size are drawn 1:1 and only where they meet the paint rectangle; a
// stretched piece that crosses its edge is drawn under a clip to it.
class Blitter {
 public:
  Blitter(HDC hDC, HDC hSrc, int bitmapWidth, int bitmapHeight, const RECT& rcPaint, bool bAlphaPath, BYTE uFade)
      : m_hDC(hDC), m_hSrc(hSrc), m_bitmap{0, 0, bitmapWidth, bitmapHeight}, m_rcPaint(rcPaint),
        m_bAlpha(bAlphaPath), m_blend{AC_SRC_OVER, 0, uFade, AC_SRC_ALPHA} {}
  Blitter(const Blitter&) = delete;
  Blitter& operator=(const Blitter&) = delete;
  ~Blitter() {
    if (m_nSaved) ::RestoreDC(m_hDC, m_nSaved);
  }

  void Piece(RECT dst, RECT src) {
    if (IsEmpty(dst) || IsEmpty(src) || !Meets(dst, m_rcPaint)) return;
    const bool oneToOne = Width(dst) == Width(src) && Height(dst) == Height(src);
    RECT cut = Intersect(src, m_bitmap);
    if (IsEmpty(cut)) return;
    if (oneToOne) {
      dst = RECT{dst.left + cut.left - src.left, dst.top + cut.top - src.top, dst.right - (src.right - cut.right),
                 dst.bottom - (src.bottom - cut.bottom)};
      RECT visible = Intersect(dst, m_rcPaint);
      if (IsEmpty(visible)) return;
      src = RECT{cut.left + visible.left - dst.left, cut.top + visible.top - dst.top, 0, 0};
      Copy(visible, src.left, src.top);
      return;
    }
    if (!Contains(m_rcPaint, dst) && m_nSaved == 0) {
      m_nSaved = ::SaveDC(m_hDC);
      ::IntersectClipRect(m_hDC, m_rcPaint.left, m_rcPaint.top, m_rcPaint.right, m_rcPaint.bottom);
    }
    Stretch(dst, cut);
  }

 private:
  void Copy(const RECT& dst, int x, int y) {
    const int w = Width(dst), h = Height(dst);
    if (m_bAlpha)
      ::AlphaBlend(m_hDC, dst.left, dst.top, w, h, m_hSrc, x, y, w, h, m_blend);
    else
      ::BitBlt(m_hDC, dst.left, dst.top, w, h, m_hSrc, x, y, SRCCOPY);
  }

  void Stretch(const RECT& dst, const RECT& src) {
    if (m_bAlpha)
      ::AlphaBlend(m_hDC, dst.left, dst.top, Width(dst), Height(dst), m_hSrc, src.left, src.top, Width(src),
                   Height(src), m_blend);
    else
      ::StretchBlt(m_hDC, dst.left, dst.top, Width(dst), Height(dst), m_hSrc, src.left, src.top, Width(src),
                   Height(src), SRCCOPY);
  }

  HDC m_hDC;
  HDC m_hSrc;
  RECT m_bitmap;
  RECT m_rcPaint;
  bool m_bAlpha;
  BLENDFUNCTION m_blend;
  int m_nSaved = 0;
};

// The middle repeated across (x), down (y) or both. Tiles are laid from
// the middle's top-left; only those meeting the paint rectangle are drawn.
void DrawTiles(Blitter& blitter, const RECT& m, const RECT& ms, const RECT& rcPaint, bool xtiled, bool ytiled) {
  const LONG sw = Width(ms), sh = Height(ms);
  if (sw <= 0 || sh <= 0) return;  // the corners use up the source
  RECT area = Intersect(m, rcPaint);
  if (IsEmpty(area)) return;
  LONG firstColumn = 0, lastColumn = 0, firstRow = 0, lastRow = 0;
  if (xtiled) {
    firstColumn = (area.left - m.left) / sw;
    lastColumn = (area.right - m.left + sw - 1) / sw;
  }
  if (ytiled) {
    firstRow = (area.top - m.top) / sh;
    lastRow = (area.bottom - m.top + sh - 1) / sh;
  }
  for (LONG row = firstRow; row < (ytiled ? lastRow : 1); ++row) {
    const LONG top = ytiled ? m.top + row * sh : m.top;
    const LONG bottom = ytiled ? std::min(top + sh, m.bottom) : m.bottom;
    const LONG srcBottom = ytiled ? ms.top + (bottom - top) : ms.bottom;
    for (LONG column = firstColumn; column < (xtiled ? lastColumn : 1); ++column) {
      const LONG left = xtiled ? m.left + column * sw : m.left;
      const LONG right = xtiled ? std::min(left + sw, m.right) : m.right;
      const LONG srcRight = xtiled ? ms.left + (right - left) : ms.right;
      blitter.Piece(RECT{left, top, right, bottom}, RECT{ms.left, ms.top, srcRight, srcBottom});
    }
  }
}

}  // namespace

void CRenderEngine::DrawImage(HDC hDC, HBITMAP hBitmap, const RECT& rc, const RECT& rcPaint, const RECT& rcBmpPart,
                              const RECT& rcCorners, bool bAlpha, BYTE uFade, bool hole, bool xtiled, bool ytiled) {
  if (hDC == nullptr || hBitmap == nullptr) return;
  BITMAP bm = {};
  if (::GetObjectW(hBitmap, sizeof(bm), &bm) == 0 || bm.bmWidth <= 0 || bm.bmHeight <= 0) return;

  RECT r = ClampRect(rc), s = ClampRect(rcBmpPart), c = ClampRect(rcCorners);
  const RECT paint = ClampRect(rcPaint);
  c = RECT{std::max(c.left, LONG(0)), std::max(c.top, LONG(0)), std::max(c.right, LONG(0)), std::max(c.bottom, LONG(0))};

  // A source reaching past the bitmap is cut to it. When the destination
  // had the source's size it stays 1:1 and loses the same strips.
  const RECT cut = Intersect(s, RECT{0, 0, bm.bmWidth, bm.bmHeight});
  if (IsEmpty(cut)) return;
  if (Width(r) == Width(s) && Height(r) == Height(s))
    r = RECT{r.left + cut.left - s.left, r.top + cut.top - s.top, r.right - (s.right - cut.right),
             r.bottom - (s.bottom - cut.bottom)};
  s = cut;
  if (IsEmpty(r) || !Meets(r, paint)) return;

  HDC hSrc = ::CreateCompatibleDC(hDC);
  if (hSrc == nullptr) return;
  HGDIOBJ hOldBitmap = ::SelectObject(hSrc, hBitmap);
  const int oldMode = ::SetStretchBltMode(hDC, HALFTONE);
  {
    const bool alphaPath = bAlpha || uFade < 255;
    const bool noCorners = c.left == 0 && c.top == 0 && c.right == 0 && c.bottom == 0;
    Blitter blitter(hDC, hSrc, bm.bmWidth, bm.bmHeight, paint, alphaPath, uFade);
    if (!alphaPath && noCorners && Width(r) == Width(s) && Height(r) == Height(s)) {
      blitter.Piece(r, s);
    } else {
      const RECT m = {r.left + c.left, r.top + c.top, r.right - c.right, r.bottom - c.bottom};
      const RECT ms = {s.left + c.left, s.top + c.top, s.right - c.right, s.bottom - c.bottom};
      if (!hole && Meets(m, paint)) {
        if (xtiled || ytiled)
          DrawTiles(blitter, m, ms, paint, xtiled, ytiled);
        else
          blitter.Piece(m, ms);
      }
      if (c.left > 0 && c.top > 0)
        blitter.Piece(RECT{r.left, r.top, m.left, m.top}, RECT{s.left, s.top, ms.left, ms.top});
      if (c.top > 0) blitter.Piece(RECT{m.left, r.top, m.right, m.top}, RECT{ms.left, s.top, ms.right, ms.top});
      if (c.right > 0 && c.top > 0)
        blitter.Piece(RECT{m.right, r.top, r.right, m.top}, RECT{ms.right, s.top, s.right, ms.top});
      if (c.left > 0) blitter.Piece(RECT{r.left, m.top, m.left, m.bottom}, RECT{s.left, ms.top, ms.left, ms.bottom});
      if (c.right > 0)
        blitter.Piece(RECT{m.right, m.top, r.right, m.bottom}, RECT{ms.right, ms.top, s.right, ms.bottom});
      if (c.left > 0 && c.bottom > 0)
        blitter.Piece(RECT{r.left, m.bottom, m.left, r.bottom}, RECT{s.left, ms.bottom, ms.left, s.bottom});
      if (c.bottom > 0)
        blitter.Piece(RECT{m.left, m.bottom, m.right, r.bottom}, RECT{ms.left, ms.bottom, ms.right, s.bottom});
      if (c.right > 0 && c.bottom > 0)
        blitter.Piece(RECT{m.right, m.bottom, r.right, r.bottom}, RECT{ms.right, ms.bottom, s.right, s.bottom});
    }
  }
  ::SetStretchBltMode(hDC, oldMode);
  ::SelectObject(hSrc, hOldBitmap);
  ::DeleteDC(hSrc);
}

bool CRenderEngine::DrawImage(HDC hDC, CPaintManagerUI* pManager, const RECT& rcItem, const RECT& rcPaint,
                              CImageAttribute& image) {
  if (pManager == nullptr || hDC == nullptr || image.m_sImage.IsEmpty()) return false;
  // A record removed since the attribute looked it up is looked up again.
  if (image.m_imageInfo == nullptr || !image.LoadImage(pManager)) return false;
  const TImageInfo* info = image.m_imageInfo;

  const RECT item = ClampRect(rcItem), dest = ClampRect(image.m_rcDest);
  RECT d = item;
  if (dest.left != 0 || dest.top != 0 || dest.right != 0 || dest.bottom != 0)
    d = RECT{item.left + dest.left, item.top + dest.top, item.left + dest.right, item.top + dest.bottom};
  d.right = std::min(d.right, item.right);
  d.bottom = std::min(d.bottom, item.bottom);
  if (!Meets(d, item) || !Meets(d, rcPaint)) return true;

  const bool alpha = pManager->IsLayeredWindow() || info->alphaChannel;
  DrawImage(hDC, info->hBitmap, d, rcPaint, image.m_rcSource, image.m_rcCorner, alpha, image.m_bFade,
            image.m_bHole, image.m_bTiledX, image.m_bTiledY);
  return true;
}

}  // namespace SkinUI
