// Exports of the built-in modules ("kernel32.dll", "user32.dll",
// "msimg32.dll", names compared ignoring case) that GetProcAddress finds.
// The parts of the layer that implement a function register it before it
// can be looked up (e.g. when the window manager starts).
#pragma once

#include "win32/Types.h"

namespace platform::kernel {

void RegisterBuiltinExport(LPCWSTR module, const char* name, FARPROC function);

}  // namespace platform::kernel
