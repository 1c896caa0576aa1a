// The demo game: prints the session it was started with, stays a few
// seconds so the launcher sees it running, then ends.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>

int main(int argc, char** argv) {
  std::ofstream log("demo-game.log", std::ios::app);
  for (int i = 1; i < argc; ++i) {
    printf("demo-game: %s\n", argv[i]);
    log << argv[i] << "\n";
  }
  fflush(stdout);
  const char* seconds = getenv("DEMO_GAME_SECONDS");
  sleep(seconds ? static_cast<unsigned>(atoi(seconds)) : 3);
  return 0;
}
