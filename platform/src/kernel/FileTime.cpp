#include "kernel/FileTime.h"

#include <sys/stat.h>

namespace platform::kernel {
namespace {
constexpr int64_t kEpochDifference = 116444736000000000LL;  // 1601 to 1970 in 100 ns
constexpr int64_t kUnitsPerSecond = 10000000LL;
}  // namespace

FILETIME FileTimeFromTimespec(const struct timespec& ts) {
  int64_t units = static_cast<int64_t>(ts.tv_sec) * kUnitsPerSecond + ts.tv_nsec / 100 + kEpochDifference;
  if (units < 0) units = 0;
  FILETIME ft;
  ft.dwLowDateTime = static_cast<DWORD>(units);
  ft.dwHighDateTime = static_cast<DWORD>(static_cast<uint64_t>(units) >> 32);
  return ft;
}

struct timespec TimespecFromFileTime(const FILETIME* ft) {
  struct timespec ts = {0, UTIME_OMIT};
  if (!ft) return ts;
  uint64_t units = (static_cast<uint64_t>(ft->dwHighDateTime) << 32) | ft->dwLowDateTime;
  if (units == 0 || units == UINT64_MAX) return ts;
  int64_t since = static_cast<int64_t>(units) - kEpochDifference;
  int64_t seconds = since / kUnitsPerSecond, rest = since % kUnitsPerSecond;
  if (rest < 0) rest += kUnitsPerSecond, --seconds;
  ts.tv_sec = static_cast<time_t>(seconds);
  ts.tv_nsec = static_cast<long>(rest * 100);
  return ts;
}

}  // namespace platform::kernel
