// errno to Win32 error codes.
#pragma once

#include <string>

#include "win32/Types.h"

namespace platform::kernel {

DWORD Win32ErrorFromErrno(int error);
// Sets the last error from errno. A missing path is told apart as Win32
// does: ERROR_FILE_NOT_FOUND when the parent directory exists, else
// ERROR_PATH_NOT_FOUND.
void SetLastErrorFromErrno(int error, const std::string& nativePath = {});

}  // namespace platform::kernel
