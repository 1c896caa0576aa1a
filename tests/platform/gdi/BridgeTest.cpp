// The window manager's side of the contract: DCs on a client surface.
#include <cairo.h>

#include "Canvas.h"
#include "bridge/Bridge.h"

namespace {

using namespace platform::bridge;

TEST(GdiSurfaceDC, DrawsOnTheSurfaceWithinTheBaseClip) {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 10, 10);
  HDC dc = CreateSurfaceDC(surface, nullptr);
  ASSERT_NE(dc, nullptr);
  EXPECT_EQ(SurfaceOfDC(dc), surface);
  EXPECT_EQ(GetObjectType(dc), static_cast<DWORD>(OBJ_DC));

  cairo_rectangle_int_t update{0, 0, 5, 10};
  cairo_region_t* base = cairo_region_create_rectangle(&update);
  SetSurfaceDCBaseClip(dc, base);
  cairo_region_destroy(base);
  HRGN selected = CreateRectRgn(0, 5, 10, 10);
  SelectClipRgn(dc, selected);  // intersects the base clip
  RECT box;
  EXPECT_EQ(GetClipBox(dc, &box), SIMPLEREGION);
  EXPECT_TRUE(box.left == 0 && box.top == 5 && box.right == 5 && box.bottom == 10);
  RECT all{0, 0, 10, 10};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  cairo_surface_flush(surface);
  auto* px = reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(surface));
  EXPECT_EQ(px[7 * 10 + 2], 0xFF000000u);
  EXPECT_EQ(px[2 * 10 + 2], 0u);
  EXPECT_EQ(px[7 * 10 + 7], 0u);

  SetSurfaceDCBaseClip(dc, nullptr);
  SelectClipRgn(dc, nullptr);
  GetClipBox(dc, &box);
  EXPECT_EQ(box.right, 10);
  EXPECT_EQ(SelectObject(dc, CreateCompatibleBitmap(dc, 2, 2)), nullptr);  // not a memory DC
  EXPECT_FALSE(DeleteDC(dc));  // released through the window manager

  DestroySurfaceDC(dc);
  EXPECT_EQ(SurfaceOfDC(dc), nullptr);
  cairo_surface_destroy(surface);
  DeleteObject(selected);
}

TEST(GdiSurfaceDC, RefusesSurfacesItCannotDrawOn) {
  cairo_surface_t* a8 = cairo_image_surface_create(CAIRO_FORMAT_A8, 4, 4);
  EXPECT_EQ(CreateSurfaceDC(a8, nullptr), nullptr);
  EXPECT_EQ(CreateSurfaceDC(nullptr, nullptr), nullptr);
  cairo_surface_destroy(a8);
}

TEST(GdiRegionHandles, RoundTripThroughCairoRegions) {
  HRGN round = CreateRoundRectRgn(0, 0, 21, 21, 8, 8);
  const cairo_region_t* inner = RegionOf(round);
  ASSERT_NE(inner, nullptr);
  HRGN copy = CreateRegionFrom(inner);
  EXPECT_TRUE(EqualRgn(round, copy));
  EXPECT_EQ(RegionOf(reinterpret_cast<HRGN>(GetStockObject(BLACK_BRUSH))), nullptr);
  DeleteObject(round);
  EXPECT_EQ(RegionOf(round), nullptr);
  EXPECT_TRUE(PtInRegion(copy, 10, 10));
  DeleteObject(copy);
}

}  // namespace
