// The kernel handle table. Handles are small multiples of 4, like Win32's,
// so a stale or foreign value is recognised instead of dereferenced.
#pragma once

#include <memory>

#include "win32/Types.h"

namespace platform::kernel {

class KernelObject {
 public:
  virtual ~KernelObject() = default;
};

HANDLE AddHandle(std::shared_ptr<KernelObject> object);
// Null (and ERROR_INVALID_HANDLE) for a handle that is not open.
std::shared_ptr<KernelObject> FindHandle(HANDLE handle);
// False (and ERROR_INVALID_HANDLE) for a handle that is not open.
bool RemoveHandle(HANDLE handle);

void SetLastErrorInvalidHandle();

// The object behind handle if it is a T; else null and ERROR_INVALID_HANDLE.
template <class T>
std::shared_ptr<T> FindHandleOf(HANDLE handle) {
  auto object = std::dynamic_pointer_cast<T>(FindHandle(handle));
  if (!object) SetLastErrorInvalidHandle();
  return object;
}

}  // namespace platform::kernel
