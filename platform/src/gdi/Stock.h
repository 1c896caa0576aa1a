// The stock objects, made once and never deleted.
#pragma once

#include "win32/Gdi.h"

namespace platform::gdi {

// The stock object of GetStockObject's index, or null.
HGDIOBJ StockObject(int index);
// The 1x1 bitmap a new memory DC has selected.
HGDIOBJ StockBitmap();

}  // namespace platform::gdi
