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
  cairo_surface_t* Surface() const { return surface_; }
  int Width() const { return width_; }
  int Height() const { return height_; }

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

}  // namespace platform::gdi
