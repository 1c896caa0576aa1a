#include "render/ImageDecoder.h"

#include <stb_image.h>

#include <climits>
#include <memory>
#include <new>

#include "render/CRenderEngine.h"

namespace SkinUI {

namespace {

struct StbiFree {
  void operator()(stbi_uc* p) const { stbi_image_free(p); }
};

// The installed decoder converts 16-bit PNM samples as if they were 8-bit
// and then reads twice the buffer it made: such files are not decoded.
bool IsSixteenBitPnm(const BYTE* pData, int len) {
  return len >= 2 && pData[0] == 'P' && (pData[1] == '5' || pData[1] == '6') &&
         stbi_is_16_bit_from_memory(pData, len);
}

bool IsAcceptedSize(int width, int height) {
  return width > 0 && height > 0 && width <= kMaxImageSide && height <= kMaxImageSide &&
         static_cast<long long>(width) * height <= kMaxImagePixels;
}

}  // namespace

TImageInfo* DecodeImage(const BYTE* pData, size_t nSize, DWORD dwMask) {
  if (pData == nullptr || nSize == 0 || nSize > static_cast<size_t>(INT_MAX)) return nullptr;
  const int len = static_cast<int>(nSize);
  // The header alone says how large the picture is; a huge claim is refused
  // before the decoder allocates for it.
  int width = 0, height = 0, channels = 0;
  if (!stbi_info_from_memory(pData, len, &width, &height, &channels)) return nullptr;
  if (!IsAcceptedSize(width, height) || IsSixteenBitPnm(pData, len)) return nullptr;

  std::unique_ptr<stbi_uc, StbiFree> rgba(stbi_load_from_memory(pData, len, &width, &height, &channels, 4));
  if (!rgba || !IsAcceptedSize(width, height)) return nullptr;

  BYTE* bits = nullptr;
  HBITMAP bitmap = CRenderEngine::CreateBitmap(nullptr, width, height, &bits);
  if (bitmap == nullptr || bits == nullptr) {
    if (bitmap) ::DeleteObject(bitmap);
    return nullptr;
  }

  bool alpha = false;
  const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
  const stbi_uc* src = rgba.get();
  DWORD* dst = reinterpret_cast<DWORD*>(bits);
  for (size_t i = 0; i < count; ++i, src += 4) {
    DWORD a = src[3], r = src[0], g = src[1], b = src[2];
    if (a != 255) {
      r = r * a / 255;
      g = g * a / 255;
      b = b * a / 255;
      alpha = true;
    }
    DWORD pixel = a << 24 | r << 16 | g << 8 | b;
    if (pixel == dwMask) {
      pixel = 0;
      alpha = true;
    }
    dst[i] = pixel;
  }

  TImageInfo* info = new (std::nothrow) TImageInfo;
  if (info == nullptr) {
    ::DeleteObject(bitmap);
    return nullptr;
  }
  info->hBitmap = bitmap;
  info->nX = width;
  info->nY = height;
  info->alphaChannel = alpha;
  return info;
}

}  // namespace SkinUI
