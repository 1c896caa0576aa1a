// Drawing: device contexts, bitmaps, blits, regions, fonts and text.
// Implemented on cairo, fontconfig and FreeType (platform/src/gdi); see
// platform/src/gdi/README.md for where it differs from Win32.
#pragma once

#include "win32/Types.h"

typedef USHORT COLOR16;

// --- records ---

typedef struct tagBITMAP {
  LONG bmType;
  LONG bmWidth;
  LONG bmHeight;
  LONG bmWidthBytes;
  WORD bmPlanes;
  WORD bmBitsPixel;
  LPVOID bmBits;
} BITMAP, *PBITMAP, *LPBITMAP;

typedef struct tagBITMAPINFOHEADER {
  DWORD biSize;
  LONG biWidth;
  LONG biHeight;
  WORD biPlanes;
  WORD biBitCount;
  DWORD biCompression;
  DWORD biSizeImage;
  LONG biXPelsPerMeter;
  LONG biYPelsPerMeter;
  DWORD biClrUsed;
  DWORD biClrImportant;
} BITMAPINFOHEADER, *PBITMAPINFOHEADER, *LPBITMAPINFOHEADER;

typedef struct tagRGBQUAD {
  BYTE rgbBlue;
  BYTE rgbGreen;
  BYTE rgbRed;
  BYTE rgbReserved;
} RGBQUAD;

typedef struct tagBITMAPINFO {
  BITMAPINFOHEADER bmiHeader;
  RGBQUAD bmiColors[1];
} BITMAPINFO, *PBITMAPINFO, *LPBITMAPINFO;

typedef struct tagDIBSECTION {
  BITMAP dsBm;
  BITMAPINFOHEADER dsBmih;
  DWORD dsBitfields[3];
  HANDLE dshSection;
  DWORD dsOffset;
} DIBSECTION, *PDIBSECTION;

typedef struct _BLENDFUNCTION {
  BYTE BlendOp;
  BYTE BlendFlags;
  BYTE SourceConstantAlpha;
  BYTE AlphaFormat;
} BLENDFUNCTION, *PBLENDFUNCTION;

typedef struct _TRIVERTEX {
  LONG x;
  LONG y;
  COLOR16 Red;
  COLOR16 Green;
  COLOR16 Blue;
  COLOR16 Alpha;
} TRIVERTEX, *PTRIVERTEX;

typedef struct _GRADIENT_RECT {
  ULONG UpperLeft;
  ULONG LowerRight;
} GRADIENT_RECT, *PGRADIENT_RECT;

typedef struct tagLOGPEN {
  UINT lopnStyle;
  POINT lopnWidth;
  COLORREF lopnColor;
} LOGPEN;

typedef struct tagLOGBRUSH {
  UINT lbStyle;
  COLORREF lbColor;
  ULONG_PTR lbHatch;
} LOGBRUSH;

#define LF_FACESIZE 32

typedef struct tagLOGFONTW {
  LONG lfHeight;
  LONG lfWidth;
  LONG lfEscapement;
  LONG lfOrientation;
  LONG lfWeight;
  BYTE lfItalic;
  BYTE lfUnderline;
  BYTE lfStrikeOut;
  BYTE lfCharSet;
  BYTE lfOutPrecision;
  BYTE lfClipPrecision;
  BYTE lfQuality;
  BYTE lfPitchAndFamily;
  WCHAR lfFaceName[LF_FACESIZE];
} LOGFONTW, *PLOGFONTW, *LPLOGFONTW;

typedef struct tagTEXTMETRICW {
  LONG tmHeight;
  LONG tmAscent;
  LONG tmDescent;
  LONG tmInternalLeading;
  LONG tmExternalLeading;
  LONG tmAveCharWidth;
  LONG tmMaxCharWidth;
  LONG tmWeight;
  LONG tmOverhang;
  LONG tmDigitizedAspectX;
  LONG tmDigitizedAspectY;
  WCHAR tmFirstChar;
  WCHAR tmLastChar;
  WCHAR tmDefaultChar;
  WCHAR tmBreakChar;
  BYTE tmItalic;
  BYTE tmUnderlined;
  BYTE tmStruckOut;
  BYTE tmPitchAndFamily;
  BYTE tmCharSet;
} TEXTMETRICW, *PTEXTMETRICW, *LPTEXTMETRICW;

typedef struct _ABC {
  int abcA;
  UINT abcB;
  int abcC;
} ABC, *LPABC;

// --- constants ---

#define CLR_INVALID 0xFFFFFFFF
#define GDI_ERROR 0xFFFFFFFFL
#define HGDI_ERROR ((HGDIOBJ)(LONG_PTR)-1)

// Stock objects.
#define WHITE_BRUSH 0
#define LTGRAY_BRUSH 1
#define GRAY_BRUSH 2
#define DKGRAY_BRUSH 3
#define BLACK_BRUSH 4
#define NULL_BRUSH 5
#define HOLLOW_BRUSH NULL_BRUSH
#define WHITE_PEN 6
#define BLACK_PEN 7
#define NULL_PEN 8
#define SYSTEM_FONT 13
#define DEFAULT_GUI_FONT 17

// Object types (GetObjectType, GetCurrentObject).
#define OBJ_PEN 1
#define OBJ_BRUSH 2
#define OBJ_DC 3
#define OBJ_FONT 6
#define OBJ_BITMAP 7
#define OBJ_REGION 8
#define OBJ_MEMDC 10

// Raster operations.
#define SRCCOPY 0x00CC0020
#define PATCOPY 0x00F00021
#define BLACKNESS 0x00000042
#define WHITENESS 0x00FF0062

// Stretch modes.
#define BLACKONWHITE 1
#define WHITEONBLACK 2
#define COLORONCOLOR 3
#define HALFTONE 4
#define STRETCH_ANDSCANS BLACKONWHITE
#define STRETCH_ORSCANS WHITEONBLACK
#define STRETCH_DELETESCANS COLORONCOLOR
#define STRETCH_HALFTONE HALFTONE

// Background modes.
#define TRANSPARENT 1
#define OPAQUE 2

// Alpha blending.
#define AC_SRC_OVER 0x00
#define AC_SRC_ALPHA 0x01

// Gradient fills.
#define GRADIENT_FILL_RECT_H 0x00000000
#define GRADIENT_FILL_RECT_V 0x00000001
#define GRADIENT_FILL_TRIANGLE 0x00000002

// Pens and brushes.
#define PS_SOLID 0
#define PS_DASH 1
#define PS_DOT 2
#define PS_DASHDOT 3
#define PS_DASHDOTDOT 4
#define PS_NULL 5
#define PS_INSIDEFRAME 6
#define BS_SOLID 0
#define BS_NULL 1
#define BS_HOLLOW BS_NULL

// Bitmaps.
#define BI_RGB 0
#define BI_BITFIELDS 3
#define DIB_RGB_COLORS 0

// Regions.
#define ERROR 0
#define NULLREGION 1
#define SIMPLEREGION 2
#define COMPLEXREGION 3
#define RGN_ERROR ERROR
#define RGN_AND 1
#define RGN_OR 2
#define RGN_XOR 3
#define RGN_DIFF 4
#define RGN_COPY 5

// Fonts.
#define FW_DONTCARE 0
#define FW_THIN 100
#define FW_LIGHT 300
#define FW_NORMAL 400
#define FW_REGULAR 400
#define FW_MEDIUM 500
#define FW_SEMIBOLD 600
#define FW_BOLD 700
#define FW_HEAVY 900
#define ANSI_CHARSET 0
#define DEFAULT_CHARSET 1
#define GB2312_CHARSET 134
#define OUT_DEFAULT_PRECIS 0
#define CLIP_DEFAULT_PRECIS 0
#define DEFAULT_QUALITY 0
#define DRAFT_QUALITY 1
#define PROOF_QUALITY 2
#define NONANTIALIASED_QUALITY 3
#define ANTIALIASED_QUALITY 4
#define CLEARTYPE_QUALITY 5
#define DEFAULT_PITCH 0
#define FIXED_PITCH 1
#define VARIABLE_PITCH 2
#define FF_DONTCARE 0x00
#define FF_SWISS 0x20
#define TMPF_FIXED_PITCH 0x01
#define TMPF_VECTOR 0x02
#define TMPF_TRUETYPE 0x04

// Text alignment (SetTextAlign).
#define TA_NOUPDATECP 0
#define TA_UPDATECP 1
#define TA_LEFT 0
#define TA_RIGHT 2
#define TA_CENTER 6
#define TA_TOP 0
#define TA_BOTTOM 8
#define TA_BASELINE 24

// ExtTextOutW options.
#define ETO_OPAQUE 0x0002
#define ETO_CLIPPED 0x0004

// DrawTextW formats.
#define DT_TOP 0x00000000
#define DT_LEFT 0x00000000
#define DT_CENTER 0x00000001
#define DT_RIGHT 0x00000002
#define DT_VCENTER 0x00000004
#define DT_BOTTOM 0x00000008
#define DT_WORDBREAK 0x00000010
#define DT_SINGLELINE 0x00000020
#define DT_EXPANDTABS 0x00000040
#define DT_TABSTOP 0x00000080
#define DT_NOCLIP 0x00000100
#define DT_EXTERNALLEADING 0x00000200
#define DT_CALCRECT 0x00000400
#define DT_NOPREFIX 0x00000800
#define DT_INTERNAL 0x00001000
#define DT_EDITCONTROL 0x00002000
#define DT_PATH_ELLIPSIS 0x00004000
#define DT_END_ELLIPSIS 0x00008000
#define DT_MODIFYSTRING 0x00010000
#define DT_RTLREADING 0x00020000
#define DT_WORD_ELLIPSIS 0x00040000
#define DT_NOFULLWIDTHCHARBREAK 0x00080000
#define DT_HIDEPREFIX 0x00100000
#define DT_PREFIXONLY 0x00200000

// --- device contexts and objects ---

HDC WINAPI CreateCompatibleDC(HDC hdc);
BOOL WINAPI DeleteDC(HDC hdc);
HWND WINAPI WindowFromDC(HDC hdc);
HGDIOBJ WINAPI SelectObject(HDC hdc, HGDIOBJ h);
BOOL WINAPI DeleteObject(HGDIOBJ ho);
int WINAPI GetObjectW(HANDLE h, int c, LPVOID pv);
DWORD WINAPI GetObjectType(HGDIOBJ h);
HGDIOBJ WINAPI GetStockObject(int i);
HGDIOBJ WINAPI GetCurrentObject(HDC hdc, UINT type);
int WINAPI SaveDC(HDC hdc);
BOOL WINAPI RestoreDC(HDC hdc, int nSavedDC);
BOOL WINAPI GdiFlush();

COLORREF WINAPI SetTextColor(HDC hdc, COLORREF color);
COLORREF WINAPI GetTextColor(HDC hdc);
COLORREF WINAPI SetBkColor(HDC hdc, COLORREF color);
COLORREF WINAPI GetBkColor(HDC hdc);
int WINAPI SetBkMode(HDC hdc, int mode);
int WINAPI GetBkMode(HDC hdc);
int WINAPI SetStretchBltMode(HDC hdc, int mode);
int WINAPI GetStretchBltMode(HDC hdc);
BOOL WINAPI SetBrushOrgEx(HDC hdc, int x, int y, LPPOINT lppt);
UINT WINAPI SetTextAlign(HDC hdc, UINT align);
UINT WINAPI GetTextAlign(HDC hdc);

// --- bitmaps ---

HBITMAP WINAPI CreateCompatibleBitmap(HDC hdc, int cx, int cy);
// 32-bit BI_RGB only. A negative height is top-down, the layout the pixels
// are shared in; a positive (bottom-up) height is refused.
HBITMAP WINAPI CreateDIBSection(HDC hdc, const BITMAPINFO* pbmi, UINT usage, void** ppvBits, HANDLE hSection,
                                DWORD offset);

// --- blits and fills ---

BOOL WINAPI BitBlt(HDC hdc, int x, int y, int cx, int cy, HDC hdcSrc, int x1, int y1, DWORD rop);
BOOL WINAPI StretchBlt(HDC hdcDest, int xDest, int yDest, int wDest, int hDest, HDC hdcSrc, int xSrc, int ySrc,
                       int wSrc, int hSrc, DWORD rop);
BOOL WINAPI AlphaBlend(HDC hdcDest, int xoriginDest, int yoriginDest, int wDest, int hDest, HDC hdcSrc,
                       int xoriginSrc, int yoriginSrc, int wSrc, int hSrc, BLENDFUNCTION ftn);
BOOL WINAPI GradientFill(HDC hdc, PTRIVERTEX pVertex, ULONG nVertex, PVOID pMesh, ULONG nMesh, ULONG ulMode);
int WINAPI FillRect(HDC hDC, const RECT* lprc, HBRUSH hbr);
BOOL WINAPI FillRgn(HDC hdc, HRGN hrgn, HBRUSH hbr);
HBRUSH WINAPI CreateSolidBrush(COLORREF color);
HPEN WINAPI CreatePen(int iStyle, int cWidth, COLORREF color);
BOOL WINAPI MoveToEx(HDC hdc, int x, int y, LPPOINT lppt);
BOOL WINAPI LineTo(HDC hdc, int x, int y);

// --- regions and clipping ---

HRGN WINAPI CreateRectRgn(int x1, int y1, int x2, int y2);
HRGN WINAPI CreateRectRgnIndirect(const RECT* lprect);
// Like Win32, the region leaves out the last column and row: its box is
// (x1, y1, x2 - 1, y2 - 1). w and h are the corner ellipse's size.
HRGN WINAPI CreateRoundRectRgn(int x1, int y1, int x2, int y2, int w, int h);
int WINAPI CombineRgn(HRGN hrgnDst, HRGN hrgnSrc1, HRGN hrgnSrc2, int iMode);
int WINAPI GetRgnBox(HRGN hrgn, LPRECT lprc);
BOOL WINAPI PtInRegion(HRGN hrgn, int x, int y);
BOOL WINAPI RectInRegion(HRGN hrgn, const RECT* lprect);
BOOL WINAPI EqualRgn(HRGN hrgn1, HRGN hrgn2);
int WINAPI OffsetRgn(HRGN hrgn, int x, int y);
BOOL WINAPI SetRectRgn(HRGN hrgn, int left, int top, int right, int bottom);
int WINAPI SelectClipRgn(HDC hdc, HRGN hrgn);
int WINAPI ExtSelectClipRgn(HDC hdc, HRGN hrgn, int mode);
int WINAPI IntersectClipRect(HDC hdc, int left, int top, int right, int bottom);
int WINAPI GetClipBox(HDC hdc, LPRECT lprect);
// 1 and a copy in hrgn when a clip region is selected, 0 when none, -1 on error.
int WINAPI GetClipRgn(HDC hdc, HRGN hrgn);

// --- fonts and text ---

HFONT WINAPI CreateFontIndirectW(const LOGFONTW* lplf);
BOOL WINAPI GetTextMetricsW(HDC hdc, LPTEXTMETRICW lptm);
int WINAPI GetTextFaceW(HDC hdc, int c, LPWSTR lpName);
BOOL WINAPI GetTextExtentPoint32W(HDC hdc, LPCWSTR lpString, int c, LPSIZE psizl);
BOOL WINAPI GetTextExtentExPointW(HDC hdc, LPCWSTR lpszString, int cchString, int nMaxExtent, LPINT lpnFit,
                                  LPINT lpnDx, LPSIZE lpSize);
BOOL WINAPI GetCharABCWidthsW(HDC hdc, UINT wFirst, UINT wLast, LPABC lpABC);
BOOL WINAPI GetCharWidth32W(HDC hdc, UINT iFirst, UINT iLast, LPINT lpBuffer);
BOOL WINAPI TextOutW(HDC hdc, int x, int y, LPCWSTR lpString, int c);
BOOL WINAPI ExtTextOutW(HDC hdc, int x, int y, UINT options, const RECT* lprect, LPCWSTR lpString, UINT c,
                        const INT* lpDx);
int WINAPI DrawTextW(HDC hdc, LPCWSTR lpchText, int cchText, LPRECT lprc, UINT format);
