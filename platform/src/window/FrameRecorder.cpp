#include "window/FrameRecorder.h"

#include <filesystem>
#include <vector>

#include "win32/CodePages.h"

namespace platform::window {
namespace {

std::string Utf8(const std::wstring& text) {
  if (text.empty()) return {};
  int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                 nullptr);
  std::string out(static_cast<size_t>(size > 0 ? size : 0), '\0');
  if (size > 0)
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), out.data(), size, nullptr, nullptr);
  return out;
}

}  // namespace

std::unique_ptr<FrameRecorder> FrameRecorder::Create(const std::string& folder, double fps) {
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  std::FILE* index = std::fopen((std::filesystem::path(folder) / "frames.txt").c_str(), "w");
  if (!index) {
    std::fprintf(stderr, "[Display] cannot record frames into \"%s\"\n", folder.c_str());
    return nullptr;
  }
  auto interval = std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(1.0 / fps));
  return std::unique_ptr<FrameRecorder>(new FrameRecorder(folder, interval, index));
}

FrameRecorder::FrameRecorder(std::string folder, Clock::duration interval, std::FILE* index)
    : m_folder(std::move(folder)), m_interval(interval), m_index(index) {}

FrameRecorder::~FrameRecorder() {
  for (auto& [hwnd, track] : m_tracks) Drop(track.pending);
  std::fclose(m_index);
}

void FrameRecorder::Offer(HWND hwnd, cairo_surface_t* image, const std::wstring& title, Clock::time_point when) {
  std::lock_guard<std::mutex> lock(m_mutex);
  Track& track = m_tracks[hwnd];
  if (!track.any || when - track.last >= m_interval) {
    Drop(track.pending);
    Write(track, image, title, when);
    return;
  }
  Drop(track.pending);
  track.pending = Pending{cairo_surface_reference(image), title, when};
}

void FrameRecorder::Flush(HWND hwnd) {
  std::lock_guard<std::mutex> lock(m_mutex);
  auto it = m_tracks.find(hwnd);
  if (it == m_tracks.end()) return;
  Pending pending = it->second.pending;
  it->second.pending = Pending{};
  if (pending.image) Write(it->second, pending.image, pending.title, pending.when);
  Drop(pending);
}

void FrameRecorder::FlushAll() {
  std::vector<HWND> windows;
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    for (auto& [hwnd, track] : m_tracks) windows.push_back(hwnd);
  }
  for (HWND hwnd : windows) Flush(hwnd);
}

int FrameRecorder::written() {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_written;
}

void FrameRecorder::Write(Track& track, cairo_surface_t* image, const std::wstring& title, Clock::time_point when) {
  track.any = true;
  track.last = when;
  if (!m_started) {
    m_started = true;
    m_origin = when;
  }
  char name[32];
  std::snprintf(name, sizeof name, "frame-%05d.png", m_written + 1);
  if (cairo_surface_write_to_png(image, (std::filesystem::path(m_folder) / name).c_str()) != CAIRO_STATUS_SUCCESS)
    return;
  ++m_written;
  double seconds = std::chrono::duration<double>(when - m_origin).count();
  std::fprintf(m_index, "%s %.3f %s\n", name, seconds, Utf8(title).c_str());
  std::fflush(m_index);
}

void FrameRecorder::Drop(Pending& pending) {
  if (pending.image) cairo_surface_destroy(pending.image);
  pending = Pending{};
}

}  // namespace platform::window
