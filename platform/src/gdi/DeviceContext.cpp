#include "gdi/DeviceContext.h"

#include <algorithm>

#include "bridge/Bridge.h"
#include "gdi/Stock.h"

namespace platform::gdi {
namespace {

template <class T>
Selection<T> StockSelection(HGDIOBJ handle) {
  return {handle, FindObjectOf<T>(handle)};
}

}  // namespace

DeviceContext::DeviceContext() : memory_(true) { ResetState(); }

DeviceContext::DeviceContext(cairo_surface_t* surface, HWND window) : memory_(false), window_(window) {
  ResetState();
  SetSurface(surface);
}

DeviceContext::~DeviceContext() {
  if (cr_) cairo_destroy(cr_);
  if (surface_) cairo_surface_destroy(surface_);
  if (base_clip_) cairo_region_destroy(base_clip_);
  if (effective_) cairo_region_destroy(effective_);
}

void DeviceContext::ResetState() {
  state_ = State{};
  state_.brush = StockSelection<Brush>(StockObject(WHITE_BRUSH));
  state_.pen = StockSelection<Pen>(StockObject(BLACK_PEN));
  state_.font = StockSelection<Font>(StockObject(SYSTEM_FONT));
  if (memory_) {
    state_.bitmap = StockSelection<Bitmap>(StockBitmap());
    SetSurface(state_.bitmap.object ? state_.bitmap.object->Surface() : nullptr);
  }
}

void DeviceContext::SetSurface(cairo_surface_t* surface) {
  if (surface == surface_) return;
  if (cr_) cairo_destroy(cr_);
  cr_ = nullptr;
  if (surface_) cairo_surface_destroy(surface_);
  surface_ = surface ? cairo_surface_reference(surface) : nullptr;
  width_ = surface_ ? cairo_image_surface_get_width(surface_) : 0;
  height_ = surface_ ? cairo_image_surface_get_height(surface_) : 0;
  clip_dirty_ = true;
}

void DeviceContext::FollowWindow() {
  if (!window_) return;
  cairo_surface_t* current = bridge::WindowSurface(window_);
  if (current && current != surface_) SetSurface(current);
}

bool DeviceContext::SelectBitmap(HGDIOBJ handle, std::shared_ptr<Bitmap> bitmap) {
  if (!memory_ || !bitmap) return false;
  SetSurface(bitmap->Surface());
  state_.bitmap = {handle, std::move(bitmap)};
  return true;
}

void DeviceContext::SetBaseClip(const cairo_region_t* clip) {
  if (base_clip_) cairo_region_destroy(base_clip_);
  base_clip_ = clip ? cairo_region_copy(clip) : nullptr;
  clip_dirty_ = true;
}

void DeviceContext::SetClip(cairo_region_t* clip) {
  state_.clip = clip ? std::shared_ptr<cairo_region_t>(clip, cairo_region_destroy) : nullptr;
  clip_dirty_ = true;
}

const cairo_region_t* DeviceContext::EffectiveClip() {
  FollowWindow();
  if (!clip_dirty_ && effective_) return effective_;
  if (effective_) cairo_region_destroy(effective_);
  cairo_rectangle_int_t bounds{0, 0, width_, height_};
  effective_ = cairo_region_create_rectangle(&bounds);
  if (base_clip_) cairo_region_intersect(effective_, base_clip_);
  if (state_.clip) cairo_region_intersect(effective_, state_.clip.get());
  return effective_;
}

cairo_t* DeviceContext::Begin() {
  FollowWindow();
  if (!surface_ || cairo_surface_status(surface_) != CAIRO_STATUS_SUCCESS) return nullptr;
  if (!cr_) {
    cr_ = cairo_create(surface_);
    clip_dirty_ = true;
  }
  cairo_surface_mark_dirty(surface_);
  if (clip_dirty_) {
    const cairo_region_t* clip = EffectiveClip();
    clip_dirty_ = false;
    cairo_reset_clip(cr_);
    cairo_rectangle_int_t whole{0, 0, width_, height_};
    if (cairo_region_contains_rectangle(clip, &whole) != CAIRO_REGION_OVERLAP_IN) {
      cairo_new_path(cr_);
      for (int i = 0, n = cairo_region_num_rectangles(clip); i < n; ++i) {
        cairo_rectangle_int_t r;
        cairo_region_get_rectangle(clip, i, &r);
        cairo_rectangle(cr_, r.x, r.y, r.width, r.height);
      }
      cairo_clip(cr_);  // an empty path clips everything away
    }
  }
  cairo_new_path(cr_);
  cairo_set_operator(cr_, CAIRO_OPERATOR_OVER);
  cairo_set_antialias(cr_, CAIRO_ANTIALIAS_NONE);
  return cr_;
}

void DeviceContext::End(const RECT& rect) {
  cairo_new_path(cr_);
  cairo_surface_flush(surface_);
  // Every window DC reports; the window manager knows which belong to a
  // paint cycle that EndPaint presents at once.
  if (!window_) return;
  cairo_rectangle_int_t changed{rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
  cairo_rectangle_int_t box;
  cairo_region_get_extents(EffectiveClip(), &box);
  int left = std::max(changed.x, box.x), top = std::max(changed.y, box.y);
  int right = std::min(changed.x + changed.width, box.x + box.width);
  int bottom = std::min(changed.y + changed.height, box.y + box.height);
  if (right <= left || bottom <= top) return;
  RECT visible{left, top, right, bottom};
  bridge::WindowSurfaceChanged(window_, &visible);
}

int DeviceContext::Save() {
  saved_.push_back(state_);
  return static_cast<int>(saved_.size());
}

bool DeviceContext::Restore(int level) {
  // Negative: relative to the current level; positive: that absolute level.
  int count = static_cast<int>(saved_.size());
  int target = level < 0 ? count + level + 1 : level;
  if (level == 0 || target < 1 || target > count) return false;
  State restored = std::move(saved_[target - 1]);
  saved_.resize(target - 1);
  if (restored.bitmap.object) SetSurface(restored.bitmap.object->Surface());
  state_ = std::move(restored);
  clip_dirty_ = true;
  return true;
}

}  // namespace platform::gdi
