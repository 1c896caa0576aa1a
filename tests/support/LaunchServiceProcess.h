// The reference launch service as a child process on a free loopback port.
#pragma once

#include "ChildProcess.h"

#include <memory>
#include <regex>
#include <string>

class LaunchServiceProcess {
 public:
  // Serves `answer` (a JSON file) and the files below `directory`; its
  // output goes to `log` (the first line names the URL). `more` are further
  // options, such as {"--rate", "64K"}.
  LaunchServiceProcess(const std::filesystem::path& answer, const std::filesystem::path& directory,
                       const std::filesystem::path& log, const std::vector<std::string>& more = {})
      : m_log(log) {
    ChildProcess::Options options;
    options.directory = directory;
    options.output = log;
    options.error = log.string() + ".err";
    std::vector<std::string> arguments{LAUNCH_SERVICE_PATH, "--answer", answer.string(), "--dir", directory.string(),
                                       "--port", "0"};
    arguments.insert(arguments.end(), more.begin(), more.end());
    m_process = std::make_unique<ChildProcess>(arguments, options);
    if (ChildProcess::WaitForText(log, "/launch\n")) {
      std::smatch match;
      std::string text = ChildProcess::ReadAll(log);
      static const std::regex kListening("listening on (http://127\\.0\\.0\\.1:([0-9]+))/launch");
      if (std::regex_search(text, match, kListening)) m_base = match[1];
    }
  }
  ~LaunchServiceProcess() {
    m_process->Terminate();
    m_process->Wait();
  }

  bool ok() const { return !m_base.empty(); }
  // http://127.0.0.1:PORT followed by `path`.
  std::string Url(const std::string& path) const { return m_base + path; }
  std::string Log() const { return ChildProcess::ReadAll(m_log); }

 private:
  std::filesystem::path m_log;
  std::unique_ptr<ChildProcess> m_process;
  std::string m_base;
};
