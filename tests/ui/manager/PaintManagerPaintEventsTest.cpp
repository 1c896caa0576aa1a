// Painting seen from outside: the pixels a headless window presented after
// the manager painted its tree, normal and layered.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "FrameworkPump.h"
#include "TestWindow.h"
#include "controls/CContainerUI.h"
#include "controls/CHorizontalLayoutUI.h"
#include "render/CRenderEngine.h"

namespace SkinUI {
namespace {

using test::PumpUntil;
using test::TestWindow;

// Channels within one of each other (blending rounds either way).
bool Near(uint32_t actual, uint32_t expected) {
  for (int shift = 0; shift < 32; shift += 8) {
    int a = static_cast<int>((actual >> shift) & 0xFF), e = static_cast<int>((expected >> shift) & 0xFF);
    if (std::abs(a - e) > 1) return false;
  }
  return true;
}

// Paints whatever colour its variable holds at paint time.
class Swatch : public CControlUI {
 public:
  explicit Swatch(const DWORD* color) : m_color(color) {}
  void PaintBkColor(HDC hDC) override { CRenderEngine::DrawColor(hDC, m_rcPaint, *m_color); }

 private:
  const DWORD* m_color;
};

CControlUI* Colored(LPCWSTR attributes) {
  auto* control = new CControlUI;
  control->ApplyAttributeList(attributes);
  return control;
}

// Pumps until the pixel at (x, y) of what the window presented is near
// the colour; the last pixel read through *pLast.
bool ShowsAt(TestWindow& window, int x, int y, uint32_t color, uint32_t* pLast = nullptr) {
  uint32_t last = 0;
  bool shown = PumpUntil([&] {
    platform::window::test::Pixels pixels = window.Presented();
    if (pixels.width <= x || pixels.height <= y) return false;
    last = pixels.At(x, y);
    return Near(last, color);
  });
  if (pLast != nullptr) *pLast = last;
  return shown;
}

TEST(PaintManagerPaintEvents, InvalidatingOneControlLeavesAnothersPixelsAlone) {
  test::Pump();
  TestWindow window(200, 100);
  DWORD left = 0xFFFF0000, right = 0xFF00FF00;
  auto* root = new CHorizontalLayoutUI;
  auto* a = new Swatch(&left);
  root->Add(a);
  root->Add(new Swatch(&right));
  window.Attach(root);
  ASSERT_TRUE(ShowsAt(window, 50, 50, 0xFFFF0000));
  ASSERT_TRUE(ShowsAt(window, 150, 50, 0xFF00FF00));
  test::Pump();  // every paint still due
  RECT rcDue;
  ASSERT_FALSE(::GetUpdateRect(window.hwnd(), &rcDue, FALSE));
  left = 0xFF0000FF;
  right = 0xFFFFFF00;  // would show if the right half were painted again
  a->Invalidate();
  ASSERT_TRUE(ShowsAt(window, 50, 50, 0xFF0000FF));
  test::Pump();
  EXPECT_EQ(window.Presented().At(150, 50), 0xFF00FF00u);
}

TEST(PaintManagerPaintEvents, TranslucentAndOpaqueBackgrounds) {
  test::Pump();
  TestWindow window(200, 100);
  auto* box = new CHorizontalLayoutUI;
  box->SetBkColor(0xFFFFFFFF);
  box->Add(Colored(L"bkcolor=\"#80FF0000\""));
  box->Add(Colored(L"bkcolor=\"#FF00FF00\""));
  window.Attach(box);
  uint32_t seen = 0;
  EXPECT_TRUE(ShowsAt(window, 50, 50, 0xFFFF7F7F, &seen)) << std::hex << seen;
  EXPECT_TRUE(ShowsAt(window, 150, 50, 0xFF00FF00, &seen)) << std::hex << seen;
  // Repainting part of the translucent child does not darken it there.
  for (int i = 0; i < 3; ++i) {
    RECT part = {20, 20, 40, 40};
    window.pm().Invalidate(part);
    test::Pump();
  }
  EXPECT_TRUE(Near(window.Presented().At(30, 30), 0xFFFF7F7F));
  EXPECT_TRUE(Near(window.Presented().At(60, 60), 0xFFFF7F7F));
}

TEST(PaintManagerPaintEvents, ALayeredWindowWithAChildPastTheClientPaintsInsideItsBuffer) {
  test::Pump();
  TestWindow window(100, 80);
  window.pm().SetUseLayeredWindow(true);
  auto* root = new CContainerUI;
  auto* spill = Colored(L"float=\"true\" pos=\"50,40,150,120\" bkcolor=\"#FFFF0000\"");
  root->Add(spill);
  window.Attach(root);
  ASSERT_TRUE(ShowsAt(window, 75, 60, 0xFFFF0000));
  EXPECT_NE(::GetWindowLongPtrW(window.hwnd(), GWL_EXSTYLE) & WS_EX_LAYERED, 0);
  EXPECT_EQ(window.Presented().At(10, 10), 0u);  // nothing painted there: transparent
  // Areas reaching past the window are cut before the buffer is cleared.
  RECT huge = {-20, -20, 400, 300};
  window.pm().Invalidate(huge);
  spill->Invalidate();
  test::Pump();
  EXPECT_TRUE(Near(window.Presented().At(99, 79), 0xFFFF0000));
  // A new size gets a new buffer.
  ::SetWindowPos(window.hwnd(), nullptr, 0, 0, 160, 130, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  ASSERT_TRUE(ShowsAt(window, 140, 110, 0xFFFF0000));
  EXPECT_EQ(window.Presented().width, 160);
  EXPECT_EQ(window.Presented().At(155, 125), 0u);
}

TEST(PaintManagerPaintEvents, ALayeredWindowsRoundCornersAndRichEditFrameAlpha) {
  test::Pump();
  {
    TestWindow window(100, 80);
    window.pm().SetUseLayeredWindow(true);
    window.Attach(Colored(L"bkcolor=\"#FF0000FF\" borderround=\"12,12\""));
    ASSERT_TRUE(ShowsAt(window, 50, 40, 0xFF0000FF));
    EXPECT_EQ(window.Presented().At(0, 0), 0u);
    EXPECT_EQ(window.Presented().At(99, 79) >> 24, 0u);
    EXPECT_EQ(window.Presented().At(50, 0), 0xFF0000FFu);
  }
  {
    // Everything but a 10-pixel frame is made opaque.
    TestWindow window(100, 80);
    window.pm().SetUseLayeredWindow(true);
    RECT corner = {10, 10, 10, 10};
    window.pm().SetRichEditCorner(corner);
    window.Attach(Colored(L"bkcolor=\"#80FF0000\""));
    uint32_t seen = 0;
    ASSERT_TRUE(ShowsAt(window, 5, 5, 0x80800000, &seen)) << std::hex << seen;
    platform::window::test::Pixels pixels = window.Presented();
    EXPECT_EQ(pixels.At(10, 10) >> 24, 0xFFu);
    EXPECT_EQ(pixels.At(89, 69) >> 24, 0xFFu);
    EXPECT_EQ(pixels.At(90, 40) >> 24, 0x80u);
    EXPECT_EQ(pixels.At(50, 75) >> 24, 0x80u);
  }
}

// The manager draws the caret of a layered window itself, blinking.
TEST(PaintManagerPaintEvents, TheCaretBlinksWhereItWasPut) {
  test::Pump();
  TestWindow window(100, 80);
  window.pm().SetUseLayeredWindow(true);
  auto* root = Colored(L"bkcolor=\"#FFFFFFFF\"");
  window.Attach(root);
  ::SetFocus(window.hwnd());
  ASSERT_TRUE(ShowsAt(window, 20, 20, 0xFFFFFFFF));
  // Any control stands for the rich edit box that owns the caret.
  auto* owner = reinterpret_cast<CRichEditUI*>(root);
  ASSERT_TRUE(window.pm().CreateCaret(nullptr, 2, 10));
  ASSERT_TRUE(window.pm().SetCaretPos(owner, 20, 20));
  EXPECT_EQ(window.pm().GetCurrentCaretRichEdit(), owner);
  ASSERT_TRUE(window.pm().ShowCaret(true));
  const uint32_t caret = window.pm().GetDefaultFontColor();
  ASSERT_TRUE(ShowsAt(window, 21, 29, caret));
  EXPECT_EQ(window.Presented().At(22, 20), 0xFFFFFFFFu);
  ASSERT_TRUE(ShowsAt(window, 21, 29, 0xFFFFFFFF));  // blinked off
  ASSERT_TRUE(ShowsAt(window, 21, 29, caret));       // and on again
  window.pm().ShowCaret(false);
  ASSERT_TRUE(ShowsAt(window, 21, 29, 0xFFFFFFFF));
}

}  // namespace
}  // namespace SkinUI
