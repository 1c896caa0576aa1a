// Plain text in a box, through GDI or (layered windows, or when the
// manager asks for it) through the 2-D graphics library, and its size.
#include "manager/CPaintManagerUI.h"
#include "render/CRenderEngine.h"

namespace SkinUI {

namespace {

COLORREF ToColorRef(DWORD argb) { return RGB((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF); }

void DrawTextGdiplus(HDC hDC, HFONT hFont, RECT& rc, LPCWSTR pstrText, DWORD dwTextColor, UINT uStyle) {
  Gdiplus::Graphics graphics(hDC);
  Gdiplus::Font font(hDC, hFont);
  Gdiplus::SolidBrush brush{Gdiplus::Color(255, (dwTextColor >> 16) & 0xFF, (dwTextColor >> 8) & 0xFF,
                                           dwTextColor & 0xFF)};
  Gdiplus::StringFormat format(Gdiplus::StringFormat::GenericTypographic());
  if (uStyle & DT_END_ELLIPSIS) format.SetTrimming(Gdiplus::StringTrimmingEllipsisCharacter);
  INT flags = 0;
  if (uStyle & DT_NOCLIP) flags |= Gdiplus::StringFormatFlagsNoClip;
  if (uStyle & DT_SINGLELINE) flags |= Gdiplus::StringFormatFlagsNoWrap;
  format.SetFormatFlags(flags);
  format.SetAlignment(uStyle & DT_CENTER ? Gdiplus::StringAlignmentCenter
                      : uStyle & DT_RIGHT ? Gdiplus::StringAlignmentFar
                                          : Gdiplus::StringAlignmentNear);
  format.SetLineAlignment(uStyle & DT_VCENTER ? Gdiplus::StringAlignmentCenter
                          : uStyle & DT_BOTTOM ? Gdiplus::StringAlignmentFar
                                               : Gdiplus::StringAlignmentNear);
  const Gdiplus::RectF box(static_cast<Gdiplus::REAL>(rc.left), static_cast<Gdiplus::REAL>(rc.top),
                           static_cast<Gdiplus::REAL>(rc.right - rc.left),
                           static_cast<Gdiplus::REAL>(rc.bottom - rc.top));
  if (uStyle & DT_CALCRECT) {
    Gdiplus::RectF measured;
    graphics.MeasureString(pstrText, -1, &font, box, &format, &measured);
    rc.right = rc.left + static_cast<LONG>(measured.Width) + 1;
    rc.bottom = rc.top + static_cast<LONG>(measured.Height) + 1;
    return;
  }
  graphics.DrawString(pstrText, -1, &font, box, &format, &brush);
}

}  // namespace

void CRenderEngine::DrawText(HDC hDC, CPaintManagerUI* pManager, RECT& rc, LPCWSTR pstrText, DWORD dwTextColor,
                             int iFont, UINT uStyle) {
  if (hDC == nullptr || pManager == nullptr || pstrText == nullptr) return;
  HFONT hFont = pManager->GetFont(iFont);
  if (pManager->IsLayeredWindow() || pManager->IsUseGdiplusText()) {
    DrawTextGdiplus(hDC, hFont, rc, pstrText, dwTextColor, uStyle);
    return;
  }
  ::SetBkMode(hDC, TRANSPARENT);
  ::SetTextColor(hDC, ToColorRef(dwTextColor));
  HGDIOBJ hOldFont = ::SelectObject(hDC, hFont);
  ::DrawTextW(hDC, pstrText, -1, &rc, uStyle | DT_NOPREFIX);
  ::SelectObject(hDC, hOldFont);
}

SIZE CRenderEngine::GetTextSize(HDC hDC, CPaintManagerUI* pManager, LPCWSTR pstrText, int iFont, UINT uStyle) {
  (void)uStyle;
  SIZE size = {0, 0};
  if (hDC == nullptr || pManager == nullptr || pstrText == nullptr) return size;
  ::SetBkMode(hDC, TRANSPARENT);
  HGDIOBJ hOldFont = ::SelectObject(hDC, pManager->GetFont(iFont));
  ::GetTextExtentPoint32W(hDC, pstrText, static_cast<int>(wcslen(pstrText)), &size);
  ::SelectObject(hDC, hOldFont);
  return size;
}

}  // namespace SkinUI
