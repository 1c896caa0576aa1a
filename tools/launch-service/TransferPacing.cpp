#include "TransferPacing.h"

#include <algorithm>

namespace {
constexpr uint64_t kSmallestPiece = 512;
constexpr uint64_t kLargestPiece = 256 * 1024;
}  // namespace

TransferPacing::TransferPacing(uint64_t bytesPerSecond)
    : m_rate(std::max<uint64_t>(bytesPerSecond, 1)),
      m_piece(static_cast<size_t>(std::clamp(m_rate / 10, kSmallestPiece, kLargestPiece))) {}

std::chrono::nanoseconds TransferPacing::DueAfter(uint64_t offset) const {
  // Whole seconds and the rest apart, so that no product overflows.
  uint64_t seconds = offset / m_rate;
  uint64_t rest = offset % m_rate;
  return std::chrono::seconds(seconds) + std::chrono::nanoseconds(rest * 1'000'000'000ull / m_rate);
}
