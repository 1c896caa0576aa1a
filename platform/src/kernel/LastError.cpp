#include "win32/Errors.h"

namespace {
thread_local DWORD t_lastError = 0;
}

DWORD WINAPI GetLastError() { return t_lastError; }
void WINAPI SetLastError(DWORD dwErrCode) { t_lastError = dwErrCode; }
