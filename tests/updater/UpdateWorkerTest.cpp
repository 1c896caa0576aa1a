// The update worker against a loopback HTTP server: the window calls per
// 512-byte piece, the download failures, and the failures after it.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <httplib.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "TestSupport.h"
#include "UpdateWorker.h"

namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

class PackageServer {
 public:
  PackageServer() {
    m_server.Get("/pkg/(.+)", [this](const httplib::Request& request, httplib::Response& response) {
      auto found = m_bodies.find(request.matches[1]);
      if (found == m_bodies.end()) {
        response.status = 404;
        response.set_content("<html>Not Found</html>", "text/html");
        return;
      }
      response.set_content(found->second, "application/octet-stream");
    });
    m_server.Get("/nolength/pkg.7z", [](const httplib::Request&, httplib::Response& response) {
      response.set_chunked_content_provider("application/octet-stream", [](size_t, httplib::DataSink& sink) {
        sink.write("0123456789", 10);
        sink.done();
        return true;
      });
    });
    // Announces 100000 bytes, sends 10000, then goes quiet.
    m_server.Get("/stall/pkg.7z", [this](const httplib::Request&, httplib::Response& response) {
      response.set_content_provider(100000, "application/octet-stream",
                                    [this](size_t offset, size_t, httplib::DataSink& sink) {
                                      if (offset == 0) {
                                        std::string part(10000, 's');
                                        return sink.write(part.data(), part.size());
                                      }
                                      for (int i = 0; i < 200 && !m_stopping; ++i)
                                        std::this_thread::sleep_for(std::chrono::milliseconds(50));
                                      return false;
                                    });
    });
    m_port = m_server.bind_to_any_port("127.0.0.1");
    m_thread = std::thread([this] { m_server.listen_after_bind(); });
    while (!m_server.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  ~PackageServer() {
    m_stopping = true;
    m_server.stop();
    m_thread.join();
  }

  void Serve(const std::string& name, std::string body) { m_bodies[name] = std::move(body); }
  std::string Url(const std::string& path) const { return "http://127.0.0.1:" + std::to_string(m_port) + path; }

 private:
  httplib::Server m_server;
  std::map<std::string, std::string> m_bodies;
  std::atomic<bool> m_stopping{false};
  int m_port = 0;
  std::thread m_thread;
};

// A port nobody listens on: taken by a server, then given back.
int ClosedPort() {
  httplib::Server server;
  return server.bind_to_any_port("127.0.0.1");
}

class UpdateWorkerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    options.timeouts = {5, 1};
    options.libraryDirectory = test::ProgramDir();
    // The download starts at second 1000; every later reading is second 1001.
    options.clock = [this] { return m_clockReadings++ == 0 ? time_t{1000} : time_t{1001}; };
  }

  // Runs the worker in the scratch directory; the console output.
  std::string Run(const std::string& url) {
    window = std::make_unique<test::RecordingWindow>(url);
    test::CurrentDirectory cwd(dir.path());
    testing::internal::CaptureStdout();
    result = RunUpdate(*window, options);
    return testing::internal::GetCapturedStdout();
  }

  std::vector<std::string> LastCalls(size_t n) const {
    const auto& calls = window->calls;
    return {calls.end() - static_cast<std::ptrdiff_t>(std::min(n, calls.size())), calls.end()};
  }

  test::ScratchDir dir;
  PackageServer server;
  UpdateOptions options;
  std::unique_ptr<test::RecordingWindow> window;
  DWORD result = 12345;
  int m_clockReadings = 0;
};

TEST_F(UpdateWorkerTest, EveryPieceUpdatesPercentageAndSpeed) {
  struct Case {
    size_t size;
    const char* lastSpeed;
  } cases[] = {{1536000, "text Optionbt 下载速度：1 MB/秒"}, {512000, "text Optionbt 下载速度：500 KB/秒"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.size);
    m_clockReadings = 0;
    server.Serve("zeros.bin", std::string(c.size, '\0'));
    const std::string console = Run(server.Url("/pkg/zeros.bin"));

    const auto& calls = window->calls;
    ASSERT_GT(calls.size(), 5u);
    EXPECT_THAT(std::vector<std::string>(calls.begin(), calls.begin() + 5),
                ElementsAre("visible Optionsum 1", "visible Optionbt 1", "visible myprogress 1", "min 0", "max 100"));
    // Per piece: the bar, the progress text, the speed text.
    const size_t pieces = c.size / 512;
    ASSERT_EQ(calls.size(), 5 + 3 * pieces + 1);
    EXPECT_THAT(std::vector<std::string>(calls.begin() + 5, calls.begin() + 8),
                ElementsAre("value 0", "text Optionsum 正在下载...(0%)", calls[7]));
    const size_t half = 5 + 3 * (pieces / 2 - 1);
    EXPECT_EQ(calls[half], "value 50");
    EXPECT_EQ(calls[half + 1], "text Optionsum 正在下载...(50%)");
    EXPECT_THAT(LastCalls(4), ElementsAre("value 100", "text Optionsum 正在下载...(100%)", c.lastSpeed, "value 0"));

    // Not an archive: console only, no retry, no game.
    EXPECT_EQ(console, "Error: \nCan not open file as archive\nzeros.bin");
    EXPECT_EQ(result, 0xFFFFFFFFu);
    EXPECT_EQ(test::ReadText(dir / "zeros.bin"), std::string(c.size, '\0'));
  }
}

TEST_F(UpdateWorkerTest, PackageIsDownloadedUnpackedAndTheGameStarted) {
  ASSERT_EQ(test::Shell(dir.path(), "mkdir src && cd src && mkdir bin && printf game > bin/game && "
                                    "head -c 300000 /dev/urandom > bin/data && 7z a ../made.7z bin"),
            0);
  server.Serve("game.7z", test::ReadText(dir / "made.7z"));
  const std::string console = Run(server.Url("/pkg/game.7z"));
  EXPECT_EQ(result, 0u);
  EXPECT_THAT(LastCalls(2), ElementsAre("value 0", "launch"));
  EXPECT_EQ(test::ReadText(dir / "bin/game"), "game");
  EXPECT_EQ(test::ReadText(dir / "bin/data"), test::ReadText(dir / "src/bin/data"));
  EXPECT_TRUE(test::Exists(dir / "game.7z"));  // the package stays
  EXPECT_THAT(console, HasSubstr("Extracting  bin/game\n"));
}

TEST_F(UpdateWorkerTest, NetworkFailuresOfferTheRetry) {
  struct Case {
    const char* name;
    std::string url;
  } cases[] = {
      {"refused", "http://127.0.0.1:" + std::to_string(ClosedPort()) + "/pkg/game.7z"},
      {"no length", server.Url("/nolength/pkg.7z")},
      // Mended: an error page is not taken for the package.
      {"error status", server.Url("/pkg/missing.7z")},
      {"stalled", server.Url("/stall/pkg.7z")},
      {"not http", "ftp://127.0.0.1/pkg.7z"},
      {"too long", "http://127.0.0.1/" + std::string(300, 'a')},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string console = Run(c.url);
    EXPECT_EQ(result, 0xFFFFFFFFu);
    EXPECT_EQ(LastCalls(7), test::FailureCalls("网络异常"));
    EXPECT_FALSE(window->Has("launch"));
    EXPECT_EQ(console, "");
  }
  EXPECT_FALSE(test::Exists(dir / "missing.7z"));
  // What arrived before the stall stays on disk.
  EXPECT_EQ(test::ReadText(dir / "pkg.7z"), std::string(10000, 's'));
}

TEST_F(UpdateWorkerTest, PackageFileThatCannotBeWrittenOffersTheRetry) {
  server.Serve("game.7z", "data");
  ASSERT_EQ(test::Shell(dir.path(), "mkdir game.7z"), 0);
  const std::string console = Run(server.Url("/pkg/game.7z"));
  EXPECT_EQ(result, 0xFFFFFFFFu);
  EXPECT_EQ(LastCalls(7), test::FailureCalls("写入文件失败"));
  EXPECT_EQ(console, "Error: \nCan not create package file\ngame.7z\n");
}

TEST_F(UpdateWorkerTest, LibraryFailuresAfterTheDownloadGoToTheConsoleOnly) {
  ASSERT_EQ(test::Shell(dir.path(), "printf x > f && 7z a made.7z f && mkdir nolib badlib && "
                                    "ln -s \"$(ls /usr/lib/x86_64-linux-gnu/libz.so.1 /lib/*/libz.so.1 | head -n1)\" "
                                    "badlib/7z.so"),
            0);
  server.Serve("game.7z", test::ReadText(dir / "made.7z"));
  struct Case {
    std::string directory;
    std::string console;
  } cases[] = {{dir / "nolib/", "Error: \nCan not load 7-zip library\n"},
               {dir / "badlib/", "Error: \nCan not get CreateObject\n"}};
  for (const Case& c : cases) {
    options.libraryDirectory = test::Widen(c.directory);
    EXPECT_EQ(Run(server.Url("/pkg/game.7z")), c.console);
    EXPECT_EQ(result, 0xFFFFFFFFu);
    EXPECT_EQ(window->calls.back(), "value 0");
    EXPECT_FALSE(window->Has("launch"));
    EXPECT_FALSE(window->Has("retry 2"));
  }
}

}  // namespace
