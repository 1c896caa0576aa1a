// Turns encoded image bytes (any format the decoder knows) into the
// framework's image record: a 32-bit top-down bitmap with premultiplied
// colour, and the pixels of the mask colour made transparent.
#pragma once

#include <cstddef>

#include "Win32.h"
#include "core/UIDefines.h"

namespace SkinUI {

// Longest side accepted, and most pixels: a few bytes of header can claim
// gigabytes. Larger images are refused before decoding.
constexpr int kMaxImageSide = 32767;
constexpr long long kMaxImagePixels = 1 << 24;

// A new record owned by the caller, or null when the bytes do not decode,
// the image is too large or memory runs out.
TImageInfo* DecodeImage(const BYTE* pData, size_t nSize, DWORD dwMask);

}  // namespace SkinUI
