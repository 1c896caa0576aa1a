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
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/x509v3.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>

namespace {

// A certificate for 127.0.0.1 signed by its own key, both written as PEM.
// Made in this process, so the test needs no openssl command.
bool WriteSelfSignedCertificate(const std::filesystem::path& certificate, const std::filesystem::path& key) {
  std::unique_ptr<EVP_PKEY, decltype(&EVP_PKEY_free)> pkey(EVP_EC_gen("P-256"), EVP_PKEY_free);
  std::unique_ptr<X509, decltype(&X509_free)> x509(X509_new(), X509_free);
  if (!pkey || !x509) return false;
  X509_set_version(x509.get(), 2);
  ASN1_INTEGER_set(X509_get_serialNumber(x509.get()), 1);
  X509_gmtime_adj(X509_getm_notBefore(x509.get()), -60);
  X509_gmtime_adj(X509_getm_notAfter(x509.get()), 24 * 3600);
  X509_set_pubkey(x509.get(), pkey.get());
  X509_NAME* name = X509_get_subject_name(x509.get());
  X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC, reinterpret_cast<const unsigned char*>("127.0.0.1"), -1,
                             -1, 0);
  X509_set_issuer_name(x509.get(), name);
  X509V3_CTX context;
  X509V3_set_ctx_nodb(&context);
  X509V3_set_ctx(&context, x509.get(), x509.get(), nullptr, nullptr, 0);
  X509_EXTENSION* names = X509V3_EXT_conf_nid(nullptr, &context, NID_subject_alt_name, "IP:127.0.0.1");
  if (!names) return false;
  bool ok = X509_add_ext(x509.get(), names, -1) == 1;
  X509_EXTENSION_free(names);
  ok = ok && X509_sign(x509.get(), pkey.get(), EVP_sha256()) > 0;

  auto write = [](const std::filesystem::path& path, auto&& put) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    bool written = put(file);
    return std::fclose(file) == 0 && written;
  };
  return ok &&
         write(key, [&](FILE* f) { return PEM_write_PrivateKey(f, pkey.get(), nullptr, nullptr, 0, nullptr, nullptr) == 1; }) &&
         write(certificate, [&](FILE* f) { return PEM_write_X509(f, x509.get()) == 1; });
}

class TlsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(WriteSelfSignedCertificate(dir / "cert.pem", dir / "key.pem"));
    server = std::make_unique<httplib::SSLServer>((dir / "cert.pem").c_str(), (dir / "key.pem").c_str());
    ASSERT_TRUE(server->is_valid());
    server->Get("/launch", [](const httplib::Request&, httplib::Response& response) {
      response.set_content(EncodeServiceAnswer(R"({"code":"1","info":"","data":{"up_version":"2"}})"),
                           "text/plain");
    });
    port = server->bind_to_any_port("127.0.0.1");
    ASSERT_GT(port, 0);
    thread = std::thread([this] { server->listen_after_bind(); });
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!server->is_running() && std::chrono::steady_clock::now() < deadline)
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    ASSERT_TRUE(server->is_running()) << "the TLS server did not start within 10 s";
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
