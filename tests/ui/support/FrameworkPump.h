// The message loop of framework tests: like the test display's pump, but
// every message passes the paint managers' translation first (tab keys,
// shortcuts, pre-message filters), as the framework's own loops do.
#pragma once

#include <chrono>
#include <functional>
#include <thread>

#include "Win32.h"
#include "manager/CPaintManagerUI.h"

namespace SkinUI::test {

// Dispatches one message if the thread has one; whether it had.
inline bool PumpOne() {
  MSG msg;
  if (!::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) return false;
  if (msg.message == WM_QUIT) {
    ::PostQuitMessage(static_cast<int>(msg.wParam));
    return false;
  }
  if (!CPaintManagerUI::TranslateMessage(&msg)) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  return true;
}

// Dispatches what the thread has without waiting, at most limit messages
// (a window that keeps repainting never runs dry); how many.
inline int Pump(int limit = 10000) {
  int count = 0;
  while (count < limit && PumpOne()) ++count;
  return count;
}

// Pumps until done() holds or the deadline passes; whether it held.
inline bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 5000) {
  auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (!done()) {
    if (std::chrono::steady_clock::now() > end) return false;
    if (!PumpOne()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

}  // namespace SkinUI::test
