// Fills, gradients, lines and rectangles, 32-bit bitmaps, colour
// adjustment by hue, saturation and lightness, and the alpha repair.
#include <algorithm>
#include <cstdint>

#include "controls/CControlUI.h"
#include "manager/CPaintManagerUI.h"
#include "render/CRenderEngine.h"

namespace SkinUI {

namespace {

LONG Width(const RECT& rc) { return rc.right - rc.left; }
LONG Height(const RECT& rc) { return rc.bottom - rc.top; }

// One channel of the hue/saturation/lightness to RGB conversion.
float HueToChannel(float p, float q, float t) {
  if (t < 0) t += 1;
  if (t > 1) t -= 1;
  if (6 * t < 1) return p + (q - p) * 6 * t;
  if (2 * t < 1) return q;
  if (3 * t < 2) return p + (q - p) * 6 * (2.0f / 3.0f - t);
  return p;
}

BYTE ToByte(float v) { return static_cast<BYTE>(std::clamp(v * 255.0f, 0.0f, 255.0f)); }

}  // namespace

DWORD CRenderEngine::AdjustColor(DWORD dwColor, short H, short S, short L) {
  if (H == 180 && S == 100 && L == 100) return dwColor;
  // r, g and b follow the byte order: r is the lowest byte.
  float r = (dwColor & 0xFF) / 255.0f;
  float g = ((dwColor >> 8) & 0xFF) / 255.0f;
  float b = ((dwColor >> 16) & 0xFF) / 255.0f;
  const float mx = std::max({r, g, b}), mn = std::min({r, g, b});
  float h = 0, s = 0;
  const float l = (mx + mn) / 2;
  if (mx != mn) {
    float f, i;
    if (r == mn) {
      f = g - b;
      i = 3;
    } else if (g == mn) {
      f = b - r;
      i = 5;
    } else {
      f = r - g;
      i = 1;
    }
    h = i - f / (mx - mn);
    if (h >= 6) h -= 6;
    h *= 60;
    s = 2 * l <= 1 ? (mx - mn) / (mx + mn) : (mx - mn) / (2 - mx - mn);
  }
  h += H - 180;
  if (h <= 0) h += 360;
  s = s * S / 100;
  float l2 = l * L / 100;
  const float q = 2 * l2 < 1 ? l2 * (1 + s) : l2 + s - l2 * s;
  const float p = 2 * l2 - q;
  const float t = h / 360;
  r = HueToChannel(p, q, t + 1.0f / 3.0f);
  g = HueToChannel(p, q, t);
  b = HueToChannel(p, q, t - 1.0f / 3.0f);
  return (dwColor & 0xFF000000) | DWORD(ToByte(b)) << 16 | DWORD(ToByte(g)) << 8 | ToByte(r);
}

HBITMAP CRenderEngine::CreateBitmap(HDC hDC, int cx, int cy, BYTE** pBits) {
  if (pBits) *pBits = nullptr;
  if (cx <= 0 || cy <= 0) return nullptr;
  const uint64_t bytes = uint64_t(cx) * uint64_t(cy) * 4;
  if (bytes > 0xFFFFFFFFull) return nullptr;
  BITMAPINFO bmi = {};
  bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bmi.bmiHeader.biWidth = cx;
  bmi.bmiHeader.biHeight = -cy;
  bmi.bmiHeader.biPlanes = 1;
  bmi.bmiHeader.biBitCount = 32;
  bmi.bmiHeader.biCompression = BI_RGB;
  bmi.bmiHeader.biSizeImage = static_cast<DWORD>(bytes);
  void* bits = nullptr;
  HBITMAP hBitmap = ::CreateDIBSection(hDC, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (pBits) *pBits = hBitmap ? static_cast<BYTE*>(bits) : nullptr;
  return hBitmap;
}

void CRenderEngine::DrawColor(HDC hDC, const RECT& rc, DWORD color) {
  if ((color >> 24) == 0 || hDC == nullptr) return;
  Gdiplus::Graphics graphics(hDC);
  Gdiplus::SolidBrush brush{Gdiplus::Color(color)};
  graphics.FillRectangle(&brush, static_cast<INT>(rc.left), static_cast<INT>(rc.top), static_cast<INT>(Width(rc)),
                         static_cast<INT>(Height(rc)));
}

void CRenderEngine::DrawGradient(HDC hDC, const RECT& rc, DWORD dwFirst, DWORD dwSecond, bool bVertical,
                                 int nSteps) {
  (void)nSteps;  // the platform fills gradients itself
  const DWORD alpha = ((dwFirst >> 24) + (dwSecond >> 24)) / 2;
  if (alpha == 0 || hDC == nullptr || Width(rc) <= 0 || Height(rc) <= 0) return;
  const ULONG mode = bVertical ? GRADIENT_FILL_RECT_V : GRADIENT_FILL_RECT_H;
  auto vertex = [](LONG x, LONG y, DWORD color) {
    return TRIVERTEX{x, y, static_cast<COLOR16>(((color >> 16) & 0xFF) << 8),
                     static_cast<COLOR16>(((color >> 8) & 0xFF) << 8), static_cast<COLOR16>((color & 0xFF) << 8),
                     0xFF00};
  };
  GRADIENT_RECT mesh = {0, 1};
  if (alpha == 255) {
    TRIVERTEX v[2] = {vertex(rc.left, rc.top, dwFirst), vertex(rc.right, rc.bottom, dwSecond)};
    ::GradientFill(hDC, v, 2, &mesh, 1, mode);
    return;
  }
  // Translucent: fill off-screen, then blend with the average alpha.
  const int cx = Width(rc), cy = Height(rc);
  HDC hMem = ::CreateCompatibleDC(hDC);
  if (hMem == nullptr) return;
  BYTE* bits = nullptr;
  HBITMAP hBitmap = CreateBitmap(hDC, cx, cy, &bits);
  if (hBitmap != nullptr) {
    HGDIOBJ hOld = ::SelectObject(hMem, hBitmap);
    TRIVERTEX v[2] = {vertex(0, 0, dwFirst), vertex(cx, cy, dwSecond)};
    ::GradientFill(hMem, v, 2, &mesh, 1, mode);
    BLENDFUNCTION blend = {AC_SRC_OVER, 0, static_cast<BYTE>(alpha), AC_SRC_ALPHA};
    ::AlphaBlend(hDC, rc.left, rc.top, cx, cy, hMem, 0, 0, cx, cy, blend);
    ::SelectObject(hMem, hOld);
    ::DeleteObject(hBitmap);
  }
  ::DeleteDC(hMem);
}

void CRenderEngine::DrawLine(HDC hDC, const RECT& rc, int nSize, DWORD dwPenColor, int nStyle) {
  if (hDC == nullptr) return;
  Gdiplus::Graphics graphics(hDC);
  Gdiplus::Pen pen(Gdiplus::Color(dwPenColor), static_cast<Gdiplus::REAL>(nSize));
  if (nStyle >= Gdiplus::DashStyleSolid && nStyle <= Gdiplus::DashStyleDashDotDot)
    pen.SetDashStyle(static_cast<Gdiplus::DashStyle>(nStyle));
  graphics.DrawLine(&pen, static_cast<INT>(rc.left), static_cast<INT>(rc.top), static_cast<INT>(rc.right),
                    static_cast<INT>(rc.bottom));
}

void CRenderEngine::DrawRect(HDC hDC, const RECT& rc, int nSize, DWORD dwPenColor) {
  if (hDC == nullptr) return;
  Gdiplus::Graphics graphics(hDC);
  Gdiplus::Pen pen(Gdiplus::Color(dwPenColor), static_cast<Gdiplus::REAL>(nSize));
  pen.SetAlignment(Gdiplus::PenAlignmentInset);
  graphics.DrawRectangle(&pen, static_cast<INT>(rc.left), static_cast<INT>(rc.top), static_cast<INT>(Width(rc) - 1),
                         static_cast<INT>(Height(rc) - 1));
}

void CRenderEngine::DrawRoundRect(HDC hDC, const RECT& rc, int width, int height, int nSize, DWORD dwPenColor) {
  if (hDC == nullptr) return;
  Gdiplus::Graphics graphics(hDC);
  Gdiplus::Pen pen(Gdiplus::Color(dwPenColor), static_cast<Gdiplus::REAL>(nSize));
  pen.SetAlignment(Gdiplus::PenAlignmentInset);
  // The lines run between the arcs' ends, so the outline closes inside the
  // rectangle; without corners it is the rectangle's own outline.
  const INT l = rc.left, t = rc.top, r = rc.right - 1, b = rc.bottom - 1, cw = width, ch = height;
  Gdiplus::GraphicsPath path;
  path.AddLine(l, b - ch, l, t + ch);
  path.AddArc(l, t, cw * 2, ch * 2, 180, 90);
  path.AddLine(l + cw, t, r - cw, t);
  path.AddArc(r - cw * 2, t, cw * 2, ch * 2, 270, 90);
  path.AddLine(r, t + ch, r, b - ch);
  path.AddArc(r - cw * 2, b - ch * 2, cw * 2, ch * 2, 0, 90);
  path.AddLine(r - cw, b, l + cw, b);
  path.AddArc(l, b - ch * 2, cw * 2, ch * 2, 90, 90);
  path.CloseFigure();
  graphics.DrawPath(&pen, &path);
}

HBITMAP CRenderEngine::GenerateBitmap(CPaintManagerUI* pManager, CControlUI* pControl, RECT rc) {
  if (pManager == nullptr || pControl == nullptr) return nullptr;
  const int cx = rc.right - rc.left, cy = rc.bottom - rc.top;
  if (cx <= 0 || cy <= 0 || rc.right <= 0 || rc.bottom <= 0) return nullptr;
  HDC hPaintDC = pManager->GetPaintDC();
  HDC hPaint = ::CreateCompatibleDC(hPaintDC);
  HBITMAP hPaintBitmap = hPaint ? ::CreateCompatibleBitmap(hPaintDC ? hPaintDC : hPaint, rc.right, rc.bottom) : nullptr;
  HBITMAP hResult = nullptr;
  if (hPaintBitmap != nullptr) {
    HGDIOBJ hOldPaint = ::SelectObject(hPaint, hPaintBitmap);
    pControl->DoPaint(hPaint, rc);
    BYTE* bits = nullptr;
    hResult = CreateBitmap(hPaintDC, cx, cy, &bits);
    HDC hCopy = hResult ? ::CreateCompatibleDC(hPaintDC) : nullptr;
    if (hCopy != nullptr) {
      HGDIOBJ hOldCopy = ::SelectObject(hCopy, hResult);
      ::BitBlt(hCopy, 0, 0, cx, cy, hPaint, rc.left, rc.top, SRCCOPY);
      ::GdiFlush();
      ::SelectObject(hCopy, hOldCopy);
      ::DeleteDC(hCopy);
    }
    ::SelectObject(hPaint, hOldPaint);
    ::DeleteObject(hPaintBitmap);
  }
  if (hPaint) ::DeleteDC(hPaint);
  return hResult;
}

void CRenderEngine::RestoreAlphaColor(LPBYTE pBits, int bitsWidth, int bitsHeight, PRECT rc) {
  if (pBits == nullptr || rc == nullptr || bitsWidth <= 0 || bitsHeight <= 0) return;
  const LONG left = std::max(rc->left, LONG(0)), top = std::max(rc->top, LONG(0));
  const LONG right = std::min(rc->right, LONG(bitsWidth)), bottom = std::min(rc->bottom, LONG(bitsHeight));
  for (LONG y = top; y < bottom; ++y) {
    BYTE* p = pBits + (size_t(y) * size_t(bitsWidth) + size_t(left)) * 4;
    for (LONG x = left; x < right; ++x, p += 4)
      if (p[3] == 0 && (p[0] | p[1] | p[2]) != 0) p[3] = 255;
  }
}

}  // namespace SkinUI
