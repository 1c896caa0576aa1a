// Layered windows: a constant opacity and colour key
// (SetLayeredWindowAttributes), or a whole per-pixel-alpha image handed
// over at once (UpdateLayeredWindow).
#include <algorithm>
#include <cstring>

#include "bridge/Bridge.h"
#include "win32/Errors.h"
#include "window/Backend.h"
#include "window/Paint.h"
#include "window/State.h"

using namespace platform::window;

BOOL WINAPI SetLayeredWindowAttributes(HWND hwnd, COLORREF crKey, BYTE bAlpha, DWORD dwFlags) {
  BYTE alpha;
  {
    std::lock_guard<std::mutex> lock(Lock());
    Window* w = Find(hwnd);
    if (!w || !(w->exStyle & WS_EX_LAYERED)) {
      SetLastError(w ? ERROR_INVALID_PARAMETER : ERROR_INVALID_WINDOW_HANDLE);
      return FALSE;
    }
    w->layeredFlags = dwFlags & (LWA_ALPHA | LWA_COLORKEY);
    w->alpha = (dwFlags & LWA_ALPHA) ? bAlpha : 255;
    w->colorKey = crKey;
    // From now on the window paints normally and the system applies these.
    if (w->layeredImage) cairo_surface_destroy(w->layeredImage);
    w->layeredImage = nullptr;
    alpha = w->alpha;
  }
  Backend().SetOpacity(hwnd, alpha);
  paint::Present(hwnd, nullptr);
  return TRUE;
}

BOOL WINAPI GetLayeredWindowAttributes(HWND hwnd, COLORREF* pcrKey, BYTE* pbAlpha, DWORD* pdwFlags) {
  std::lock_guard<std::mutex> lock(Lock());
  Window* w = Find(hwnd);
  if (!w || !(w->exStyle & WS_EX_LAYERED) || w->layeredImage) return FALSE;
  if (pcrKey) *pcrKey = w->colorKey;
  if (pbAlpha) *pbAlpha = w->alpha;
  if (pdwFlags) *pdwFlags = w->layeredFlags;
  return TRUE;
}

BOOL WINAPI UpdateLayeredWindow(HWND hWnd, HDC, POINT* pptDst, SIZE* psize, HDC hdcSrc, POINT* pptSrc,
                                COLORREF crKey, const struct _BLENDFUNCTION* pblend, DWORD dwFlags) {
  RECT rect;
  {
    std::lock_guard<std::mutex> lock(Lock());
    Window* w = Find(hWnd);
    if (!w || !(w->exStyle & WS_EX_LAYERED)) {
      SetLastError(w ? ERROR_INVALID_PARAMETER : ERROR_INVALID_WINDOW_HANDLE);
      return FALSE;
    }
    rect = WindowRectOnScreen(*w);
  }
  if (pptDst || psize) {
    POINT at = pptDst ? *pptDst : POINT{rect.left, rect.top};
    SIZE size = psize ? *psize : SIZE{rect.right - rect.left, rect.bottom - rect.top};
    if (size.cx < 0 || size.cy < 0) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return FALSE;
    }
    SetWindowPos(hWnd, nullptr, at.x, at.y, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
    if (!GetWindowRect(hWnd, &rect)) return FALSE;
  }
  // The blend record: BlendOp, BlendFlags, SourceConstantAlpha, AlphaFormat.
  BYTE blend[4] = {0, 0, 255, 0};
  if (pblend) memcpy(blend, pblend, sizeof blend);
  const BYTE kSrcAlpha = 0x01;
  bool perPixel = (dwFlags & ULW_ALPHA) && (blend[3] & kSrcAlpha);
  double constant = (dwFlags & ULW_ALPHA) ? blend[2] / 255.0 : 1.0;
  int width = rect.right - rect.left, height = rect.bottom - rect.top;
  cairo_surface_t* image = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, std::max(width, 1), std::max(height, 1));
  if (cairo_surface_t* src = hdcSrc ? platform::bridge::SurfaceOfDC(hdcSrc) : nullptr) {
    POINT from = pptSrc ? *pptSrc : POINT{0, 0};
    // DIB pixels are written straight into memory; cairo must look again.
    cairo_surface_flush(src);
    cairo_surface_mark_dirty(src);
    cairo_t* cr = cairo_create(image);
    if (!perPixel) {
      cairo_set_source_rgb(cr, 0, 0, 0);
      cairo_paint(cr);
    }
    cairo_set_source_surface(cr, src, -from.x, -from.y);
    cairo_set_operator(cr, perPixel ? CAIRO_OPERATOR_SOURCE : CAIRO_OPERATOR_OVER);
    if (!perPixel) {
      // An image without alpha counts as opaque.
      cairo_surface_t* opaque = cairo_image_surface_create(CAIRO_FORMAT_RGB24, std::max(width, 1), std::max(height, 1));
      cairo_t* oc = cairo_create(opaque);
      cairo_set_source_surface(oc, src, -from.x, -from.y);
      cairo_paint(oc);
      cairo_destroy(oc);
      cairo_set_source_surface(cr, opaque, 0, 0);
      cairo_paint_with_alpha(cr, constant);
      cairo_surface_destroy(opaque);
    } else {
      cairo_paint_with_alpha(cr, constant);
    }
    cairo_destroy(cr);
  }
  {
    std::lock_guard<std::mutex> lock(Lock());
    Window* w = Find(hWnd);
    if (!w) {
      cairo_surface_destroy(image);
      return FALSE;
    }
    if (w->layeredImage) cairo_surface_destroy(w->layeredImage);
    w->layeredImage = image;
    w->layeredFlags = (dwFlags & ULW_COLORKEY) ? LWA_COLORKEY : 0;
    w->colorKey = crKey;
    w->alpha = 255;
  }
  Backend().SetOpacity(hWnd, 255);
  paint::Present(hWnd, nullptr);
  return TRUE;
}
