// Icons and cursors: the system cursors by IDC_* number, the current
// cursor, icon handles.
#include <array>
#include <mutex>

#include "window/Backend.h"
#include "window/Icons.h"
#include "window/State.h"

namespace platform::window {
namespace {

constexpr std::array<int, 12> kSystemCursors = {32512, 32513, 32514, 32515, 32642, 32643,
                                                32644, 32645, 32646, 32648, 32649, 32650};

IconObject* SystemCursor(int id) {
  static std::array<IconObject, kSystemCursors.size()> cursors = [] {
    std::array<IconObject, kSystemCursors.size()> made{};
    for (size_t i = 0; i < kSystemCursors.size(); ++i) {
      made[i].systemId = kSystemCursors[i];
      made[i].system = true;
    }
    return made;
  }();
  for (auto& c : cursors)
    if (c.systemId == id) return &c;
  return nullptr;
}

}  // namespace

IconObject* AsIcon(HICON handle) {
  auto* icon = reinterpret_cast<IconObject*>(handle);
  return icon && icon->magic == 0x49434F4E ? icon : nullptr;
}

}  // namespace platform::window

using namespace platform::window;

HCURSOR WINAPI LoadCursorW(HINSTANCE, LPCWSTR lpCursorName) {
  if (!IS_INTRESOURCE(lpCursorName)) return nullptr;
  return reinterpret_cast<HCURSOR>(SystemCursor(static_cast<int>(reinterpret_cast<ULONG_PTR>(lpCursorName))));
}

HCURSOR WINAPI SetCursor(HCURSOR hCursor) {
  HCURSOR old;
  {
    std::lock_guard<std::mutex> lock(Lock());
    old = S().currentCursor;
    if (old == hCursor) return old;
    S().currentCursor = hCursor;
  }
  Backend().SetCursor(hCursor);
  return old;
}

HCURSOR WINAPI GetCursor() {
  std::lock_guard<std::mutex> lock(Lock());
  return S().currentCursor;
}

int WINAPI ShowCursor(BOOL bShow) {
  std::lock_guard<std::mutex> lock(Lock());
  S().cursorCount += bShow ? 1 : -1;
  return S().cursorCount;
}

BOOL WINAPI DestroyIcon(HICON hIcon) {
  IconObject* icon = AsIcon(hIcon);
  if (!icon) return FALSE;
  if (icon->system) return TRUE;
  if (icon->image) cairo_surface_destroy(icon->image);
  icon->magic = 0;
  delete icon;
  return TRUE;
}
