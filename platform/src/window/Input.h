// Input: the display side delivers hardware input here (any thread); the
// owning thread turns it into window messages while it gets messages.
#pragma once

#include <mutex>

#include "window/State.h"

namespace platform::window::input {

// From the display (or the test interface). Screen coordinates; time 0
// means now.
void DeliverMouseMove(POINT screen, DWORD time = 0);
void DeliverButton(int button, bool down, POINT screen, DWORD time = 0);
void DeliverWheel(int delta, POINT screen, DWORD time = 0);
void DeliverKey(WORD vk, bool down, WCHAR ch = 0, WORD scan = 0, DWORD time = 0);
// The pointer left every window of this program (X11 leave).
void DeliverPointerGone();

// On the owning thread, lock held (it may be released and retaken):
// turns one hardware event into a message on q.input, or drops it.
void Cook(ThreadQueue& q, const InputEvent& event, std::unique_lock<std::mutex>& lock);
// Posts WM_MOUSEHOVER when due; the time it next falls due (0: none).
uint64_t CheckHover(ThreadQueue& q);
// A window is going away: drop it from focus, capture and tracking.
void ForgetWindow(HWND hwnd);

// Activation of a top-level window (lock not held).
void Activate(HWND hwnd, WORD how);
void Deactivate(HWND hwnd);

}  // namespace platform::window::input
