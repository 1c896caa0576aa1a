// The program's resource table, icons made from it, WM_SETICON, cursors.
#include <gtest/gtest.h>

#include <cairo.h>

#include <vector>

#include "Recorder.h"
#include "win32/Errors.h"
#include "win32/Resources.h"
#include "window/State.h"  // the resource error codes
#include "window/TestDisplay.h"

namespace test = platform::window::test;

namespace {

std::vector<unsigned char> MakePng(int size) {
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size, size);
  cairo_t* cr = cairo_create(s);
  cairo_set_source_rgb(cr, 0, 0.5, 1);
  cairo_paint(cr);
  cairo_destroy(cr);
  std::vector<unsigned char> bytes;
  cairo_surface_write_to_png_stream(
      s,
      [](void* closure, const unsigned char* data, unsigned int length) {
        auto* out = static_cast<std::vector<unsigned char>*>(closure);
        out->insert(out->end(), data, data + length);
        return CAIRO_STATUS_SUCCESS;
      },
      &bytes);
  cairo_surface_destroy(s);
  return bytes;
}

const std::vector<unsigned char> kIcon = MakePng(64);
const char kZip[] = "PK\x03\x04 not really";
const char kNotPng[] = "not an image";
const PlatformResource kTable[] = {
    {RT_GROUP_ICON, 107, kIcon.data(), static_cast<DWORD>(kIcon.size())},
    {L"ZIPRES", 200, kZip, sizeof kZip},
    {RT_GROUP_ICON, 108, kNotPng, sizeof kNotPng},
};
PLATFORM_RESOURCE_TABLE(kTable);

TEST(ResourcesTest, ResourcesAreFoundByIdAndType) {
  HRSRC zip = FindResourceW(nullptr, MAKEINTRESOURCEW(200), L"zipres");
  ASSERT_TRUE(zip);
  EXPECT_EQ(SizeofResource(nullptr, zip), sizeof kZip);
  EXPECT_EQ(LockResource(LoadResource(nullptr, zip)), static_cast<const void*>(kZip));
  EXPECT_TRUE(FindResourceW(nullptr, L"#200", L"ZIPRES"));
  EXPECT_FALSE(FindResourceW(nullptr, MAKEINTRESOURCEW(200), RT_RCDATA));
  EXPECT_FALSE(FindResourceW(nullptr, MAKEINTRESOURCEW(201), L"ZIPRES"));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND));
}

TEST(ResourcesTest, IconsLoadAtTheAskedSizeAndBecomeTheWindowsIcons) {
  HICON big = static_cast<HICON>(LoadImageW(nullptr, MAKEINTRESOURCEW(107), IMAGE_ICON, 48, 48, LR_DEFAULTCOLOR));
  HICON small = LoadIconW(nullptr, MAKEINTRESOURCEW(107));
  ASSERT_TRUE(big);
  ASSERT_TRUE(small);
  EXPECT_FALSE(LoadImageW(nullptr, MAKEINTRESOURCEW(108), IMAGE_ICON, 16, 16, 0));  // not a PNG
  EXPECT_FALSE(LoadImageW(nullptr, MAKEINTRESOURCEW(999), IMAGE_ICON, 16, 16, 0));

  HWND w = MakeWindow(0, 0, 50, 50);
  EXPECT_EQ(SendMessageW(w, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big)), 0);
  SendMessageW(w, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
  EXPECT_EQ(reinterpret_cast<HICON>(SendMessageW(w, WM_GETICON, ICON_BIG, 0)), big);
  EXPECT_EQ(test::DisplayIcon(w, true), big);
  EXPECT_EQ(test::DisplayIcon(w, false), small);
  DestroyWindow(w);
  EXPECT_TRUE(DestroyIcon(big));
  EXPECT_TRUE(DestroyIcon(small));
}

TEST(ResourcesTest, SystemCursorsAreStableHandles) {
  HCURSOR arrow = LoadCursorW(nullptr, IDC_ARROW);
  ASSERT_TRUE(arrow);
  EXPECT_EQ(LoadCursorW(nullptr, IDC_ARROW), arrow);
  EXPECT_NE(LoadCursorW(nullptr, IDC_HAND), arrow);
  EXPECT_TRUE(LoadCursorW(nullptr, IDC_WAIT));
  EXPECT_TRUE(LoadCursorW(nullptr, IDC_SIZENWSE));
  HCURSOR old = SetCursor(LoadCursorW(nullptr, IDC_HAND));
  EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_HAND));
  EXPECT_EQ(test::DisplayCursor(), LoadCursorW(nullptr, IDC_HAND));
  SetCursor(old);
}

}  // namespace
