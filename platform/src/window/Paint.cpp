// Update regions and paint cycles (BeginPaint/EndPaint, GetDC/ReleaseDC),
// and the composition of a window's frame, client area and child windows
// into the image its backend presents.
#include "window/Paint.h"

#include <algorithm>
#include <unordered_map>

#include "bridge/Bridge.h"
#include "win32/Gdi.h"
#include "win32/Errors.h"
#include "window/Backend.h"

namespace platform::window::paint {
namespace {

struct DcRecord {
  HWND hwnd;
  cairo_surface_t* surface;  // referenced while the DC lives
  cairo_region_t* painted;   // BeginPaint's region, or null for GetDC
};

std::unordered_map<HDC, DcRecord>& Dcs() {
  static auto* dcs = new std::unordered_map<HDC, DcRecord>();
  return *dcs;
}

cairo_region_t* ClientRegion(const Window& w) {
  RECT c = ClientRectOf(w);
  cairo_rectangle_int_t r{0, 0, c.right, c.bottom};
  return cairo_region_create_rectangle(&r);
}

struct Frame {
  bool shown = false;
  RECT client{};  // window coordinates
  RECT insets{};
  bool caption = false;
  std::wstring title;
};

// The frame around the client area: drawn without the lock, as the title
// goes through the drawing half.
void DrawFrame(cairo_surface_t* image, const Frame& f) {
  int width = cairo_image_surface_get_width(image), height = cairo_image_surface_get_height(image);
  cairo_t* cr = cairo_create(image);
  cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
  cairo_rectangle(cr, 0, 0, width, height);
  cairo_rectangle(cr, f.client.left, f.client.top, f.client.right - f.client.left, f.client.bottom - f.client.top);
  cairo_clip(cr);
  cairo_set_source_rgb(cr, 0.94, 0.94, 0.94);
  cairo_paint(cr);
  cairo_set_source_rgb(cr, 0.45, 0.45, 0.45);
  cairo_rectangle(cr, 0.5, 0.5, width - 1, height - 1);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  RECT bar{f.insets.left, f.insets.left, width - f.insets.right, f.insets.top};
  if (f.caption) {
    cairo_set_source_rgb(cr, 0.24, 0.43, 0.71);
    cairo_rectangle(cr, bar.left, bar.top, bar.right - bar.left, bar.bottom - bar.top);
    cairo_fill(cr);
  }
  cairo_destroy(cr);
  if (!f.caption || f.title.empty()) return;
  cairo_surface_flush(image);
  if (HDC dc = bridge::CreateSurfaceDC(image, nullptr)) {
    HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(255, 255, 255));
    RECT text{bar.left + 6, bar.top, bar.right - 6, bar.bottom};
    DrawTextW(dc, f.title.c_str(), -1, &text, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
    SelectObject(dc, old);
    bridge::DestroySurfaceDC(dc);
  }
}

// Draws w (a child, or the top-level's client area) at its client origin
// relative to the top-level window's origin.
void DrawClient(cairo_t* cr, const Window& w, POINT topOrigin) {
  if (!w.surface) return;
  POINT o = ClientOriginOnScreen(w);
  RECT c = ClientRectOf(w);
  cairo_save(cr);
  cairo_rectangle(cr, o.x - topOrigin.x, o.y - topOrigin.y, c.right, c.bottom);
  cairo_clip(cr);
  cairo_set_source_surface(cr, w.surface, o.x - topOrigin.x, o.y - topOrigin.y);
  cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
  cairo_paint(cr);
  cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
  for (auto it = w.children.rbegin(); it != w.children.rend(); ++it)
    if (Window* child = Find(*it); child && (child->style & WS_VISIBLE)) DrawClient(cr, *child, topOrigin);
  cairo_restore(cr);
}

// Lock held. The whole top-level window as the screen should show it,
// but for its frame (described in frame, drawn later by DrawFrame).
cairo_surface_t* Compose(const Window& top, Frame* frame) {
  int width = top.rect.right - top.rect.left, height = top.rect.bottom - top.rect.top;
  cairo_surface_t* image = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, std::max(width, 1), std::max(height, 1));
  cairo_t* cr = cairo_create(image);
  if ((top.exStyle & WS_EX_LAYERED) && top.layeredImage) {
    cairo_set_source_surface(cr, top.layeredImage, 0, 0);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_paint(cr);
  } else {
    RECT c = ClientRectOf(top);
    if (top.client.left || top.client.top || c.right != width || c.bottom != height)
      *frame = Frame{true, top.client, FrameInsets(top.style, top.exStyle), (top.style & WS_CAPTION) == WS_CAPTION,
                     top.text};
    DrawClient(cr, top, POINT{top.rect.left, top.rect.top});
  }
  cairo_destroy(cr);
  if ((top.exStyle & WS_EX_LAYERED) && (top.layeredFlags & LWA_COLORKEY)) {
    cairo_surface_flush(image);
    auto* data = cairo_image_surface_get_data(image);
    int stride = cairo_image_surface_get_stride(image);
    uint32_t key = 0xFF000000u | (GetRValue(top.colorKey) << 16) | (GetGValue(top.colorKey) << 8) | GetBValue(top.colorKey);
    for (int y = 0; y < height; ++y) {
      auto* row = reinterpret_cast<uint32_t*>(data + y * stride);
      for (int x = 0; x < width; ++x)
        if (row[x] == key) row[x] = 0;
    }
    cairo_surface_mark_dirty(image);
  }
  return image;
}

}  // namespace

void EnsureSurface(Window& w) {
  RECT c = ClientRectOf(w);
  int width = std::max<int>(c.right, 1), height = std::max<int>(c.bottom, 1);
  if (w.surface && cairo_image_surface_get_width(w.surface) == width &&
      cairo_image_surface_get_height(w.surface) == height)
    return;
  // DCs on the window follow it to the new surface (the drawing half asks
  // WindowSurface each time); the pixels that still fit are kept.
  cairo_surface_t* resized = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
  if (w.surface) {
    cairo_t* cr = cairo_create(resized);
    cairo_set_source_surface(cr, w.surface, 0, 0);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_paint(cr);
    cairo_destroy(cr);
    cairo_surface_destroy(w.surface);
  }
  w.surface = resized;
}

void InvalidateLocked(Window& w, const RECT* rect, bool erase) {
  RECT c = ClientRectOf(w);
  RECT r = c;
  if (rect && !IntersectRect(&r, rect, &c)) return;
  if (IsRectEmpty(&r)) return;
  if (!w.update) w.update = cairo_region_create();
  cairo_rectangle_int_t box{r.left, r.top, r.right - r.left, r.bottom - r.top};
  cairo_region_union_rectangle(w.update, &box);
  w.erase = w.erase || erase;
  Wake(*w.queue);
}

void Present(HWND hwnd, const RECT* dirty) {
  HWND root;
  cairo_surface_t* image;
  RECT area;
  Frame frame;
  {
    std::lock_guard<std::mutex> lock(Lock());
    Window* w = Find(hwnd);
    if (!w) return;
    root = RootOf(hwnd);
    Window* top = Find(root);
    if (!top || top->messageOnly || !(top->style & WS_VISIBLE) || (top->style & WS_MINIMIZE)) return;
    image = Compose(*top, &frame);
    area = RECT{0, 0, top->rect.right - top->rect.left, top->rect.bottom - top->rect.top};
    if (dirty) {
      POINT o = ClientOriginOnScreen(*w);
      RECT d = *dirty;
      OffsetRect(&d, o.x - top->rect.left, o.y - top->rect.top);
      IntersectRect(&area, &area, &d);
    }
  }
  if (frame.shown) DrawFrame(image, frame);
  Backend().Present(root, image, area);
  cairo_surface_destroy(image);
}

void Release(Window& w) {
  if (w.update) cairo_region_destroy(w.update);
  if (w.shape) cairo_region_destroy(w.shape);
  if (w.surface) cairo_surface_destroy(w.surface);
  if (w.layeredImage) cairo_surface_destroy(w.layeredImage);
  w.update = w.shape = nullptr;
  w.surface = w.layeredImage = nullptr;
}

// Fills the paint region with the class brush when it is a system colour
// (COLOR_* + 1); other brushes belong to the drawing half.
bool EraseBackground(HWND hwnd, HDC dc) {
  HBRUSH brush;
  cairo_region_t* region = nullptr;
  {
    std::lock_guard<std::mutex> lock(Lock());
    Window* w = Find(hwnd);
    auto it = Dcs().find(dc);
    if (!w || it == Dcs().end()) return false;
    brush = w->cls->background;
    if (it->second.painted) region = cairo_region_copy(it->second.painted);
  }
  auto index = reinterpret_cast<uintptr_t>(brush);
  if (!brush || index > 31) {
    if (region) cairo_region_destroy(region);
    return false;
  }
  double grey = index == 6 ? 1.0 : 0.94;  // COLOR_WINDOW: white; the faces: light grey
  cairo_surface_t* surface = bridge::SurfaceOfDC(dc);
  if (surface && region) {
    cairo_t* cr = cairo_create(surface);
    for (int i = 0; i < cairo_region_num_rectangles(region); ++i) {
      cairo_rectangle_int_t r;
      cairo_region_get_rectangle(region, i, &r);
      cairo_rectangle(cr, r.x, r.y, r.width, r.height);
    }
    cairo_set_source_rgb(cr, grey, grey, grey);
    cairo_fill(cr);
    cairo_destroy(cr);
  }
  if (region) cairo_region_destroy(region);
  return true;
}

}  // namespace platform::window::paint

using namespace platform::window;

BOOL WINAPI InvalidateRect(HWND hWnd, const RECT* lpRect, BOOL bErase) {
  std::lock_guard<std::mutex> lock(Lock());
  if (!hWnd) {
    for (HWND h : S().topLevels)
      if (Window* w = Find(h)) paint::InvalidateLocked(*w, nullptr, bErase);
    return TRUE;
  }
  Window* w = Find(hWnd);
  if (!w) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  paint::InvalidateLocked(*w, lpRect, bErase);
  return TRUE;
}

BOOL WINAPI InvalidateRgn(HWND hWnd, HRGN hRgn, BOOL bErase) {
  if (!hRgn) return InvalidateRect(hWnd, nullptr, bErase);
  const cairo_region_t* region = platform::bridge::RegionOf(hRgn);
  std::lock_guard<std::mutex> lock(Lock());
  Window* w = Find(hWnd);
  if (!w) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  if (!region) return FALSE;
  cairo_region_t* part = paint::ClientRegion(*w);
  cairo_region_intersect(part, region);
  if (!cairo_region_is_empty(part)) {
    if (!w->update) w->update = cairo_region_create();
    cairo_region_union(w->update, part);
    w->erase = w->erase || bErase;
    Wake(*w->queue);
  }
  cairo_region_destroy(part);
  return TRUE;
}

BOOL WINAPI ValidateRect(HWND hWnd, const RECT* lpRect) {
  std::lock_guard<std::mutex> lock(Lock());
  Window* w = Find(hWnd);
  if (!w) return FALSE;
  if (!w->update) return TRUE;
  if (!lpRect) {
    cairo_region_destroy(w->update);
    w->update = nullptr;
    w->erase = false;
    return TRUE;
  }
  cairo_rectangle_int_t box{lpRect->left, lpRect->top, lpRect->right - lpRect->left, lpRect->bottom - lpRect->top};
  if (box.width > 0 && box.height > 0) cairo_region_subtract_rectangle(w->update, &box);
  return TRUE;
}

BOOL WINAPI ValidateRgn(HWND hWnd, HRGN hRgn) {
  if (!hRgn) return ValidateRect(hWnd, nullptr);
  const cairo_region_t* region = platform::bridge::RegionOf(hRgn);
  std::lock_guard<std::mutex> lock(Lock());
  Window* w = Find(hWnd);
  if (!w || !region) return FALSE;
  if (w->update) cairo_region_subtract(w->update, region);
  return TRUE;
}

BOOL WINAPI GetUpdateRect(HWND hWnd, LPRECT lpRect, BOOL) {
  std::lock_guard<std::mutex> lock(Lock());
  Window* w = Find(hWnd);
  if (!w) return FALSE;
  bool any = w->update && !cairo_region_is_empty(w->update);
  if (lpRect) {
    *lpRect = RECT{0, 0, 0, 0};
    if (any) {
      cairo_rectangle_int_t e;
      cairo_region_get_extents(w->update, &e);
      *lpRect = RECT{e.x, e.y, e.x + e.width, e.y + e.height};
    }
  }
  return any;
}

int WINAPI GetUpdateRgn(HWND hWnd, HRGN hRgn, BOOL) {
  const cairo_region_t* target = hRgn ? platform::bridge::RegionOf(hRgn) : nullptr;
  std::lock_guard<std::mutex> lock(Lock());
  Window* w = Find(hWnd);
  if (!w || !target) return 0;
  auto* dst = const_cast<cairo_region_t*>(target);
  cairo_region_subtract(dst, dst);
  if (w->update) cairo_region_union(dst, w->update);
  if (cairo_region_is_empty(dst)) return 1;                 // NULLREGION
  return cairo_region_num_rectangles(dst) > 1 ? 3 : 2;      // COMPLEXREGION : SIMPLEREGION
}

BOOL WINAPI RedrawWindow(HWND hWnd, const RECT* lprcUpdate, HRGN hrgnUpdate, UINT flags) {
  if (flags & RDW_INVALIDATE) {
    if (hrgnUpdate)
      InvalidateRgn(hWnd, hrgnUpdate, (flags & RDW_ERASE) != 0);
    else
      InvalidateRect(hWnd, lprcUpdate, (flags & RDW_ERASE) != 0);
  }
  if (flags & RDW_VALIDATE) ValidateRect(hWnd, lprcUpdate);
  if (flags & RDW_UPDATENOW) UpdateWindow(hWnd);
  return TRUE;
}

HDC WINAPI BeginPaint(HWND hWnd, LPPAINTSTRUCT lpPaint) {
  if (!lpPaint) return nullptr;
  *lpPaint = PAINTSTRUCT{};
  cairo_surface_t* surface;
  cairo_region_t* region;
  bool erase;
  {
    std::lock_guard<std::mutex> lock(Lock());
    Window* w = Find(hWnd);
    if (!w) {
      SetLastError(ERROR_INVALID_WINDOW_HANDLE);
      return nullptr;
    }
    region = paint::ClientRegion(*w);
    if (w->update) {
      cairo_region_intersect(region, w->update);
      cairo_region_destroy(w->update);
      w->update = nullptr;
    } else {
      cairo_region_subtract(region, region);
    }
    erase = w->erase;
    w->erase = false;
    surface = cairo_surface_reference(w->surface);
  }
  HDC dc = platform::bridge::CreateSurfaceDC(surface, hWnd);
  if (!dc) {
    cairo_surface_destroy(surface);
    cairo_region_destroy(region);
    return nullptr;
  }
  platform::bridge::SetSurfaceDCBaseClip(dc, region);
  {
    std::lock_guard<std::mutex> lock(Lock());
    paint::Dcs()[dc] = paint::DcRecord{hWnd, surface, region};
  }
  cairo_rectangle_int_t e;
  cairo_region_get_extents(region, &e);
  lpPaint->hdc = dc;
  lpPaint->rcPaint = RECT{e.x, e.y, e.x + e.width, e.y + e.height};
  lpPaint->fErase = erase ? !SendMessageW(hWnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0) : FALSE;
  return dc;
}

BOOL WINAPI EndPaint(HWND hWnd, const PAINTSTRUCT* lpPaint) {
  if (!lpPaint || !lpPaint->hdc) return FALSE;
  paint::DcRecord record{};
  {
    std::lock_guard<std::mutex> lock(Lock());
    auto it = paint::Dcs().find(lpPaint->hdc);
    if (it == paint::Dcs().end()) return FALSE;
    record = it->second;
    paint::Dcs().erase(it);
  }
  platform::bridge::DestroySurfaceDC(lpPaint->hdc);
  cairo_rectangle_int_t e{0, 0, 0, 0};
  if (record.painted) {
    cairo_region_get_extents(record.painted, &e);
    cairo_region_destroy(record.painted);
  }
  cairo_surface_destroy(record.surface);
  if (e.width > 0 && e.height > 0) {
    RECT dirty{e.x, e.y, e.x + e.width, e.y + e.height};
    paint::Present(hWnd, &dirty);
  }
  return TRUE;
}

HDC WINAPI GetDC(HWND hWnd) {
  cairo_surface_t* surface;
  {
    std::lock_guard<std::mutex> lock(Lock());
    if (!hWnd) {
      // The screen: measuring and compatible objects only.
      surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1);
    } else {
      Window* w = Find(hWnd);
      if (!w) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
      }
      surface = cairo_surface_reference(w->surface);
    }
  }
  HDC dc = platform::bridge::CreateSurfaceDC(surface, hWnd);
  if (!dc) {
    cairo_surface_destroy(surface);
    return nullptr;
  }
  std::lock_guard<std::mutex> lock(Lock());
  paint::Dcs()[dc] = paint::DcRecord{hWnd, surface, nullptr};
  return dc;
}

HDC WINAPI GetWindowDC(HWND hWnd) { return GetDC(hWnd); }

int WINAPI ReleaseDC(HWND, HDC hDC) {
  paint::DcRecord record{};
  {
    std::lock_guard<std::mutex> lock(Lock());
    auto it = paint::Dcs().find(hDC);
    if (it == paint::Dcs().end() || it->second.painted) return 0;
    record = it->second;
    paint::Dcs().erase(it);
  }
  platform::bridge::DestroySurfaceDC(hDC);
  cairo_surface_destroy(record.surface);
  return 1;
}


namespace platform::bridge {

cairo_surface_t* WindowSurface(HWND window) {
  std::lock_guard<std::mutex> lock(Lock());
  Window* w = Find(window);
  return w ? w->surface : nullptr;
}

void WindowSurfaceChanged(HWND window, const RECT* rect) {
  {
    // A paint cycle presents its region once, at EndPaint.
    std::lock_guard<std::mutex> lock(Lock());
    for (auto& [dc, record] : paint::Dcs())
      if (record.hwnd == window && record.painted) return;
  }
  paint::Present(window, rect);
}

}  // namespace platform::bridge
