// The program's resource table (icons, optionally skins), found by id and
// type. (Filled by the windowing half.)
#pragma once

#include "win32/Types.h"
