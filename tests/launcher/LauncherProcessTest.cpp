// The launcher program run as a child process, against the reference launch
// service or a server of the test's own, each test in a directory of its own:
//   app/     the launcher's directory (a copy of the built program)
//   start/   the directory it is started in
//   run/     its lock directory (XDG_RUNTIME_DIR), so tests do not meet
//   www/     files the service serves
#include "ChildProcess.h"
#include "LaunchServiceProcess.h"
#include "LoopbackServer.h"
#include "ServiceAnswerEncoder.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>

namespace fs = std::filesystem;

namespace {

const std::string kNetworkBox = "[MessageBox] 提示 | 网络连接错误,请重新启动\n";
const std::string kRunningBox = "[MessageBox] 提示 | 已经在运行\n";
const std::string kWindowLine = "RunWindowSession: the main window is not built yet\n";
const std::string kBackground = "not really a PNG, but the bytes to keep";

std::string Answer(const std::string& code, const std::string& upVersion, const std::string& upBg,
                   const std::string& upUrl = "", const std::string& info = "") {
  return R"({"code":")" + code + R"(","info":")" + info + R"(","data":{"open":"game\\game.exe","uid":"u1",)" +
         R"("up_version":")" + upVersion + R"(","up_bg":")" + upBg + R"(","up_url":")" + upUrl + R"("}})";
}

class LauncherProcessTest : public ::testing::Test {
 protected:
  struct Result {
    int code;
    std::string out, err;
  };

  void SetUp() override {
    for (const char* sub : {"app", "start/Skin/bk", "run", "www"}) fs::create_directories(dir / sub);
    original = ChildProcess::ReadAll(GAME_LAUNCHER_PATH);
    InstallLauncher();
    dir.Write("www/bg.png", kBackground);
    dir.Write("answer.json", "{}");
  }

  void InstallLauncher() {
    fs::remove_all(dir / "app");
    fs::create_directories(dir / "app");
    fs::copy_file(GAME_LAUNCHER_PATH, Program());
  }
  std::string Program() const { return (dir / "app" / "game-launcher").string(); }

  // The reference service, serving answer.json and www/.
  LaunchServiceProcess& Service() {
    if (!service) {
      service = std::make_unique<LaunchServiceProcess>(dir / "answer.json", dir / "www", dir / "service.log");
      EXPECT_TRUE(service->ok()) << ChildProcess::ReadAll(dir / "service.log.err");
    }
    return *service;
  }

  ChildProcess::Options Options(const std::string& name) const {
    ChildProcess::Options options;
    options.directory = dir / "start";
    options.environment = {{"XDG_RUNTIME_DIR", (dir / "run").string()}, {"DISPLAY", ""}};
    options.output = dir / (name + ".out");
    options.error = dir / (name + ".err");
    return options;
  }

  Result Run(const std::vector<std::string>& arguments, const std::string& name = "launcher") {
    fs::remove(dir / (name + ".out"));
    fs::remove(dir / (name + ".err"));
    ChildProcess child(arguments, Options(name));
    int code = child.Wait();
    return {code, child.Output(), child.Error()};
  }

  Result RunWithService(const std::string& answer) {
    dir.Write("answer.json", answer);
    return Run({Program(), Service().Url("/launch")});
  }

  TempDir dir;
  std::string original;
  std::unique_ptr<LaunchServiceProcess> service;
};

TEST_F(LauncherProcessTest, WithoutAServiceUrlItEndsAtOnceAndQuietly) {
  Service();
  Result result = Run({Program()});
  EXPECT_EQ(0, result.code);
  EXPECT_EQ("", result.out);
  EXPECT_EQ("", result.err);
  EXPECT_EQ(std::string::npos, service->Log().find("GET")) << service->Log();
  EXPECT_FALSE(fs::exists(dir / "run" / ("win32-mutex-" + std::to_string(getuid()) + "-SinglePro.lock")));
}

TEST_F(LauncherProcessTest, ANormalStartFetchesTheBackgroundBelowTheStartDirectoryAndDropsOldExe) {
  dir.Write("app/old.exe", "left over");
  Result result = RunWithService(Answer("1", "1", Service().Url("/bg.png")));
  EXPECT_EQ(0, result.code) << result.err;
  EXPECT_EQ("", result.err);
  EXPECT_NE(std::string::npos, result.out.find(kWindowLine)) << result.out;
  EXPECT_EQ(kBackground, dir.Read("start/Skin/bk/bg_1.png"));
  EXPECT_FALSE(fs::exists(dir / "app" / "Skin"));
  EXPECT_FALSE(fs::exists(dir / "app" / "old.exe"));
  EXPECT_TRUE(original == dir.Read("app/game-launcher")) << "the program file changed";
  EXPECT_NE(std::string::npos, Service().Log().find("\"GET /launch\" 200")) << Service().Log();
}

TEST_F(LauncherProcessTest, EveryFailureEndsAsItShould) {
  const std::string bg = Service().Url("/bg.png");
  const std::string lockName = "win32-mutex-" + std::to_string(getuid()) + "-SinglePro.lock";
  struct Row {
    const char* name;
    std::string answer;  // empty: the service is unreachable
    std::function<void()> setup;
    int code;
    std::string err;
    bool window;
  };
  const Row rows[] = {
      {"service unreachable", "", nullptr, 255, kNetworkBox, false},
      {"answer not JSON", "this is not JSON", nullptr, 255, kNetworkBox, false},
      {"answer is an array", "[" + Answer("0", "2", bg) + "]", nullptr, 255, kNetworkBox, false},
      {"data is an array", R"({"code":"0","info":"x","data":[1]})", nullptr, 255, kNetworkBox, false},
      {"member holds an object", R"({"code":"0","data":{"up_bg":{"u":1}}})", nullptr, 255, kNetworkBox, false},
      {"answer beyond the decoder's capacity", Answer("0", "1", bg, "", std::string(3000, 'i')), nullptr, 255,
       kNetworkBox, false},
      {"code other than 1 shows info", Answer("0", "1", bg, "", "服务器维护中"), nullptr, 0,
       "[MessageBox] 提示 | 服务器维护中\n", true},
      {"code as the number 1", R"({"code":1,"data":{"up_version":"1","up_bg":")" + bg + R"("}})", nullptr, 0, "",
       true},
      {"background image missing", Answer("1", "1", Service().Url("/nothing.png")), nullptr, 255, kNetworkBox,
       false},
      {"background URL over 299 characters", Answer("1", "1", bg + "?" + std::string(300, 'q')), nullptr, 255,
       kNetworkBox, false},
      {"background directory missing", Answer("1", "1", bg), [&] { fs::remove_all(dir / "start" / "Skin"); },
       255, kNetworkBox, false},
      {"new launcher unreachable", Answer("1", "2", bg, "http://127.0.0.1:1/next"), nullptr, 255, kNetworkBox,
       false},
      {"new launcher answered with an error page", Answer("1", "2", bg, Service().Url("/no-such-launcher")),
       nullptr, 255, kNetworkBox, false},
      {"new launcher cannot be started", Answer("1", "2", bg, Service().Url("/not-a-program.txt")),
       [&] { dir.Write("www/not-a-program.txt", "just text"); }, 0, "", true},
      {"old copy cannot be deleted", Answer("1", "1", bg), [&] { dir.Write("app/old.exe/keep", "x"); }, 0, "",
       true},
      {"mutex cannot be created", Answer("1", "1", bg), [&] { fs::create_directories(dir / "run" / lockName); },
       0, "", true},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    InstallLauncher();
    fs::create_directories(dir / "start" / "Skin" / "bk");
    fs::remove(dir / "start" / "Skin" / "bk" / "bg_1.png");
    fs::remove_all(dir / "run");
    fs::create_directories(dir / "run");
    if (row.setup) row.setup();
    Result result = row.answer.empty() ? Run({Program(), "http://127.0.0.1:1/launch"}) : RunWithService(row.answer);
    EXPECT_EQ(row.code, result.code);
    EXPECT_EQ(row.err, result.err);
    EXPECT_EQ(row.window, result.out.find(kWindowLine) != std::string::npos) << result.out;
    // Whatever happened, the launcher's own program file is the one that runs.
    EXPECT_TRUE(original == dir.Read("app/game-launcher")) << "the program file changed";
    EXPECT_FALSE(fs::exists(dir / "app" / "game-launcher.new"));
    EXPECT_EQ(row.window, fs::exists(dir / "start" / "Skin" / "bk" / "bg_1.png"));
  }
}

TEST_F(LauncherProcessTest, ASecondInstanceIsRefusedWhileTheFirstRuns) {
  // The first instance is held in its background download until released.
  LoopbackServer server;
  std::atomic<bool> entered{false};
  server.server().Get("/launch", [&](const httplib::Request&, httplib::Response& response) {
    response.set_content(EncodeServiceAnswer(Answer("1", "1", server.Url("/slow.png"))), "text/plain");
  });
  server.server().Get("/slow.png", [&](const httplib::Request&, httplib::Response& response) {
    entered = true;
    server.StallFor(std::chrono::seconds(50));
    response.set_content(kBackground, "image/png");
  });
  server.Start();

  ChildProcess first({Program(), server.Url("/launch")}, Options("first"));
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(40);
  while (!entered && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  ASSERT_TRUE(entered);

  Result second = Run({Program(), server.Url("/launch")}, "second");
  EXPECT_EQ(0, second.code);
  EXPECT_EQ(kRunningBox, second.err);
  EXPECT_EQ("", second.out);

  server.Release();
  EXPECT_EQ(0, first.Wait());
  EXPECT_EQ("", first.Error());
  EXPECT_NE(std::string::npos, first.Output().find(kWindowLine));
  EXPECT_EQ(kBackground, dir.Read("start/Skin/bk/bg_1.png"));
}

TEST_F(LauncherProcessTest, ANewerLauncherReplacesThisOneAndRunsWithTheSameArgumentsAndDirectory) {
  const std::string next = ChildProcess::ReadAll(GAME_LAUNCHER_NEXT_PATH);
  ASSERT_FALSE(original == next);
  fs::create_directories(dir / "app" / "Skin" / "bk");  // only the new launcher's directory has a skin

  LoopbackServer server;
  std::atomic<int> queries{0};
  std::atomic<bool> oldCopyWasOriginal{false};
  server.server().Get("/launch", [&](const httplib::Request&, httplib::Response& response) {
    if (queries++ == 0) {
      response.set_content(EncodeServiceAnswer(Answer("1", "2", server.Url("/bg.png"), server.Url("/next"))),
                           "text/plain");
      return;
    }
    // The replacement asks again: by now the running file is old.exe.
    oldCopyWasOriginal = dir.Read("app/old.exe") == original;
    response.set_content(EncodeServiceAnswer(Answer("1", "1", server.Url("/bg.png"))), "text/plain");
  });
  server.server().Get("/next", [&](const httplib::Request&, httplib::Response& response) {
    response.set_content(next, "application/octet-stream");
  });
  server.server().Get("/bg.png", [&](const httplib::Request&, httplib::Response& response) {
    response.set_content(kBackground, "image/png");
  });
  server.Start();

  const std::string url = server.Url("/launch?session=abc");
  Result result = Run({Program(), url, "two words"}, "replaced");
  EXPECT_EQ(0, result.code) << result.err;

  // The new launcher writes to the same files; it ends after its window session.
  ASSERT_TRUE(ChildProcess::WaitForText(dir / "replaced.out", kWindowLine)) << result.out;
  std::string out = ChildProcess::ReadAll(dir / "replaced.out");
  EXPECT_NE(std::string::npos, out.find("game-launcher-next " + url + " \"two words\"\n")) << out;
  EXPECT_EQ("", ChildProcess::ReadAll(dir / "replaced.err"));
  EXPECT_EQ(2, queries.load());
  EXPECT_TRUE(oldCopyWasOriginal);
  EXPECT_TRUE(next == dir.Read("app/game-launcher")) << "the program file is not the new build";
  EXPECT_EQ(kBackground, dir.Read("app/Skin/bk/bg_1.png"));
  // Deleted by the new launcher's normal start (just before its window line).
  EXPECT_FALSE(fs::exists(dir / "app" / "old.exe"));
  EXPECT_FALSE(fs::exists(dir / "app" / "game-launcher.new"));
}

// Mended: a new launcher that arrives but cannot be written is no network
// failure; the running launcher goes on with its normal start.
TEST_F(LauncherProcessTest, ANewLauncherThatCannotBeWrittenLeavesThisOneRunning) {
  fs::create_directories(dir / "app" / "game-launcher.new" / "in the way");
  dir.Write("www/next", "the bytes of a newer launcher");
  Result result = RunWithService(Answer("1", "2", Service().Url("/bg.png"), Service().Url("/next")));
  EXPECT_EQ(0, result.code) << result.err;
  EXPECT_EQ("", result.err);
  EXPECT_NE(std::string::npos,
            result.out.find("The new launcher cannot be written to " + Program() + ".new; this one goes on\n"))
      << result.out;
  EXPECT_NE(std::string::npos, result.out.find(kWindowLine)) << result.out;
  EXPECT_NE(std::string::npos, Service().Log().find("\"GET /next\" 200")) << Service().Log();
  EXPECT_TRUE(original == dir.Read("app/game-launcher")) << "the program file changed";
  EXPECT_FALSE(fs::exists(dir / "app" / "old.exe"));
  EXPECT_EQ(kBackground, dir.Read("start/Skin/bk/bg_1.png"));
}

TEST_F(LauncherProcessTest, OverlongArgumentsAreHandledWithoutHarm) {
  dir.Write("answer.json", Answer("1", "1", Service().Url("/bg.png")));
  // A service URL that does not fit its buffer reaches no service.
  Result longUrl = Run({Program(), Service().Url("/launch?") + std::string(5000, 'x')});
  EXPECT_EQ(255, longUrl.code);
  EXPECT_EQ(kNetworkBox, longUrl.err);

  // A program path beyond 500 bytes: the launcher runs, but touches no file beside it.
  fs::path deep = dir / "app";
  for (int i = 0; i < 6; ++i) deep /= std::string(100, 'd');
  fs::create_directories(deep);
  fs::copy_file(GAME_LAUNCHER_PATH, deep / "game-launcher");
  dir.Write((deep / "old.exe").lexically_relative(dir.path()).string(), "keep");
  Result longPath = Run({(deep / "game-launcher").string(), Service().Url("/launch"), std::string(10000, 'a')});
  EXPECT_EQ(0, longPath.code) << longPath.err;
  EXPECT_NE(std::string::npos, longPath.out.find(kWindowLine));
  EXPECT_TRUE(fs::exists(deep / "old.exe"));
}

}  // namespace
