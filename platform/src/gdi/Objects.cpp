// Objects and device contexts: creation, selection, deletion, queries,
// the saved-state stack and the drawing modes.
#include <cstring>

#include "gdi/DeviceContext.h"
#include "gdi/Region.h"
#include "gdi/Stock.h"
#include "win32/Errors.h"

using namespace platform::gdi;

namespace {

template <class T>
HGDIOBJ Swap(Selection<T>& slot, HGDIOBJ handle, std::shared_ptr<T> object) {
  HGDIOBJ old = slot.handle;
  slot = {handle, std::move(object)};
  return old;
}

}  // namespace

HDC WINAPI CreateCompatibleDC(HDC hdc) {
  if (hdc && !DeviceContext::Of(hdc)) return nullptr;
  return static_cast<HDC>(AddObject(std::make_shared<DeviceContext>()));
}

BOOL WINAPI DeleteDC(HDC hdc) {
  auto dc = DeviceContext::Of(hdc);
  if (!dc || !dc->IsMemory()) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  return RemoveObject(hdc) ? TRUE : FALSE;
}

HWND WINAPI WindowFromDC(HDC hdc) {
  auto dc = DeviceContext::Of(hdc);
  return dc ? dc->Window() : nullptr;
}

HGDIOBJ WINAPI SelectObject(HDC hdc, HGDIOBJ handle) {
  auto dc = DeviceContext::Of(hdc);
  auto object = FindObject(handle);
  if (!dc || !object) return nullptr;
  auto& state = dc->Current();
  if (auto bitmap = std::dynamic_pointer_cast<Bitmap>(object)) {
    HGDIOBJ old = state.bitmap.handle;
    return dc->SelectBitmap(handle, bitmap) ? old : nullptr;
  }
  if (auto brush = std::dynamic_pointer_cast<Brush>(object)) return Swap(state.brush, handle, brush);
  if (auto pen = std::dynamic_pointer_cast<Pen>(object)) return Swap(state.pen, handle, pen);
  if (auto font = std::dynamic_pointer_cast<Font>(object)) return Swap(state.font, handle, font);
  if (std::dynamic_pointer_cast<Region>(object)) {
    int kind = SelectClipRgn(hdc, static_cast<HRGN>(handle));
    return reinterpret_cast<HGDIOBJ>(static_cast<intptr_t>(kind == ERROR ? -1 : kind));
  }
  return nullptr;
}

BOOL WINAPI DeleteObject(HGDIOBJ handle) {
  if (IsStockObject(handle)) return TRUE;  // Win32 ignores it, and so do we
  auto object = FindObject(handle);
  if (!object || std::dynamic_pointer_cast<DeviceContext>(object)) return FALSE;
  return RemoveObject(handle) ? TRUE : FALSE;
}

DWORD WINAPI GetObjectType(HGDIOBJ handle) {
  auto object = FindObject(handle);
  return object ? object->Type() : 0;
}

HGDIOBJ WINAPI GetStockObject(int index) { return StockObject(index); }

HGDIOBJ WINAPI GetCurrentObject(HDC hdc, UINT type) {
  auto dc = DeviceContext::Of(hdc);
  if (!dc) return nullptr;
  auto& state = dc->Current();
  switch (type) {
    case OBJ_BITMAP: return state.bitmap.handle;
    case OBJ_BRUSH: return state.brush.handle;
    case OBJ_PEN: return state.pen.handle;
    case OBJ_FONT: return state.font.handle;
    default: return nullptr;
  }
}

int WINAPI GetObjectW(HANDLE handle, int size, LPVOID buffer) {
  auto object = FindObject(handle);
  if (!object || size < 0) return 0;
  if (auto bitmap = std::dynamic_pointer_cast<Bitmap>(object)) {
    BITMAP bm{0, bitmap->Width(), bitmap->Height(), bitmap->Width() * 4, 1, 32,
              bitmap->IsDibSection() ? bitmap->Bits() : nullptr};
    if (!buffer) return sizeof(BITMAP);
    if (bitmap->IsDibSection() && size >= static_cast<int>(sizeof(DIBSECTION))) {
      DIBSECTION ds{};
      ds.dsBm = bm;
      ds.dsBmih.biSize = sizeof(BITMAPINFOHEADER);
      ds.dsBmih.biWidth = bitmap->Width();
      ds.dsBmih.biHeight = -bitmap->Height();
      ds.dsBmih.biPlanes = 1;
      ds.dsBmih.biBitCount = 32;
      ds.dsBmih.biCompression = BI_RGB;
      ds.dsBmih.biSizeImage = static_cast<DWORD>(bitmap->Width()) * bitmap->Height() * 4;
      std::memcpy(buffer, &ds, sizeof ds);
      return sizeof(DIBSECTION);
    }
    if (size < static_cast<int>(sizeof(BITMAP))) return 0;
    std::memcpy(buffer, &bm, sizeof bm);
    return sizeof(BITMAP);
  }
  auto copy = [&](const auto& record) {
    if (!buffer) return static_cast<int>(sizeof record);
    int n = std::min(size, static_cast<int>(sizeof record));
    std::memcpy(buffer, &record, n);
    return n;
  };
  if (auto font = std::dynamic_pointer_cast<Font>(object)) return copy(font->LogFont());
  if (auto pen = std::dynamic_pointer_cast<Pen>(object)) {
    return copy(LOGPEN{pen->Style(), POINT{pen->Width(), 0}, pen->Color()});
  }
  if (auto brush = std::dynamic_pointer_cast<Brush>(object)) return copy(LOGBRUSH{brush->Style(), brush->Color(), 0});
  return 0;
}

HBRUSH WINAPI CreateSolidBrush(COLORREF color) {
  return static_cast<HBRUSH>(AddObject(std::make_shared<Brush>(BS_SOLID, color)));
}

HPEN WINAPI CreatePen(int style, int width, COLORREF color) {
  if (style < PS_SOLID || style > PS_INSIDEFRAME) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  // Styled lines are for one-pixel pens only, as in Win32.
  if (width > 1 && style >= PS_DASH && style <= PS_DASHDOTDOT) style = PS_SOLID;
  return static_cast<HPEN>(AddObject(std::make_shared<Pen>(style, width, color)));
}

HBITMAP WINAPI CreateCompatibleBitmap(HDC hdc, int cx, int cy) {
  if (!DeviceContext::Of(hdc) || cx < 0 || cy < 0) return nullptr;
  if (cx == 0 || cy == 0) return static_cast<HBITMAP>(StockBitmap());
  auto bitmap = Bitmap::Create(cx, cy, false);
  if (!bitmap) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  return static_cast<HBITMAP>(AddObject(bitmap));
}

HBITMAP WINAPI CreateDIBSection(HDC, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section, DWORD) {
  if (bits) *bits = nullptr;
  if (!info || usage != DIB_RGB_COLORS || section) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  const BITMAPINFOHEADER& h = info->bmiHeader;
  if (h.biSize < sizeof(BITMAPINFOHEADER) || h.biWidth <= 0 || h.biHeight >= 0 || h.biPlanes != 1 ||
      h.biBitCount != 32 || h.biCompression != BI_RGB) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto bitmap = Bitmap::Create(h.biWidth, -static_cast<int64_t>(h.biHeight) > 32767 ? 0 : -h.biHeight, true);
  if (!bitmap) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  if (bits) *bits = bitmap->Bits();
  return static_cast<HBITMAP>(AddObject(bitmap));
}

int WINAPI SaveDC(HDC hdc) {
  auto dc = DeviceContext::Of(hdc);
  return dc ? dc->Save() : 0;
}

BOOL WINAPI RestoreDC(HDC hdc, int level) {
  auto dc = DeviceContext::Of(hdc);
  return dc && dc->Restore(level) ? TRUE : FALSE;
}

// Drawing happens when called; there is nothing to flush.
BOOL WINAPI GdiFlush() { return TRUE; }

namespace {

template <class V, class F>
V Exchange(HDC hdc, V invalid, F field, V value) {
  auto dc = DeviceContext::Of(hdc);
  if (!dc) return invalid;
  V& slot = field(dc->Current());
  V old = slot;
  slot = value;
  return old;
}

template <class V, class F>
V Read(HDC hdc, V invalid, F field) {
  auto dc = DeviceContext::Of(hdc);
  return dc ? field(dc->Current()) : invalid;
}

}  // namespace

COLORREF WINAPI SetTextColor(HDC hdc, COLORREF color) {
  return Exchange<COLORREF>(hdc, CLR_INVALID, [](auto& s) -> COLORREF& { return s.text_color; }, color & 0xFFFFFF);
}
COLORREF WINAPI GetTextColor(HDC hdc) {
  return Read<COLORREF>(hdc, CLR_INVALID, [](auto& s) { return s.text_color; });
}
COLORREF WINAPI SetBkColor(HDC hdc, COLORREF color) {
  return Exchange<COLORREF>(hdc, CLR_INVALID, [](auto& s) -> COLORREF& { return s.bk_color; }, color & 0xFFFFFF);
}
COLORREF WINAPI GetBkColor(HDC hdc) {
  return Read<COLORREF>(hdc, CLR_INVALID, [](auto& s) { return s.bk_color; });
}
int WINAPI SetBkMode(HDC hdc, int mode) {
  if (mode != TRANSPARENT && mode != OPAQUE) return 0;
  return Exchange<int>(hdc, 0, [](auto& s) -> int& { return s.bk_mode; }, mode);
}
int WINAPI GetBkMode(HDC hdc) {
  return Read<int>(hdc, 0, [](auto& s) { return s.bk_mode; });
}
int WINAPI SetStretchBltMode(HDC hdc, int mode) {
  if (mode < BLACKONWHITE || mode > HALFTONE) return 0;
  return Exchange<int>(hdc, 0, [](auto& s) -> int& { return s.stretch_mode; }, mode);
}
int WINAPI GetStretchBltMode(HDC hdc) {
  return Read<int>(hdc, 0, [](auto& s) { return s.stretch_mode; });
}
UINT WINAPI SetTextAlign(HDC hdc, UINT align) {
  return Exchange<UINT>(hdc, GDI_ERROR, [](auto& s) -> UINT& { return s.text_align; }, align);
}
UINT WINAPI GetTextAlign(HDC hdc) {
  return Read<UINT>(hdc, GDI_ERROR, [](auto& s) { return s.text_align; });
}

BOOL WINAPI SetBrushOrgEx(HDC hdc, int x, int y, LPPOINT old) {
  auto dc = DeviceContext::Of(hdc);
  if (!dc) return FALSE;
  if (old) *old = dc->Current().brush_origin;
  dc->Current().brush_origin = {x, y};
  return TRUE;
}
