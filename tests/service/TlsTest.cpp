// Every HTTPS transfer verifies the server's certificate: a self-signed
// certificate that names the right host must still be refused.
#include "Download.h"
#include "LaunchService.h"
#include "ServiceAnswerEncoder.h"

#include "TempDir.h"

#include <curl/curl.h>
#include "LaunchInfoPrint.h"

#include <gtest/gtest.h>
#include <httplib.h>

#include <cstdlib>
#include <string>
#include <thread>

namespace {

class TlsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string command = "openssl req -x509 -newkey rsa:2048 -nodes -days 1 -subj /CN=127.0.0.1"
                          " -addext subjectAltName=IP:127.0.0.1 -keyout " +
                          (dir / "key.pem").string() + " -out " + (dir / "cert.pem").string() + " 2>/dev/null";
    ASSERT_EQ(0, std::system(command.c_str()));
    server = std::make_unique<httplib::SSLServer>((dir / "cert.pem").c_str(), (dir / "key.pem").c_str());
    ASSERT_TRUE(server->is_valid());
    server->Get("/launch", [](const httplib::Request&, httplib::Response& response) {
      response.set_content(EncodeServiceAnswer(R"({"code":"1","info":"","data":{"up_version":"2"}})"),
                           "text/plain");
    });
    port = server->bind_to_any_port("127.0.0.1");
    thread = std::thread([this] { server->listen_after_bind(); });
    while (!server->is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  void TearDown() override {
    if (server) server->stop();
    if (thread.joinable()) thread.join();
  }
  std::string Url() const { return "https://127.0.0.1:" + std::to_string(port) + "/launch"; }

  TempDir dir;
  std::unique_ptr<httplib::SSLServer> server;
  std::thread thread;
  int port = 0;
};

TEST_F(TlsTest, AnUnverifiableServerIsNotBelieved) {
  // Without peer verification the server is reachable and answers.
  CURL* curl = curl_easy_init();
  std::string body;
  curl_easy_setopt(curl, CURLOPT_URL, Url().c_str());
  curl_easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, 0L);
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, +[](char* d, size_t s, size_t n, void* u) {
    static_cast<std::string*>(u)->append(d, s * n);
    return s * n;
  });
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, &body);
  ASSERT_EQ(CURLE_OK, curl_easy_perform(curl));
  curl_easy_cleanup(curl);
  ASSERT_FALSE(body.empty());

  testing::internal::CaptureStdout();
  LaunchInfo info = QueryLaunchService(Url().c_str());
  testing::internal::GetCapturedStdout();
  EXPECT_EQ(LaunchInfo(), info);

  std::string dest = (dir / "launcher").string();
  dir.Write("launcher", "original");
  EXPECT_EQ(-1, DownloadToFile(Url().c_str(), dest.c_str()));
  EXPECT_EQ("original", dir.Read("launcher"));
}

}  // namespace
