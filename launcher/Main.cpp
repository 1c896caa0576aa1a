// The launcher program: the platform's GUI entry point.
#include "StartupSequence.h"

#include <cstdio>

int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE, LPWSTR lpCmdLine, int) {
#ifdef LAUNCHER_BUILD_MARKER
  // Test builds say which build is running, and with which arguments.
  std::printf("%s %ls\n", LAUNCHER_BUILD_MARKER, lpCmdLine);
  std::fflush(stdout);
#endif
  return RunStartupSequence(hInstance, lpCmdLine);
}
