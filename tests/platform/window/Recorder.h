// A window class whose procedure records every message and lets a test
// answer some of them; everything else goes to DefWindowProcW.
#pragma once

#include <cstdlib>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "win32/Windows.h"

struct Seen {
  HWND hwnd;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};

class Recorder {
 public:
  // handler returns true when it answered (result set).
  using Handler = std::function<bool(HWND, UINT, WPARAM, LPARAM, LRESULT&)>;

  static Recorder& Get() {
    static Recorder r;
    return r;
  }
  static LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l) {
    Recorder& r = Get();
    Handler handler;
    {
      std::lock_guard<std::mutex> lock(r.mutex_);
      r.seen_.push_back(Seen{h, m, w, l});
      handler = r.handler_;
    }
    LRESULT result = 0;
    if (handler && handler(h, m, w, l, result)) return result;
    return DefWindowProcW(h, m, w, l);
  }

  void Reset(Handler handler = nullptr) {
    std::lock_guard<std::mutex> lock(mutex_);
    seen_.clear();
    handler_ = std::move(handler);
  }
  void Clear() {
    std::lock_guard<std::mutex> lock(mutex_);
    seen_.clear();
  }
  std::vector<Seen> All() {
    std::lock_guard<std::mutex> lock(mutex_);
    return seen_;
  }
  // The messages seen that are in the list, in order.
  std::vector<UINT> Only(std::initializer_list<UINT> wanted) {
    std::vector<UINT> out;
    for (const Seen& s : All())
      for (UINT w : wanted)
        if (s.message == w) out.push_back(s.message);
    return out;
  }
  int Count(UINT message) {
    int n = 0;
    for (const Seen& s : All()) n += s.message == message;
    return n;
  }
  bool Last(UINT message, Seen* out) {
    std::lock_guard<std::mutex> lock(mutex_);
    for (auto it = seen_.rbegin(); it != seen_.rend(); ++it)
      if (it->message == message) {
        *out = *it;
        return true;
      }
    return false;
  }

 private:
  std::mutex mutex_;
  std::vector<Seen> seen_;
  Handler handler_;
};

// Forces the headless display for the test program that includes this.
inline const bool kHeadless = [] {
  setenv("PLATFORM_DISPLAY", "headless", 1);
  return true;
}();

inline LPCWSTR RecorderClass(UINT style = 0) {
  static const std::wstring names[2] = {L"RecorderWindow", L"RecorderWindowDbl"};
  LPCWSTR name = (style & CS_DBLCLKS) ? names[1].c_str() : names[0].c_str();
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.style = style;
  wc.lpfnWndProc = Recorder::Proc;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = name;
  RegisterClassExW(&wc);  // a second registration fails harmlessly
  return name;
}

// A visible window at (x, y) of the given size (borderless pop-up by default).
inline HWND MakeWindow(int x, int y, int cx, int cy, UINT classStyle = 0, DWORD style = WS_POPUP | WS_VISIBLE) {
  return CreateWindowExW(0, RecorderClass(classStyle), L"window", style, x, y, cx, cy, nullptr, nullptr, nullptr,
                         nullptr);
}
