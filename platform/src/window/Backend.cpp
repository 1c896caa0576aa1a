// Picks the display backend once, on first use, and puts the frame
// recorder in front of it when asked to.
#include "window/Backend.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "window/HeadlessBackend.h"
#include "window/RecordingBackend.h"
#include "window/X11Backend.h"

namespace platform::window {
namespace {

std::unique_ptr<DisplayBackend> ChooseDisplay() {
  const char* forced = getenv("PLATFORM_DISPLAY");
  bool wantX11 = forced ? strcmp(forced, "x11") == 0 : (getenv("DISPLAY") && *getenv("DISPLAY"));
  if (wantX11) {
    if (auto x11 = X11Backend::Open()) return x11;
    fprintf(stderr, "[Display] cannot open the X display \"%s\"; running headless\n", getenv("DISPLAY") ? getenv("DISPLAY") : "");
  }
  return std::make_unique<HeadlessBackend>();
}

std::unique_ptr<DisplayBackend> Choose() {
  std::unique_ptr<DisplayBackend> display = ChooseDisplay();
  const char* folder = getenv("PLATFORM_RECORD_FRAMES");
  if (folder && *folder)
    if (auto recording = RecordingBackend::Wrap(display, folder, getenv("PLATFORM_RECORD_FPS"))) return recording;
  return display;
}

}  // namespace

DisplayBackend& Backend() {
  // Never destroyed: a worker may end the process while the UI thread is
  // still presenting.
  static DisplayBackend* backend = Choose().release();
  return *backend;
}

NativeView ViewOf(const Window& w) {
  return NativeView{w.handle, WindowRectOnScreen(w), w.style, w.exStyle, w.owner,
                    IsVisibleChain(w) && !(w.style & WS_MINIMIZE), (w.exStyle & WS_EX_TOPMOST) != 0};
}

bool HasNative(const Window& w) { return !w.parent && !w.messageOnly; }

DisplayBackend& ActualBackend() {
  auto* recording = dynamic_cast<RecordingBackend*>(&Backend());
  return recording ? recording->display() : Backend();
}

bool IsHeadless() { return dynamic_cast<HeadlessBackend*>(&ActualBackend()) != nullptr; }

}  // namespace platform::window
