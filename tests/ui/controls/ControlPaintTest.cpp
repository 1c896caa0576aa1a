// What the control base paints, read back from a memory bitmap: background
// colours over the paint rectangle or the whole item, gradients, borders
// and rounded corners, and a container painting only the children that
// meet the paint rectangle.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>

#include "Win32.h"
#include "controls/CContainerUI.h"
#include "controls/CControlUI.h"

namespace SkinUI {
namespace {

constexpr uint32_t kWhite = 0xFFFFFFFF;

// A 32-bit top-down bitmap in a memory context, white to begin with.
class Canvas {
 public:
  Canvas(int width, int height) : m_width(width) {
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = width;
    bmi.bmiHeader.biHeight = -height;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    m_dc = ::CreateCompatibleDC(nullptr);
    void* bits = nullptr;
    m_bitmap = ::CreateDIBSection(m_dc, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0);
    m_pixels = static_cast<uint32_t*>(bits);
    m_old = ::SelectObject(m_dc, m_bitmap);
    for (int i = 0; i < width * height; ++i) m_pixels[i] = kWhite;
  }
  ~Canvas() {
    ::SelectObject(m_dc, m_old);
    ::DeleteObject(m_bitmap);
    ::DeleteDC(m_dc);
  }
  HDC dc() const { return m_dc; }
  uint32_t At(int x, int y) const {
    ::GdiFlush();
    return m_pixels[y * m_width + x];
  }

 private:
  int m_width;
  HDC m_dc;
  HBITMAP m_bitmap;
  HGDIOBJ m_old;
  uint32_t* m_pixels;
};

// Channels within one of each other (blending rounds either way).
::testing::AssertionResult Near(uint32_t actual, uint32_t expected) {
  for (int shift = 0; shift < 32; shift += 8) {
    int a = static_cast<int>((actual >> shift) & 0xFF), e = static_cast<int>((expected >> shift) & 0xFF);
    if (std::abs(a - e) > 1)
      return ::testing::AssertionFailure() << std::hex << "0x" << actual << " is not near 0x" << expected;
  }
  return ::testing::AssertionSuccess();
}

CControlUI* Make(LPCWSTR attributes, RECT rc) {
  auto* control = new CControlUI;
  control->ApplyAttributeList(attributes);
  control->SetPos(rc);
  return control;
}

TEST(ControlPaint, TranslucentBackgroundCoversTheWholeItemAndOpaqueOnlyThePaintRectangle) {
  struct Case {
    const wchar_t* color;
    uint32_t inside, outside;
  };
  const Case cases[] = {
      {L"bkcolor=\"#FFFF0000\"", 0xFFFF0000, kWhite},
      {L"bkcolor=\"#80FF0000\"", 0xFFFF7F7F, 0xFFFF7F7F},
  };
  for (const Case& row : cases) {
    SCOPED_TRACE(row.color);
    Canvas canvas(20, 20);
    std::unique_ptr<CControlUI> control(Make(row.color, RECT{0, 0, 20, 20}));
    control->DoPaint(canvas.dc(), RECT{0, 0, 10, 10});
    EXPECT_TRUE(Near(canvas.At(5, 5), row.inside));
    EXPECT_TRUE(Near(canvas.At(15, 15), row.outside));
  }
}

TEST(ControlPaint, GradientsRunFromTheFirstColourToTheLast) {
  Canvas canvas(10, 40);
  std::unique_ptr<CControlUI> two(Make(L"bkcolor=\"#FFFF0000\" bkcolor2=\"#FF0000FF\"", RECT{0, 0, 10, 40}));
  two->DoPaint(canvas.dc(), RECT{0, 0, 10, 40});
  uint32_t top = canvas.At(5, 0), bottom = canvas.At(5, 39);
  EXPECT_GT((top >> 16) & 0xFF, 0xF0u);
  EXPECT_LT(top & 0xFF, 0x10u);
  EXPECT_GT(bottom & 0xFF, 0xF0u);
  EXPECT_LT((bottom >> 16) & 0xFF, 0x10u);

  Canvas three(10, 40);
  std::unique_ptr<CControlUI> control(
      Make(L"bkcolor=\"#FFFF0000\" bkcolor2=\"#FF00FF00\" bkcolor3=\"#FF0000FF\"", RECT{0, 0, 10, 40}));
  control->DoPaint(three.dc(), RECT{0, 0, 10, 40});
  EXPECT_GT((three.At(5, 0) >> 16) & 0xFF, 0xF0u);       // red at the top
  EXPECT_GT((three.At(5, 20) >> 8) & 0xFF, 0xF0u);       // green in the middle
  EXPECT_GT(three.At(5, 39) & 0xFF, 0xF0u);              // blue at the bottom
}

TEST(ControlPaint, FullBordersAndSingleSides) {
  {
    Canvas canvas(20, 20);
    std::unique_ptr<CControlUI> control(Make(L"bordercolor=\"#FF0000FF\" bordersize=\"1,1,1,1\"", RECT{0, 0, 20, 20}));
    control->SetAttribute(L"bordersize", L"2");
    control->DoPaint(canvas.dc(), RECT{0, 0, 20, 20});
    for (POINT pt : {POINT{0, 0}, POINT{1, 10}, POINT{10, 1}, POINT{17, 10}, POINT{10, 17}})
      EXPECT_EQ(canvas.At(pt.x, pt.y), 0xFF0000FFu);
    EXPECT_EQ(canvas.At(2, 10), kWhite);
    EXPECT_EQ(canvas.At(10, 10), kWhite);
  }
  {
    Canvas canvas(20, 20);
    std::unique_ptr<CControlUI> control(Make(L"bordercolor=\"#FF0000FF\" bordersize=\"2\"", RECT{0, 0, 20, 20}));
    control->SetAttribute(L"bordersize", L"0,0,0,3");
    EXPECT_EQ(control->GetBorderSize(), 2);
    control->DoPaint(canvas.dc(), RECT{0, 0, 20, 20});
    EXPECT_EQ(canvas.At(10, 19), 0xFF0000FFu);
    EXPECT_EQ(canvas.At(0, 10), kWhite);  // only the bottom line
    EXPECT_EQ(canvas.At(10, 0), kWhite);
    EXPECT_EQ(canvas.At(10, 10), kWhite);
  }
  {
    Canvas canvas(20, 20);
    std::unique_ptr<CControlUI> control(
        Make(L"bordercolor=\"#FF0000FF\" focusbordercolor=\"#FF00FF00\" bordersize=\"1\"", RECT{0, 0, 20, 20}));
    TEventUI focus;
    focus.Type = UIEVENT_SETFOCUS;
    control->Event(focus);
    control->DoPaint(canvas.dc(), RECT{0, 0, 20, 20});
    EXPECT_EQ(canvas.At(0, 10), 0xFF00FF00u);
  }
}

TEST(ControlPaint, RoundedCornersClipTheBackground) {
  Canvas canvas(40, 40);
  std::unique_ptr<CControlUI> control(Make(L"bkcolor=\"#FFFF0000\" borderround=\"10,10\"", RECT{0, 0, 40, 40}));
  control->DoPaint(canvas.dc(), RECT{0, 0, 40, 40});
  EXPECT_EQ(canvas.At(0, 0), kWhite);
  EXPECT_EQ(canvas.At(39, 39), kWhite);
  EXPECT_EQ(canvas.At(20, 20), 0xFFFF0000u);
  EXPECT_EQ(canvas.At(20, 0), 0xFFFF0000u);
  // Corners larger than the control are drawn as large as it is (a
  // fuzzer's find: the drawing doubles the sizes).
  Canvas huge(40, 40);
  std::unique_ptr<CControlUI> round(Make(
      L"bkcolor=\"#FFFF0000\" borderround=\"2147483647,2147483647\" bordersize=\"1\" bordercolor=\"#FF0000FF\"",
      RECT{0, 0, 40, 40}));
  round->DoPaint(huge.dc(), RECT{0, 0, 40, 40});
  EXPECT_EQ(huge.At(0, 0), kWhite);
  EXPECT_EQ(huge.At(20, 20), 0xFFFF0000u);
}

TEST(ControlPaint, AContainerPaintsOnlyWhatMeetsThePaintRectangleInsideItsClip) {
  Canvas canvas(60, 20);
  CContainerUI box;
  box.SetInset(RECT{0, 0, 0, 0});
  auto* left = Make(L"bkcolor=\"#FFFF0000\"", RECT{0, 0, 30, 20});
  auto* right = Make(L"bkcolor=\"#FF00FF00\"", RECT{30, 0, 60, 20});
  auto* spill = Make(L"bkcolor=\"#FF0000FF\" float=\"true\"", RECT{50, 10, 90, 40});
  box.Add(left);
  box.Add(right);
  box.Add(spill);
  // The container's own rectangle is stored without a layout here.
  box.CControlUI::SetPos(RECT{0, 0, 60, 20});
  box.DoPaint(canvas.dc(), RECT{0, 0, 40, 20});
  EXPECT_EQ(canvas.At(10, 10), 0xFFFF0000u);
  EXPECT_EQ(canvas.At(35, 10), 0xFF00FF00u);
  EXPECT_EQ(canvas.At(45, 10), kWhite);  // outside the paint rectangle
  box.DoPaint(canvas.dc(), RECT{0, 0, 60, 20});
  EXPECT_EQ(canvas.At(55, 15), 0xFF0000FFu);
  EXPECT_EQ(canvas.At(55, 5), 0xFF00FF00u);
}

}  // namespace
}  // namespace SkinUI
