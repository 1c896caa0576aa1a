// The demo game: what the launcher starts at the end of a session. It
// records where it was started and with which arguments in
// demo-game-session.txt beside its program file (one "directory" line,
// then one "argument" line each), prints the same, stays a few seconds
// (DEMO_GAME_SECONDS, default 3) so the launcher sees it running, and ends.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

int main(int argc, char** argv) {
  std::error_code error;
  std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  std::filesystem::path directory = std::filesystem::current_path(error);
  std::ofstream session(self.parent_path() / "demo-game-session.txt", std::ios::trunc);
  session << "directory " << directory.string() << "\n";
  std::string line;
  for (int i = 1; i < argc; ++i) {
    session << "argument " << argv[i] << "\n";
    line += (i > 1 ? " " : "") + std::string(argv[i]);
  }
  session.close();
  std::printf("demo-game: started in %s\ndemo-game: arguments: %s\n", directory.c_str(), line.c_str());
  std::fflush(stdout);
  const char* seconds = std::getenv("DEMO_GAME_SECONDS");
  sleep(seconds ? static_cast<unsigned>(std::atoi(seconds)) : 3);
  std::printf("demo-game: ends\n");
  return 0;
}
