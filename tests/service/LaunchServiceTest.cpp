#include "LaunchService.h"
#include "ServiceAnswerEncoder.h"

#include "LoopbackServer.h"

#include "LaunchInfoPrint.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using testing::internal::CaptureStderr;
using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStderr;
using testing::internal::GetCapturedStdout;

class LaunchServiceTest : public ::testing::Test {
 protected:
  // Serves `body` as it stands at /launch.
  void Serve(std::string body, int status = 200) {
    m_body = std::move(body);
    server.server().Get("/launch", [this, status](const httplib::Request& request, httplib::Response& response) {
      m_request = request.headers;
      m_method = request.method;
      response.status = status;
      response.set_content(m_body, "text/plain");
    });
    server.Start();
  }

  // Runs the query; the captured standard output and error land in out/err.
  LaunchInfo Query(const std::string& url) {
    CaptureStdout();
    CaptureStderr();
    LaunchInfo info = QueryLaunchService(url.c_str());
    out = GetCapturedStdout();
    err = GetCapturedStderr();
    return info;
  }

  std::string Header(const char* name) const {
    auto it = m_request.find(name);
    return it == m_request.end() ? "(missing)" : it->second;
  }

  LoopbackServer server;
  std::string out, err, m_method;

 private:
  std::string m_body;
  httplib::Headers m_request;
};

TEST_F(LaunchServiceTest, ReadsTheScrambledAnswerWithTheFixedHeaders) {
  std::string json =
      R"({"code":"1","info":"欢迎","data":{"open":"game\\game.exe","uid":"7","up_version":"1",)"
      R"("up_url":"http://h/a\\b","game_version":"2"}})";
  Serve(EncodeServiceAnswer(json));

  LaunchInfo info = Query(server.Url("/launch"));
  EXPECT_EQ("1", info.code);
  EXPECT_EQ("欢迎", info.info);
  EXPECT_EQ("game\\game.exe", info.open);
  EXPECT_EQ("7", info.uid);
  EXPECT_EQ("http://h/a b", info.up_url);
  EXPECT_EQ("2", info.game_version);
  EXPECT_EQ("", err);
  // The decoded text, then its ANSI form (the same under a UTF-8 locale).
  EXPECT_EQ(json + "\n" + json + "\n", out);

  EXPECT_EQ("GET", m_method);
  EXPECT_EQ("application/json", Header("Content-Type"));
  EXPECT_EQ("application/json", Header("Accept"));
  EXPECT_EQ("utf-8", Header("charsets"));
}

TEST_F(LaunchServiceTest, ACodeOtherThanOneShowsTheInfoText) {
  Serve(EncodeServiceAnswer(R"({"code":"0","info":"服务器维护中","data":{"up_bg":"x"}})"));
  LaunchInfo info = Query(server.Url("/launch"));
  EXPECT_EQ("0", info.code);
  EXPECT_EQ("x", info.up_bg);
  EXPECT_EQ("[MessageBox] 提示 | 服务器维护中\n", err);
}

TEST_F(LaunchServiceTest, NumericCodeOneAndMissingCodeShowNothing) {
  int turn = 0;
  server.server().Get("/launch", [&turn](const httplib::Request&, httplib::Response& response) {
    const char* answers[] = {R"({"code":1,"info":"a","data":{}})", R"({"info":"b","data":{}})"};
    response.set_content(EncodeServiceAnswer(answers[turn++ % 2]), "text/plain");
  });
  server.Start();
  EXPECT_EQ("1", Query(server.Url("/launch")).code);
  EXPECT_EQ("", err);
  LaunchInfo second = Query(server.Url("/launch"));
  EXPECT_EQ("", second.code);
  EXPECT_EQ("b", second.info);
  EXPECT_EQ("", err);
}

TEST_F(LaunchServiceTest, UnusableAnswersGiveAnEmptyRecordAndNoBox) {
  struct Case {
    const char* name;
    std::string body;
    int status;
  } cases[] = {
      {"empty body", "", 200},
      {"not hex of JSON", "hello world", 200},
      {"error page", EncodeServiceAnswer(R"({"code":"0","info":"x"})") + "<html>", 200},
      {"6000 characters", EncodeServiceAnswer(std::string(2990, ' ') + R"({"code":"0","info":"x"})"), 200},
      {"a megabyte", std::string(1 << 20, 'A'), 200},
      {"array root", EncodeServiceAnswer(R"([{"code":"0","info":"x"}])"), 200},
      {"array member", EncodeServiceAnswer(R"({"code":"0","info":"x","data":{"uid":[1]}})"), 200},
  };
  for (const Case& c : cases) {
    LoopbackServer local;
    std::string body = c.body;
    local.server().Get("/launch", [&body, &c](const httplib::Request&, httplib::Response& response) {
      response.status = c.status;
      response.set_content(body, "text/plain");
    });
    local.Start();
    EXPECT_EQ(LaunchInfo(), Query(local.Url("/launch"))) << c.name;
    EXPECT_EQ("", err) << c.name;
  }
}

TEST_F(LaunchServiceTest, UnreachableOrMalformedUrlsGiveAnEmptyRecord) {
  for (std::string url : {std::string("http://127.0.0.1:1/launch"), std::string(""), std::string("::bad::"),
                          "http://127.0.0.1:1/" + std::string(5000, 'x')}) {
    EXPECT_EQ(LaunchInfo(), Query(url)) << url.substr(0, 40);
    EXPECT_EQ("", err);
  }
}

}  // namespace
