#include "HttpFile.h"

#include "LoopbackServer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>

namespace {

std::string Pattern(size_t size) {
  std::string body(size, '\0');
  for (size_t i = 0; i < size; ++i) body[i] = static_cast<char>((i * 131 + 7) & 0xFF);
  return body;
}

// Reads the whole body in pieces of `piece` bytes; -1 in `status` on error.
std::string ReadAll(HttpFile& file, DWORD piece, long* status) {
  std::string all;
  std::string buffer(piece, '\0');
  for (;;) {
    long n = file.Read(buffer.data(), piece);
    *status = n;
    if (n <= 0) return all;
    all.append(buffer.data(), static_cast<size_t>(n));
  }
}

class HttpFileTest : public ::testing::Test {
 protected:
  LoopbackServer server;
  HttpFile::Timeouts shortTimeouts{5, 2};
};

TEST_F(HttpFileTest, ReadsAStatedBodyInPiecesWithTheAgreedRequest) {
  const std::string body = Pattern(300 * 1024 + 17);
  httplib::Headers seen;
  server.server().Get("/files/pkg.7z", [&](const httplib::Request& request, httplib::Response& response) {
    seen = request.headers;
    response.set_content(body, "application/octet-stream");
  });
  server.Start();

  HttpFile file(shortTimeouts);
  ASSERT_TRUE(file.Open(server.WideUrl("/files/pkg.7z").c_str())) << file.GetErrorText();
  EXPECT_EQ(200, file.GetStatus());
  EXPECT_TRUE(file.HasLength());
  EXPECT_EQ(body.size(), file.GetLength());
  EXPECT_EQ(L"pkg.7z", file.GetFileName());
  long last = 0;
  EXPECT_EQ(body, ReadAll(file, 512, &last));
  EXPECT_EQ(0, last);
  EXPECT_EQ(0, file.Read(nullptr, 0));

  auto header = [&](const char* name) {
    auto it = seen.find(name);
    return it == seen.end() ? std::string("(missing)") : it->second;
  };
  EXPECT_EQ("myagent", header("User-Agent"));
  EXPECT_EQ("no-cache", header("Cache-Control"));
  EXPECT_EQ("no-cache", header("Pragma"));
  EXPECT_EQ("(missing)", header("Accept-Encoding"));
}

TEST_F(HttpFileTest, AWholeBodyArrivesInOneLargeRead) {
  const std::string body = Pattern(200 * 1024);
  server.server().Get("/b", [&](const httplib::Request&, httplib::Response& response) {
    response.set_content(body, "application/octet-stream");
  });
  server.Start();

  HttpFile file(shortTimeouts);
  ASSERT_TRUE(file.Open(server.WideUrl("/b").c_str()));
  std::string buffer(body.size() + 1, '\0');
  EXPECT_EQ(static_cast<long>(body.size()), file.Read(buffer.data(), static_cast<DWORD>(buffer.size())));
  buffer.resize(body.size());
  EXPECT_EQ(body, buffer);
  EXPECT_EQ(0, file.Read(buffer.data(), 10));
}

TEST_F(HttpFileTest, ReportsMissingLengthAndErrorStatus) {
  server.server().Get("/chunked", [](const httplib::Request&, httplib::Response& response) {
    response.set_chunked_content_provider("text/plain", [](size_t, httplib::DataSink& sink) {
      sink.write("abc", 3);
      sink.done();
      return true;
    });
  });
  server.server().Get("/missing", [](const httplib::Request&, httplib::Response& response) {
    response.status = 404;
    response.set_content("not here", "text/plain");
  });
  server.Start();

  HttpFile chunked(shortTimeouts);
  ASSERT_TRUE(chunked.Open(server.WideUrl("/chunked").c_str()));
  EXPECT_FALSE(chunked.HasLength());
  EXPECT_EQ(0u, chunked.GetLength());

  HttpFile missing(shortTimeouts);
  ASSERT_TRUE(missing.Open(server.WideUrl("/missing").c_str()));
  EXPECT_EQ(404, missing.GetStatus());
}

TEST_F(HttpFileTest, FollowsRedirectsAndEncodesUnsafeCharacters) {
  std::string path;
  server.server().Get("/old", [](const httplib::Request&, httplib::Response& response) {
    response.set_redirect("/new dir/文件.bin");
  });
  server.server().Get(R"(/new.*)", [&](const httplib::Request& request, httplib::Response& response) {
    path = request.path;
    response.set_content("moved", "application/octet-stream");
  });
  server.Start();

  HttpFile file(shortTimeouts);
  ASSERT_TRUE(file.Open((server.WideUrl("/ol") + L"d").c_str()));
  EXPECT_EQ(200, file.GetStatus());
  EXPECT_EQ(5u, file.GetLength());

  HttpFile spaced(shortTimeouts);
  ASSERT_TRUE(spaced.Open((server.WideUrl("/new dir/") + L"文件.bin").c_str())) << spaced.GetErrorText();
  EXPECT_EQ(200, spaced.GetStatus());
  EXPECT_EQ("/new dir/文件.bin", path);
}

TEST_F(HttpFileTest, TransportFailuresAreErrors) {
  server.server().Get("/stall-before", [&](const httplib::Request&, httplib::Response& response) {
    server.StallFor(std::chrono::seconds(60));
    response.set_content("late", "text/plain");
  });
  server.server().Get("/stall-during", [&](const httplib::Request&, httplib::Response& response) {
    response.set_content_provider(1000, "application/octet-stream",
                                  [&](size_t offset, size_t, httplib::DataSink& sink) {
                                    if (offset == 0) return sink.write(std::string(400, 'x').data(), 400);
                                    server.StallFor(std::chrono::seconds(60));
                                    return false;
                                  });
  });
  server.server().Get("/short", [&](const httplib::Request&, httplib::Response& response) {
    response.set_content_provider(1000, "application/octet-stream",
                                  [&](size_t, size_t, httplib::DataSink& sink) {
                                    sink.write(std::string(300, 'y').data(), 300);
                                    return false;  // closes the connection half-way
                                  });
  });
  server.Start();

  HttpFile refused(shortTimeouts);
  EXPECT_FALSE(refused.Open(L"http://127.0.0.1:1/x"));
  EXPECT_FALSE(refused.GetErrorText().empty());
  EXPECT_EQ(-1, refused.Read(nullptr, 0));

  for (const wchar_t* bad : {L"", L"not a url", L"ftp://127.0.0.1/x", L"file:///etc/passwd"}) {
    HttpFile file(shortTimeouts);
    EXPECT_FALSE(file.Open(bad)) << bad;
  }

  HttpFile before(shortTimeouts);
  EXPECT_FALSE(before.Open(server.WideUrl("/stall-before").c_str()));

  for (const char* path : {"/stall-during", "/short"}) {
    HttpFile file(shortTimeouts);
    ASSERT_TRUE(file.Open(server.WideUrl(path).c_str())) << path;
    EXPECT_EQ(1000u, file.GetLength());
    long last = 0;
    std::string got = ReadAll(file, 512, &last);
    EXPECT_EQ(-1, last) << path;
    EXPECT_LT(got.size(), 1000u) << path;
    EXPECT_FALSE(file.GetErrorText().empty());
  }
}

// The resident set now, in bytes.
size_t ResidentBytes() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("VmRSS:", 0) == 0) return std::stoul(line.substr(6)) * 1024;
  return 0;
}

TEST_F(HttpFileTest, MemoryStaysBoundedWhileALargeBodyIsReadSlowly) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "the sanitizer's quarantine keeps freed memory resident";
#endif
  constexpr size_t kBody = 96u << 20;
  server.server().Get("/large", [](const httplib::Request&, httplib::Response& response) {
    response.set_content_provider(kBody, "application/octet-stream",
                                  [](size_t, size_t length, httplib::DataSink& sink) {
                                    // One buffer for every piece: the test measures the reader.
                                    static const std::string piece(64 * 1024, 'p');
                                    return sink.write(piece.data(), std::min(length, piece.size()));
                                  });
  });
  server.Start();

  size_t before = ResidentBytes();
  HttpFile file(shortTimeouts);
  ASSERT_TRUE(file.Open(server.WideUrl("/large").c_str()));
  size_t highest = ResidentBytes(), total = 0;
  char piece[512];
  for (long n; (n = file.Read(piece, sizeof piece)) > 0;) {
    total += static_cast<size_t>(n);
    if (total % (4u << 20) == 0) highest = std::max(highest, ResidentBytes());
  }
  EXPECT_EQ(kBody, total);
  // Far below the body: what is held is one network chunk and the socket's buffers.
  EXPECT_LT(highest - before, 24u << 20);
}

TEST(HttpFileName, IsTheLastComponentOfTheObjectPart) {
  struct Case {
    const wchar_t* url;
    const wchar_t* name;
  } cases[] = {
      {L"http://host/a/b/pkg.7z", L"pkg.7z"},
      {L"http://host:8080/pkg.7z", L"pkg.7z"},
      {L"http://host/a\\b\\pkg.7z", L"pkg.7z"},
      {L"http://host/a/b:c.7z", L"c.7z"},
      {L"http://host/pkg.7z?v=2&x=/y", L"pkg.7z"},
      {L"http://host/pkg.7z#top", L"pkg.7z"},
      {L"http://host/dir/", L""},
      {L"http://host", L""},
      {L"http://host:8080", L""},
      {L"", L""},
  };
  for (const Case& c : cases) EXPECT_EQ(c.name, HttpFile::FileNameOf(c.url)) << c.url;
}

}  // namespace
