// The drawing half of the window manager's contract (bridge/Bridge.h).
#include "bridge/Bridge.h"

#include "gdi/DeviceContext.h"
#include "gdi/Region.h"

namespace platform::bridge {

using gdi::DeviceContext;
using gdi::FindObjectOf;

HDC CreateSurfaceDC(cairo_surface_t* surface, HWND window) {
  if (!surface || cairo_surface_get_type(surface) != CAIRO_SURFACE_TYPE_IMAGE ||
      cairo_image_surface_get_format(surface) != CAIRO_FORMAT_ARGB32) {
    return nullptr;
  }
  return static_cast<HDC>(gdi::AddObject(std::make_shared<DeviceContext>(surface, window)));
}

void DestroySurfaceDC(HDC dc) {
  auto object = FindObjectOf<DeviceContext>(dc);
  if (object && !object->IsMemory()) gdi::RemoveObject(dc);
}

void SetSurfaceDCBaseClip(HDC dc, const cairo_region_t* clip) {
  if (auto object = FindObjectOf<DeviceContext>(dc)) object->SetBaseClip(clip);
}

cairo_surface_t* SurfaceOfDC(HDC dc) {
  auto object = FindObjectOf<DeviceContext>(dc);
  return object ? object->Surface() : nullptr;
}

const cairo_region_t* RegionOf(HRGN region) {
  auto object = FindObjectOf<gdi::Region>(region);
  return object ? object->Get() : nullptr;
}

HRGN CreateRegionFrom(const cairo_region_t* region) {
  if (!region) return nullptr;
  return static_cast<HRGN>(gdi::AddObject(std::make_shared<gdi::Region>(region)));
}

// Stand-ins until the window manager links in its own (strong) definitions:
// without it there are no windows, so no window DC exists to ask for them.
__attribute__((weak)) cairo_surface_t* WindowSurface(HWND) { return nullptr; }
__attribute__((weak)) void WindowSurfaceChanged(HWND, const RECT*) {}

}  // namespace platform::bridge
