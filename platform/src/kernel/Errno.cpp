#include "kernel/Errno.h"

#include <sys/stat.h>

#include <cerrno>

#include "win32/Errors.h"

namespace platform::kernel {

DWORD Win32ErrorFromErrno(int error) {
  switch (error) {
    case 0: return ERROR_SUCCESS;
    case ENOENT: return ERROR_FILE_NOT_FOUND;
    case ENOTDIR: return ERROR_PATH_NOT_FOUND;
    case EACCES:
    case EPERM:
    case EISDIR: return ERROR_ACCESS_DENIED;
    case EEXIST: return ERROR_ALREADY_EXISTS;
    case ENAMETOOLONG: return ERROR_FILENAME_EXCED_RANGE;
    case ENOSPC:
    case EDQUOT: return ERROR_DISK_FULL;
    case EMFILE:
    case ENFILE: return ERROR_TOO_MANY_OPEN_FILES;
    case ENOMEM: return ERROR_NOT_ENOUGH_MEMORY;
    case EINVAL: return ERROR_INVALID_PARAMETER;
    case EBADF: return ERROR_INVALID_HANDLE;
    case ENOSYS: return ERROR_CALL_NOT_IMPLEMENTED;
    case EROFS: return ERROR_WRITE_PROTECT;
    case ENOTEMPTY: return ERROR_DIR_NOT_EMPTY;
    case EXDEV: return ERROR_NOT_SAME_DEVICE;
    case EBUSY:
    case ETXTBSY: return ERROR_BUSY;
    case ELOOP: return ERROR_CANT_RESOLVE_FILENAME;
    case EPIPE: return ERROR_BROKEN_PIPE;
    case ENOEXEC: return ERROR_BAD_FORMAT;
    case EIO: return ERROR_IO_DEVICE;
    default: return ERROR_GEN_FAILURE;
  }
}

void SetLastErrorFromErrno(int error, const std::string& nativePath) {
  DWORD code = Win32ErrorFromErrno(error);
  if (error == ENOENT && !nativePath.empty()) {
    std::string parent = nativePath;
    while (parent.size() > 1 && parent.back() == '/') parent.pop_back();
    size_t cut = parent.rfind('/');
    parent = cut == std::string::npos ? "." : (cut == 0 ? "/" : parent.substr(0, cut));
    struct stat st;
    if (stat(parent.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) code = ERROR_PATH_NOT_FOUND;
  }
  SetLastError(code);
}

}  // namespace platform::kernel
