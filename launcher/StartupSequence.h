// The launcher's entry routine: arguments, single instance, service query,
// self-replacement or clean-up, background image, window session.
#pragma once

#include "Win32.h"

// The launcher's own version, compared with the service's up_version.
constexpr char kLauncherVersion[] = "1";

// `commandLine` is the text after the program name, handed unchanged to a
// replacement launcher. Returns the process's exit code: 0 for every
// normal end, −1 when a download needed before the window fails.
int RunStartupSequence(HINSTANCE instance, LPWSTR commandLine);
