// Regions: rounded-rectangle geometry, combining, boxes and clip selection.
#include "Canvas.h"

namespace {

TEST(GdiRoundRectRegion, CornersOutEdgesIn) {
  HRGN rgn = CreateRoundRectRgn(10, 20, 41, 51, 12, 12);
  RECT box;
  EXPECT_EQ(GetRgnBox(rgn, &box), COMPLEXREGION);
  // Like Win32, the last column and row are left out.
  EXPECT_EQ(box.left, 10);
  EXPECT_EQ(box.top, 20);
  EXPECT_EQ(box.right, 40);
  EXPECT_EQ(box.bottom, 50);
  const struct {
    int x, y;
    bool in;
  } points[] = {
      {10, 20, false}, {39, 20, false}, {10, 49, false}, {39, 49, false},  // corners
      {11, 21, false}, {38, 48, false},                                    // just inside the corners
      {25, 20, true},  {25, 49, true},  {10, 35, true},  {39, 35, true},   // edge middles
      {16, 20, true},  {10, 26, true},                                     // where the arc meets the edges
      {25, 35, true},  {40, 35, false}, {25, 50, false},
  };
  for (const auto& p : points) EXPECT_EQ(PtInRegion(rgn, p.x, p.y) != 0, p.in) << p.x << "," << p.y;
  // Symmetric: each corner cuts the same number of pixels.
  int cut[4] = {};
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 6; ++x) {
      cut[0] += !PtInRegion(rgn, 10 + x, 20 + y);
      cut[1] += !PtInRegion(rgn, 39 - x, 20 + y);
      cut[2] += !PtInRegion(rgn, 10 + x, 49 - y);
      cut[3] += !PtInRegion(rgn, 39 - x, 49 - y);
    }
  EXPECT_GT(cut[0], 3);
  EXPECT_EQ(cut[0], cut[1]);
  EXPECT_EQ(cut[0], cut[2]);
  EXPECT_EQ(cut[0], cut[3]);
  DeleteObject(rgn);
}

TEST(GdiRoundRectRegion, OversizedCornersAndEmptyBoxes) {
  HRGN ellipse = CreateRoundRectRgn(0, 0, 11, 11, 100, 100);  // corners limited to the box: a circle
  EXPECT_TRUE(PtInRegion(ellipse, 5, 0));
  EXPECT_FALSE(PtInRegion(ellipse, 0, 1));
  EXPECT_FALSE(PtInRegion(ellipse, 10, 5));
  HRGN empty = CreateRoundRectRgn(5, 5, 6, 9, 2, 2);
  RECT box;
  EXPECT_EQ(GetRgnBox(empty, &box), NULLREGION);
  EXPECT_EQ(box.right, 0);
  DeleteObject(ellipse);
  DeleteObject(empty);
}

TEST(GdiCombineRgn, Modes) {
  const struct {
    int mode;
    int kind;
    RECT box;
    POINT in, out;
  } cases[] = {
      {RGN_AND, SIMPLEREGION, {5, 5, 10, 10}, {7, 7}, {2, 2}},
      {RGN_OR, COMPLEXREGION, {0, 0, 15, 15}, {12, 12}, {12, 2}},
      {RGN_XOR, COMPLEXREGION, {0, 0, 15, 15}, {2, 2}, {7, 7}},
      {RGN_DIFF, COMPLEXREGION, {0, 0, 10, 10}, {2, 2}, {7, 7}},
      {RGN_COPY, SIMPLEREGION, {0, 0, 10, 10}, {7, 7}, {12, 12}},
  };
  for (const auto& c : cases) {
    HRGN a = CreateRectRgn(0, 0, 10, 10);
    RECT rb{5, 5, 15, 15};
    HRGN b = CreateRectRgnIndirect(&rb);
    HRGN dst = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(CombineRgn(dst, a, b, c.mode), c.kind) << c.mode;
    RECT box;
    GetRgnBox(dst, &box);
    EXPECT_TRUE(box.left == c.box.left && box.top == c.box.top && box.right == c.box.right &&
                box.bottom == c.box.bottom)
        << c.mode;
    EXPECT_TRUE(PtInRegion(dst, c.in.x, c.in.y)) << c.mode;
    EXPECT_FALSE(PtInRegion(dst, c.out.x, c.out.y)) << c.mode;
    EXPECT_EQ(CombineRgn(a, a, b, c.mode), c.kind) << "in place " << c.mode;
    DeleteObject(a);
    DeleteObject(b);
    DeleteObject(dst);
  }
  HRGN a = CreateRectRgn(0, 0, 1, 1);
  EXPECT_EQ(CombineRgn(a, a, nullptr, RGN_AND), ERROR);
  EXPECT_EQ(CombineRgn(a, a, a, 99), ERROR);
  DeleteObject(a);
}

TEST(GdiClip, ExtSelectClipRgnCombinesWithTheCurrentClip) {
  Canvas canvas(20, 20);
  HRGN a = CreateRectRgn(0, 0, 10, 10);
  HRGN b = CreateRectRgn(5, 5, 15, 15);
  RECT box;
  EXPECT_EQ(ExtSelectClipRgn(canvas.dc, a, RGN_AND), SIMPLEREGION);  // no clip yet: the surface
  EXPECT_EQ(ExtSelectClipRgn(canvas.dc, b, RGN_OR), COMPLEXREGION);
  GetClipBox(canvas.dc, &box);
  EXPECT_EQ(box.right, 15);
  EXPECT_EQ(ExtSelectClipRgn(canvas.dc, b, RGN_DIFF), COMPLEXREGION);
  GetClipBox(canvas.dc, &box);
  EXPECT_EQ(box.right, 10);
  EXPECT_EQ(IntersectClipRect(canvas.dc, 0, 0, 3, 3), SIMPLEREGION);
  HRGN copy = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(GetClipRgn(canvas.dc, copy), 1);
  GetRgnBox(copy, &box);
  EXPECT_EQ(box.right, 3);
  EXPECT_EQ(ExtSelectClipRgn(canvas.dc, nullptr, RGN_COPY), SIMPLEREGION);
  EXPECT_EQ(GetClipRgn(canvas.dc, copy), 0);
  EXPECT_EQ(ExtSelectClipRgn(canvas.dc, nullptr, RGN_AND), ERROR);
  EXPECT_EQ(ExtSelectClipRgn(canvas.dc, b, RGN_AND), SIMPLEREGION);
  EXPECT_EQ(ExtSelectClipRgn(canvas.dc, a, RGN_DIFF), COMPLEXREGION);
  HRGN far = CreateRectRgn(30, 30, 40, 40);
  EXPECT_EQ(SelectClipRgn(canvas.dc, far), NULLREGION);  // outside the surface
  GetClipBox(canvas.dc, &box);
  EXPECT_EQ(box.right - box.left, 0);
  for (HRGN r : {a, b, copy, far}) DeleteObject(r);
}

TEST(GdiRegion, OffsetEqualAndRectTests) {
  HRGN a = CreateRectRgn(10, 10, 0, 0);  // corners in either order
  HRGN b = CreateRectRgn(5, 5, 15, 15);
  EXPECT_EQ(OffsetRgn(a, 5, 5), SIMPLEREGION);
  EXPECT_TRUE(EqualRgn(a, b));
  RECT touching{14, 14, 20, 20}, outside{15, 15, 20, 20};
  EXPECT_TRUE(RectInRegion(a, &touching));
  EXPECT_FALSE(RectInRegion(a, &outside));
  EXPECT_TRUE(SetRectRgn(a, 0, 0, 1, 1));
  EXPECT_FALSE(EqualRgn(a, b));
  DeleteObject(a);
  DeleteObject(b);
}

}  // namespace
