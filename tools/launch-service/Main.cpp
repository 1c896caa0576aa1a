// launch-service: the reference launch service. Serves the scrambled
// session answer at /launch and the files of a directory (launcher builds,
// background images, update packages) with their length. See README.md.
#include "ServiceAnswerEncoder.h"

#include <httplib.h>
#include <json/json.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

namespace {

// The launcher's decoder holds at most this many plain bytes.
constexpr size_t kLauncherCapacity = 2999;

struct Options {
  std::string answer;
  std::string directory;
  std::string bind = "127.0.0.1";
  int port = 8080;
};

void PrintUsage() {
  std::fprintf(stderr,
               "usage: launch-service --answer FILE [--dir DIR] [--port N] [--bind ADDRESS]\n"
               "  --answer FILE   JSON document served at /launch, read again for every request\n"
               "  --dir DIR       directory whose files are served by name (default: none)\n"
               "  --port N        TCP port, 0 picks a free one (default 8080)\n"
               "  --bind ADDRESS  address to listen on (default 127.0.0.1, loopback only)\n");
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
  server.set_logger([](const httplib::Request& request, const httplib::Response& response) {
    std::printf("%s \"%s %s\" %d %zu\n", request.remote_addr.c_str(), request.method.c_str(),
                request.target.c_str(), response.status, response.body.size());
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
