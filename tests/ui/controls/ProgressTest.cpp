// The progress bar painted on a memory bitmap: which part of the bar the
// foreground image covers for each value and range, and which part of the
// image shows there. Each image pixel carries its own column and row.
#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <memory>
#include <vector>

#include "controls/CProgressUI.h"
#include "manager/CPaintManagerUI.h"
#include "render/CRenderEngine.h"

namespace SkinUI {
namespace {

constexpr uint32_t kWhite = 0xFFFFFFFF;

// Opaque; blue is the column (x / 2 for wide images), green the row.
uint32_t Tag(int x, int y) { return 0xFF000000u | uint32_t(y) << 8 | uint32_t(x / 2); }

struct Bar {
  CPaintManagerUI manager;
  CProgressUI progress;
  HDC dc = ::CreateCompatibleDC(nullptr);
  BYTE* bits = nullptr;
  HBITMAP bitmap = CRenderEngine::CreateBitmap(nullptr, 220, 40, &bits);
  HGDIOBJ old = ::SelectObject(dc, bitmap);

  Bar() {
    AddImage(L"bar", 200, 12);
    AddImage(L"sprite", 200, 24);
    AddImage(L"short", 150, 12);
    progress.SetManager(&manager, nullptr, false);
    progress.SetPos(RECT{10, 10, 210, 22});  // 200 x 12
  }
  ~Bar() {
    ::SelectObject(dc, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(dc);
  }
  void AddImage(LPCWSTR name, int w, int h) {
    BYTE* p = nullptr;
    HBITMAP image = CRenderEngine::CreateBitmap(nullptr, w, h, &p);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) reinterpret_cast<uint32_t*>(p)[y * w + x] = Tag(x, y);
    manager.AddImage(name, image, w, h, false);
  }
  uint32_t At(int x, int y) { return reinterpret_cast<uint32_t*>(bits)[(y + 10) * 220 + x + 10]; }
  // Paints on white.
  void Paint() {
    for (int i = 0; i < 220 * 40; ++i) reinterpret_cast<uint32_t*>(bits)[i] = kWhite;
    progress.DoPaint(dc, RECT{0, 0, 220, 40});
  }
  // The columns the image covers along the bottom row, and the rows it
  // covers in the middle column.
  int Covered() {
    int covered = 0;
    for (int x = 0; x < 200; ++x) covered += At(x, 11) != kWhite;
    return covered;
  }
  int Rows() {
    int rows = 0;
    for (int y = 0; y < 12; ++y) rows += At(100, y) != kWhite;
    return rows;
  }
};

TEST(Progress, RevealedPartForEachValue) {
  struct Case {
    const char* name;
    const wchar_t* attributes;
    std::function<void(CProgressUI&)> act;
    int columns, rows;  // covered at the bottom row, covered in the middle column
  };
  const Case cases[] = {
      {"0", L"value=\"0\"", nullptr, 0, 0},
      {"50", L"value=\"50\"", nullptr, 100, 0},
      {"100", L"value=\"100\"", nullptr, 200, 12},
      {"vertical 50", L"hor=\"false\" value=\"50\"", nullptr, 200, 6},
      {"min equal to max", L"min=\"10\" max=\"10\" value=\"10\"", nullptr, 0, 0},
      {"above max is ignored", L"value=\"40\"", [](CProgressUI& p) { p.SetValue(150); }, 80, 0},
      {"until the max grows", L"value=\"40\"", [](CProgressUI& p) { p.SetMaxValue(200), p.SetValue(150); },
       150, 12},
      {"below min is ignored", L"min=\"20\" value=\"60\"", [](CProgressUI& p) { p.SetValue(10); }, 100, 0},
      {"a range of 2e9", L"min=\"-1000000000\" max=\"1000000000\" value=\"500000000\"", nullptr, 150, 12},
      {"the widest range", L"min=\"-2147483648\" max=\"2147483647\" value=\"2147483647\"", nullptr, 200, 12},
      {"inverted range", L"min=\"2147483647\" max=\"5\" value=\"7\"", nullptr, 0, 0},
      {"unstretched 25", L"isstretchfore=\"false\" value=\"25\"", nullptr, 50, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Bar bar;
    bar.progress.ApplyAttributeList(L"foreimage=\"file='bar'\"");
    bar.progress.ApplyAttributeList(c.attributes);
    if (c.act) c.act(bar.progress);
    bar.Paint();
    EXPECT_EQ(bar.Covered(), c.columns);
    EXPECT_EQ(bar.Rows(), c.rows);
  }
}

TEST(Progress, WhichPartOfTheImageShows) {
  struct Probe {
    int x, y;
    uint32_t colour;
  };
  struct Case {
    const char* name;
    const wchar_t* attributes;
    int columns, rows;  // as in the table above
    std::vector<Probe> probes;
  };
  const Case cases[] = {
      {"unstretched: the same pixels as the bar's",
       L"foreimage=\"file='bar'\" isstretchfore=\"false\" value=\"25\"",
       50,
       0,
       {{0, 0, Tag(0, 0)}, {25, 6, Tag(25, 6)}, {49, 11, Tag(49, 11)}}},
      {"unstretched from a sprite: counted from the sprite's origin",
       L"foreimage=\"file='sprite' source='0,12,200,24'\" isstretchfore=\"false\" value=\"50\"",
       100,
       0,
       {{0, 0, Tag(0, 12)}, {99, 11, Tag(99, 23)}}},
      {"unstretched vertical: the bottom of the image at the bottom",
       L"foreimage=\"file='bar'\" isstretchfore=\"false\" hor=\"false\" value=\"50\"",
       200,
       6,
       {{100, 6, Tag(100, 6)}, {100, 11, Tag(100, 11)}, {100, 5, kWhite}}},
      {"unstretched, an image narrower than the bar stays at full value",
       L"foreimage=\"file='short'\" isstretchfore=\"false\" value=\"100\"",
       150,
       12,
       {{149, 3, Tag(149, 3)}, {150, 3, kWhite}}},
      {"a missing image leaves the bar empty", L"foreimage=\"file='missing.png'\" value=\"100\"", 0, 0, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Bar bar;
    bar.progress.ApplyAttributeList(c.attributes);
    bar.Paint();
    EXPECT_EQ(bar.Covered(), c.columns);
    EXPECT_EQ(bar.Rows(), c.rows);
    for (const Probe& probe : c.probes)
      EXPECT_EQ(bar.At(probe.x, probe.y), probe.colour) << probe.x << "," << probe.y;
  }
  // Stretched, the whole image is squeezed into the revealed part.
  Bar bar;
  bar.progress.ApplyAttributeList(L"foreimage=\"file='bar'\" value=\"25\"");
  bar.Paint();
  ASSERT_EQ(bar.Covered(), 50);
  EXPECT_NEAR(int(bar.At(49, 6) & 0xFF), 99, 3);
}

TEST(Progress, DefaultsAndRepairStored) {
  CProgressUI progress;
  EXPECT_STREQ(progress.GetClass(), L"ProgressUI");
  EXPECT_EQ(progress.GetInterface(L"Progress"), &progress);
  EXPECT_EQ(progress.GetInterface(L"Label"), static_cast<CLabelUI*>(&progress));
  EXPECT_EQ(progress.GetFixedHeight(), 12);
  EXPECT_EQ(progress.GetTextStyle(), UINT(DT_SINGLELINE | DT_CENTER));
  EXPECT_TRUE(progress.IsHorizontal());
  EXPECT_TRUE(progress.IsStretchForeImage());
  Bar bar;
  bar.progress.ApplyAttributeList(L"min=\"10\" max=\"10\" foreimage=\"file='bar'\"");
  bar.Paint();
  EXPECT_EQ(bar.progress.GetMaxValue(), 11);
  EXPECT_EQ(bar.progress.GetValue(), 10);  // the value 0 repaired into the range
}

}  // namespace
}  // namespace SkinUI
