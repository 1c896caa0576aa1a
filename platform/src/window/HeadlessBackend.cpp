#include "window/HeadlessBackend.h"

#include <cstdio>
#include <cstdlib>

#include "window/ShownImage.h"

namespace platform::window {

HeadlessBackend::HeadlessBackend() {
  // PLATFORM_HEADLESS_SCREEN=WIDTHxHEIGHT sizes the virtual screen.
  if (const char* size = getenv("PLATFORM_HEADLESS_SCREEN")) {
    int w = 0, h = 0;
    if (sscanf(size, "%dx%d", &w, &h) == 2 && w > 0 && h > 0 && w <= 16384 && h <= 16384) screen_ = RECT{0, 0, w, h};
  }
}

HeadlessBackend::~HeadlessBackend() {
  for (auto& [hwnd, r] : windows_) {
    if (r.image) cairo_surface_destroy(r.image);
    if (r.shape) cairo_region_destroy(r.shape);
  }
}

void HeadlessBackend::Create(const NativeView& view) {
  std::lock_guard<std::mutex> lock(mutex_);
  windows_[view.hwnd].visible = view.visible;
}

void HeadlessBackend::Destroy(HWND hwnd) {
  std::lock_guard<std::mutex> lock(mutex_);
  auto it = windows_.find(hwnd);
  if (it == windows_.end()) return;
  if (it->second.image) cairo_surface_destroy(it->second.image);
  if (it->second.shape) cairo_region_destroy(it->second.shape);
  windows_.erase(it);
}

void HeadlessBackend::Configure(const NativeView& view) {
  std::lock_guard<std::mutex> lock(mutex_);
  windows_[view.hwnd].visible = view.visible;
}

void HeadlessBackend::SetTitle(HWND hwnd, const std::wstring& title) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (auto it = windows_.find(hwnd); it != windows_.end()) it->second.title = title;
}

void HeadlessBackend::SetIcons(HWND hwnd, HICON big, HICON small) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (auto it = windows_.find(hwnd); it != windows_.end()) {
    it->second.big = big;
    it->second.small = small;
  }
}

void HeadlessBackend::SetShape(HWND hwnd, const cairo_region_t* shape) {
  std::lock_guard<std::mutex> lock(mutex_);
  auto it = windows_.find(hwnd);
  if (it == windows_.end()) return;
  if (it->second.shape) cairo_region_destroy(it->second.shape);
  it->second.shape = shape ? cairo_region_copy(shape) : nullptr;
}

void HeadlessBackend::SetOpacity(HWND hwnd, BYTE alpha) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (auto it = windows_.find(hwnd); it != windows_.end()) it->second.alpha = alpha;
}

void HeadlessBackend::SetCursor(HCURSOR cursor) {
  std::lock_guard<std::mutex> lock(mutex_);
  cursor_ = cursor;
}

void HeadlessBackend::Present(HWND hwnd, cairo_surface_t* image, const RECT&) {
  std::lock_guard<std::mutex> lock(mutex_);
  auto it = windows_.find(hwnd);
  if (it == windows_.end()) return;
  Record& r = it->second;
  if (r.image) cairo_surface_destroy(r.image);
  r.image = ShownImage(image, r.shape, r.alpha);
  ++r.presents;
}

cairo_surface_t* HeadlessBackend::Presented(HWND hwnd) {
  std::lock_guard<std::mutex> lock(mutex_);
  auto it = windows_.find(hwnd);
  if (it == windows_.end() || !it->second.image) return nullptr;
  return cairo_surface_reference(it->second.image);
}

HCURSOR HeadlessBackend::Cursor() {
  std::lock_guard<std::mutex> lock(mutex_);
  return cursor_;
}

std::wstring HeadlessBackend::Title(HWND hwnd) {
  std::lock_guard<std::mutex> lock(mutex_);
  auto it = windows_.find(hwnd);
  return it == windows_.end() ? L"" : it->second.title;
}

HICON HeadlessBackend::Icon(HWND hwnd, bool big) {
  std::lock_guard<std::mutex> lock(mutex_);
  auto it = windows_.find(hwnd);
  return it == windows_.end() ? nullptr : (big ? it->second.big : it->second.small);
}

int HeadlessBackend::PresentCount(HWND hwnd) {
  std::lock_guard<std::mutex> lock(mutex_);
  auto it = windows_.find(hwnd);
  return it == windows_.end() ? 0 : it->second.presents;
}

}  // namespace platform::window
