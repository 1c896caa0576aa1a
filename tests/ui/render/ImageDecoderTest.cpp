#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <memory>

#include "ImageFixtures.h"
#include "manager/CPaintManagerUI.h"
#include "render/ImageDecoder.h"

using namespace SkinUI;

namespace {

struct FreeInfo {
  void operator()(TImageInfo* p) const { CPaintManagerUI::FreeImage(p); }
};
using Info = std::unique_ptr<TImageInfo, FreeInfo>;

Info Decode(const std::string& bytes, DWORD mask = 0) {
  return Info(DecodeImage(reinterpret_cast<const BYTE*>(bytes.data()), bytes.size(), mask));
}

std::vector<uint32_t> PixelsOf(const TImageInfo* info) {
  BITMAP bm = {};
  GetObjectW(info->hBitmap, sizeof bm, &bm);
  const uint32_t* bits = static_cast<const uint32_t*>(bm.bmBits);
  return std::vector<uint32_t>(bits, bits + info->nX * info->nY);
}

// Translucent orange, opaque magenta, transparent with colour, opaque blue.
const std::vector<uint32_t> kMixed = {0x80FF8040, 0xFFFF00FF, 0x00123456, 0xFF0000FF};

TEST(ImageDecoderTest, PremultipliesTranslucentPixelsExactly) {
  Info info = Decode(MakePng(4, 1, kMixed));
  ASSERT_TRUE(info);
  EXPECT_EQ(info->nX, 4);
  EXPECT_EQ(info->nY, 1);
  EXPECT_TRUE(info->alphaChannel);
  // 255*128/255 = 128, 128*128/255 = 64, 64*128/255 = 32 (truncated).
  EXPECT_EQ(PixelsOf(info.get()), (std::vector<uint32_t>{0x80804020, 0xFFFF00FF, 0x00000000, 0xFF0000FF}));
}

TEST(ImageDecoderTest, MaskClearsItsColourAndCountsAsAlpha) {
  Info info = Decode(MakePng(4, 1, kMixed), 0xFFFF00FF);
  ASSERT_TRUE(info);
  EXPECT_EQ(PixelsOf(info.get())[1], 0u);
  EXPECT_EQ(PixelsOf(info.get())[3], 0xFF0000FFu);

  const std::vector<uint32_t> opaque = {0xFFFF0000, 0xFFFF00FF};
  Info plain = Decode(MakePng(2, 1, opaque));
  ASSERT_TRUE(plain);
  EXPECT_FALSE(plain->alphaChannel);
  Info unmatched = Decode(MakePng(2, 1, opaque), 0xFF00FF00);
  EXPECT_FALSE(unmatched->alphaChannel);
  Info masked = Decode(MakePng(2, 1, opaque), 0xFFFF00FF);
  EXPECT_TRUE(masked->alphaChannel);
  EXPECT_EQ(PixelsOf(masked.get()), (std::vector<uint32_t>{0xFFFF0000, 0}));
}

std::string ReadData(const char* name) {
  std::ifstream in(std::string(TEST_SOURCE_DIR "/tests/ui/render/data/") + name, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// The PNG header's width and height, big-endian at bytes 16 and 20.
std::string WithSize(std::string png, uint32_t width, uint32_t height) {
  for (int i = 0; i < 4; ++i) {
    png[16 + i] = static_cast<char>(width >> (24 - 8 * i));
    png[20 + i] = static_cast<char>(height >> (24 - 8 * i));
  }
  return png;
}

TEST(ImageDecoderTest, RefusesHugeAndBrokenInput) {
  const std::string png = SolidPng(1, 1, 0xFF00FF00);
  ASSERT_TRUE(Decode(png));
  // Refused from the header alone, before anything is allocated for it.
  EXPECT_FALSE(Decode(WithSize(png, 40000, 40000)));
  EXPECT_FALSE(Decode(WithSize(png, 32768, 1)));
  EXPECT_FALSE(Decode(WithSize(png, 1, 32768)));
  EXPECT_FALSE(Decode(WithSize(png, 8192, 4096)));  // sides allowed, too many pixels
  // 58 bytes of a bitmap file claiming 16386 x 16386 pixels (found by the fuzzer).
  const std::string bmp = ReadData("huge-bmp-header.bin");
  ASSERT_EQ(bmp.size(), 58u);
  EXPECT_FALSE(Decode(bmp));
  // A 16-bit grey PNM (found by the fuzzer: the decoder reads past its own
  // buffer for these); 8-bit ones still decode.
  EXPECT_FALSE(Decode(ReadData("pgm-16-bit.bin")));
  EXPECT_FALSE(Decode(std::string("P5\n300 200\n65535\n") + std::string(300 * 200 * 2, '\x7f')));
  Info grey = Decode(std::string("P5\n2 1\n255\n\x10\xf0", 13));
  ASSERT_TRUE(grey);
  EXPECT_EQ(PixelsOf(grey.get()), (std::vector<uint32_t>{0xFF101010, 0xFFF0F0F0}));
  EXPECT_FALSE(Decode(png.substr(0, png.size() / 2)));
  EXPECT_FALSE(Decode("not an image at all"));
  EXPECT_FALSE(Decode(""));
  EXPECT_EQ(DecodeImage(nullptr, 10, 0), nullptr);
}

}  // namespace
