// Download plus unpack of one package: the update worker against
// `curl -o` followed by `7z x`, on the same files served from loopback in
// the same run. Prints both wall times, their ratios (goal: at most 1.05)
// and the worker's peak resident memory at two package sizes (goal: no
// growth with the size).
//
//   updater_bench [--size-mb N] [--repeat R] [--keep DIR]
//
// The worker runs in a child process of its own so that its peak memory
// is its alone; its console lines go to /dev/null, as do the tools'.
#include <httplib.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "UpdateWorker.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

// Holds the latest texts as a window would; nothing is drawn.
class QuietWindow : public IUpdateWindow {
 public:
  explicit QuietWindow(std::string url) : m_url(std::move(url)) {}
  const char* GameUrl() const override { return m_url.c_str(); }
  void SetControlVisible(LPCWSTR, bool visible) override { m_visible = visible; }
  void SetControlText(LPCWSTR, LPCWSTR text) override { m_text = text; }
  void SetProgressMinValue(int) override {}
  void SetProgressMaxValue(int) override {}
  void SetProgressValue(int value) override { m_value = value; }
  void SetRetryMode(int mode) override { m_retry = mode; }
  void LaunchGame() override { m_launched = true; }
  bool launched() const { return m_launched; }

 private:
  std::string m_url;
  std::wstring m_text;
  bool m_visible = false;
  int m_value = 0, m_retry = 0;
  bool m_launched = false;
};

int RunWorker(const std::string& url, const std::string& directory) {
  fs::current_path(directory);
  if (!std::freopen("/dev/null", "w", stdout)) return 2;
  QuietWindow window(url);
  const DWORD result = RunUpdate(window);
  return result == 0 && window.launched() ? 0 : 1;
}

struct Outcome {
  double seconds;     // wall
  double cpuSeconds;  // user and system, with waited-for children
  long peakKiB;
  int status;
};

double Seconds(const struct timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; }

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

Outcome Spawn(const std::vector<std::string>& args) {
  std::vector<char*> argv;
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  const auto start = std::chrono::steady_clock::now();
  pid_t pid;
  if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return {0, 0, 0, -1};
  int status = 0;
  struct rusage usage = {};
  wait4(pid, &status, 0, &usage);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  return {seconds, Seconds(usage.ru_utime) + Seconds(usage.ru_stime), usage.ru_maxrss,
          WIFEXITED(status) ? WEXITSTATUS(status) : -1};
}

Outcome Shell(const std::string& command) { return Spawn({"/bin/sh", "-c", command}); }

// A package file of about megabytes MB in dir/name: a few game files, packed
// the way a package usually is.
void MakePackage(const fs::path& dir, const std::string& name, long megabytes) {
  const fs::path source = dir / ("src-" + name);
  fs::create_directories(source / "data");
  const long files = 8;
  const long each = std::max(1L, megabytes / files);
  std::string command = "cd '" + source.string() + "' && ";
  for (long i = 0; i < files; ++i) {
    // Incompressible, as packed game data is, with some text besides.
    command += "{ head -c " + std::to_string(each) + "M /dev/urandom; yes 'game data line' | head -c " +
               std::to_string(std::max(1L, each / 10)) + "M; } > data/part" + std::to_string(i) + ".bin && ";
  }
  command += "printf game > game.bin && 7z a -mx1 '" + (dir / name).string() + "' data game.bin >/dev/null";
  if (Shell(command).status != 0) {
    std::fprintf(stderr, "making the package failed\n");
    std::exit(1);
  }
  fs::remove_all(source);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::string(argv[1]) == "--worker") return RunWorker(argv[2], argv[3]);

  long sizeMb = 200;
  int repeat = 3;
  std::string keep;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string option = argv[i];
    if (option == "--size-mb") sizeMb = std::atol(argv[i + 1]);
    else if (option == "--repeat") repeat = std::atoi(argv[i + 1]);
    else if (option == "--keep") keep = argv[i + 1];
  }
  const std::string self = fs::canonical("/proc/self/exe").string();
  const fs::path dir = keep.empty() ? fs::temp_directory_path() / ("updater-bench-" + std::to_string(getpid())) : fs::path(keep);
  fs::create_directories(dir);

  const long smallMb = std::max(1L, sizeMb / 10);
  std::printf("making packages of %ld MB and %ld MB in %s\n", sizeMb, smallMb, dir.c_str());
  MakePackage(dir, "big.7z", sizeMb);
  MakePackage(dir, "small.7z", smallMb);

  httplib::Server server;
  server.Get("/(.+)", [&](const httplib::Request& request, httplib::Response& response) {
    const fs::path file = dir / std::string(request.matches[1]);
    if (!fs::is_regular_file(file)) {
      response.status = 404;
      return;
    }
    auto in = std::make_shared<std::ifstream>(file, std::ios::binary);
    response.set_content_provider(fs::file_size(file), "application/octet-stream",
                                  [in](size_t offset, size_t length, httplib::DataSink& sink) {
                                    std::vector<char> buffer(std::min<size_t>(length, 64 * 1024));
                                    in->seekg(static_cast<std::streamoff>(offset));
                                    in->read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
                                    return sink.write(buffer.data(), static_cast<size_t>(in->gcount()));
                                  });
  });
  const int port = server.bind_to_any_port("127.0.0.1");
  std::thread serving([&] { server.listen_after_bind(); });
  while (!server.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  const std::string base = "http://127.0.0.1:" + std::to_string(port) + "/";

  auto fresh = [&](const std::string& name) {
    const fs::path out = dir / name;
    fs::remove_all(out);
    fs::create_directories(out);
    return out.string();
  };

  std::vector<double> workerTimes, toolTimes, workerCpu, toolCpu;
  long workerPeak = 0, toolPeak = 0;
  // Each run starts with nothing dirty in the page cache, so that no run
  // pays for the write-back of the one before; the order alternates.
  auto runWorker = [&] {
    const std::string out = fresh("worker-out");
    sync();
    return Spawn({self, "--worker", base + "big.7z", out});
  };
  auto runTools = [&] {
    const std::string out = fresh("tools-out");
    sync();
    return Shell("cd '" + out + "' && curl -s -o big.7z '" + base + "big.7z' && 7z x -y big.7z >/dev/null");
  };
  for (int round = 0; round < repeat; ++round) {
    Outcome worker, tools;
    if (round % 2 == 0) {
      worker = runWorker();
      tools = runTools();
    } else {
      tools = runTools();
      worker = runWorker();
    }
    if (worker.status != 0 || tools.status != 0) {
      std::fprintf(stderr, "round %d failed: worker %d, tools %d\n", round, worker.status, tools.status);
      return 1;
    }
    workerTimes.push_back(worker.seconds);
    toolTimes.push_back(tools.seconds);
    workerCpu.push_back(worker.cpuSeconds);
    toolCpu.push_back(tools.cpuSeconds);
    workerPeak = std::max(workerPeak, worker.peakKiB);
    toolPeak = std::max(toolPeak, tools.peakKiB);
    std::printf("round %d: worker %.3f s (cpu %.3f s), curl + 7z %.3f s (cpu %.3f s)\n", round, worker.seconds,
                worker.cpuSeconds, tools.seconds, tools.cpuSeconds);
    std::fflush(stdout);
  }
  const Outcome small = Spawn({self, "--worker", base + "small.7z", fresh("small-out")});

  const double workerMedian = Median(workerTimes), toolMedian = Median(toolTimes);
  std::printf("package file %.1f MB\n", static_cast<double>(fs::file_size(dir / "big.7z")) / (1 << 20));
  std::printf("package %ld MB, %d rounds, medians: worker %.3f s, curl -o + 7z x %.3f s\n", sizeMb, repeat,
              workerMedian, toolMedian);
  const double workerBest = *std::min_element(workerTimes.begin(), workerTimes.end());
  const double toolBest = *std::min_element(toolTimes.begin(), toolTimes.end());
  std::printf("ratio worker / tools: %.3f of the medians, %.3f of the best runs (goal <= 1.05); cpu time %.3f\n",
              workerMedian / toolMedian, workerBest / toolBest, Median(workerCpu) / Median(toolCpu));
  std::printf("worker peak resident memory: %ld KiB at %ld MB, %ld KiB at %ld MB (tools: %ld KiB)\n", workerPeak, sizeMb,
              small.peakKiB, smallMb, toolPeak);

  server.stop();
  serving.join();
  if (keep.empty()) fs::remove_all(dir);
  return 0;
}
