// Time from process start to the first presented frame of a program's
// window, on the X display named by DISPLAY (normally an Xvfb of its own,
// see run.sh). Works for any program: it watches the display, not the
// program.
//
//   startup_bench [--repeat N] [--warmup N] [--timeout SECONDS] [--min-size WxH] PROGRAM [ARGUMENTS...]
//
// The warm-up rounds (default 1) fill the file cache and are not counted.
// Each round starts PROGRAM (its output goes to /dev/null), takes the
// first top-level window it maps that is at least --min-size (default
// 100x100), and reads the window's pixels back on every damage event (and
// every 5 ms besides): the first frame is the first moment they are not
// all one colour, that is, when something beyond a background has been
// drawn. Then the program's process group is ended. Prints each round,
// the median and the minimum, and last a line "first-frame-ms MEDIAN MIN".
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xdamage.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Options {
  int repeat = 10;
  int warmup = 1;
  int timeoutSeconds = 30;
  int minWidth = 100, minHeight = 100;
  std::vector<char*> program;  // null-terminated
};

struct Round {
  double mapMs = 0;
  double frameMs = 0;
};

double MsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

bool ParseOptions(int argc, char** argv, Options* options) {
  int i = 1;
  for (; i < argc && argv[i][0] == '-'; ++i) {
    std::string name = argv[i];
    if (name == "--") {
      ++i;
      break;
    }
    if (i + 1 >= argc) return false;
    const char* value = argv[++i];
    if (name == "--repeat") {
      options->repeat = std::atoi(value);
    } else if (name == "--warmup") {
      options->warmup = std::atoi(value);
    } else if (name == "--timeout") {
      options->timeoutSeconds = std::atoi(value);
    } else if (name == "--min-size") {
      if (std::sscanf(value, "%dx%d", &options->minWidth, &options->minHeight) != 2) return false;
    } else {
      return false;
    }
  }
  if (i >= argc || options->repeat < 1 || options->warmup < 0 || options->timeoutSeconds < 1) return false;
  options->program.assign(argv + i, argv + argc);
  options->program.push_back(nullptr);
  return true;
}

// Whether the window shows more than one colour.
bool Drawn(Display* display, Window window, int width, int height) {
  XImage* image = XGetImage(display, window, 0, 0, width, height, AllPlanes, ZPixmap);
  if (!image) return false;
  unsigned long first = XGetPixel(image, 0, 0);
  bool drawn = false;
  for (int y = 0; y < height && !drawn; y += 2)
    for (int x = 0; x < width && !drawn; x += 2) drawn = XGetPixel(image, x, y) != first;
  XDestroyImage(image);
  return drawn;
}

pid_t Start(const Options& options) {
  pid_t pid = fork();
  if (pid == 0) {
    setpgid(0, 0);
    int null = open("/dev/null", O_RDWR);
    dup2(null, 0);
    dup2(null, 1);
    dup2(null, 2);
    execvp(options.program[0], options.program.data());
    _exit(127);
  }
  return pid;
}

void Stop(pid_t pid) {
  kill(-pid, SIGKILL);
  kill(pid, SIGKILL);
  waitpid(pid, nullptr, 0);
}

std::optional<Round> Measure(Display* display, int damageEvent, const Options& options) {
  Window root = DefaultRootWindow(display);
  XSelectInput(display, root, SubstructureNotifyMask);
  XSync(display, True);
  Clock::time_point start = Clock::now();
  pid_t pid = Start(options);
  if (pid < 0) return std::nullopt;

  Round round;
  Window target = 0;
  int width = 0, height = 0;
  Damage damage = 0;
  std::optional<Round> result;
  auto deadline = start + std::chrono::seconds(options.timeoutSeconds);
  while (!result && Clock::now() < deadline) {
    while (!result && XPending(display)) {
      XEvent event;
      XNextEvent(display, &event);
      bool look = false;
      if (event.type == MapNotify && !target && event.xmap.event == root) {
        XWindowAttributes attributes;
        if (XGetWindowAttributes(display, event.xmap.window, &attributes) && attributes.c_class == InputOutput &&
            attributes.width >= options.minWidth && attributes.height >= options.minHeight) {
          target = event.xmap.window;
          width = attributes.width;
          height = attributes.height;
          round.mapMs = MsSince(start);
          damage = XDamageCreate(display, target, XDamageReportNonEmpty);
          XSync(display, False);
          look = true;
        }
      } else if (event.type == damageEvent + XDamageNotify) {
        XDamageSubtract(display, damage, None, None);
        look = true;
      }
      if (look && Drawn(display, target, width, height)) {
        round.frameMs = MsSince(start);
        result = round;
      }
    }
    if (result) break;
    pollfd fd{ConnectionNumber(display), POLLIN, 0};
    poll(&fd, 1, 5);
    if (target && !XPending(display) && Drawn(display, target, width, height)) {
      round.frameMs = MsSince(start);
      result = round;
    }
  }
  if (damage) XDamageDestroy(display, damage);
  XSelectInput(display, root, NoEventMask);
  XSync(display, True);
  Stop(pid);
  return result;
}

// A window that goes away while it is read is no reason to stop.
int IgnoreErrors(Display*, XErrorEvent*) { return 0; }

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!ParseOptions(argc, argv, &options)) {
    std::fprintf(stderr,
                 "usage: startup_bench [--repeat N] [--warmup N] [--timeout SECONDS] [--min-size WxH] PROGRAM [ARGUMENTS...]\n");
    return 2;
  }
  Display* display = XOpenDisplay(nullptr);
  if (!display) {
    std::fprintf(stderr, "startup_bench: cannot open the display \"%s\"\n", getenv("DISPLAY") ? getenv("DISPLAY") : "");
    return 1;
  }
  XSetErrorHandler(IgnoreErrors);
  int damageEvent = 0, damageError = 0;
  if (!XDamageQueryExtension(display, &damageEvent, &damageError)) {
    std::fprintf(stderr, "startup_bench: the display has no DAMAGE extension\n");
    return 1;
  }
  std::vector<double> maps, frames;
  for (int i = -options.warmup; i < options.repeat; ++i) {
    std::optional<Round> round = Measure(display, damageEvent, options);
    if (!round) {
      std::fprintf(stderr, "startup_bench: round %d: no window drawn within %d s\n", i + 1, options.timeoutSeconds);
      return 1;
    }
    if (i < 0) continue;
    std::printf("round %2d: window mapped after %7.1f ms, first frame after %7.1f ms\n", i + 1, round->mapMs,
                round->frameMs);
    maps.push_back(round->mapMs);
    frames.push_back(round->frameMs);
  }
  std::printf("%s: first frame median %.1f ms, min %.1f ms; mapped median %.1f ms (%d rounds)\n",
              options.program[0], Median(frames), *std::min_element(frames.begin(), frames.end()), Median(maps),
              options.repeat);
  std::printf("first-frame-ms %.1f %.1f\n", Median(frames), *std::min_element(frames.begin(), frames.end()));
  XCloseDisplay(display);
  return 0;
}
