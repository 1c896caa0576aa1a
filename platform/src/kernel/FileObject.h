// An open file or directory behind a kernel handle, with the share-mode
// bookkeeping Win32 does and Linux does not (within this process).
#pragma once

#include <sys/types.h>

#include <string>

#include "kernel/Handles.h"

namespace platform::kernel {

class FileObject : public KernelObject {
 public:
  FileObject(int fd, DWORD access, DWORD share, dev_t dev, ino_t ino);
  ~FileObject() override;

  int fd() const { return fd_; }
  bool canRead() const { return access_ & kRead; }
  bool canWrite() const { return access_ & kWrite; }

  static constexpr DWORD kRead = 1, kWrite = 2;

 private:
  int fd_;
  DWORD access_;
  dev_t dev_;
  ino_t ino_;
};

// Whether a new opener with access (kRead | kWrite) and share mode fits
// beside the openers of (dev, ino) in this process.
bool ShareModesAllow(dev_t dev, ino_t ino, DWORD access, DWORD share);
// Whether every opener of (dev, ino) in this process shares deletion.
bool DeleteShared(dev_t dev, ino_t ino);

}  // namespace platform::kernel
