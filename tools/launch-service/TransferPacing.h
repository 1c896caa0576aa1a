// The schedule of a rate-limited transfer: the byte at `offset` leaves no
// earlier than offset / rate seconds after the first one, written in pieces
// of about a tenth of a second's worth so that a progress display moves
// smoothly and no client sees a stall.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>

class TransferPacing {
 public:
  // bytesPerSecond > 0.
  explicit TransferPacing(uint64_t bytesPerSecond);

  uint64_t rate() const { return m_rate; }
  size_t PieceSize() const { return m_piece; }
  // How long after the first byte the byte at `offset` is due.
  std::chrono::nanoseconds DueAfter(uint64_t offset) const;

 private:
  uint64_t m_rate;
  size_t m_piece;
};
