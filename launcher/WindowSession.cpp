#include "WindowSession.h"

#include <cstdio>

void RunWindowSession(HINSTANCE, const LaunchInfo&) {
  std::printf("RunWindowSession: the main window is not built yet\n");
  std::fflush(stdout);
}
