// Drawing: device contexts, bitmaps, blits, regions, fonts and text.
// (Filled by the drawing half.)
#pragma once

#include "win32/Types.h"
