// Everything the framework draws with: images (nine-grid, hole, fade,
// tiling), fills, gradients, lines, rectangles, plain and mark-up text,
// colour adjustment and off-screen bitmaps. Static operations only.
//
// Sources by concern:
//   RenderImages.cpp    the image blitter and image attributes
//   RenderShapes.cpp    colours, gradients, lines, rectangles, bitmaps, colour adjustment
//   RenderText.cpp      plain text and its size
//   HtmlText.cpp        mark-up text
#pragma once

#include "Win32.h"
#include "core/CDuiString.h"
#include "core/UIDefines.h"

namespace SkinUI {

class CPaintManagerUI;
class CControlUI;
class CImageAttribute;

class CRenderEngine {
 public:
  static DWORD AdjustColor(DWORD dwColor, short H, short S, short L);
  static HBITMAP CreateBitmap(HDC hDC, int cx, int cy, BYTE** pBits);

  static void DrawColor(HDC hDC, const RECT& rc, DWORD color);
  static void DrawGradient(HDC hDC, const RECT& rc, DWORD dwFirst, DWORD dwSecond, bool bVertical, int nSteps);
  static bool DrawImage(HDC hDC, CPaintManagerUI* pManager, const RECT& rcItem, const RECT& rcPaint,
                        CImageAttribute& image);
  static void DrawImage(HDC hDC, HBITMAP hBitmap, const RECT& rc, const RECT& rcPaint, const RECT& rcBmpPart,
                        const RECT& rcCorners, bool bAlpha, BYTE uFade = 255, bool hole = false,
                        bool xtiled = false, bool ytiled = false);
  static void DrawLine(HDC hDC, const RECT& rc, int nSize, DWORD dwPenColor, int nStyle = 0);
  static void DrawRect(HDC hDC, const RECT& rc, int nSize, DWORD dwPenColor);
  static void DrawRoundRect(HDC hDC, const RECT& rc, int width, int height, int nSize, DWORD dwPenColor);

  static void DrawText(HDC hDC, CPaintManagerUI* pManager, RECT& rc, LPCWSTR pstrText, DWORD dwTextColor,
                       int iFont, UINT uStyle);
  // Mark-up text. pLinks and sLinks hold *nLinkRects slots (in); on return
  // *nLinkRects is the number of links recorded.
  static void DrawHtmlText(HDC hDC, CPaintManagerUI* pManager, RECT& rc, LPCWSTR pstrText, DWORD dwTextColor,
                           RECT* pLinks, CDuiString* sLinks, int& nLinkRects, UINT uStyle);
  static SIZE GetTextSize(HDC hDC, CPaintManagerUI* pManager, LPCWSTR pstrText, int iFont, UINT uStyle);

  static HBITMAP GenerateBitmap(CPaintManagerUI* pManager, CControlUI* pControl, RECT rc);
  // Gives alpha 255 to pixels inside rc that have colour but alpha 0.
  // Needs the image height so that rc is clamped to the pixels.
  static void RestoreAlphaColor(LPBYTE pBits, int bitsWidth, int bitsHeight, PRECT rc);
};

}  // namespace SkinUI
