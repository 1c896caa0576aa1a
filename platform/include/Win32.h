// The Win32 subset the system is written against. On Windows this is the
// system's own API; on Linux it is this layer, written from Win32's
// documented behaviour. See platform/README.md for where it differs.
#pragma once

#include "win32/Types.h"
#include "win32/Errors.h"
#include "win32/CodePages.h"
#include "win32/Files.h"
#include "win32/Processes.h"
#include "win32/System.h"
#include "win32/Format.h"
#include "win32/MessageBox.h"
#include "win32/Windows.h"
#include "win32/Resources.h"
#include "win32/Gdi.h"
#include "win32/Gdiplus.h"
#include "win32/Ole.h"
#include "win32/Extensions.h"
