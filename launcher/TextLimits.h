// The launcher's fixed text buffers: 500 bytes (narrow) or 500 characters
// (wide) for paths, URLs and command lines. Nothing is written past them;
// a text that does not fit is refused, never cut.
#pragma once

#include <cstddef>

constexpr size_t kTextCapacity = 500;
