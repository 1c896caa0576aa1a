// Stand-ins for the drawing half's side of the bridge, used only while it
// is not linked in: a DC that knows its surface and nothing else. The
// drawing half's definitions replace these (they are weak).
#include <cairo.h>

#include "bridge/Bridge.h"

namespace platform::bridge {
namespace {
struct FallbackDC {
  cairo_surface_t* surface;
};
}  // namespace

__attribute__((weak)) HDC CreateSurfaceDC(cairo_surface_t* surface, HWND) {
  return reinterpret_cast<HDC>(new FallbackDC{surface});
}
__attribute__((weak)) void DestroySurfaceDC(HDC dc) { delete reinterpret_cast<FallbackDC*>(dc); }
__attribute__((weak)) void SetSurfaceDCBaseClip(HDC, const cairo_region_t*) {}
__attribute__((weak)) cairo_surface_t* SurfaceOfDC(HDC dc) {
  return dc ? reinterpret_cast<FallbackDC*>(dc)->surface : nullptr;
}
__attribute__((weak)) const cairo_region_t* RegionOf(HRGN) { return nullptr; }
__attribute__((weak)) HRGN CreateRegionFrom(const cairo_region_t*) { return nullptr; }

}  // namespace platform::bridge

__attribute__((weak)) BOOL WINAPI DeleteObject(HGDIOBJ) { return FALSE; }
