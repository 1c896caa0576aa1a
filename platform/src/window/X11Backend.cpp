#include "window/X11Backend.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/cursorfont.h>
#include <X11/extensions/shape.h>
#include <X11/keysym.h>
#include <poll.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <mutex>
#include <thread>
#include <vector>

#include "kernel/Text.h"
#include "win32/System.h"
#include "window/Icons.h"
#include "window/Input.h"

namespace platform::window {
namespace {

// The server went away: a window program cannot go on without it.
int ConnectionLost(Display*) {
  fprintf(stderr, "[X11] connection to the display lost\n");
  fflush(stderr);
  _exit(1);
}

int IgnoreErrors(Display*, XErrorEvent* e) {
  // A window that went away between two requests; nothing to do.
  (void)e;
  return 0;
}

struct XWin {
  ::Window xid = 0;
  bool argb = false;     // a 32-bit visual: per-pixel alpha through a compositor
  bool layered = false;  // WS_EX_LAYERED: its pixels' alpha counts
  bool mapped = false;
  bool shapedByAlpha = false;
  GC gc = nullptr;
  cairo_surface_t* last = nullptr;  // what was last presented, for Expose
  bool hasShape = false;
};

WORD VkOf(KeySym k) {
  if (k >= XK_a && k <= XK_z) return static_cast<WORD>('A' + (k - XK_a));
  if (k >= XK_A && k <= XK_Z) return static_cast<WORD>('A' + (k - XK_A));
  if (k >= XK_0 && k <= XK_9) return static_cast<WORD>('0' + (k - XK_0));
  if (k >= XK_F1 && k <= XK_F12) return static_cast<WORD>(VK_F1 + (k - XK_F1));
  if (k >= XK_KP_0 && k <= XK_KP_9) return static_cast<WORD>(VK_NUMPAD0 + (k - XK_KP_0));
  switch (k) {
    case XK_Return: case XK_KP_Enter: return VK_RETURN;
    case XK_Escape: return VK_ESCAPE;
    case XK_Tab: case XK_ISO_Left_Tab: return VK_TAB;
    case XK_BackSpace: return VK_BACK;
    case XK_space: return VK_SPACE;
    case XK_Shift_L: case XK_Shift_R: return VK_SHIFT;
    case XK_Control_L: case XK_Control_R: return VK_CONTROL;
    case XK_Alt_L: case XK_Alt_R: case XK_Meta_L: case XK_Meta_R: return VK_MENU;
    case XK_Caps_Lock: return VK_CAPITAL;
    case XK_Left: return VK_LEFT;
    case XK_Right: return VK_RIGHT;
    case XK_Up: return VK_UP;
    case XK_Down: return VK_DOWN;
    case XK_Home: return VK_HOME;
    case XK_End: return VK_END;
    case XK_Prior: return VK_PRIOR;
    case XK_Next: return VK_NEXT;
    case XK_Insert: return VK_INSERT;
    case XK_Delete: return VK_DELETE;
    case XK_semicolon: return VK_OEM_1;
    case XK_equal: return VK_OEM_PLUS;
    case XK_comma: return VK_OEM_COMMA;
    case XK_minus: return VK_OEM_MINUS;
    case XK_period: return VK_OEM_PERIOD;
    case XK_slash: return VK_OEM_2;
    case XK_grave: return VK_OEM_3;
    case XK_bracketleft: return VK_OEM_4;
    case XK_backslash: return VK_OEM_5;
    case XK_bracketright: return VK_OEM_6;
    case XK_apostrophe: return VK_OEM_7;
    default: return 0;
  }
}

WCHAR CharOf(KeySym k) {
  if (k >= 0x20 && k <= 0xFF) return static_cast<WCHAR>(k);  // Latin-1 keysyms are their code points
  if (k >= 0x1000100 && k <= 0x110FFFF) return static_cast<WCHAR>(k - 0x1000000);
  return 0;
}

unsigned FontCursorFor(int id) {
  switch (id) {
    case 32513: return XC_xterm;
    case 32514: case 32650: return XC_watch;
    case 32515: return XC_crosshair;
    case 32642: return XC_bottom_right_corner;
    case 32643: return XC_bottom_left_corner;
    case 32644: return XC_sb_h_double_arrow;
    case 32645: return XC_sb_v_double_arrow;
    case 32646: return XC_fleur;
    case 32648: return XC_X_cursor;
    case 32649: return XC_hand2;
    default: return XC_left_ptr;
  }
}

class X11Display final : public DisplayBackend {
 public:
  explicit X11Display(Display* dpy) : dpy_(dpy) {
    screen_ = DefaultScreen(dpy_);
    root_ = RootWindow(dpy_, screen_);
    screenRect_ = RECT{0, 0, DisplayWidth(dpy_, screen_), DisplayHeight(dpy_, screen_)};
    workArea_ = screenRect_;
    for (const char* name : {"WM_PROTOCOLS", "WM_DELETE_WINDOW", "_NET_WM_NAME", "UTF8_STRING", "_NET_WM_ICON",
                             "_MOTIF_WM_HINTS", "_NET_WM_WINDOW_OPACITY", "_NET_WORKAREA", "_NET_WM_WINDOW_TYPE",
                             "_NET_WM_WINDOW_TYPE_TOOLTIP", "_NET_WM_PID"})
      atoms_[name] = XInternAtom(dpy_, name, False);
    ReadWorkArea();
    XVisualInfo info;
    if (XMatchVisualInfo(dpy_, screen_, 32, TrueColor, &info)) {
      argbVisual_ = info.visual;
      argbColormap_ = XCreateColormap(dpy_, root_, argbVisual_, AllocNone);
    }
    int eventBase, errorBase;
    shape_ = XShapeQueryExtension(dpy_, &eventBase, &errorBase);
    reader_ = std::thread([this] { Run(); });
  }

  ~X11Display() override {
    running_ = false;
    if (reader_.joinable()) {
      if (reader_.get_id() == std::this_thread::get_id())
        reader_.detach();  // the process is ending from an X error
      else
        reader_.join();
    }
  }

  const char* Name() const override { return "x11"; }
  RECT ScreenRect() override { return screenRect_; }
  RECT WorkArea() override { return workArea_; }

  void Create(const NativeView& view) override {
    std::lock_guard<std::mutex> lock(mutex_);
    XWin w;
    // Per-pixel alpha shows only through a compositing manager; without one
    // the transparent pixels are cut out by a shape instead. With one, every
    // window gets the 32-bit visual, as a window may become layered after
    // creation (a visual cannot change); windows that are not layered are
    // shown opaque.
    std::string cm = "_NET_WM_CM_S" + std::to_string(screen_);
    bool composited = XGetSelectionOwner(dpy_, XInternAtom(dpy_, cm.c_str(), False)) != None;
    w.argb = argbVisual_ && composited;
    w.layered = view.exStyle & WS_EX_LAYERED;
    XSetWindowAttributes a{};
    a.background_pixel = 0;
    a.border_pixel = 0;
    a.event_mask = ExposureMask | StructureNotifyMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask |
                   EnterWindowMask | LeaveWindowMask | KeyPressMask | KeyReleaseMask | FocusChangeMask;
    bool tip = view.exStyle & WS_EX_TOOLWINDOW;
    a.override_redirect = tip;
    unsigned long mask = CWBackPixel | CWBorderPixel | CWEventMask | CWOverrideRedirect;
    int depth = CopyFromParent;
    Visual* visual = CopyFromParent;
    if (w.argb) {
      a.colormap = argbColormap_;
      mask |= CWColormap;
      depth = 32;
      visual = argbVisual_;
    }
    RECT r = view.screenRect;
    w.xid = XCreateWindow(dpy_, root_, r.left, r.top, Width(r), Height(r), 0, depth, InputOutput, visual, mask, &a);
    w.gc = XCreateGC(dpy_, w.xid, 0, nullptr);
    Atom protocols[] = {atoms_["WM_DELETE_WINDOW"]};
    XSetWMProtocols(dpy_, w.xid, protocols, 1);
    long motif[5] = {2, 0, 0, 0, 0};  // decorations: none
    XChangeProperty(dpy_, w.xid, atoms_["_MOTIF_WM_HINTS"], atoms_["_MOTIF_WM_HINTS"], 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(motif), 5);
    XSizeHints hints{};
    hints.flags = USPosition | PPosition;
    hints.x = r.left;
    hints.y = r.top;
    XSetWMNormalHints(dpy_, w.xid, &hints);
    long pid = static_cast<long>(getpid());
    XChangeProperty(dpy_, w.xid, atoms_["_NET_WM_PID"], XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(&pid), 1);
    if (tip) {
      Atom type = atoms_["_NET_WM_WINDOW_TYPE_TOOLTIP"];
      XChangeProperty(dpy_, w.xid, atoms_["_NET_WM_WINDOW_TYPE"], XA_ATOM, 32, PropModeReplace,
                      reinterpret_cast<unsigned char*>(&type), 1);
    }
    if (view.owner) {
      auto it = windows_.find(view.owner);
      if (it != windows_.end()) XSetTransientForHint(dpy_, w.xid, it->second.xid);
    }
    byX_[w.xid] = view.hwnd;
    windows_[view.hwnd] = w;
    ApplyVisible(windows_[view.hwnd], view.visible);
    XFlush(dpy_);
  }

  void Destroy(HWND hwnd) override {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = windows_.find(hwnd);
    if (it == windows_.end()) return;
    XWin& w = it->second;
    XFreeGC(dpy_, w.gc);
    XDestroyWindow(dpy_, w.xid);
    if (w.last) cairo_surface_destroy(w.last);
    byX_.erase(w.xid);
    windows_.erase(it);
    XFlush(dpy_);
  }

  void Configure(const NativeView& view) override {
    std::lock_guard<std::mutex> lock(mutex_);
    XWin* w = Get(view.hwnd);
    if (!w) return;
    RECT r = view.screenRect;
    w->layered = view.exStyle & WS_EX_LAYERED;
    XMoveResizeWindow(dpy_, w->xid, r.left, r.top, Width(r), Height(r));
    ApplyVisible(*w, view.visible);
    if (view.topmost && view.visible) XRaiseWindow(dpy_, w->xid);
    XFlush(dpy_);
  }

  void Raise(HWND hwnd) override {
    std::lock_guard<std::mutex> lock(mutex_);
    XWin* w = Get(hwnd);
    if (!w || !w->mapped) return;
    XRaiseWindow(dpy_, w->xid);
    XSetInputFocus(dpy_, w->xid, RevertToParent, CurrentTime);
    XFlush(dpy_);
  }

  void SetTitle(HWND hwnd, const std::wstring& title) override {
    std::lock_guard<std::mutex> lock(mutex_);
    XWin* w = Get(hwnd);
    if (!w) return;
    std::string utf8 = kernel::WideToUtf8(title);
    auto* bytes = reinterpret_cast<const unsigned char*>(utf8.data());
    int n = static_cast<int>(utf8.size());
    XChangeProperty(dpy_, w->xid, XA_WM_NAME, atoms_["UTF8_STRING"], 8, PropModeReplace, bytes, n);
    XChangeProperty(dpy_, w->xid, atoms_["_NET_WM_NAME"], atoms_["UTF8_STRING"], 8, PropModeReplace, bytes, n);
    XFlush(dpy_);
  }

  void SetIcons(HWND hwnd, HICON big, HICON small) override {
    std::vector<unsigned long> data;
    for (HICON handle : {big, small}) {
      IconObject* icon = AsIcon(handle);
      if (!icon || !icon->image) continue;
      cairo_surface_flush(icon->image);
      int iw = cairo_image_surface_get_width(icon->image), ih = cairo_image_surface_get_height(icon->image);
      int stride = cairo_image_surface_get_stride(icon->image);
      const unsigned char* px = cairo_image_surface_get_data(icon->image);
      data.push_back(static_cast<unsigned long>(iw));
      data.push_back(static_cast<unsigned long>(ih));
      for (int y = 0; y < ih; ++y)
        for (int x = 0; x < iw; ++x) {
          uint32_t p;
          memcpy(&p, px + y * stride + x * 4, 4);
          uint32_t a = p >> 24;
          // _NET_WM_ICON wants straight (not premultiplied) alpha.
          auto channel = [a](uint32_t c) { return a ? std::min<uint32_t>(255, c * 255 / a) : 0; };
          data.push_back((a << 24) | (channel((p >> 16) & 0xFF) << 16) | (channel((p >> 8) & 0xFF) << 8) |
                         channel(p & 0xFF));
        }
    }
    std::lock_guard<std::mutex> lock(mutex_);
    XWin* w = Get(hwnd);
    if (!w) return;
    if (data.empty())
      XDeleteProperty(dpy_, w->xid, atoms_["_NET_WM_ICON"]);
    else
      XChangeProperty(dpy_, w->xid, atoms_["_NET_WM_ICON"], XA_CARDINAL, 32, PropModeReplace,
                      reinterpret_cast<unsigned char*>(data.data()), static_cast<int>(data.size()));
    XFlush(dpy_);
  }

  void SetShape(HWND hwnd, const cairo_region_t* shape) override {
    std::lock_guard<std::mutex> lock(mutex_);
    XWin* w = Get(hwnd);
    if (!w || !shape_) return;
    w->hasShape = shape != nullptr;
    if (!shape) {
      XShapeCombineMask(dpy_, w->xid, ShapeBounding, 0, 0, None, ShapeSet);
    } else {
      std::vector<XRectangle> rects;
      for (int i = 0; i < cairo_region_num_rectangles(shape); ++i) {
        cairo_rectangle_int_t r;
        cairo_region_get_rectangle(shape, i, &r);
        rects.push_back(XRectangle{static_cast<short>(r.x), static_cast<short>(r.y),
                                   static_cast<unsigned short>(r.width), static_cast<unsigned short>(r.height)});
      }
      XShapeCombineRectangles(dpy_, w->xid, ShapeBounding, 0, 0, rects.data(), static_cast<int>(rects.size()),
                              ShapeSet, Unsorted);
    }
    XFlush(dpy_);
  }

  void SetOpacity(HWND hwnd, BYTE alpha) override {
    std::lock_guard<std::mutex> lock(mutex_);
    XWin* w = Get(hwnd);
    if (!w) return;
    if (alpha == 255) {
      XDeleteProperty(dpy_, w->xid, atoms_["_NET_WM_WINDOW_OPACITY"]);
    } else {
      unsigned long value = static_cast<unsigned long>(alpha) * 0x01010101ul;
      XChangeProperty(dpy_, w->xid, atoms_["_NET_WM_WINDOW_OPACITY"], XA_CARDINAL, 32, PropModeReplace,
                      reinterpret_cast<unsigned char*>(&value), 1);
    }
    XFlush(dpy_);
  }

  void SetCursor(HCURSOR cursor) override {
    IconObject* icon = AsIcon(cursor);
    int id = icon ? icon->systemId : 0;
    std::lock_guard<std::mutex> lock(mutex_);
    XWin* w = Get(pointerWindow_);
    if (!w) return;
    if (!cursor) {
      XUndefineCursor(dpy_, w->xid);
    } else {
      auto& c = cursors_[id];
      if (!c) c = XCreateFontCursor(dpy_, FontCursorFor(id));
      XDefineCursor(dpy_, w->xid, c);
    }
    XFlush(dpy_);
  }

  void WarpPointer(POINT screen) override {
    std::lock_guard<std::mutex> lock(mutex_);
    XWarpPointer(dpy_, None, root_, 0, 0, 0, 0, screen.x, screen.y);
    XFlush(dpy_);
  }

  void Present(HWND hwnd, cairo_surface_t* image, const RECT& dirty) override {
    std::lock_guard<std::mutex> lock(mutex_);
    XWin* w = Get(hwnd);
    if (!w) return;
    int width = cairo_image_surface_get_width(image), height = cairo_image_surface_get_height(image);
    if (w->last) cairo_surface_destroy(w->last);
    w->last = cairo_surface_reference(image);
    if (!w->argb) CutTransparent(*w, image, width, height);
    Put(*w, dirty);
  }

 private:
  static int Width(const RECT& r) { return std::max<int>(1, r.right - r.left); }
  static int Height(const RECT& r) { return std::max<int>(1, r.bottom - r.top); }

  XWin* Get(HWND hwnd) {
    auto it = windows_.find(hwnd);
    return it == windows_.end() ? nullptr : &it->second;
  }

  void ApplyVisible(XWin& w, bool visible) {
    if (visible && !w.mapped) XMapWindow(dpy_, w.xid);
    if (!visible && w.mapped) XUnmapWindow(dpy_, w.xid);
    w.mapped = visible;
  }

  void ReadWorkArea() {
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(dpy_, root_, atoms_["_NET_WORKAREA"], 0, 4, False, XA_CARDINAL, &type, &format, &count,
                           &after, &data) == Success &&
        data && count >= 4) {
      auto* v = reinterpret_cast<long*>(data);
      workArea_ = RECT{static_cast<LONG>(v[0]), static_cast<LONG>(v[1]), static_cast<LONG>(v[0] + v[2]),
                       static_cast<LONG>(v[1] + v[3])};
    }
    if (data) XFree(data);
  }

  // Without a 32-bit visual, fully transparent pixels of a layered window
  // become holes in its shape (a window region wins over this).
  void CutTransparent(XWin& w, cairo_surface_t* image, int width, int height) {
    if (!shape_ || w.hasShape) return;
    if (!w.layered) {
      if (w.shapedByAlpha) XShapeCombineMask(dpy_, w.xid, ShapeBounding, 0, 0, None, ShapeSet);
      w.shapedByAlpha = false;
      return;
    }
    cairo_surface_flush(image);
    const unsigned char* data = cairo_image_surface_get_data(image);
    int stride = cairo_image_surface_get_stride(image);
    std::vector<XRectangle> rects;
    bool any = false;
    for (int y = 0; y < height; ++y) {
      int start = -1;
      for (int x = 0; x <= width; ++x) {
        bool opaque = x < width && data[y * stride + x * 4 + 3] != 0;
        if (x < width && !opaque) any = true;
        if (opaque && start < 0) start = x;
        if (!opaque && start >= 0) {
          rects.push_back(XRectangle{static_cast<short>(start), static_cast<short>(y),
                                     static_cast<unsigned short>(x - start), 1});
          start = -1;
        }
      }
    }
    if (any) {
      XShapeCombineRectangles(dpy_, w.xid, ShapeBounding, 0, 0, rects.data(), static_cast<int>(rects.size()),
                              ShapeSet, YXBanded);
      w.shapedByAlpha = true;
    } else if (w.shapedByAlpha) {
      XShapeCombineMask(dpy_, w.xid, ShapeBounding, 0, 0, None, ShapeSet);
      w.shapedByAlpha = false;
    }
  }

  void Put(XWin& w, const RECT& dirty) {
    if (!w.last) return;
    int width = cairo_image_surface_get_width(w.last), height = cairo_image_surface_get_height(w.last);
    int x = std::max<int>(0, dirty.left), y = std::max<int>(0, dirty.top);
    int right = std::min<int>(width, dirty.right), bottom = std::min<int>(height, dirty.bottom);
    if (right <= x || bottom <= y) return;
    cairo_surface_flush(w.last);
    Visual* visual = w.argb ? argbVisual_ : DefaultVisual(dpy_, screen_);
    int depth = w.argb ? 32 : DefaultDepth(dpy_, screen_);
    auto* pixels = cairo_image_surface_get_data(w.last);
    int stride = cairo_image_surface_get_stride(w.last);
    // The dirty part of a window that is not layered goes out opaque: on a
    // 32-bit visual its alpha would show the desktop through.
    std::vector<uint32_t> opaque;
    int srcX = x, srcY = y, imageWidth = width, imageHeight = height;
    if (w.argb && !w.layered) {
      imageWidth = right - x;
      imageHeight = bottom - y;
      opaque.resize(static_cast<size_t>(imageWidth) * imageHeight);
      for (int row = 0; row < imageHeight; ++row) {
        const auto* src = reinterpret_cast<const uint32_t*>(pixels + static_cast<size_t>(y + row) * stride) + x;
        uint32_t* dst = &opaque[static_cast<size_t>(row) * imageWidth];
        for (int col = 0; col < imageWidth; ++col) dst[col] = src[col] | 0xFF000000u;
      }
      pixels = reinterpret_cast<unsigned char*>(opaque.data());
      stride = imageWidth * 4;
      srcX = srcY = 0;
    }
    XImage* image = XCreateImage(dpy_, visual, static_cast<unsigned>(depth), ZPixmap, 0, reinterpret_cast<char*>(pixels),
                                 static_cast<unsigned>(imageWidth), static_cast<unsigned>(imageHeight), 32, stride);
    if (!image) return;
    XPutImage(dpy_, w.xid, w.gc, image, srcX, srcY, x, y, static_cast<unsigned>(right - x),
              static_cast<unsigned>(bottom - y));
    image->data = nullptr;  // the pixels are cairo's, or the vector's
    XDestroyImage(image);
    XFlush(dpy_);
  }

  void Run() {
    int fd = ConnectionNumber(dpy_);
    while (running_) {
      std::vector<XEvent> events;
      XLockDisplay(dpy_);
      while (XPending(dpy_)) {
        XEvent e;
        XNextEvent(dpy_, &e);
        events.push_back(e);
      }
      XUnlockDisplay(dpy_);
      for (XEvent& e : events) Handle(e);
      pollfd p{fd, POLLIN, 0};
      poll(&p, 1, 50);
    }
  }

  HWND HwndOf(::Window xid) {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = byX_.find(xid);
    return it == byX_.end() ? nullptr : it->second;
  }

  void Handle(XEvent& e) {
    HWND hwnd = HwndOf(e.xany.window);
    if (!hwnd) return;
    switch (e.type) {
      case Expose:
        if (e.xexpose.count == 0) {
          std::lock_guard<std::mutex> lock(mutex_);
          if (XWin* w = Get(hwnd)) Put(*w, RECT{0, 0, 1 << 15, 1 << 15});
        }
        break;
      case MotionNotify:
        Pointer(hwnd);
        input::DeliverMouseMove(POINT{e.xmotion.x_root, e.xmotion.y_root});
        break;
      case EnterNotify:
        Pointer(hwnd);
        input::DeliverMouseMove(POINT{e.xcrossing.x_root, e.xcrossing.y_root});
        break;
      case LeaveNotify:
        if (e.xcrossing.detail != NotifyInferior) input::DeliverPointerGone();
        break;
      case ButtonPress:
      case ButtonRelease: {
        Pointer(hwnd);
        POINT pt{e.xbutton.x_root, e.xbutton.y_root};
        unsigned b = e.xbutton.button;
        if (b == 4 || b == 5) {
          if (e.type == ButtonPress) input::DeliverWheel(b == 4 ? WHEEL_DELTA : -WHEEL_DELTA, pt);
          break;
        }
        int button = b == 1 ? 0 : b == 3 ? 1 : b == 2 ? 2 : -1;
        if (button < 0) break;
        input::DeliverMouseMove(pt);
        input::DeliverButton(button, e.type == ButtonPress, pt);
        break;
      }
      case KeyPress:
      case KeyRelease: {
        KeySym plain = XLookupKeysym(&e.xkey, 0);
        WORD vk = VkOf(plain);
        if (!vk) break;
        char text[16];
        KeySym typed = 0;
        XLookupString(&e.xkey, text, sizeof text, &typed, nullptr);
        input::DeliverKey(vk, e.type == KeyPress, CharOf(typed), static_cast<WORD>(e.xkey.keycode));
        break;
      }
      case MapNotify:
        // Focus can only move to a window once it is viewable.
        if (GetActiveWindow() == hwnd) {
          std::lock_guard<std::mutex> lock(mutex_);
          if (XWin* w = Get(hwnd)) XSetInputFocus(dpy_, w->xid, RevertToParent, CurrentTime);
          XFlush(dpy_);
        }
        break;
      case ClientMessage:
        if (static_cast<Atom>(e.xclient.data.l[0]) == atoms_["WM_DELETE_WINDOW"])
          PostMessageW(hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
        break;
      default: break;
    }
  }

  void Pointer(HWND hwnd) {
    std::lock_guard<std::mutex> lock(mutex_);
    pointerWindow_ = hwnd;
  }

  Display* dpy_;
  int screen_ = 0;
  ::Window root_ = 0;
  RECT screenRect_{};
  RECT workArea_{};
  std::map<std::string, Atom> atoms_;
  Visual* argbVisual_ = nullptr;
  Colormap argbColormap_ = 0;
  bool shape_ = false;
  std::mutex mutex_;
  std::map<HWND, XWin> windows_;
  std::map<::Window, HWND> byX_;
  std::map<int, Cursor> cursors_;
  HWND pointerWindow_ = nullptr;
  std::atomic<bool> running_{true};
  std::thread reader_;
};

}  // namespace

std::unique_ptr<DisplayBackend> X11Backend::Open() {
  XInitThreads();
  Display* dpy = XOpenDisplay(nullptr);
  if (!dpy) return nullptr;
  XSetErrorHandler(IgnoreErrors);
  XSetIOErrorHandler(ConnectionLost);
  return std::make_unique<X11Display>(dpy);
}

}  // namespace platform::window
