#include "window/RecordingBackend.h"

#include <cstdio>
#include <cstdlib>

#include "window/ShownImage.h"

namespace platform::window {
namespace {

constexpr double kDefaultFps = 4;
constexpr double kHighestFps = 60;

// The one recorder of the process, for the exit handler.
FrameRecorder* g_recorder = nullptr;

double ReadFps(const char* text) {
  if (!text || !*text) return kDefaultFps;
  char* end = nullptr;
  double fps = std::strtod(text, &end);
  if (*end || !(fps > 0 && fps <= kHighestFps)) {
    std::fprintf(stderr, "[Display] PLATFORM_RECORD_FPS=\"%s\" is not a rate above 0 and up to 60; using 4\n", text);
    return kDefaultFps;
  }
  return fps;
}

}  // namespace

std::unique_ptr<DisplayBackend> RecordingBackend::Wrap(std::unique_ptr<DisplayBackend>& display, const char* folder,
                                                       const char* fps) {
  auto recorder = FrameRecorder::Create(folder, ReadFps(fps));
  if (!recorder) return nullptr;
  g_recorder = recorder.get();
  // A process that ends by exit() while its window still shows keeps
  // that window's last frame too.
  std::atexit([] { g_recorder->FlushAll(); });
  return std::unique_ptr<DisplayBackend>(new RecordingBackend(std::move(display), std::move(recorder)));
}

RecordingBackend::RecordingBackend(std::unique_ptr<DisplayBackend> display, std::unique_ptr<FrameRecorder> recorder)
    : m_display(std::move(display)), m_recorder(std::move(recorder)) {}

RecordingBackend::~RecordingBackend() {
  for (auto& [hwnd, looks] : m_looks)
    if (looks.shape) cairo_region_destroy(looks.shape);
}

void RecordingBackend::Create(const NativeView& view) {
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_looks[view.hwnd];
  }
  m_display->Create(view);
}

void RecordingBackend::Destroy(HWND hwnd) {
  m_recorder->Flush(hwnd);
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    auto it = m_looks.find(hwnd);
    if (it != m_looks.end()) {
      if (it->second.shape) cairo_region_destroy(it->second.shape);
      m_looks.erase(it);
    }
  }
  m_display->Destroy(hwnd);
}

void RecordingBackend::Configure(const NativeView& view) {
  if (!view.visible) m_recorder->Flush(view.hwnd);
  m_display->Configure(view);
}

void RecordingBackend::SetTitle(HWND hwnd, const std::wstring& title) {
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (auto it = m_looks.find(hwnd); it != m_looks.end()) it->second.title = title;
  }
  m_display->SetTitle(hwnd, title);
}

void RecordingBackend::SetShape(HWND hwnd, const cairo_region_t* shape) {
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (auto it = m_looks.find(hwnd); it != m_looks.end()) {
      if (it->second.shape) cairo_region_destroy(it->second.shape);
      it->second.shape = shape ? cairo_region_copy(shape) : nullptr;
    }
  }
  m_display->SetShape(hwnd, shape);
}

void RecordingBackend::SetOpacity(HWND hwnd, BYTE alpha) {
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (auto it = m_looks.find(hwnd); it != m_looks.end()) it->second.alpha = alpha;
  }
  m_display->SetOpacity(hwnd, alpha);
}

void RecordingBackend::Present(HWND hwnd, cairo_surface_t* image, const RECT& dirty) {
  m_display->Present(hwnd, image, dirty);
  cairo_surface_t* shown = nullptr;
  std::wstring title;
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    auto it = m_looks.find(hwnd);
    if (it == m_looks.end()) return;
    shown = ShownImage(image, it->second.shape, it->second.alpha);
    title = it->second.title;
  }
  m_recorder->Offer(hwnd, shown, title, FrameRecorder::Clock::now());
  cairo_surface_destroy(shown);
}

}  // namespace platform::window
