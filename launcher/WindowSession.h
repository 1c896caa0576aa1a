// The hand-over from the start-up sequence to the launcher's window.
#pragma once

#include "LaunchInfo.h"
#include "Win32.h"

// Runs the main window with a copy of the record; returns when it has
// been closed. Until the window exists it only says so on standard output.
void RunWindowSession(HINSTANCE instance, const LaunchInfo& info);
