// Small coloured fixtures for image tests: PNG bytes made from pixel
// values, and memory bitmaps selected into a DC to draw on and read back.
#pragma once

#include <stb_image_write.h>

#include <cstdint>
#include <string>
#include <vector>

#include "Win32.h"
#include "render/CRenderEngine.h"

// Straight (not premultiplied) 0xAARRGGBB pixels, row by row, as a PNG.
inline std::string MakePng(int width, int height, const std::vector<uint32_t>& argb) {
  std::vector<unsigned char> rgba;
  for (uint32_t p : argb) {
    rgba.push_back((p >> 16) & 0xFF);
    rgba.push_back((p >> 8) & 0xFF);
    rgba.push_back(p & 0xFF);
    rgba.push_back(p >> 24);
  }
  std::string png;
  stbi_write_png_to_func(
      [](void* context, void* data, int size) {
        static_cast<std::string*>(context)->append(static_cast<const char*>(data), static_cast<size_t>(size));
      },
      &png, width, height, 4, rgba.data(), width * 4);
  return png;
}

inline std::string SolidPng(int width, int height, uint32_t argb) {
  return MakePng(width, height, std::vector<uint32_t>(static_cast<size_t>(width) * height, argb));
}

// A 32-bit top-down bitmap in a memory DC; pixels are premultiplied
// 0xAARRGGBB values.
struct Surface {
  HDC dc = nullptr;
  HBITMAP bitmap = nullptr;
  HGDIOBJ old = nullptr;
  uint32_t* bits = nullptr;
  int width, height;

  Surface(int w, int h, uint32_t fill = 0xFFFFFFFF) : width(w), height(h) {
    BYTE* p = nullptr;
    bitmap = SkinUI::CRenderEngine::CreateBitmap(nullptr, w, h, &p);
    bits = reinterpret_cast<uint32_t*>(p);
    dc = CreateCompatibleDC(nullptr);
    old = SelectObject(dc, bitmap);
    Fill(fill);
  }
  ~Surface() {
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
  }
  Surface(const Surface&) = delete;
  Surface& operator=(const Surface&) = delete;

  void Fill(uint32_t argb) {
    for (int i = 0; i < width * height; ++i) bits[i] = argb;
  }
  void FillRect(RECT rc, uint32_t argb) {
    for (int y = rc.top; y < rc.bottom; ++y)
      for (int x = rc.left; x < rc.right; ++x) At(x, y) = argb;
  }
  uint32_t& At(int x, int y) { return bits[y * width + x]; }
  // The bitmap's ownership passes to the caller (for an image record).
  HBITMAP Release() {
    SelectObject(dc, old);
    HBITMAP result = bitmap;
    bitmap = nullptr;
    return result;
  }
};
