// Update regions, paint cycles and presentation of a window's pixels.
#pragma once

#include "window/State.h"

namespace platform::window::paint {

// Lock held. Makes or grows w's client surface to its client size.
void EnsureSurface(Window& w);
// Lock held. Adds rect (client coordinates; null: all) to the update region.
void InvalidateLocked(Window& w, const RECT* rect, bool erase);
// Composes the top-level window of hwnd and hands it to the backend
// (lock not held). dirty is in hwnd's client coordinates; null: all.
void Present(HWND hwnd, const RECT* dirty);
// Lock held. The window is going away: free its pixels.
void Release(Window& w);
// WM_ERASEBKGND's default: the class brush when it is a system colour.
bool EraseBackground(HWND hwnd, HDC dc);

}  // namespace platform::window::paint
