// launch-service: the reference launch service. Serves the scrambled
// session answer at /launch and the files of a directory (launcher builds,
// background images, update packages) with their length, optionally at a
// limited rate. See README.md.
#include "ServiceAnswerEncoder.h"
#include "TransferPacing.h"

#include <httplib.h>
#include <json/json.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <thread>

namespace {

// The launcher's decoder holds at most this many plain bytes.
constexpr size_t kLauncherCapacity = 2999;
// Keeps the pacing arithmetic inside 64 bits; far above any real link.
constexpr uint64_t kFastestRate = uint64_t{1} << 34;

struct Options {
  std::string answer;
  std::string directory;
  std::string bind = "127.0.0.1";
  int port = 8080;
  uint64_t rate = 0;  // bytes per second for files; 0: as fast as possible
};

void PrintUsage() {
  std::fprintf(stderr,
               "usage: launch-service --answer FILE [--dir DIR] [--port N] [--bind ADDRESS] [--rate BYTES]\n"
               "  --answer FILE   JSON document served at /launch, read again for every request\n"
               "  --dir DIR       directory whose files are served by name (default: none)\n"
               "  --port N        TCP port, 0 picks a free one (default 8080)\n"
               "  --bind ADDRESS  address to listen on (default 127.0.0.1, loopback only)\n"
               "  --rate BYTES    bytes per second for each file transfer, K or M (x1024) may follow;\n"
               "                  the answer at /launch is never slowed (default: no limit)\n");
}

// A positive count of bytes per second, "250000", "512K" or "1M".
bool ParseRate(const std::string& text, uint64_t* rate) {
  if (text.empty() || text[0] < '0' || text[0] > '9') return false;
  char* end = nullptr;
  errno = 0;
  unsigned long long value = std::strtoull(text.c_str(), &end, 10);
  uint64_t unit = 1;
  if (*end == 'K' || *end == 'k') {
    unit = 1024;
    ++end;
  } else if (*end == 'M' || *end == 'm') {
    unit = 1024 * 1024;
    ++end;
  }
  if (errno || *end != '\0' || value == 0 || value > kFastestRate / unit) return false;
  *rate = value * unit;
  return true;
}

bool ParseOptions(int argc, char** argv, Options* options) {
  for (int i = 1; i < argc; ++i) {
    std::string name = argv[i];
    if (i + 1 >= argc) return false;
    std::string value = argv[++i];
    if (name == "--answer") {
      options->answer = value;
    } else if (name == "--dir") {
      options->directory = value;
    } else if (name == "--bind") {
      options->bind = value;
    } else if (name == "--rate") {
      if (!ParseRate(value, &options->rate)) return false;
    } else if (name == "--port") {
      char* end = nullptr;
      long port = std::strtol(value.c_str(), &end, 10);
      if (*end != '\0' || port < 0 || port > 65535) return false;
      options->port = static_cast<int>(port);
    } else {
      return false;
    }
  }
  return !options->answer.empty();
}

bool ReadFile(const std::string& path, std::string* content) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream text;
  text << in.rdbuf();
  *content = text.str();
  return true;
}

// Warnings for the operator on standard error, at start-up and on every
// request that serves the document; it is served as it stands, so a test
// can also hand the launcher a broken answer.
void CheckAnswer(const std::string& path, const std::string& document) {
  Json::CharReaderBuilder builder;
  std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
  Json::Value root;
  std::string errors;
  if (!reader->parse(document.data(), document.data() + document.size(), &root, &errors))
    std::fprintf(stderr, "warning: %s is not valid JSON: %s", path.c_str(), errors.c_str());
  else if (!root.isObject() || !root["data"].isObject())
    std::fprintf(stderr, "warning: %s should be an object with a \"data\" object\n", path.c_str());
  if (document.size() > kLauncherCapacity)
    std::fprintf(stderr, "warning: %s has %zu bytes; the launcher decodes at most %zu\n", path.c_str(),
                 document.size(), kLauncherCapacity);
}

// Replaces a file's body by the same bytes written on the pacing schedule.
// Each transfer keeps its own schedule, which starts with its first byte.
void PaceFile(const TransferPacing& pacing, httplib::Response& response) {
  auto body = std::make_shared<std::string>(std::move(response.body));
  response.body.clear();
  std::string type = response.get_header_value("Content-Type");
  response.headers.erase("Content-Type");
  auto start = std::make_shared<std::optional<std::chrono::steady_clock::time_point>>();
  response.set_content_provider(
      body->size(), type, [pacing, body, start](size_t offset, size_t length, httplib::DataSink& sink) {
        if (!*start) *start = std::chrono::steady_clock::now();
        std::this_thread::sleep_until(**start + pacing.DueAfter(offset));
        return sink.write(body->data() + offset, std::min(length, pacing.PieceSize()));
      });
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!ParseOptions(argc, argv, &options)) {
    PrintUsage();
    return 2;
  }
  std::string document;
  if (!ReadFile(options.answer, &document)) {
    std::fprintf(stderr, "cannot read the answer file %s\n", options.answer.c_str());
    return 2;
  }
  CheckAnswer(options.answer, document);

  httplib::Server server;
  if (!options.directory.empty()) {
    std::error_code error;
    if (!std::filesystem::is_directory(options.directory, error) || !server.set_mount_point("/", options.directory)) {
      std::fprintf(stderr, "cannot serve the directory %s\n", options.directory.c_str());
      return 2;
    }
    if (options.rate) {
      TransferPacing pacing(options.rate);
      server.set_file_request_handler(
          [pacing](const httplib::Request&, httplib::Response& response) { PaceFile(pacing, response); });
    }
  }
  // Before the directory's files, so that a file named "launch" there
  // cannot stand in for the answer.
  server.set_pre_routing_handler([&options](const httplib::Request& request, httplib::Response& response) {
    if (request.path != "/launch" || (request.method != "GET" && request.method != "HEAD"))
      return httplib::Server::HandlerResponse::Unhandled;
    std::string plain;
    if (!ReadFile(options.answer, &plain)) {
      std::fprintf(stderr, "warning: cannot read the answer file %s\n", options.answer.c_str());
      response.status = 500;
      response.set_content("answer file unreadable\n", "text/plain");
    } else {
      CheckAnswer(options.answer, plain);
      response.set_content(EncodeServiceAnswer(plain), "text/plain");
    }
    return httplib::Server::HandlerResponse::Handled;
  });
  // Called once the response has been written, so a paced file's line
  // comes when its transfer has ended; its size is the length it stated.
  server.set_logger([](const httplib::Request& request, const httplib::Response& response) {
    size_t size = response.body.size();
    if (!size && response.has_header("Content-Length"))
      size = std::strtoull(response.get_header_value("Content-Length").c_str(), nullptr, 10);
    std::printf("%s \"%s %s\" %d %zu\n", request.remote_addr.c_str(), request.method.c_str(),
                request.target.c_str(), response.status, size);
    std::fflush(stdout);
  });

  int port = options.port;
  if (port == 0) {
    port = server.bind_to_any_port(options.bind);
  } else if (!server.bind_to_port(options.bind, port)) {
    port = -1;
  }
  if (port <= 0) {
    std::fprintf(stderr, "cannot listen on %s:%d\n", options.bind.c_str(), options.port);
    return 1;
  }
  std::printf("listening on http://%s:%d/launch\n", options.bind.c_str(), port);
  std::fflush(stdout);
  return server.listen_after_bind() ? 0 : 1;
}
