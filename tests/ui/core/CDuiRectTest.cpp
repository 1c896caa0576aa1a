#include <gtest/gtest.h>

#include "core/CDuiRect.h"
#include "core/CWaitCursor.h"

using SkinUI::CDuiRect;

namespace {

void ExpectRect(const RECT& r, LONG l, LONG t, LONG rr, LONG b) {
  EXPECT_EQ(r.left, l);
  EXPECT_EQ(r.top, t);
  EXPECT_EQ(r.right, rr);
  EXPECT_EQ(r.bottom, b);
}

}  // namespace

TEST(CDuiRect, UnionAndIntersectFollowThePlatform) {
  struct Case {
    CDuiRect a, b;
    bool unionResult;
    CDuiRect unionRect;
    bool intersectResult;
    CDuiRect intersectRect;
  } cases[] = {
      {{0, 0, 0, 0}, {1, 1, 5, 5}, true, {1, 1, 5, 5}, false, {}},
      {{1, 1, 5, 5}, {0, 0, 0, 0}, true, {1, 1, 5, 5}, false, {}},
      {{0, 0, 4, 4}, {2, 2, 6, 6}, true, {0, 0, 6, 6}, true, {2, 2, 4, 4}},
      {{0, 0, 2, 2}, {2, 0, 4, 2}, true, {0, 0, 4, 2}, false, {}},  // touching edges do not overlap
      {{3, 3, 1, 1}, {5, 5, 5, 9}, false, {}, false, {}},          // both empty
  };
  for (const Case& c : cases) {
    CDuiRect u = c.a, i = c.a;
    EXPECT_EQ(u.Union(c.b), c.unionResult);
    ExpectRect(u, c.unionRect.left, c.unionRect.top, c.unionRect.right, c.unionRect.bottom);
    EXPECT_EQ(i.Intersect(c.b), c.intersectResult);
    ExpectRect(i, c.intersectRect.left, c.intersectRect.top, c.intersectRect.right, c.intersectRect.bottom);
  }
}

TEST(CDuiRect, ArithmeticAndNormalisation) {
  CDuiRect r;
  EXPECT_TRUE(r.IsNull());
  r.Join(CDuiRect(1, 1, 5, 5));  // also with an empty rectangle
  ExpectRect(r, 0, 0, 5, 5);
  EXPECT_EQ(r.GetWidth(), 5);
  EXPECT_TRUE(r.Offset(10, 20));
  ExpectRect(r, 10, 20, 15, 25);
  r.ResetOffset();
  ExpectRect(r, 0, 0, 5, 5);
  EXPECT_TRUE(r.Inflate(2, 1));
  ExpectRect(r, -2, -1, 7, 6);
  EXPECT_TRUE(r.Deflate(2, 1));
  ExpectRect(r, 0, 0, 5, 5);
  CDuiRect flipped(9, 8, 1, 2);
  flipped.Normalize();
  ExpectRect(flipped, 1, 2, 9, 8);
  EXPECT_EQ(flipped.GetHeight(), 6);
  RECT plain{1, 2, 3, 4};
  CDuiRect copy(plain);
  ExpectRect(copy, 1, 2, 3, 4);
  copy.Empty();
  EXPECT_TRUE(copy.IsNull());
}

TEST(CWaitCursor, ShowsTheWaitCursorForItsLifetime) {
  HCURSOR arrow = ::LoadCursorW(nullptr, IDC_ARROW);
  ::SetCursor(arrow);
  {
    SkinUI::CWaitCursor wait;
    EXPECT_EQ(::GetCursor(), ::LoadCursorW(nullptr, IDC_WAIT));
  }
  EXPECT_EQ(::GetCursor(), arrow);
}
