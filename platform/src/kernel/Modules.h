// Module handles: the main program, built-in modules whose exports other
// parts of the layer register for run-time lookup, and dlopen'ed libraries.
#pragma once

#include "win32/Types.h"

namespace platform::kernel {

bool IsMainModule(HMODULE module);
// The dlopen handle behind a loaded library's module handle, or null.
void* NativeLibrary(HMODULE module);

}  // namespace platform::kernel
