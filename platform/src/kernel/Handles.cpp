#include "kernel/Handles.h"

#include <mutex>
#include <vector>

#include "win32/Errors.h"

namespace platform::kernel {
namespace {

std::mutex g_lock;
std::vector<std::shared_ptr<KernelObject>> g_table;  // slot i is handle (i + 1) * 4

size_t SlotOf(HANDLE handle) {
  auto value = reinterpret_cast<uintptr_t>(handle);
  if (value == 0 || value % 4 != 0) return SIZE_MAX;
  return value / 4 - 1;
}

}  // namespace

void SetLastErrorInvalidHandle() { SetLastError(ERROR_INVALID_HANDLE); }

HANDLE AddHandle(std::shared_ptr<KernelObject> object) {
  std::lock_guard lock(g_lock);
  size_t slot = 0;
  while (slot < g_table.size() && g_table[slot]) ++slot;
  if (slot == g_table.size()) g_table.emplace_back();
  g_table[slot] = std::move(object);
  return reinterpret_cast<HANDLE>((slot + 1) * 4);
}

std::shared_ptr<KernelObject> FindHandle(HANDLE handle) {
  std::lock_guard lock(g_lock);
  size_t slot = SlotOf(handle);
  if (slot >= g_table.size() || !g_table[slot]) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  return g_table[slot];
}

bool RemoveHandle(HANDLE handle) {
  std::shared_ptr<KernelObject> doomed;  // destroyed outside the lock
  std::lock_guard lock(g_lock);
  size_t slot = SlotOf(handle);
  if (slot >= g_table.size() || !g_table[slot]) {
    SetLastError(ERROR_INVALID_HANDLE);
    return false;
  }
  doomed = std::move(g_table[slot]);
  return true;
}

}  // namespace platform::kernel
