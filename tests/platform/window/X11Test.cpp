// The real window under Xvfb: found by its title with xdotool, clicked,
// screenshotted with XGetImage and compared with the headless rendering of
// the same paint handler; a real message box answered with Return.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/shape.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "win32/Gdi.h"
#include "win32/MessageBox.h"
#include "win32/System.h"
#include "win32/Windows.h"
#include "window/TestDisplay.h"

extern char** environ;

namespace test = platform::window::test;

namespace {

constexpr int kWidth = 160, kHeight = 100;

// A server of our own on a display number it picks itself (-displayfd),
// so that test programs running side by side never share one. It lives
// until this program has ended: a shell holds it and stops it when our end
// of its pipe closes, since the window manager keeps its connection to the
// end.
class Xvfb {
 public:
  Xvfb() {
    int fds[2], number[2];
    if (pipe(fds) != 0) return;
    if (pipe(number) != 0) return;
    fcntl(fds[1], F_SETFD, FD_CLOEXEC);
    fcntl(number[0], F_SETFD, FD_CLOEXEC);
    std::string script =
        "Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 2>/dev/null & x=$!; exec 3>&-; read line; kill $x; wait $x";
    const char* argv[] = {"/bin/sh", "-c", script.c_str(), nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[0], 0);
    posix_spawn_file_actions_adddup2(&actions, number[1], 3);
    posix_spawn_file_actions_addclose(&actions, fds[1]);
    pid_t pid;
    int started = posix_spawn(&pid, "/bin/sh", &actions, nullptr, const_cast<char**>(argv), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(fds[0]);
    close(number[1]);
    if (started != 0) {
      close(number[0]);
      return;
    }
    // The server writes its number once it accepts connections.
    std::string digits;
    char c;
    while (read(number[0], &c, 1) == 1 && c != '\n') digits += c;
    close(number[0]);
    if (!digits.empty()) display_ = ":" + digits;
  }  // fds[1] stays open until the program ends
  const std::string& display() const { return display_; }

 private:
  std::string display_;
};

std::string Shell(const std::string& command) {
  std::string out;
  if (FILE* p = popen(command.c_str(), "r")) {
    char buffer[256];
    while (fgets(buffer, sizeof buffer, p)) out += buffer;
    pclose(p);
  }
  while (!out.empty() && (out.back() == '\n' || out.back() == ' ')) out.pop_back();
  return out;
}

bool Have(const char* tool) { return !Shell(std::string("command -v ") + tool).empty(); }

// One server for the program: the display is chosen once per process.
const std::string& ServerDisplay() {
  static Xvfb server;
  return server.display();
}

std::string FindWindowId(const std::string& title);

// The same picture on both displays: colour blocks and a line of text.
std::atomic<int> g_down{0}, g_up{0};
std::atomic<LPARAM> g_downAt{0};

LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l) {
  switch (m) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(h, &ps);
      RECT all{0, 0, kWidth, kHeight}, left{0, 0, kWidth / 2, kHeight}, box{20, 60, 60, 90};
      HBRUSH blue = CreateSolidBrush(RGB(20, 40, 200)), red = CreateSolidBrush(RGB(220, 30, 30)),
             green = CreateSolidBrush(RGB(30, 200, 60));
      FillRect(dc, &all, blue);
      FillRect(dc, &left, red);
      FillRect(dc, &box, green);
      SetBkMode(dc, TRANSPARENT);
      SetTextColor(dc, RGB(255, 255, 255));
      RECT text{4, 4, kWidth - 4, 40};
      DrawTextW(dc, L"Hello 你好", -1, &text, DT_LEFT | DT_TOP | DT_SINGLELINE);
      DeleteObject(blue);
      DeleteObject(red);
      DeleteObject(green);
      EndPaint(h, &ps);
      return 0;
    }
    case WM_LBUTTONDOWN:
      g_downAt = l;
      ++g_down;
      return 0;
    case WM_LBUTTONUP: ++g_up; return 0;
    default: return DefWindowProcW(h, m, w, l);
  }
}

void RegisterTestClass() {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = Proc;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = L"X11TestWindow";
  RegisterClassExW(&wc);
}

HWND MakeTestWindow() {
  RegisterTestClass();
  return CreateWindowExW(0, L"X11TestWindow", L"x11-window-test", WS_POPUP | WS_VISIBLE, 100, 100, kWidth, kHeight,
                         nullptr, nullptr, nullptr, nullptr);
}

// Renders the window headless in a child process; its pixels (RGB only).
std::vector<uint32_t> HeadlessRendering() {
  int fds[2];
  if (pipe(fds) != 0) return {};
  pid_t child = fork();
  if (child == 0) {
    close(fds[0]);
    setenv("PLATFORM_DISPLAY", "headless", 1);
    HWND w = MakeTestWindow();
    test::Pump();
    test::Pixels p;
    if (w && test::ReadPresented(w, &p) && p.width == kWidth && p.height == kHeight) {
      size_t bytes = p.argb.size() * 4;
      const char* data = reinterpret_cast<const char*>(p.argb.data());
      while (bytes > 0) {
        ssize_t n = write(fds[1], data, bytes);
        if (n <= 0) break;
        data += n;
        bytes -= static_cast<size_t>(n);
      }
    }
    _exit(0);
  }
  close(fds[1]);
  std::vector<uint32_t> pixels(kWidth * kHeight);
  size_t want = pixels.size() * 4, got = 0;
  auto* data = reinterpret_cast<char*>(pixels.data());
  while (got < want) {
    ssize_t n = read(fds[0], data + got, want - got);
    if (n <= 0) break;
    got += static_cast<size_t>(n);
  }
  close(fds[0]);
  waitpid(child, nullptr, 0);
  if (got != want) return {};
  for (auto& p : pixels) p &= 0xFFFFFF;
  return pixels;
}

// Runs command on a thread while this thread keeps pumping messages.
std::string RunPumping(const std::string& command) {
  std::string out;
  std::atomic<bool> done{false};
  std::thread t([&] {
    out = Shell(command);
    done = true;
  });
  while (!done) {
    test::Pump();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  t.join();
  return out;
}

bool PumpFor(std::atomic<int>& counter, int wanted) {
  for (int i = 0; i < 2000 && counter < wanted; ++i) {
    test::Pump();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return counter >= wanted;
}

// A 40 x 40 per-pixel-alpha image for a layered window: the top half
// transparent, the bottom half of the given premultiplied colour.
bool PresentHalves(HWND hwnd, POINT at, uint32_t bottom) {
  BITMAPINFO bi{};
  bi.bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), 40, -40, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HDC mem = CreateCompatibleDC(nullptr);
  HBITMAP dib = CreateDIBSection(mem, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bits) return false;
  HGDIOBJ old = SelectObject(mem, dib);
  auto* px = static_cast<uint32_t*>(bits);
  for (int i = 0; i < 40 * 40; ++i) px[i] = i < 40 * 20 ? 0u : bottom;
  POINT src{0, 0};
  SIZE size{40, 40};
  BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  bool ok = UpdateLayeredWindow(hwnd, nullptr, &at, &size, mem, &src, 0, &blend, ULW_ALPHA);
  SelectObject(mem, old);
  DeleteObject(dib);
  DeleteDC(mem);
  return ok;
}

TEST(X11Test, RealWindowIsFoundClickedScreenshottedAndShowsARealMessageBox) {
  if (!Have("Xvfb") || !Have("xdotool")) GTEST_SKIP() << "Xvfb or xdotool missing";
  std::vector<uint32_t> headless = HeadlessRendering();
  ASSERT_EQ(headless.size(), static_cast<size_t>(kWidth * kHeight));
  EXPECT_EQ(headless[50 * kWidth + 120], 0x1428C8u);  // the blue half
  EXPECT_EQ(headless[50 * kWidth + 10], 0xDC1E1Eu);   // the red half

  const std::string& display = ServerDisplay();
  ASSERT_FALSE(display.empty());
  setenv("DISPLAY", display.c_str(), 1);
  setenv("PLATFORM_DISPLAY", "x11", 1);
  HWND w = MakeTestWindow();
  ASSERT_TRUE(w);
  ASSERT_STREQ(test::BackendName(), "x11");

  std::string id = RunPumping("timeout 20 xdotool search --sync --name x11-window-test");
  ASSERT_FALSE(id.empty());
  if (id.find('\n') != std::string::npos) id = id.substr(0, id.find('\n'));

  RunPumping("xdotool mousemove --window " + id + " 20 30 click 1");
  ASSERT_TRUE(PumpFor(g_up, 1));
  EXPECT_EQ(g_down.load(), 1);
  EXPECT_EQ(GET_X_LPARAM(g_downAt.load()), 20);
  EXPECT_EQ(GET_Y_LPARAM(g_downAt.load()), 30);

  // The screenshot is taken until it matches, or for 10 s: the paint may
  // reach the server a little after the click.
  Display* dpy = XOpenDisplay(display.c_str());
  ASSERT_TRUE(dpy);
  int different = -1;
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (different != 0 && std::chrono::steady_clock::now() < deadline) {
    test::Pump();
    XSync(dpy, False);
    XImage* shot = XGetImage(dpy, static_cast<::Window>(std::stoul(id)), 0, 0, kWidth, kHeight, AllPlanes, ZPixmap);
    ASSERT_TRUE(shot);
    different = 0;
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x)
        different += (XGetPixel(shot, x, y) & 0xFFFFFF) != headless[static_cast<size_t>(y) * kWidth + x];
    XDestroyImage(shot);
    if (different != 0) std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  XCloseDisplay(dpy);
  EXPECT_EQ(different, 0);

  // A key pressed while the box is still being mapped can be lost, so
  // Return is pressed until the box has closed. Should it never close,
  // the presser ends the box's loop with WM_QUIT and the test fails.
  std::atomic<bool> closed{false}, gaveUp{false};
  const DWORD boxThread = GetCurrentThreadId();
  std::thread presser([&] {
    std::string box = Shell("timeout 20 xdotool search --sync --name box-x11-caption");
    if (box.find('\n') != std::string::npos) box = box.substr(0, box.find('\n'));
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!closed && !box.empty() && std::chrono::steady_clock::now() < deadline) {
      Shell("xdotool key --window " + box + " Return 2>/dev/null");
      for (int i = 0; i < 50 && !closed; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    if (!closed) {
      gaveUp = true;
      PostThreadMessageW(boxThread, WM_QUIT, 0, 0);
    }
  });
  int result = MessageBoxW(w, L"Press Return to close this box.", L"box-x11-caption", MB_OK);
  closed = true;
  presser.join();
  ASSERT_FALSE(gaveUp) << "the message box was not found or did not close on Return within 20 s";
  EXPECT_EQ(result, IDOK);
  EXPECT_TRUE(IsWindowEnabled(w));
  DestroyWindow(w);

  // Per-pixel alpha without a compositing manager: the transparent pixels
  // are cut out of the window's shape.
  HWND layered = CreateWindowExW(WS_EX_LAYERED, L"X11TestWindow", L"x11-layered-test", WS_POPUP | WS_VISIBLE, 300,
                                 300, 40, 40, nullptr, nullptr, nullptr, nullptr);
  ASSERT_TRUE(layered);
  // Top half transparent.
  ASSERT_TRUE(PresentHalves(layered, POINT{300, 300}, 0xFF00FF00u));
  std::string lid = RunPumping("timeout 20 xdotool search --sync --name x11-layered-test");
  if (lid.find('\n') != std::string::npos) lid = lid.substr(0, lid.find('\n'));
  ASSERT_FALSE(lid.empty());
  Display* probe = XOpenDisplay(display.c_str());
  ASSERT_TRUE(probe);
  int count = 0, ordering = 0;
  XRectangle* rects = XShapeGetRectangles(probe, static_cast<::Window>(std::stoul(lid)), ShapeBounding, &count, &ordering);
  auto covers = [&](int x, int y) {
    for (int i = 0; i < count; ++i)
      if (x >= rects[i].x && x < rects[i].x + rects[i].width && y >= rects[i].y && y < rects[i].y + rects[i].height)
        return true;
    return false;
  };
  EXPECT_FALSE(covers(5, 5));
  EXPECT_TRUE(covers(5, 30));
  if (rects) XFree(rects);
  XCloseDisplay(probe);
  DestroyWindow(layered);
}

std::string FindWindowId(const std::string& title) {
  std::string id = RunPumping("timeout 20 xdotool search --sync --name " + title);
  if (id.find('\n') != std::string::npos) id = id.substr(0, id.find('\n'));
  return id;
}

// Reads one pixel of an X window, alpha included for a 32-bit window.
uint32_t PixelOf(const std::string& display, const std::string& id, int x, int y, int* depth) {
  Display* dpy = XOpenDisplay(display.c_str());
  if (!dpy) return 0;
  XSync(dpy, False);
  auto xid = static_cast<::Window>(std::stoul(id));
  XWindowAttributes attributes{};
  XGetWindowAttributes(dpy, xid, &attributes);
  *depth = attributes.depth;
  uint32_t pixel = 0;
  if (XImage* shot = XGetImage(dpy, xid, x, y, 1, 1, AllPlanes, ZPixmap)) {
    pixel = static_cast<uint32_t>(XGetPixel(shot, 0, 0));
    XDestroyImage(shot);
  }
  XCloseDisplay(dpy);
  return pixel;
}

// Pumps until the X window shows the pixel at (x, y), or five seconds pass.
bool ShowsPixel(const std::string& display, const std::string& id, int x, int y, uint32_t expected, int* depth) {
  for (auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5); std::chrono::steady_clock::now() < end;) {
    test::Pump();
    if (PixelOf(display, id, x, y, depth) == expected) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return false;
}

// With a compositing manager a window that becomes layered after it was
// made (as skinned windows do at their first paint) shows its own alpha,
// not a shape cut; before that it shows opaque. The test holds the
// compositing manager's selection itself.
TEST(X11Test, AWindowMadeLayeredLaterGetsPerPixelAlpha) {
  if (!Have("Xvfb") || !Have("xdotool")) GTEST_SKIP() << "Xvfb or xdotool missing";
  const std::string& display = ServerDisplay();
  ASSERT_FALSE(display.empty());
  setenv("DISPLAY", display.c_str(), 1);
  setenv("PLATFORM_DISPLAY", "x11", 1);
  Display* manager = XOpenDisplay(display.c_str());
  ASSERT_TRUE(manager);
  ::Window owner = XCreateSimpleWindow(manager, DefaultRootWindow(manager), 0, 0, 1, 1, 0, 0, 0);
  XSetSelectionOwner(manager, XInternAtom(manager, "_NET_WM_CM_S0", False), owner, CurrentTime);
  XSync(manager, False);

  RegisterTestClass();
  HWND w = CreateWindowExW(0, L"X11TestWindow", L"x11-late-layered", WS_POPUP | WS_VISIBLE, 400, 300, 40, 40,
                           nullptr, nullptr, nullptr, nullptr);
  ASSERT_TRUE(w);
  ASSERT_STREQ(test::BackendName(), "x11");
  std::string id = FindWindowId("x11-late-layered");
  ASSERT_FALSE(id.empty());
  int depth = 0;
  EXPECT_TRUE(ShowsPixel(display, id, 10, 10, 0xFFDC1E1Eu, &depth));  // the red half, opaque
  EXPECT_EQ(depth, 32);

  SetWindowLongPtrW(w, GWL_EXSTYLE, GetWindowLongPtrW(w, GWL_EXSTYLE) | WS_EX_LAYERED);
  ASSERT_TRUE(PresentHalves(w, POINT{400, 300}, 0x80008000u));  // top clear, bottom half-green
  EXPECT_TRUE(ShowsPixel(display, id, 10, 30, 0x80008000u, &depth));
  EXPECT_EQ(PixelOf(display, id, 10, 5, &depth), 0u);
  // Nothing was cut: the transparent pixels stay part of the window.
  Display* probe = XOpenDisplay(display.c_str());
  ASSERT_TRUE(probe);
  int count = 0, ordering = 0;
  XRectangle* rects = XShapeGetRectangles(probe, static_cast<::Window>(std::stoul(id)), ShapeBounding, &count, &ordering);
  ASSERT_EQ(count, 1);
  EXPECT_EQ(rects[0].width, 40);
  EXPECT_EQ(rects[0].height, 40);
  XFree(rects);
  XCloseDisplay(probe);
  DestroyWindow(w);
  XCloseDisplay(manager);
}

}  // namespace
