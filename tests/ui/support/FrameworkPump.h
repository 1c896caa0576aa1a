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

// Dispatches every message the thread has without waiting; how many.
inline int Pump() {
  int count = 0;
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      ::PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (!CPaintManagerUI::TranslateMessage(&msg)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
    ++count;
  }
  return count;
}

// Pumps until done() holds or the deadline passes; whether it held.
inline bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 5000) {
  auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (!done()) {
    if (std::chrono::steady_clock::now() > end) return false;
    if (Pump() == 0) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

}  // namespace SkinUI::test
