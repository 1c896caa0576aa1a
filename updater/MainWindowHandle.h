// The process-wide handle of the launcher's main window and the message
// that carries unpack progress to it (wParam done, lParam total).
#pragma once

#include "Win32.h"

#define WM_UNPACK_PROGRESS (WM_USER + 2)

// Null until the main window exists; stored before any worker starts.
extern HWND MainWindowHandle;
