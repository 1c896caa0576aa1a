// Every way a URL enters the HTTP layer refuses one that does not name
// http or https: no request reaches the server, whatever libcurl would guess.
#include "Download.h"
#include "HttpFile.h"
#include "HttpScheme.h"
#include "LaunchService.h"
#include "ServiceAnswerEncoder.h"

#include "LoopbackServer.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>

namespace {

class UrlSchemeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    server.server().Get("/launch", [this](const httplib::Request&, httplib::Response& response) {
      ++requests;
      response.set_content(EncodeServiceAnswer(R"({"code":"1","data":{"uid":"u1"}})"), "text/plain");
    });
    server.server().Get("/file", [this](const httplib::Request&, httplib::Response& response) {
      ++requests;
      response.set_content("new", "application/octet-stream");
    });
    server.Start();
  }

  // What each entry point makes of `base` followed by a path: whether the
  // query, the download and the HTTP file got through.
  struct Outcome {
    bool query, download, open;
  };
  Outcome Try(const std::string& base) {
    testing::internal::CaptureStdout();
    bool query = QueryLaunchService((base + "/launch").c_str()).uid == "u1";
    testing::internal::GetCapturedStdout();
    dir.Write("dest", "original");
    bool download = DownloadToFile((base + "/file").c_str(), (dir / "dest").c_str()) == 0;
    EXPECT_EQ(download ? "new" : "original", dir.Read("dest")) << base;
    std::string url = base + "/file";
    HttpFile file(HttpFile::Timeouts{5, 5});
    bool open = file.Open(std::wstring(url.begin(), url.end()).c_str());
    return {query, download, open};
  }

  LoopbackServer server;
  TempDir dir;
  std::atomic<int> requests{0};
};

TEST_F(UrlSchemeTest, AUrlWithoutHttpOrHttpsReachesNoServer) {
  const std::string hostPort = "127.0.0.1:" + std::to_string(server.port());
  for (const std::string& base : {hostPort, "//" + hostPort, "localhost:" + std::to_string(server.port()),
                                  " http://" + hostPort, "ftp://" + hostPort, "httpx://" + hostPort}) {
    Outcome outcome = Try(base);
    EXPECT_FALSE(outcome.query) << base;
    EXPECT_FALSE(outcome.download) << base;
    EXPECT_FALSE(outcome.open) << base;
    EXPECT_EQ(0, requests.load()) << base;
  }
  // The scheme in any case is a scheme.
  for (const std::string& base : {"http://" + hostPort, "HTTP://" + hostPort, "hTtP://" + hostPort}) {
    Outcome outcome = Try(base);
    EXPECT_TRUE(outcome.query && outcome.download && outcome.open) << base;
  }
  EXPECT_EQ(9, requests.load());
}

TEST(HttpScheme, IsHttpOrHttpsFollowedByTwoSlashes) {
  for (const char* url : {"http://h", "https://h/x", "HTTPS://h", "http://"})
    EXPECT_TRUE(HasHttpScheme(url)) << url;
  for (const char* url : {"", "h/x", "http:/h", "http:h", "https:", "file:///etc/passwd", "ftp://h", " http://h"})
    EXPECT_FALSE(HasHttpScheme(url)) << url;
  EXPECT_FALSE(HasHttpScheme(nullptr));
}

}  // namespace
