// Painting on the headless display: what a window presents, update
// regions, window regions, layered windows, the tool-tip window.
#include <gtest/gtest.h>

#include <cairo.h>

#include <filesystem>

#include "Recorder.h"
#include "win32/Gdi.h"
#include "win32/System.h"
#include "window/TestDisplay.h"

namespace test = platform::window::test;
using test::Pump;

namespace {

constexpr uint32_t kRed = 0xFFFF0000, kBlue = 0xFF0000FF, kGreen = 0xFF00FF00;

COLORREF g_fill = RGB(255, 0, 0);
int g_paints = 0;

bool PaintFill(HWND h, UINT m, WPARAM, LPARAM, LRESULT& r) {
  if (m != WM_PAINT) return false;
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(h, &ps);
  RECT all;
  GetClientRect(h, &all);
  HBRUSH brush = CreateSolidBrush(g_fill);
  FillRect(dc, &all, brush);  // clipped to the update region
  DeleteObject(brush);
  EndPaint(h, &ps);
  ++g_paints;
  r = 0;
  return true;
}

class PaintTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_fill = RGB(255, 0, 0);
    g_paints = 0;
    Recorder::Get().Reset(PaintFill);
  }
  void TearDown() override {
    Recorder::Get().Reset();  // handlers may refer to the test's locals
    for (HWND h : made_)
      if (IsWindow(h)) DestroyWindow(h);
    Pump();
    Recorder::Get().Reset();
  }
  HWND Make(int x, int y, int cx, int cy, DWORD exStyle = 0) {
    HWND h = CreateWindowExW(exStyle, RecorderClass(), L"paint", WS_POPUP | WS_VISIBLE, x, y, cx, cy, nullptr, nullptr,
                             nullptr, nullptr);
    made_.push_back(h);
    Pump();
    return h;
  }
  static test::Pixels Read(HWND h) {
    test::Pixels p;
    EXPECT_TRUE(test::ReadPresented(h, &p));
    return p;
  }
  std::vector<HWND> made_;
};

TEST_F(PaintTest, PaintedPixelsArePresentedAndOnlyTheUpdateRegionIsRepainted) {
  HWND w = Make(10, 10, 60, 40);
  EXPECT_EQ(g_paints, 1);
  test::Pixels p = Read(w);
  ASSERT_EQ(p.width, 60);
  ASSERT_EQ(p.height, 40);
  EXPECT_EQ(p.At(0, 0), kRed);
  EXPECT_EQ(p.At(59, 39), kRed);

  g_fill = RGB(0, 0, 255);
  RECT corner{0, 0, 10, 10};
  InvalidateRect(w, &corner, FALSE);
  Pump();
  EXPECT_EQ(g_paints, 2);
  p = Read(w);
  EXPECT_EQ(p.At(5, 5), kBlue);
  EXPECT_EQ(p.At(30, 30), kRed);
}

TEST_F(PaintTest, DrawingThroughGetDCIsPresentedAtOnce) {
  HWND w = Make(10, 10, 60, 40);
  HDC dc = GetDC(w);
  ASSERT_TRUE(dc);
  RECT r{20, 20, 30, 30};
  HBRUSH green = CreateSolidBrush(RGB(0, 255, 0));
  FillRect(dc, &r, green);
  DeleteObject(green);
  EXPECT_EQ(ReleaseDC(w, dc), 1);
  test::Pixels p = Read(w);
  EXPECT_EQ(p.At(25, 25), kGreen);
  EXPECT_EQ(p.At(5, 5), kRed);
}

TEST_F(PaintTest, ADcKeptAcrossAResizeDrawsOnTheResizedWindow) {
  HWND w = Make(10, 10, 60, 40);
  HDC dc = GetDC(w);  // the framework keeps its window DC for the window's life
  SetWindowPos(w, nullptr, 0, 0, 120, 80, SWP_NOMOVE | SWP_NOZORDER);
  Pump();
  RECT beyond{100, 60, 110, 70};
  HBRUSH green = CreateSolidBrush(RGB(0, 255, 0));
  FillRect(dc, &beyond, green);
  DeleteObject(green);
  test::Pixels p = Read(w);
  ASSERT_EQ(p.width, 120);
  EXPECT_EQ(p.At(105, 65), kGreen);
  EXPECT_EQ(p.At(5, 5), kRed);  // the old pixels stayed
  ReleaseDC(w, dc);
}

TEST_F(PaintTest, WindowRegionCutsThePixelsAndTheMouse) {
  HWND w = Make(10, 10, 60, 40);
  ASSERT_EQ(SetWindowRgn(w, CreateRectRgn(0, 0, 30, 40), TRUE), 1);
  test::Pixels p = Read(w);
  EXPECT_EQ(p.At(10, 10), kRed);
  EXPECT_EQ(p.At(45, 10), 0u);
  EXPECT_EQ(WindowFromPoint(POINT{10 + 10, 10 + 10}), w);
  EXPECT_EQ(WindowFromPoint(POINT{10 + 45, 10 + 10}), nullptr);
  HRGN copy = CreateRectRgn(0, 0, 0, 0);
  EXPECT_NE(GetWindowRgn(w, copy), 0);
  RECT box;
  GetRgnBox(copy, &box);
  EXPECT_EQ(box.right, 30);
  DeleteObject(copy);
  SetWindowRgn(w, nullptr, TRUE);
  EXPECT_EQ(Read(w).At(45, 10), kRed);
}

TEST_F(PaintTest, LayeredWindowsWithConstantAndPerPixelAlpha) {
  HWND w = Make(10, 10, 20, 20, WS_EX_LAYERED);
  // Found at run time, as the framework looks it up.
  auto set = reinterpret_cast<BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD)>(
      reinterpret_cast<void*>(GetProcAddress(LoadLibraryW(L"User32.dll"), "SetLayeredWindowAttributes")));
  ASSERT_EQ(set, &SetLayeredWindowAttributes);
  ASSERT_TRUE(set(w, 0, 128, LWA_ALPHA));
  uint32_t half = Read(w).At(5, 5);
  EXPECT_NEAR(static_cast<int>(half >> 24), 128, 1);
  EXPECT_NEAR(static_cast<int>((half >> 16) & 0xFF), 128, 1);

  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bi.bmiHeader.biWidth = 30;
  bi.bmiHeader.biHeight = -25;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HDC mem = CreateCompatibleDC(nullptr);
  HBITMAP dib = CreateDIBSection(mem, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  ASSERT_TRUE(dib && bits);
  HGDIOBJ old = SelectObject(mem, dib);
  auto* px = static_cast<uint32_t*>(bits);
  for (int i = 0; i < 30 * 25; ++i) px[i] = i < 30 * 5 ? 0u : 0x80800000u;  // clear top rows, half red below
  POINT at{40, 50}, src{0, 0};
  SIZE size{30, 25};
  BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  ASSERT_TRUE(UpdateLayeredWindow(w, nullptr, &at, &size, mem, &src, 0, &blend, ULW_ALPHA));
  SelectObject(mem, old);
  DeleteObject(dib);
  DeleteDC(mem);
  RECT r;
  GetWindowRect(w, &r);
  EXPECT_EQ(r.left, 40);
  EXPECT_EQ(r.right - r.left, 30);
  test::Pixels p = Read(w);
  ASSERT_EQ(p.width, 30);
  EXPECT_EQ(p.At(3, 2), 0u);
  EXPECT_EQ(p.At(3, 10), 0x80800000u);
}

TEST_F(PaintTest, PresentedPixelsCanBeWrittenAsPng) {
  HWND w = Make(10, 10, 16, 12);
  auto path = (std::filesystem::temp_directory_path() / "window-paint-test.png").string();
  ASSERT_TRUE(test::WritePresentedPng(w, path));
  cairo_surface_t* png = cairo_image_surface_create_from_png(path.c_str());
  ASSERT_EQ(cairo_surface_status(png), CAIRO_STATUS_SUCCESS);
  EXPECT_EQ(cairo_image_surface_get_width(png), 16);
  auto* data = reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(png));
  EXPECT_EQ(data[0], kRed);
  cairo_surface_destroy(png);
  std::filesystem::remove(path);
}

TEST_F(PaintTest, TooltipShowsItsTextInAPopupThatIgnoresTheMouse) {
  HWND owner = Make(100, 100, 200, 100);
  HWND tip = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr, nullptr, nullptr);
  ASSERT_TRUE(tip);
  EXPECT_EQ(SendMessageW(tip, TTM_GETDELAYTIME, TTDT_INITIAL, 0), static_cast<LRESULT>(GetDoubleClickTime()));
  wchar_t text[] = L"Start the game";
  TOOLINFOW ti{};
  ti.cbSize = sizeof ti;
  ti.uFlags = TTF_IDISHWND;
  ti.hwnd = owner;
  ti.uId = reinterpret_cast<UINT_PTR>(owner);
  ti.lpszText = text;
  ti.rect = RECT{0, 0, 200, 100};
  EXPECT_TRUE(SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti)));
  EXPECT_EQ(SendMessageW(tip, TTM_SETMAXTIPWIDTH, 0, 300), -1);
  test::MouseMove(150, 150);
  SendMessageW(tip, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&ti));
  EXPECT_TRUE(IsWindowVisible(tip));
  EXPECT_NE(GetActiveWindow(), tip);
  Pump();
  RECT r;
  GetWindowRect(tip, &r);
  EXPECT_GT(r.right - r.left, 50);
  test::Pixels p = Read(tip);
  EXPECT_EQ(p.At(2, 2), 0xFFFFFFE1u);  // the tip's background
  bool inked = false;
  for (uint32_t v : p.argb) inked = inked || (v & 0xFFFFFF) < 0x404040;
  EXPECT_TRUE(inked);
  EXPECT_NE(WindowFromPoint(POINT{r.left + 2, r.top + 2}), tip);
  SendMessageW(tip, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&ti));
  EXPECT_FALSE(IsWindowVisible(tip));
  DestroyWindow(owner);
  EXPECT_FALSE(IsWindow(tip));  // owned windows go with their owner
}

}  // namespace
