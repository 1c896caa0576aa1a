#include "gdi/GdiObject.h"

#include <mutex>
#include <vector>

#include "win32/Errors.h"

namespace platform::gdi {
namespace {

// Handle value: (slot + 1) << 12 | generation (12 bits, never 0). Values
// stay far from small kernel handles and from pointers.
constexpr uintptr_t kGenerationBits = 12;
constexpr uintptr_t kGenerationMask = (uintptr_t{1} << kGenerationBits) - 1;
constexpr uintptr_t kTag = uintptr_t{0x5D} << 40;

struct Slot {
  std::shared_ptr<GdiObject> object;
  uintptr_t generation = 1;
  bool stock = false;
};

std::mutex g_lock;
std::vector<Slot> g_slots;
std::vector<size_t> g_free;

Slot* SlotOf(const void* handle) {
  auto value = reinterpret_cast<uintptr_t>(handle);
  if ((value & ~((uintptr_t{1} << 40) - 1)) != kTag) return nullptr;
  value &= (uintptr_t{1} << 40) - 1;
  size_t index = (value >> kGenerationBits);
  if (index == 0 || index > g_slots.size()) return nullptr;
  Slot& slot = g_slots[index - 1];
  if (!slot.object || slot.generation != (value & kGenerationMask)) return nullptr;
  return &slot;
}

}  // namespace

void* AddObject(std::shared_ptr<GdiObject> object, bool stock) {
  std::lock_guard lock(g_lock);
  size_t index;
  if (!g_free.empty()) {
    index = g_free.back();
    g_free.pop_back();
  } else {
    g_slots.emplace_back();
    index = g_slots.size() - 1;
  }
  Slot& slot = g_slots[index];
  slot.object = std::move(object);
  slot.stock = stock;
  return reinterpret_cast<void*>(kTag | ((index + 1) << kGenerationBits) | slot.generation);
}

std::shared_ptr<GdiObject> FindObject(const void* handle) {
  std::lock_guard lock(g_lock);
  Slot* slot = SlotOf(handle);
  if (!slot) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  return slot->object;
}

bool IsStockObject(const void* handle) {
  std::lock_guard lock(g_lock);
  Slot* slot = SlotOf(handle);
  return slot && slot->stock;
}

bool RemoveObject(const void* handle) {
  std::shared_ptr<GdiObject> doomed;  // destroyed outside the lock
  std::lock_guard lock(g_lock);
  Slot* slot = SlotOf(handle);
  if (!slot || slot->stock) {
    if (!slot) SetLastError(ERROR_INVALID_HANDLE);
    return false;
  }
  doomed = std::move(slot->object);
  slot->generation = (slot->generation % kGenerationMask) + 1;
  g_free.push_back(static_cast<size_t>(slot - g_slots.data()));
  return true;
}

}  // namespace platform::gdi
