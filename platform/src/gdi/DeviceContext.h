// A device context: the surface it draws on (a window's client surface or
// a memory DC's selected bitmap), the selected objects, the drawing modes,
// the clip, and the stack SaveDC/RestoreDC keep.
#pragma once

#include <cairo.h>

#include <memory>
#include <vector>

#include "gdi/Bitmap.h"
#include "gdi/Brush.h"
#include "gdi/Font.h"
#include "gdi/GdiObject.h"
#include "gdi/Pen.h"

namespace platform::gdi {

// A selected object: its handle (what SelectObject answers) and the object,
// kept alive while selected even if its handle is deleted.
template <class T>
struct Selection {
  HGDIOBJ handle = nullptr;
  std::shared_ptr<T> object;
};

class DeviceContext : public GdiObject {
 public:
  // The DC behind a handle, or null (and ERROR_INVALID_HANDLE).
  static std::shared_ptr<DeviceContext> Of(HDC hdc) { return FindObjectOf<DeviceContext>(hdc); }

  // A memory DC (no window, the stock 1x1 bitmap selected).
  DeviceContext();
  // A DC on a window's surface; holds a reference to it.
  DeviceContext(cairo_surface_t* surface, HWND window);
  ~DeviceContext() override;
  DWORD Type() const override { return window_ || !memory_ ? OBJ_DC : OBJ_MEMDC; }

  struct State {
    Selection<Bitmap> bitmap;
    Selection<Brush> brush;
    Selection<Pen> pen;
    Selection<Font> font;
    std::shared_ptr<cairo_region_t> clip;  // selected clip, device coordinates; never changed in place
    COLORREF text_color = RGB(0, 0, 0);
    COLORREF bk_color = RGB(255, 255, 255);
    int bk_mode = OPAQUE;
    int stretch_mode = BLACKONWHITE;
    UINT text_align = TA_LEFT | TA_TOP;
    POINT position{0, 0};
    POINT brush_origin{0, 0};
  };

  bool IsMemory() const { return memory_; }
  HWND Window() const { return window_; }
  State& Current() { return state_; }
  cairo_surface_t* Surface() {
    FollowWindow();
    return surface_;
  }
  int Width() {
    FollowWindow();
    return width_;
  }
  int Height() {
    FollowWindow();
    return height_;
  }

  // Selects a bitmap (memory DCs only); false for a window DC.
  bool SelectBitmap(HGDIOBJ handle, std::shared_ptr<Bitmap> bitmap);

  // Clip management. The effective clip is the surface, the base clip (a
  // paint cycle's update region) and the selected clip intersected.
  void SetBaseClip(const cairo_region_t* clip);
  void SetClip(cairo_region_t* clip);  // takes ownership; null removes it
  const cairo_region_t* SelectedClip() const { return state_.clip.get(); }
  const cairo_region_t* EffectiveClip();

  // The cairo context for drawing, with the effective clip applied and the
  // caller's pixels taken in (they may have written the bits directly).
  // Null when there is nothing to draw on.
  cairo_t* Begin();
  // After drawing rect (device coordinates): hands the pixels back and
  // tells the window manager which part of a window surface changed.
  void End(const RECT& rect);

  int Save();
  bool Restore(int level);

 private:
  void SetSurface(cairo_surface_t* surface);
  void ResetState();
  // A window DC lives as long as its window (the paint manager keeps one),
  // while the window manager replaces the surface when the window resizes.
  void FollowWindow();

  bool memory_;
  HWND window_ = nullptr;
  cairo_surface_t* surface_ = nullptr;
  cairo_t* cr_ = nullptr;
  int width_ = 0;
  int height_ = 0;
  State state_;
  std::vector<State> saved_;
  cairo_region_t* base_clip_ = nullptr;
  cairo_region_t* effective_ = nullptr;
  bool clip_dirty_ = true;
};

inline void SetSourceColor(cairo_t* cr, COLORREF color) {
  cairo_set_source_rgb(cr, GetRValue(color) / 255.0, GetGValue(color) / 255.0, GetBValue(color) / 255.0);
}

}  // namespace platform::gdi
