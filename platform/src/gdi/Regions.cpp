// Regions and the clip of a device context.
#include "gdi/DeviceContext.h"
#include "gdi/Region.h"
#include "win32/Errors.h"

using namespace platform::gdi;

namespace {

HRGN Add(cairo_region_t* region) {
  auto object = std::make_shared<Region>();
  object->Assign(region);
  cairo_region_destroy(region);
  return static_cast<HRGN>(AddObject(object));
}

void BoxOf(const cairo_region_t* region, LPRECT rect) {
  cairo_rectangle_int_t box;
  cairo_region_get_extents(region, &box);
  if (cairo_region_is_empty(region)) box = {0, 0, 0, 0};
  *rect = {box.x, box.y, box.x + box.width, box.y + box.height};
}

// Applies mode to a with b (b may be a).
void Combine(cairo_region_t* a, const cairo_region_t* b, int mode) {
  switch (mode) {
    case RGN_AND: cairo_region_intersect(a, b); break;
    case RGN_OR: cairo_region_union(a, b); break;
    case RGN_XOR: cairo_region_xor(a, b); break;
    case RGN_DIFF: cairo_region_subtract(a, b); break;
    default: break;
  }
}

}  // namespace

HRGN WINAPI CreateRectRgn(int x1, int y1, int x2, int y2) {
  cairo_rectangle_int_t r = Region::Rect(x1, y1, x2, y2);
  return static_cast<HRGN>(AddObject(std::make_shared<Region>(r)));
}

HRGN WINAPI CreateRectRgnIndirect(const RECT* rect) {
  if (!rect) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return CreateRectRgn(rect->left, rect->top, rect->right, rect->bottom);
}

HRGN WINAPI CreateRoundRectRgn(int x1, int y1, int x2, int y2, int w, int h) {
  return Add(Region::CreateRoundRect(x1, y1, x2, y2, w, h));
}

int WINAPI CombineRgn(HRGN dst, HRGN src1, HRGN src2, int mode) {
  auto d = FindObjectOf<Region>(dst);
  auto a = FindObjectOf<Region>(src1);
  if (!d || !a || mode < RGN_AND || mode > RGN_COPY) return ERROR;
  if (mode == RGN_COPY) {
    d->Assign(a->Get());
    return Region::Kind(d->Get());
  }
  auto b = FindObjectOf<Region>(src2);
  if (!b) return ERROR;
  cairo_region_t* result = cairo_region_copy(a->Get());
  Combine(result, b->Get(), mode);
  d->Assign(result);
  cairo_region_destroy(result);
  return Region::Kind(d->Get());
}

int WINAPI GetRgnBox(HRGN hrgn, LPRECT rect) {
  auto region = FindObjectOf<Region>(hrgn);
  if (!region || !rect) return ERROR;
  BoxOf(region->Get(), rect);
  return Region::Kind(region->Get());
}

BOOL WINAPI PtInRegion(HRGN hrgn, int x, int y) {
  auto region = FindObjectOf<Region>(hrgn);
  return region && cairo_region_contains_point(region->Get(), x, y) ? TRUE : FALSE;
}

BOOL WINAPI RectInRegion(HRGN hrgn, const RECT* rect) {
  auto region = FindObjectOf<Region>(hrgn);
  if (!region || !rect) return FALSE;
  cairo_rectangle_int_t r = Region::Rect(rect->left, rect->top, rect->right, rect->bottom);
  return cairo_region_contains_rectangle(region->Get(), &r) != CAIRO_REGION_OVERLAP_OUT ? TRUE : FALSE;
}

BOOL WINAPI EqualRgn(HRGN hrgn1, HRGN hrgn2) {
  auto a = FindObjectOf<Region>(hrgn1);
  auto b = FindObjectOf<Region>(hrgn2);
  return a && b && cairo_region_equal(a->Get(), b->Get()) ? TRUE : FALSE;
}

int WINAPI OffsetRgn(HRGN hrgn, int x, int y) {
  auto region = FindObjectOf<Region>(hrgn);
  if (!region) return ERROR;
  cairo_region_translate(region->Get(), x, y);
  return Region::Kind(region->Get());
}

BOOL WINAPI SetRectRgn(HRGN hrgn, int left, int top, int right, int bottom) {
  auto region = FindObjectOf<Region>(hrgn);
  if (!region) return FALSE;
  cairo_rectangle_int_t r = Region::Rect(left, top, right, bottom);
  cairo_region_t* rect = cairo_region_create_rectangle(&r);
  region->Assign(rect);
  cairo_region_destroy(rect);
  return TRUE;
}

int WINAPI ExtSelectClipRgn(HDC hdc, HRGN hrgn, int mode) {
  auto dc = FindObjectOf<DeviceContext>(hdc);
  if (!dc || mode < RGN_AND || mode > RGN_COPY) return ERROR;
  auto region = FindObjectOf<Region>(hrgn);
  if (mode == RGN_COPY) {
    if (hrgn && !region) return ERROR;
    dc->SetClip(region ? cairo_region_copy(region->Get()) : nullptr);
    return Region::Kind(dc->EffectiveClip());
  }
  if (!region) return ERROR;
  // Without a selected clip the whole surface is the current one.
  cairo_region_t* clip;
  if (dc->SelectedClip()) {
    clip = cairo_region_copy(dc->SelectedClip());
  } else {
    cairo_rectangle_int_t whole{0, 0, dc->Width(), dc->Height()};
    clip = cairo_region_create_rectangle(&whole);
  }
  Combine(clip, region->Get(), mode);
  dc->SetClip(clip);
  return Region::Kind(dc->EffectiveClip());
}

int WINAPI SelectClipRgn(HDC hdc, HRGN hrgn) { return ExtSelectClipRgn(hdc, hrgn, RGN_COPY); }

int WINAPI IntersectClipRect(HDC hdc, int left, int top, int right, int bottom) {
  HRGN rect = CreateRectRgn(left, top, right, bottom);
  int kind = ExtSelectClipRgn(hdc, rect, RGN_AND);
  DeleteObject(rect);
  return kind;
}

int WINAPI GetClipBox(HDC hdc, LPRECT rect) {
  auto dc = FindObjectOf<DeviceContext>(hdc);
  if (!dc || !rect) return ERROR;
  const cairo_region_t* clip = dc->EffectiveClip();
  BoxOf(clip, rect);
  return Region::Kind(clip);
}

int WINAPI GetClipRgn(HDC hdc, HRGN hrgn) {
  auto dc = FindObjectOf<DeviceContext>(hdc);
  auto region = FindObjectOf<Region>(hrgn);
  if (!dc || !region) return -1;
  if (!dc->SelectedClip()) return 0;
  region->Assign(dc->SelectedClip());
  return 1;
}
