// A real window on the headless display with PLATFORM_RECORD_FRAMES set:
// the variables are read when the first window call picks the display, so
// this program holds no other test that touches windows first.
#include <gtest/gtest.h>

#include <cairo.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "TempDir.h"
#include "win32/Gdi.h"
#include "win32/Windows.h"
#include "window/TestDisplay.h"

namespace test = platform::window::test;

namespace {

COLORREF g_fill = RGB(0, 0, 0);

LRESULT CALLBACK FillProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m != WM_PAINT) return DefWindowProcW(h, m, w, l);
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(h, &ps);
  RECT all;
  GetClientRect(h, &all);
  HBRUSH brush = CreateSolidBrush(g_fill);
  FillRect(dc, &all, brush);
  DeleteObject(brush);
  EndPaint(h, &ps);
  return 0;
}

struct Line {
  std::string name;
  double seconds;
  std::string title;
};

std::vector<Line> ReadIndex(const TempDir& dir) {
  std::vector<Line> lines;
  std::istringstream in(dir.Read("frames/frames.txt"));
  Line line;
  while (in >> line.name >> line.seconds && std::getline(in >> std::ws, line.title)) lines.push_back(line);
  return lines;
}

uint32_t PixelOf(const std::filesystem::path& png, int* width, int* height) {
  cairo_surface_t* image = cairo_image_surface_create_from_png(png.c_str());
  uint32_t colour = 0;
  if (cairo_surface_status(image) == CAIRO_STATUS_SUCCESS) {
    cairo_surface_flush(image);
    *width = cairo_image_surface_get_width(image);
    *height = cairo_image_surface_get_height(image);
    colour = *reinterpret_cast<const uint32_t*>(cairo_image_surface_get_data(image) +
                                                cairo_image_surface_get_stride(image) * (*height / 2) +
                                                4 * (*width / 2));
  }
  cairo_surface_destroy(image);
  return colour;
}

// The window repaints as fast as it can; the folder gets a frame per 200 ms
// of its presentation times, and the colour it showed last when hidden.
TEST(FrameRecordingWindowTest, APresentingWindowLeavesPacedFramesAndItsLastOne) {
  TempDir dir;
  setenv("PLATFORM_RECORD_FRAMES", (dir / "frames").c_str(), 1);
  setenv("PLATFORM_RECORD_FPS", "5", 1);
  ASSERT_STREQ("headless", test::BackendName());

  WNDCLASSW wc{};
  wc.lpfnWndProc = FillProc;
  wc.lpszClassName = L"FrameRecordingWindowTest";
  ASSERT_TRUE(RegisterClassW(&wc));
  HWND window = CreateWindowExW(0, wc.lpszClassName, L"录制", WS_POPUP | WS_VISIBLE, 10, 10, 64, 48, nullptr,
                                nullptr, nullptr, nullptr);
  ASSERT_TRUE(window);

  int presents = 0;
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (ReadIndex(dir).size() < 3 && std::chrono::steady_clock::now() < deadline) {
    ++presents;
    g_fill = RGB(0, presents % 256, presents / 256 % 256);
    InvalidateRect(window, nullptr, FALSE);
    UpdateWindow(window);
    test::Pump();
  }
  g_fill = RGB(255, 0, 0);
  InvalidateRect(window, nullptr, FALSE);
  UpdateWindow(window);
  ShowWindow(window, SW_HIDE);

  std::vector<Line> lines = ReadIndex(dir);
  ASSERT_GE(lines.size(), 4u) << "after " << presents << " presents";
  for (size_t i = 1; i + 1 < lines.size(); ++i)
    EXPECT_GE(lines[i].seconds - lines[i - 1].seconds, 0.2) << lines[i].name;
  for (size_t i = 0; i < lines.size(); ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "frame-%05zu.png", i + 1);
    EXPECT_EQ(name, lines[i].name);
    EXPECT_EQ("录制", lines[i].title);
    int width = 0, height = 0;
    uint32_t colour = PixelOf(dir / "frames" / name, &width, &height);
    EXPECT_EQ(64, width);
    EXPECT_EQ(48, height);
    if (i + 1 == lines.size()) {
      EXPECT_EQ(0xFFFF0000u, colour) << "the last frame shows the last paint";
    }
  }
  EXPECT_GT(presents, static_cast<int>(lines.size())) << "frames in between are dropped";
  DestroyWindow(window);
}

}  // namespace
