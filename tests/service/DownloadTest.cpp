#include "Download.h"

#include "LoopbackServer.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <string>

namespace {

class DownloadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    server.server().Get(R"(/file/.*)", [](const httplib::Request& request, httplib::Response& response) {
      response.set_content("body of " + request.path, "application/octet-stream");
    });
    server.server().Get("/missing", [](const httplib::Request&, httplib::Response& response) {
      response.status = 404;
      response.set_content("<html>not found</html>", "text/html");
    });
    server.server().Get("/server-error", [](const httplib::Request&, httplib::Response& response) {
      response.status = 500;
      response.set_content("oops", "text/plain");
    });
    server.server().Get("/chunked", [](const httplib::Request&, httplib::Response& response) {
      response.set_chunked_content_provider("application/octet-stream", [](size_t, httplib::DataSink& sink) {
        sink.write("abc", 3);
        sink.done();
        return true;
      });
    });
    server.server().Get("/short", [](const httplib::Request&, httplib::Response& response) {
      response.set_content_provider(1000, "application/octet-stream", [](size_t, size_t, httplib::DataSink& sink) {
        sink.write("half", 4);
        return false;
      });
    });
    server.server().Get("/empty", [](const httplib::Request&, httplib::Response& response) {
      response.set_content("", "application/octet-stream");
    });
    server.Start();
  }

  std::string Dest() const { return (dir / "dest.bin").string(); }

  LoopbackServer server;
  TempDir dir;
};

TEST_F(DownloadTest, ReplacesTheDestinationWithTheWholeBody) {
  dir.Write("dest.bin", std::string(5000, 'o'));
  EXPECT_EQ(0, DownloadToFile(server.Url("/file/a.exe").c_str(), Dest().c_str()));
  EXPECT_EQ("body of /file/a.exe", dir.Read("dest.bin"));

  EXPECT_EQ(0, DownloadToFile(server.Url("/empty").c_str(), Dest().c_str()));
  EXPECT_EQ("", dir.Read("dest.bin"));
}

TEST_F(DownloadTest, FailuresLeaveTheDestinationUntouched) {
  const char* urls[] = {"", "not a url", "http://127.0.0.1:1/x"};
  const char* paths[] = {"/missing", "/server-error", "/chunked", "/short"};
  std::vector<std::string> all(std::begin(urls), std::end(urls));
  for (const char* path : paths) all.push_back(server.Url(path));
  for (const std::string& url : all) {
    dir.Write("dest.bin", "original");
    EXPECT_EQ(-1, DownloadToFile(url.c_str(), Dest().c_str())) << url;
    EXPECT_EQ("original", dir.Read("dest.bin")) << url;
  }
}

TEST_F(DownloadTest, UrlsBeyond299CharactersAndBadDestinationsAreRefused) {
  std::string base = server.Url("/file/");
  std::string fits = base + std::string(299 - base.size(), 'x');
  EXPECT_EQ(0, DownloadToFile(fits.c_str(), Dest().c_str()));
  EXPECT_EQ("body of /file/" + std::string(299 - base.size(), 'x'), dir.Read("dest.bin"));

  std::string tooLong = fits + "y";
  dir.Write("dest.bin", "original");
  EXPECT_EQ(-1, DownloadToFile(tooLong.c_str(), Dest().c_str()));
  EXPECT_EQ(-1, DownloadToFile((fits + std::string(100000, 'z')).c_str(), Dest().c_str()));
  EXPECT_EQ("original", dir.Read("dest.bin"));

  // Destinations that cannot be written are told apart from the network.
  std::string noDirectory = (dir / "no" / "such" / "dir.bin").string();
  EXPECT_EQ(kDownloadWriteFailure, DownloadToFile(server.Url("/file/a").c_str(), noDirectory.c_str()));
  std::string longPath = (dir / std::string(600, 'p')).string();
  EXPECT_EQ(kDownloadWriteFailure, DownloadToFile(server.Url("/file/a").c_str(), longPath.c_str()));
  EXPECT_EQ(kDownloadWriteFailure, DownloadToFile(server.Url("/file/a").c_str(), dir.path().string().c_str()));
  EXPECT_EQ(kDownloadNetworkFailure, DownloadToFile(server.Url("/missing").c_str(), noDirectory.c_str()));
}

class CurrentDirectory {
 public:
  explicit CurrentDirectory(const std::filesystem::path& path) : m_saved(std::filesystem::current_path()) {
    std::filesystem::current_path(path);
  }
  ~CurrentDirectory() { std::filesystem::current_path(m_saved); }

 private:
  std::filesystem::path m_saved;
};

TEST_F(DownloadTest, BackgroundImageLandsAtAFixedNameBelowTheCurrentDirectory) {
  CurrentDirectory here(dir.path());
  // The routine creates no directories.
  EXPECT_EQ(kDownloadWriteFailure, DownloadBackgroundImage(server.Url("/file/picture.jpg").c_str()));
  EXPECT_FALSE(std::filesystem::exists(dir / "Skin"));

  std::filesystem::create_directories(dir / "Skin" / "bk");
  EXPECT_EQ(0, DownloadBackgroundImage(server.Url("/file/picture.jpg").c_str()));
  EXPECT_EQ("body of /file/picture.jpg", dir.Read("Skin/bk/bg_1.png"));

  EXPECT_EQ(-1, DownloadBackgroundImage(server.Url("/missing").c_str()));
  EXPECT_EQ("body of /file/picture.jpg", dir.Read("Skin/bk/bg_1.png"));
  EXPECT_EQ(-1, DownloadBackgroundImage(""));
}

}  // namespace
