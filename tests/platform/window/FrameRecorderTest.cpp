// The frame recorder on its own, with presentation times chosen by the test.
#include <gtest/gtest.h>

#include <cairo.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "TempDir.h"
#include "window/FrameRecorder.h"

using platform::window::FrameRecorder;
using std::chrono::milliseconds;

namespace {

cairo_surface_t* Solid(uint32_t argb, int width = 8, int height = 6) {
  cairo_surface_t* image = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
  cairo_t* cr = cairo_create(image);
  cairo_set_source_rgba(cr, ((argb >> 16) & 255) / 255.0, ((argb >> 8) & 255) / 255.0, (argb & 255) / 255.0, 1);
  cairo_paint(cr);
  cairo_destroy(cr);
  return image;
}

// The colour of a written frame's top-left pixel, 0 when it cannot be read.
uint32_t ColourOf(const std::filesystem::path& png) {
  cairo_surface_t* image = cairo_image_surface_create_from_png(png.c_str());
  uint32_t colour = 0;
  if (cairo_surface_status(image) == CAIRO_STATUS_SUCCESS) {
    cairo_surface_flush(image);
    colour = *reinterpret_cast<const uint32_t*>(cairo_image_surface_get_data(image));
  }
  cairo_surface_destroy(image);
  return colour;
}

class FrameRecorderTest : public ::testing::Test {
 protected:
  void SetUp() override { recorder = FrameRecorder::Create((dir / "frames").string(), 5); }

  // Presents a solid colour at `ms` after the start.
  void Present(HWND hwnd, uint32_t colour, int ms, const std::wstring& title = L"update") {
    cairo_surface_t* image = Solid(colour);
    recorder->Offer(hwnd, image, title, start + milliseconds(ms));
    cairo_surface_destroy(image);
  }
  std::string Index() { return dir.Read("frames/frames.txt"); }
  uint32_t Frame(int number) {
    char name[32];
    std::snprintf(name, sizeof name, "frame-%05d.png", number);
    return ColourOf(dir / "frames" / name);
  }

  TempDir dir;
  std::unique_ptr<FrameRecorder> recorder;
  FrameRecorder::Clock::time_point start = FrameRecorder::Clock::now();
  HWND first = reinterpret_cast<HWND>(0x10), second = reinterpret_cast<HWND>(0x20);
};

// At 5 per second a window's frames are at least 200 ms of its own
// presentation time apart; the latest dropped one is written when the
// window stops showing.
TEST_F(FrameRecorderTest, WritesAFramePerIntervalAndTheLastOneAtTheEnd) {
  ASSERT_TRUE(recorder);
  struct Step {
    int ms;
    uint32_t colour;
    bool written;
  } steps[] = {
      {0, 0xFF000001, true},  {50, 0xFF000002, false},  {199, 0xFF000003, false},
      {200, 0xFF000004, true}, {390, 0xFF000005, false}, {420, 0xFF000006, true},
      {500, 0xFF000007, false}, {610, 0xFF000008, false},
  };
  int expected = 0;
  for (const Step& step : steps) {
    Present(first, step.colour, step.ms);
    if (step.written) ++expected;
    EXPECT_EQ(expected, recorder->written()) << "at " << step.ms << " ms";
  }
  EXPECT_EQ(0xFF000001u, Frame(1));
  EXPECT_EQ(0xFF000004u, Frame(2));
  EXPECT_EQ(0xFF000006u, Frame(3));

  recorder->Flush(first);
  EXPECT_EQ(4, recorder->written());
  EXPECT_EQ(0xFF000008u, Frame(4));
  recorder->Flush(first);  // nothing left
  EXPECT_EQ(4, recorder->written());
  EXPECT_EQ(
      "frame-00001.png 0.000 update\nframe-00002.png 0.200 update\nframe-00003.png 0.420 update\n"
      "frame-00004.png 0.610 update\n",
      Index());
}

// Windows are sampled apart, on one numbering; titles are written as UTF-8.
TEST_F(FrameRecorderTest, EachWindowHasItsOwnIntervalAndAllShareTheNumbers) {
  ASSERT_TRUE(recorder);
  Present(first, 0xFF0000AA, 0, L"更新");
  Present(second, 0xFF0000BB, 10, L"tip");
  Present(first, 0xFF0000CC, 20, L"更新");
  Present(second, 0xFF0000DD, 210, L"tip");
  EXPECT_EQ(3, recorder->written());
  recorder->FlushAll();
  EXPECT_EQ(4, recorder->written());
  EXPECT_EQ(0xFF0000DDu, Frame(3));
  EXPECT_EQ(0xFF0000CCu, Frame(4));
  EXPECT_EQ(
      "frame-00001.png 0.000 更新\nframe-00002.png 0.010 tip\nframe-00003.png 0.210 tip\n"
      "frame-00004.png 0.020 更新\n",
      Index());
}

TEST(FrameRecorderFolderTest, AFolderThatCannotBeMadeRecordsNothing) {
  TempDir dir;
  dir.Write("file", "x");
  testing::internal::CaptureStderr();
  EXPECT_EQ(nullptr, FrameRecorder::Create((dir / "file" / "frames").string(), 4));
  EXPECT_NE(std::string::npos, testing::internal::GetCapturedStderr().find("cannot record frames into"));
}

}  // namespace
