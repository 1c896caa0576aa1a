// Named mutexes as per-user lock files: the holder keeps an flock on an
// open, close-on-exec descriptor, which the kernel drops however the
// process ends. A second holder (another process, or another handle in
// this one) finds the lock taken and gets ERROR_ALREADY_EXISTS.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>

#include "kernel/Errno.h"
#include "kernel/Handles.h"
#include "kernel/Text.h"
#include "win32/Errors.h"
#include "win32/System.h"

namespace pk = platform::kernel;

namespace {

class MutexObject : public pk::KernelObject {
 public:
  explicit MutexObject(int fd) : fd_(fd) {}
  ~MutexObject() override {
    if (fd_ >= 0) close(fd_);
  }

 private:
  int fd_;
};

std::string LockDirectory() {
  const char* runtime = getenv("XDG_RUNTIME_DIR");
  struct stat st;
  if (runtime && *runtime && stat(runtime, &st) == 0 && S_ISDIR(st.st_mode) && access(runtime, W_OK) == 0)
    return runtime;
  return "/tmp";
}

// Only letters, digits, '-' and '.' stand as they are; the rest is escaped.
std::string LockFileName(LPCWSTR name) {
  std::string out = "win32-mutex-" + std::to_string(getuid()) + "-";
  for (unsigned char c : pk::WideToUtf8(name)) {
    if (isalnum(c) || c == '-' || c == '.') {
      out.push_back(static_cast<char>(c));
    } else {
      char hex[4];
      snprintf(hex, sizeof hex, "_%02X", c);
      out += hex;
    }
  }
  return out + ".lock";
}

}  // namespace

HANDLE WINAPI CreateMutexW(LPSECURITY_ATTRIBUTES, BOOL, LPCWSTR lpName) {
  if (!lpName || !*lpName) {
    SetLastError(ERROR_SUCCESS);
    return pk::AddHandle(std::make_shared<MutexObject>(-1));
  }
  std::string path = LockDirectory() + "/" + LockFileName(lpName);
  int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (fd < 0) {
    pk::SetLastErrorFromErrno(errno, path);
    return nullptr;
  }
  bool taken = flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
  HANDLE handle = pk::AddHandle(std::make_shared<MutexObject>(fd));
  SetLastError(taken ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
  return handle;
}

BOOL WINAPI ReleaseMutex(HANDLE hMutex) { return pk::FindHandleOf<MutexObject>(hMutex) ? TRUE : FALSE; }
