// The drawing objects behind HDC, HBITMAP, HBRUSH, HPEN, HFONT and HRGN.
// Handles index a table with a generation count, so a stale or foreign
// value is recognised instead of dereferenced.
#pragma once

#include <memory>

#include "win32/Gdi.h"

namespace platform::gdi {

class GdiObject {
 public:
  virtual ~GdiObject() = default;
  // OBJ_BITMAP, OBJ_FONT, ... as GetObjectType answers.
  virtual DWORD Type() const = 0;
};

// A new handle for object. Stock objects are never removed by DeleteObject.
void* AddObject(std::shared_ptr<GdiObject> object, bool stock = false);
// Null (and ERROR_INVALID_HANDLE) for a handle that is not live.
std::shared_ptr<GdiObject> FindObject(const void* handle);
bool IsStockObject(const void* handle);
// False for a stale handle or a stock object.
bool RemoveObject(const void* handle);

template <class T>
std::shared_ptr<T> FindObjectOf(const void* handle) {
  return std::dynamic_pointer_cast<T>(FindObject(handle));
}

}  // namespace platform::gdi
