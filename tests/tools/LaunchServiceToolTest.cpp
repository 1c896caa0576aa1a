// The reference launch service, run as the operator runs it.
#include "ChildProcess.h"
#include "LaunchServiceProcess.h"
#include "ServiceAnswer.h"
#include "TempDir.h"

#include <gtest/gtest.h>
#include <httplib.h>

#include <chrono>
#include <regex>
#include <string>

namespace {

class LaunchServiceToolTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir.Write("answer.json", kAnswer);
    dir.Write("www/launcher/game-launcher", Binary());
    dir.Write("www/bg.png", "png");
  }

  static std::string Binary() {
    std::string bytes(100 * 1024 + 3, '\0');
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>((i * 7919) >> 3);
    return bytes;
  }

  static int Port(const LaunchServiceProcess& service) {
    std::smatch match;
    std::string base = service.Url("");
    std::regex_search(base, match, std::regex(":([0-9]+)$"));
    return std::stoi(match[1]);
  }

  httplib::Result Get(const LaunchServiceProcess& service, const std::string& path) {
    httplib::Client client("127.0.0.1", Port(service));
    return client.Get(path.c_str());
  }

  const std::string kAnswer = R"({"code":"1","info":"欢迎","data":{"open":"game\\game.exe","up_version":"1"}})";
  TempDir dir;
};

TEST_F(LaunchServiceToolTest, ServesTheScrambledAnswerAndFilesWithTheirLength) {
  LaunchServiceProcess service(dir / "answer.json", dir / "www", dir / "service.log");
  ASSERT_TRUE(service.ok()) << ChildProcess::ReadAll(dir / "service.log.err");
  EXPECT_EQ(0u, service.Url("").find("http://127.0.0.1:"));

  auto answer = Get(service, "/launch");
  ASSERT_TRUE(answer);
  EXPECT_EQ(200, answer->status);
  EXPECT_TRUE(std::regex_match(answer->body, std::regex("[0-9a-f]*")));
  EXPECT_EQ(kAnswer, DecodeServiceAnswer(answer->body));

  // The answer file is read for every request.
  dir.Write("answer.json", R"({"code":"0","info":"later"})");
  EXPECT_EQ(R"({"code":"0","info":"later"})", DecodeServiceAnswer(Get(service, "/launch?x=1")->body));

  auto file = Get(service, "/launcher/game-launcher");
  ASSERT_TRUE(file);
  EXPECT_EQ(200, file->status);
  EXPECT_EQ(std::to_string(Binary().size()), file->get_header_value("Content-Length"));
  EXPECT_TRUE(file->body == Binary());

  EXPECT_EQ(404, Get(service, "/nothing.png")->status);
  auto escape = Get(service, "/../answer.json");
  ASSERT_TRUE(escape);
  EXPECT_NE(200, escape->status);

  std::string log = service.Log();
  for (const char* line : {"127.0.0.1 \"GET /launch\" 200 ", "127.0.0.1 \"GET /launch?x=1\" 200 ",
                           "127.0.0.1 \"GET /launcher/game-launcher\" 200 102403\n",
                           "127.0.0.1 \"GET /nothing.png\" 404 "})
    EXPECT_NE(std::string::npos, log.find(line)) << line << " in\n" << log;
}

// A file named "launch" in the served directory is no answer.
TEST_F(LaunchServiceToolTest, TheAnswerRouteComesBeforeTheDirectorysFiles) {
  dir.Write("www/launch", "a file, not the answer");
  LaunchServiceProcess service(dir / "answer.json", dir / "www", dir / "service.log");
  ASSERT_TRUE(service.ok()) << ChildProcess::ReadAll(dir / "service.log.err");
  auto answer = Get(service, "/launch");
  ASSERT_TRUE(answer);
  EXPECT_EQ(200, answer->status);
  EXPECT_EQ(kAnswer, DecodeServiceAnswer(answer->body));
  EXPECT_TRUE(ChildProcess::WaitForText(dir / "service.log", "\"GET /launch\" 200 ")) << service.Log();
}

// The answer is read for every request, and so is it checked: an answer
// broken while the service runs is reported on the request that serves it.
TEST_F(LaunchServiceToolTest, AnAnswerBrokenWhileRunningIsReportedOnItsRequest) {
  LaunchServiceProcess service(dir / "answer.json", dir / "www", dir / "service.log");
  ASSERT_TRUE(service.ok());
  ASSERT_EQ(200, Get(service, "/launch")->status);
  EXPECT_EQ("", ChildProcess::ReadAll(dir / "service.log.err"));

  struct Case {
    std::string answer, warning;
  } cases[] = {
      {"{\"code\":", "is not valid JSON"},
      {"[1]", "should be an object with a \"data\" object"},
      {R"({"code":"1","data":{}})" + std::string(3000, ' '), "has 3022 bytes; the launcher decodes at most 2999"},
  };
  for (const Case& c : cases) {
    dir.Write("answer.json", c.answer);
    auto answer = Get(service, "/launch");
    ASSERT_TRUE(answer);
    EXPECT_EQ(200, answer->status);
    EXPECT_TRUE(ChildProcess::WaitForText(dir / "service.log.err", c.warning, std::chrono::seconds(10)))
        << c.warning << " in\n" << ChildProcess::ReadAll(dir / "service.log.err");
  }
  std::filesystem::remove(dir / "answer.json");
  EXPECT_EQ(500, Get(service, "/launch")->status);
  EXPECT_TRUE(ChildProcess::WaitForText(dir / "service.log.err", "cannot read the answer file",
                                        std::chrono::seconds(10)));
}

TEST_F(LaunchServiceToolTest, WarnsAboutAnswersTheLauncherCannotUse) {
  dir.Write("answer.json", "[1,2]" + std::string(3000, ' '));
  LaunchServiceProcess service(dir / "answer.json", dir / "www", dir / "service.log");
  ASSERT_TRUE(service.ok());
  std::string warnings = ChildProcess::ReadAll(dir / "service.log.err");
  EXPECT_NE(std::string::npos, warnings.find("should be an object")) << warnings;
  EXPECT_NE(std::string::npos, warnings.find("decodes at most 2999")) << warnings;
  // Served as it stands all the same; unscrambled here without the
  // launcher's capacity limit.
  std::string body = Get(service, "/launch")->body;
  std::string plain(body.size() / 2, '\0');
  unsigned char running = 0x3C;
  for (size_t k = plain.size(); k-- > 0;) {
    running ^= static_cast<unsigned char>(std::stoi(body.substr(2 * k, 2), nullptr, 16));
    plain[k] = static_cast<char>(running);
  }
  EXPECT_EQ("[1,2]" + std::string(3000, ' '), plain);
}

// With --rate, every moment of a file transfer is bounded by the rate: the
// client never holds more than rate x (time since it asked) plus a quarter
// second's worth (the server writes in pieces of about a tenth). A slow
// machine only makes the transfer slower, so no bound here depends on speed.
TEST_F(LaunchServiceToolTest, RateLimitsEachFileTransfer) {
  constexpr double kRate = 64 * 1024;
  const std::string payload = Binary();  // about 1.6 seconds' worth
  LaunchServiceProcess service(dir / "answer.json", dir / "www", dir / "service.log", {"--rate", "64K"});
  ASSERT_TRUE(service.ok()) << ChildProcess::ReadAll(dir / "service.log.err");

  httplib::Client client("127.0.0.1", Port(service));
  client.set_read_timeout(std::chrono::seconds(30));
  std::string body;
  std::string overrun;
  auto asked = std::chrono::steady_clock::now();
  auto result = client.Get("/launcher/game-launcher", [&](const char* data, size_t length) {
    body.append(data, length);
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - asked).count();
    if (overrun.empty() && body.size() > kRate * seconds + kRate / 4)
      overrun = std::to_string(body.size()) + " bytes after " + std::to_string(seconds) + " s";
    return true;
  });
  double took = std::chrono::duration<double>(std::chrono::steady_clock::now() - asked).count();
  ASSERT_TRUE(result);
  EXPECT_EQ(200, result->status);
  EXPECT_EQ(std::to_string(payload.size()), result->get_header_value("Content-Length"));
  EXPECT_TRUE(body == payload);
  EXPECT_EQ("", overrun);
  EXPECT_GE(took, (payload.size() - kRate / 4) / kRate);
  EXPECT_TRUE(ChildProcess::WaitForText(dir / "service.log", "\"GET /launcher/game-launcher\" 200 102403\n"))
      << service.Log();

  auto answer = Get(service, "/launch");
  ASSERT_TRUE(answer);
  EXPECT_EQ(kAnswer, DecodeServiceAnswer(answer->body));
  EXPECT_EQ(404, Get(service, "/nothing.png")->status);
}

TEST_F(LaunchServiceToolTest, RefusesBadCommandLines) {
  struct Case {
    std::vector<std::string> arguments;
    int code;
  } cases[] = {
      {{}, 2},
      {{"--dir", "www"}, 2},
      {{"--answer"}, 2},
      {{"--answer", "missing.json"}, 2},
      {{"--answer", "answer.json", "--port", "70000"}, 2},
      {{"--answer", "answer.json", "--port", "x"}, 2},
      {{"--answer", "answer.json", "--dir", "no-such-dir"}, 2},
      {{"--answer", "answer.json", "--what", "x"}, 2},
      {{"--answer", "answer.json", "--rate", "0"}, 2},
      {{"--answer", "answer.json", "--rate", "-5"}, 2},
      {{"--answer", "answer.json", "--rate", "fast"}, 2},
      {{"--answer", "answer.json", "--rate", "1KB"}, 2},
      {{"--answer", "answer.json", "--rate", "99999999M"}, 2},
      {{"--answer", "answer.json", "--rate"}, 2},
  };
  for (const Case& c : cases) {
    std::vector<std::string> arguments{LAUNCH_SERVICE_PATH};
    arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
    ChildProcess::Options options;
    options.directory = dir.path();
    options.output = dir / "out";
    options.error = dir / "err";
    ChildProcess child(arguments, options);
    EXPECT_EQ(c.code, child.Wait()) << (c.arguments.empty() ? "" : c.arguments.back());
  }
}

}  // namespace
