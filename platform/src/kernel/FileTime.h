// FILETIME (100 ns units since 1601) <-> timespec.
#pragma once

#include <ctime>

#include "win32/Types.h"

namespace platform::kernel {

FILETIME FileTimeFromTimespec(const struct timespec& ts);
// UTIME_OMIT for null and for the two "leave unchanged" values (0 and all ones).
struct timespec TimespecFromFileTime(const FILETIME* ft);

}  // namespace platform::kernel
