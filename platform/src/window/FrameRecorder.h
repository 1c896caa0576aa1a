// Saves what top-level windows present as PNG files with increasing
// numbers (frame-00001.png, ...) in one folder, so that a run without a
// screen can still be watched afterwards. Each window is sampled on its own
// presentation times: a frame is written when the window's last written one
// is at least 1/fps old; frames in between are dropped, except that the
// latest one is kept and written when the window is hidden or destroyed, so
// the last state a window showed is always there. frames.txt lists each
// file with the seconds since the first frame and the window's title.
#pragma once

#include <cairo.h>

#include <chrono>
#include <cstdio>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "win32/Types.h"

namespace platform::window {

class FrameRecorder {
 public:
  using Clock = std::chrono::steady_clock;

  // Null, with a line on standard error, when the folder cannot be made.
  static std::unique_ptr<FrameRecorder> Create(const std::string& folder, double fps);
  ~FrameRecorder();

  // image: the window as a screen shows it; the recorder keeps a reference.
  void Offer(HWND hwnd, cairo_surface_t* image, const std::wstring& title, Clock::time_point when);
  // The window stops showing: its latest dropped frame, if any, is written.
  void Flush(HWND hwnd);
  void FlushAll();
  int written();

 private:
  struct Pending {
    cairo_surface_t* image = nullptr;
    std::wstring title;
    Clock::time_point when;
  };
  struct Track {
    bool any = false;
    Clock::time_point last;
    Pending pending;
  };

  FrameRecorder(std::string folder, Clock::duration interval, std::FILE* index);
  // Lock held.
  void Write(Track& track, cairo_surface_t* image, const std::wstring& title, Clock::time_point when);
  static void Drop(Pending& pending);

  std::mutex m_mutex;
  std::string m_folder;
  Clock::duration m_interval;
  std::FILE* m_index;
  std::map<HWND, Track> m_tracks;
  bool m_started = false;
  Clock::time_point m_origin;
  int m_written = 0;
};

}  // namespace platform::window
