// Internal text and path helpers shared by the kernel functions.
#pragma once

#include <string>
#include <string_view>

#include "win32/Types.h"

namespace platform::kernel {

// UTF-8 <-> WCHAR. Invalid input becomes U+FFFD; invalid is set when any
// replacement was made.
std::wstring Utf8ToWide(std::string_view text, bool* invalid = nullptr);
std::string WideToUtf8(std::wstring_view text, bool* invalid = nullptr);

// A wide path as the native file system takes it: UTF-8, '\' turned to '/'.
std::string NativePath(LPCWSTR path);
// A native (UTF-8) text as a wide text.
std::wstring FromNative(std::string_view text);

// Copies text with its terminator into buffer of capacity units; false
// (nothing written past capacity) when it does not fit.
bool CopyTerminated(std::wstring_view text, LPWSTR buffer, size_t capacity);

}  // namespace platform::kernel
