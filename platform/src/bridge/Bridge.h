// Where the window manager and the drawing half meet. Both sides keep
// their objects private; these calls are the whole contract.
//
// A window's client area is a cairo ARGB32 image surface owned by the
// window manager. Regions are cairo regions in client (or, for window
// regions, window) coordinates.
#pragma once

#include <cairo.h>

#include "win32/Types.h"

namespace platform::bridge {

// --- provided by the drawing half (src/gdi) ---

// A device context that draws onto surface with origin at its top-left,
// for GetDC and BeginPaint of window. The surface outlives the DC.
HDC CreateSurfaceDC(cairo_surface_t* surface, HWND window);
void DestroySurfaceDC(HDC dc);
// Limits every drawing of dc to clip (the update region during a paint
// cycle); null removes the limit. Selected clip regions intersect it.
void SetSurfaceDCBaseClip(HDC dc, const cairo_region_t* clip);
// The surface dc draws on (a window's surface, or a memory DC's selected
// bitmap), or null.
cairo_surface_t* SurfaceOfDC(HDC dc);
// The cairo region behind a region handle, or null for a non-region.
const cairo_region_t* RegionOf(HRGN region);
// A new region handle holding a copy of region.
HRGN CreateRegionFrom(const cairo_region_t* region);

// --- provided by the window manager (src/window) ---

// The surface of window's client area, or null.
cairo_surface_t* WindowSurface(HWND window);
// A DC not obtained through BeginPaint drew rect of window's surface (null:
// all of it); the backend presents it.
void WindowSurfaceChanged(HWND window, const RECT* rect);

}  // namespace platform::bridge
