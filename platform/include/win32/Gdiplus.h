// The GDI+ subset as a small facade with GDI+'s names (namespace Gdiplus).
// (Filled by the drawing half.)
#pragma once

#include "win32/Types.h"
