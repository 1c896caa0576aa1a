// A memory DC with a 32-bit top-down DIB section selected, for pixel tests.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>

#include "Win32.h"

struct Canvas {
  HDC dc = nullptr;
  HBITMAP bitmap = nullptr;
  HGDIOBJ old = nullptr;
  uint32_t* bits = nullptr;
  int width, height;

  Canvas(int w, int h, uint32_t fill = 0xFFFFFFFF) : width(w), height(h) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = -h;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    dc = CreateCompatibleDC(nullptr);
    void* p = nullptr;
    bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &p, nullptr, 0);
    bits = static_cast<uint32_t*>(p);
    old = SelectObject(dc, bitmap);
    Fill(fill);
  }
  ~Canvas() {
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
  }
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  void Fill(uint32_t argb) {
    for (int i = 0; i < width * height; ++i) bits[i] = argb;
  }
  uint32_t& At(int x, int y) { return bits[y * width + x]; }
  static int Channel(uint32_t pixel, int shift) { return (pixel >> shift) & 0xFF; }

  // Pixels that differ from background, with their bounding box.
  struct Ink {
    int count = 0;
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;  // right/bottom inclusive
  };
  Ink InkOf(uint32_t background = 0xFFFFFFFF, RECT area = {0, 0, 0, 0}) {
    if (area.right == 0) area = {0, 0, width, height};
    Ink ink;
    for (int y = area.top; y < area.bottom; ++y)
      for (int x = area.left; x < area.right; ++x)
        if (At(x, y) != background) {
          ++ink.count;
          ink.left = std::min(ink.left, x);
          ink.top = std::min(ink.top, y);
          ink.right = std::max(ink.right, x);
          ink.bottom = std::max(ink.bottom, y);
        }
    return ink;
  }
};

inline HFONT MakeFont(const wchar_t* face, LONG height, LONG weight = FW_NORMAL, bool italic = false) {
  LOGFONTW lf{};
  lf.lfHeight = height;
  lf.lfWeight = weight;
  lf.lfItalic = italic;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfQuality = CLEARTYPE_QUALITY;
  wcsncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
  return CreateFontIndirectW(&lf);
}
