#include "kernel/FileObject.h"

#include <unistd.h>

#include <map>
#include <mutex>
#include <vector>

#include "win32/Files.h"

namespace platform::kernel {
namespace {

struct Opener {
  const FileObject* owner;
  DWORD access;
  DWORD share;
};

std::mutex g_lock;
std::map<std::pair<dev_t, ino_t>, std::vector<Opener>> g_openers;

}  // namespace

FileObject::FileObject(int fd, DWORD access, DWORD share, dev_t dev, ino_t ino) : fd_(fd), access_(access), dev_(dev), ino_(ino) {
  std::lock_guard lock(g_lock);
  g_openers[{dev, ino}].push_back({this, access, share});
}

FileObject::~FileObject() {
  {
    std::lock_guard lock(g_lock);
    auto it = g_openers.find({dev_, ino_});
    if (it != g_openers.end()) {
      std::erase_if(it->second, [this](const Opener& o) { return o.owner == this; });
      if (it->second.empty()) g_openers.erase(it);
    }
  }
  close(fd_);
}

bool ShareModesAllow(dev_t dev, ino_t ino, DWORD access, DWORD share) {
  std::lock_guard lock(g_lock);
  auto it = g_openers.find({dev, ino});
  if (it == g_openers.end()) return true;
  for (const Opener& o : it->second) {
    if ((access & FileObject::kRead) && !(o.share & FILE_SHARE_READ)) return false;
    if ((access & FileObject::kWrite) && !(o.share & FILE_SHARE_WRITE)) return false;
    if ((o.access & FileObject::kRead) && !(share & FILE_SHARE_READ)) return false;
    if ((o.access & FileObject::kWrite) && !(share & FILE_SHARE_WRITE)) return false;
  }
  return true;
}

bool DeleteShared(dev_t dev, ino_t ino) {
  std::lock_guard lock(g_lock);
  auto it = g_openers.find({dev, ino});
  if (it == g_openers.end()) return true;
  for (const Opener& o : it->second)
    if (!(o.share & FILE_SHARE_DELETE)) return false;
  return true;
}

}  // namespace platform::kernel
