// "open" of an executable file. The program is started through a short-
// lived intermediate child, so it is never left as this process's zombie
// (a zombie would still appear in the process list); exec failures come
// back through a close-on-exec pipe.
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cwctype>
#include <string>
#include <vector>

#include "kernel/Text.h"
#include "win32/Errors.h"
#include "win32/Processes.h"

namespace pk = platform::kernel;

namespace {

HINSTANCE Result(intptr_t value) { return reinterpret_cast<HINSTANCE>(value); }

bool IsFile(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// The program file: relative to the directory first, then as given, then
// (a bare name) on PATH.
std::string Resolve(const std::string& file, const std::string& directory) {
  if (file.front() == '/') return IsFile(file) ? file : std::string();
  if (!directory.empty() && IsFile(directory + "/" + file)) return directory + "/" + file;
  if (IsFile(file)) return file;
  if (file.find('/') == std::string::npos) {
    const char* path = getenv("PATH");
    std::string list = path ? path : "";
    for (size_t start = 0; start <= list.size();) {
      size_t end = list.find(':', start);
      if (end == std::string::npos) end = list.size();
      std::string candidate = list.substr(start, end - start) + "/" + file;
      if (end > start && IsFile(candidate)) return candidate;
      start = end + 1;
    }
  }
  return {};
}

std::string Absolute(const std::string& path) {
  if (path.front() == '/') return path;
  char* cwd = getcwd(nullptr, 0);
  std::string full = cwd ? std::string(cwd) + "/" + path : path;
  free(cwd);
  return full;
}

}  // namespace

HINSTANCE WINAPI ShellExecuteW(HWND, LPCWSTR lpOperation, LPCWSTR lpFile, LPCWSTR lpParameters,
                               LPCWSTR lpDirectory, INT) {
  if (lpOperation && *lpOperation) {
    std::wstring verb = lpOperation;
    for (auto& c : verb) c = static_cast<wchar_t>(towlower(static_cast<wint_t>(c)));
    if (verb != L"open") return Result(SE_ERR_NOASSOC);
  }
  if (!lpFile || !*lpFile) return Result(SE_ERR_FNF);
  const std::string directory = lpDirectory ? pk::NativePath(lpDirectory) : std::string();
  struct stat st;
  if (!directory.empty() && (stat(directory.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))) return Result(SE_ERR_PNF);
  std::string program = Resolve(pk::NativePath(lpFile), directory);
  if (program.empty()) return Result(SE_ERR_FNF);
  program = Absolute(program);
  if (access(program.c_str(), X_OK) != 0) return Result(SE_ERR_ACCESSDENIED);

  // Everything the children need is made before fork.
  std::vector<std::string> args{program};
  if (lpParameters && *lpParameters) {
    std::wstring line = L"x " + std::wstring(lpParameters);
    int count = 0;
    LPWSTR* argv = CommandLineToArgvW(line.c_str(), &count);
    for (int i = 1; argv && i < count; ++i) args.push_back(pk::WideToUtf8(argv[i]));
    LocalFree(argv);
  }
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);

  int report[2];
  if (pipe2(report, O_CLOEXEC) != 0) return Result(SE_ERR_OOM);
  pid_t child = fork();
  if (child < 0) {
    close(report[0]);
    close(report[1]);
    return Result(SE_ERR_OOM);
  }
  if (child == 0) {
    if (fork() != 0) _exit(0);  // the intermediate child leaves at once
    setsid();
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    signal(SIGPIPE, SIG_DFL);
    int error = 0;
    if (!directory.empty() && chdir(directory.c_str()) != 0) error = errno;
    if (!error) {
      execv(program.c_str(), argv.data());
      error = errno;
    }
    ssize_t ignored = write(report[1], &error, sizeof error);
    (void)ignored;
    _exit(127);
  }
  close(report[1]);
  int status;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  int error = 0;
  ssize_t got;
  do got = read(report[0], &error, sizeof error);
  while (got < 0 && errno == EINTR);
  close(report[0]);
  if (got == static_cast<ssize_t>(sizeof error)) {
    switch (error) {
      case ENOENT: return Result(SE_ERR_FNF);
      case ENOTDIR: return Result(SE_ERR_PNF);
      case EACCES:
      case EPERM: return Result(SE_ERR_ACCESSDENIED);
      case ENOEXEC: return Result(ERROR_BAD_FORMAT);
      case ENOMEM: return Result(SE_ERR_OOM);
      default: return Result(SE_ERR_NOASSOC);
    }
  }
  return Result(42);
}
