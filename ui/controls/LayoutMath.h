// Layout arithmetic on 32-bit coordinates without overflow: sums and
// products are taken in 64 bits and saturated back to 32.
#pragma once

#include <algorithm>
#include <cstdint>

#include "Win32.h"

namespace SkinUI {

inline LONG Saturate(int64_t value) {
  return static_cast<LONG>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
}

// A size that is never negative.
inline LONG NonNegative(int64_t value) { return Saturate(std::max<int64_t>(value, 0)); }

inline LONG RectWidth(const RECT& rc) { return Saturate(int64_t{rc.right} - rc.left); }
inline LONG RectHeight(const RECT& rc) { return Saturate(int64_t{rc.bottom} - rc.top); }

// The minimum of a control raises a value, then its maximum lowers it (the
// maximum wins when they cross).
inline LONG ClampToLimits(LONG value, LONG minimum, LONG maximum) {
  if (value < minimum) value = minimum;
  if (value > maximum) value = maximum;
  return value;
}

// rc less the margins (left, top, right, bottom) of inset.
inline RECT DeflateRect(const RECT& rc, const RECT& inset) {
  return RECT{Saturate(int64_t{rc.left} + inset.left), Saturate(int64_t{rc.top} + inset.top),
              Saturate(int64_t{rc.right} - inset.right), Saturate(int64_t{rc.bottom} - inset.bottom)};
}

inline RECT OffsetRectBy(const RECT& rc, int64_t dx, int64_t dy) {
  return RECT{Saturate(rc.left + dx), Saturate(rc.top + dy), Saturate(rc.right + dx), Saturate(rc.bottom + dy)};
}

}  // namespace SkinUI
