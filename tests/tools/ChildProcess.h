// Runs a program as a child process: its own working directory, extra
// environment variables, standard output and error appended to files (so
// that programs it starts in turn can write there too).
#pragma once

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

class ChildProcess {
 public:
  static constexpr int kTimedOut = -1000;

  struct Options {
    std::filesystem::path directory;
    std::map<std::string, std::string> environment;  // added or replaced; "" removes
    std::filesystem::path output;                    // standard output (appended)
    std::filesystem::path error;                     // standard error (appended)
  };

  ChildProcess(const std::vector<std::string>& arguments, const Options& options) : m_options(options) {
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
      std::string entry = *e;
      std::string name = entry.substr(0, entry.find('='));
      if (!options.environment.count(name)) env.push_back(entry);
    }
    for (const auto& [name, value] : options.environment)
      if (!value.empty()) env.push_back(name + "=" + value);

    std::vector<char*> argv, envp;
    std::vector<std::string> args = arguments;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    for (auto& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);
    std::string directory = options.directory.string();
    std::string out = options.output.string();
    std::string err = options.error.string();

    m_pid = fork();
    if (m_pid == 0) {
      int outFd = open(out.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
      int errFd = open(err.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
      int nullFd = open("/dev/null", O_RDONLY);
      if (outFd < 0 || errFd < 0 || nullFd < 0 || chdir(directory.c_str()) != 0) _exit(126);
      dup2(nullFd, 0);
      dup2(outFd, 1);
      dup2(errFd, 2);
      execve(argv[0], argv.data(), envp.data());
      _exit(127);
    }
  }

  ~ChildProcess() {
    if (m_pid > 0 && !m_done) {
      kill(m_pid, SIGKILL);
      waitpid(m_pid, nullptr, 0);
    }
  }
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // The exit code (0..255), or kTimedOut after killing it.
  int Wait(std::chrono::seconds limit = std::chrono::seconds(120)) {
    if (m_done) return m_code;
    auto end = std::chrono::steady_clock::now() + limit;
    for (;;) {
      int status = 0;
      pid_t got = waitpid(m_pid, &status, WNOHANG);
      if (got == m_pid) {
        m_done = true;
        m_code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        return m_code;
      }
      if (std::chrono::steady_clock::now() > end) {
        kill(m_pid, SIGKILL);
        waitpid(m_pid, nullptr, 0);
        m_done = true;
        m_code = kTimedOut;
        return m_code;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
  }

  void Terminate() {
    if (m_pid > 0 && !m_done) kill(m_pid, SIGTERM);
  }

  pid_t pid() const { return m_pid; }
  std::string Output() const { return ReadAll(m_options.output); }
  std::string Error() const { return ReadAll(m_options.error); }

  static std::string ReadAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }

  // Polls until `path` contains `text`; false after `limit`.
  static bool WaitForText(const std::filesystem::path& path, const std::string& text,
                          std::chrono::seconds limit = std::chrono::seconds(60)) {
    auto end = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < end) {
      if (ReadAll(path).find(text) != std::string::npos) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
  }

 private:
  Options m_options;
  pid_t m_pid = -1;
  bool m_done = false;
  int m_code = 0;
};
