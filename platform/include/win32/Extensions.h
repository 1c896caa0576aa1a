// What the system needs of its platform beyond Win32's calls, declared the
// same way for every target so that no code above the platform layer
// needs a conditional.
#pragma once

#include "win32/Types.h"

// The native path separator, used where texts are split into or joined
// from path pieces.
#define PLATFORM_PATH_SEPARATOR_A "/"
#define PLATFORM_PATH_SEPARATOR_W L"/"
#define PLATFORM_PATH_SEPARATOR_CHAR '/'

// File name suffix of a shared library ("7z" PLATFORM_LIBRARY_SUFFIX_W).
#define PLATFORM_LIBRARY_SUFFIX_W L".so"

// Applies Unix permission bits (the low 12 bits of mode) to a path. Where
// the platform has no such bits this succeeds without effect.
BOOL PlatformSetFileMode(LPCWSTR lpFileName, DWORD mode);

// Makes a downloaded program file runnable (the executable bits where the
// platform has them).
BOOL PlatformMakeExecutable(LPCWSTR lpFileName);
