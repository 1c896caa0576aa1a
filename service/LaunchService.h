// The launch-service query: one GET of the service URL, its answer read
// into a LaunchInfo record.
#pragma once

#include "LaunchInfo.h"

#include <cstddef>

// Never fails as such: whatever did not arrive stays empty; a URL that
// does not begin with http:// or https:// is not requested. Writes the
// decoded answer and its ANSI form to standard output, and shows the
// service's `info` in a box when `code` is neither "1" nor empty.
LaunchInfo QueryLaunchService(const char* url);

// libcurl's write callback: appends the data to the std::string that
// `body` points to and takes every byte. What lies beyond the decoder's
// capacity is counted but not kept, so the body stays too long to decode.
size_t AppendToBuffer(char* data, size_t size, size_t count, void* body);
