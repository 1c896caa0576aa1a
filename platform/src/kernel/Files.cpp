// Files and directories on POSIX calls. Win32 behaviour kept where Linux
// differs: the read-only attribute (no write bits) refuses writing and
// deleting even to root; share modes are honoured among this process's
// handles; directories open only with FILE_FLAG_BACKUP_SEMANTICS.
#include "win32/Files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <vector>

#include "kernel/Errno.h"
#include "kernel/FileObject.h"
#include "kernel/FileTime.h"
#include "kernel/Text.h"
#include "win32/Errors.h"

namespace pk = platform::kernel;

namespace {

bool IsReadOnlyMode(mode_t mode) { return (mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0; }

DWORD AttributesOf(const struct stat& st, bool isLink) {
  DWORD attributes = 0;
  if (S_ISDIR(st.st_mode)) attributes |= FILE_ATTRIBUTE_DIRECTORY;
  else attributes |= FILE_ATTRIBUTE_ARCHIVE;
  if (IsReadOnlyMode(st.st_mode)) attributes |= FILE_ATTRIBUTE_READONLY;
  if (isLink) attributes |= FILE_ATTRIBUTE_REPARSE_POINT;
  return attributes;
}

DWORD AccessBits(DWORD desired) {
  DWORD bits = 0;
  if (desired & (GENERIC_READ | GENERIC_ALL | GENERIC_EXECUTE)) bits |= pk::FileObject::kRead;
  if (desired & (GENERIC_WRITE | GENERIC_ALL)) bits |= pk::FileObject::kWrite;
  return bits;
}

std::shared_ptr<pk::FileObject> FileOf(HANDLE handle) { return pk::FindHandleOf<pk::FileObject>(handle); }

}  // namespace

HANDLE WINAPI CreateFileW(LPCWSTR lpFileName, DWORD dwDesiredAccess, DWORD dwShareMode, LPSECURITY_ATTRIBUTES,
                          DWORD dwCreationDisposition, DWORD dwFlagsAndAttributes, HANDLE) {
  if (!lpFileName || !*lpFileName) {
    SetLastError(ERROR_PATH_NOT_FOUND);
    return INVALID_HANDLE_VALUE;
  }
  const std::string path = pk::NativePath(lpFileName);
  const DWORD access = AccessBits(dwDesiredAccess);
  struct stat st;
  const bool exists = stat(path.c_str(), &st) == 0;

  int flags = O_CLOEXEC;
  switch (dwCreationDisposition) {
    case CREATE_NEW: flags |= O_CREAT | O_EXCL; break;
    case CREATE_ALWAYS: flags |= O_CREAT | O_TRUNC; break;
    case OPEN_EXISTING: break;
    case OPEN_ALWAYS: flags |= O_CREAT; break;
    case TRUNCATE_EXISTING:
      if (!(access & pk::FileObject::kWrite)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
      }
      flags |= O_TRUNC;
      break;
    default: SetLastError(ERROR_INVALID_PARAMETER); return INVALID_HANDLE_VALUE;
  }

  if (exists) {
    if (dwCreationDisposition == CREATE_NEW) {
      SetLastError(ERROR_FILE_EXISTS);
      return INVALID_HANDLE_VALUE;
    }
    if (S_ISDIR(st.st_mode)) {
      if (!(dwFlagsAndAttributes & FILE_FLAG_BACKUP_SEMANTICS) || (flags & O_TRUNC) ||
          (access & pk::FileObject::kWrite)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return INVALID_HANDLE_VALUE;
      }
      flags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;
    } else if (IsReadOnlyMode(st.st_mode) && ((access & pk::FileObject::kWrite) || (flags & O_TRUNC))) {
      SetLastError(ERROR_ACCESS_DENIED);
      return INVALID_HANDLE_VALUE;
    }
    if (!pk::ShareModesAllow(st.st_dev, st.st_ino, access, dwShareMode)) {
      SetLastError(ERROR_SHARING_VIOLATION);
      return INVALID_HANDLE_VALUE;
    }
  }

  if (!(flags & O_DIRECTORY)) {
    if ((access & pk::FileObject::kRead) && (access & pk::FileObject::kWrite)) flags |= O_RDWR;
    else if (access & pk::FileObject::kWrite) flags |= O_WRONLY;
    else flags |= O_RDONLY;
  }
  const mode_t mode = (dwFlagsAndAttributes & FILE_ATTRIBUTE_READONLY) ? 0444 : 0666;
  int fd;
  do fd = open(path.c_str(), flags, mode);
  while (fd < 0 && errno == EINTR);
  if (fd < 0) {
    int error = errno;
    if (error == EEXIST) SetLastError(ERROR_FILE_EXISTS);
    else pk::SetLastErrorFromErrno(error, path);
    return INVALID_HANDLE_VALUE;
  }
  struct stat opened;
  fstat(fd, &opened);
  HANDLE handle = pk::AddHandle(
      std::make_shared<pk::FileObject>(fd, access, dwShareMode, opened.st_dev, opened.st_ino));
  const bool reported = exists && (dwCreationDisposition == CREATE_ALWAYS || dwCreationDisposition == OPEN_ALWAYS);
  SetLastError(reported ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
  return handle;
}

BOOL WINAPI ReadFile(HANDLE hFile, LPVOID lpBuffer, DWORD nNumberOfBytesToRead, LPDWORD lpNumberOfBytesRead,
                     LPVOID) {
  if (lpNumberOfBytesRead) *lpNumberOfBytesRead = 0;
  auto file = FileOf(hFile);
  if (!file) return FALSE;
  if (!file->canRead()) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  if (nNumberOfBytesToRead && !lpBuffer) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  ssize_t got;
  do got = read(file->fd(), lpBuffer, nNumberOfBytesToRead);
  while (got < 0 && errno == EINTR);
  if (got < 0) {
    pk::SetLastErrorFromErrno(errno);
    return FALSE;
  }
  if (lpNumberOfBytesRead) *lpNumberOfBytesRead = static_cast<DWORD>(got);
  return TRUE;
}

BOOL WINAPI WriteFile(HANDLE hFile, LPCVOID lpBuffer, DWORD nNumberOfBytesToWrite,
                      LPDWORD lpNumberOfBytesWritten, LPVOID) {
  if (lpNumberOfBytesWritten) *lpNumberOfBytesWritten = 0;
  auto file = FileOf(hFile);
  if (!file) return FALSE;
  if (!file->canWrite()) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  if (nNumberOfBytesToWrite && !lpBuffer) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  // A file write is complete unless it fails, as on Win32.
  DWORD done = 0;
  const char* data = static_cast<const char*>(lpBuffer);
  while (done < nNumberOfBytesToWrite) {
    ssize_t put = write(file->fd(), data + done, nNumberOfBytesToWrite - done);
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) {
      if (lpNumberOfBytesWritten) *lpNumberOfBytesWritten = done;
      pk::SetLastErrorFromErrno(put < 0 ? errno : ENOSPC);
      return FALSE;
    }
    done += static_cast<DWORD>(put);
  }
  if (lpNumberOfBytesWritten) *lpNumberOfBytesWritten = done;
  return TRUE;
}

BOOL WINAPI SetFilePointerEx(HANDLE hFile, LARGE_INTEGER liDistanceToMove, PLARGE_INTEGER lpNewFilePointer,
                             DWORD dwMoveMethod) {
  auto file = FileOf(hFile);
  if (!file) return FALSE;
  off_t base;
  switch (dwMoveMethod) {
    case FILE_BEGIN: base = 0; break;
    case FILE_CURRENT: base = lseek(file->fd(), 0, SEEK_CUR); break;
    case FILE_END: {
      struct stat st;
      if (fstat(file->fd(), &st) != 0) {
        pk::SetLastErrorFromErrno(errno);
        return FALSE;
      }
      base = st.st_size;
      break;
    }
    default: SetLastError(ERROR_INVALID_PARAMETER); return FALSE;
  }
  if (base < 0) {
    pk::SetLastErrorFromErrno(errno);
    return FALSE;
  }
  LONGLONG distance = liDistanceToMove.QuadPart;
  if ((distance < 0 && base + distance < 0) || (distance > 0 && base > LLONG_MAX - distance)) {
    SetLastError(distance < 0 ? ERROR_NEGATIVE_SEEK : ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  off_t target = lseek(file->fd(), base + distance, SEEK_SET);
  if (target < 0) {
    pk::SetLastErrorFromErrno(errno);
    return FALSE;
  }
  if (lpNewFilePointer) lpNewFilePointer->QuadPart = target;
  return TRUE;
}

BOOL WINAPI GetFileSizeEx(HANDLE hFile, PLARGE_INTEGER lpFileSize) {
  auto file = FileOf(hFile);
  if (!file) return FALSE;
  struct stat st;
  if (fstat(file->fd(), &st) != 0) {
    pk::SetLastErrorFromErrno(errno);
    return FALSE;
  }
  if (!lpFileSize) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  lpFileSize->QuadPart = st.st_size;
  return TRUE;
}

BOOL WINAPI SetEndOfFile(HANDLE hFile) {
  auto file = FileOf(hFile);
  if (!file) return FALSE;
  if (!file->canWrite()) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  off_t position = lseek(file->fd(), 0, SEEK_CUR);
  if (position < 0 || ftruncate(file->fd(), position) != 0) {
    pk::SetLastErrorFromErrno(errno);
    return FALSE;
  }
  return TRUE;
}

BOOL WINAPI FlushFileBuffers(HANDLE hFile) {
  auto file = FileOf(hFile);
  if (!file) return FALSE;
  if (fsync(file->fd()) != 0 && errno != EINVAL) {
    pk::SetLastErrorFromErrno(errno);
    return FALSE;
  }
  return TRUE;
}

BOOL WINAPI GetFileInformationByHandle(HANDLE hFile, LPBY_HANDLE_FILE_INFORMATION info) {
  auto file = FileOf(hFile);
  if (!file) return FALSE;
  if (!info) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  struct stat st;
  if (fstat(file->fd(), &st) != 0) {
    pk::SetLastErrorFromErrno(errno);
    return FALSE;
  }
  info->dwFileAttributes = AttributesOf(st, false);
  info->ftCreationTime = pk::FileTimeFromTimespec(st.st_ctim);
  info->ftLastAccessTime = pk::FileTimeFromTimespec(st.st_atim);
  info->ftLastWriteTime = pk::FileTimeFromTimespec(st.st_mtim);
  info->dwVolumeSerialNumber = static_cast<DWORD>(st.st_dev);
  info->nFileSizeHigh = static_cast<DWORD>(static_cast<uint64_t>(st.st_size) >> 32);
  info->nFileSizeLow = static_cast<DWORD>(st.st_size);
  info->nNumberOfLinks = static_cast<DWORD>(st.st_nlink);
  info->nFileIndexHigh = static_cast<DWORD>(static_cast<uint64_t>(st.st_ino) >> 32);
  info->nFileIndexLow = static_cast<DWORD>(st.st_ino);
  return TRUE;
}

BOOL WINAPI SetFileTime(HANDLE hFile, const FILETIME*, const FILETIME* lpLastAccessTime,
                        const FILETIME* lpLastWriteTime) {
  auto file = FileOf(hFile);
  if (!file) return FALSE;
  // The creation time cannot be set on Linux; it is left alone.
  struct timespec times[2];
  times[0] = pk::TimespecFromFileTime(lpLastAccessTime);
  times[1] = pk::TimespecFromFileTime(lpLastWriteTime);
  if (futimens(file->fd(), times) != 0) {
    pk::SetLastErrorFromErrno(errno);
    return FALSE;
  }
  return TRUE;
}

BOOL WINAPI CloseHandle(HANDLE hObject) { return pk::RemoveHandle(hObject) ? TRUE : FALSE; }

DWORD WINAPI GetFileAttributesW(LPCWSTR lpFileName) {
  if (!lpFileName || !*lpFileName) {
    SetLastError(ERROR_PATH_NOT_FOUND);
    return INVALID_FILE_ATTRIBUTES;
  }
  const std::string path = pk::NativePath(lpFileName);
  struct stat st, link;
  bool isLink = lstat(path.c_str(), &link) == 0 && S_ISLNK(link.st_mode);
  if (stat(path.c_str(), &st) != 0) {
    if (isLink) return FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_ARCHIVE;
    pk::SetLastErrorFromErrno(errno, path);
    return INVALID_FILE_ATTRIBUTES;
  }
  return AttributesOf(st, isLink);
}

BOOL WINAPI SetFileAttributesW(LPCWSTR lpFileName, DWORD dwFileAttributes) {
  const std::string path = pk::NativePath(lpFileName);
  struct stat st;
  if (path.empty() || stat(path.c_str(), &st) != 0) {
    pk::SetLastErrorFromErrno(path.empty() ? ENOENT : errno, path);
    return FALSE;
  }
  // On a directory Win32 records read-only without enforcing it; taking the
  // write bits would lock out the files that go into it.
  if (S_ISDIR(st.st_mode)) return TRUE;
  mode_t mode = st.st_mode & 07777;
  if (dwFileAttributes & FILE_ATTRIBUTE_READONLY) mode &= ~static_cast<mode_t>(0222);
  else if (IsReadOnlyMode(mode)) mode |= S_IWUSR;
  if (mode != (st.st_mode & 07777) && chmod(path.c_str(), mode) != 0) {
    pk::SetLastErrorFromErrno(errno, path);
    return FALSE;
  }
  return TRUE;
}

BOOL WINAPI CreateDirectoryW(LPCWSTR lpPathName, LPSECURITY_ATTRIBUTES) {
  const std::string path = pk::NativePath(lpPathName);
  if (path.empty()) {
    SetLastError(ERROR_PATH_NOT_FOUND);
    return FALSE;
  }
  if (mkdir(path.c_str(), 0777) != 0) {
    int error = errno;
    if (error == ENOENT) SetLastError(ERROR_PATH_NOT_FOUND);
    else pk::SetLastErrorFromErrno(error, path);
    return FALSE;
  }
  return TRUE;
}

BOOL WINAPI RemoveDirectoryW(LPCWSTR lpPathName) {
  const std::string path = pk::NativePath(lpPathName);
  struct stat st;
  if (lstat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode)) {
    SetLastError(ERROR_DIRECTORY);
    return FALSE;
  }
  if (rmdir(path.c_str()) != 0) {
    pk::SetLastErrorFromErrno(errno, path);
    return FALSE;
  }
  return TRUE;
}

BOOL WINAPI DeleteFileW(LPCWSTR lpFileName) {
  const std::string path = pk::NativePath(lpFileName);
  struct stat st;
  if (path.empty() || lstat(path.c_str(), &st) != 0) {
    pk::SetLastErrorFromErrno(path.empty() ? ENOENT : errno, path);
    return FALSE;
  }
  if (S_ISDIR(st.st_mode) || (S_ISREG(st.st_mode) && IsReadOnlyMode(st.st_mode))) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  if (!pk::DeleteShared(st.st_dev, st.st_ino)) {
    SetLastError(ERROR_SHARING_VIOLATION);
    return FALSE;
  }
  if (unlink(path.c_str()) != 0) {
    pk::SetLastErrorFromErrno(errno, path);
    return FALSE;
  }
  return TRUE;
}

BOOL WINAPI MoveFileExW(LPCWSTR lpExistingFileName, LPCWSTR lpNewFileName, DWORD dwFlags) {
  const std::string from = pk::NativePath(lpExistingFileName), to = pk::NativePath(lpNewFileName);
  struct stat st;
  if (from.empty() || lstat(from.c_str(), &st) != 0) {
    pk::SetLastErrorFromErrno(from.empty() ? ENOENT : errno, from);
    return FALSE;
  }
  struct stat target;
  if (lstat(to.c_str(), &target) == 0) {
    if (!(dwFlags & MOVEFILE_REPLACE_EXISTING)) {
      SetLastError(ERROR_ALREADY_EXISTS);
      return FALSE;
    }
    if (S_ISDIR(target.st_mode) || (S_ISREG(target.st_mode) && IsReadOnlyMode(target.st_mode))) {
      SetLastError(ERROR_ACCESS_DENIED);
      return FALSE;
    }
  }
  if (rename(from.c_str(), to.c_str()) != 0) {
    pk::SetLastErrorFromErrno(errno, to);
    return FALSE;
  }
  return TRUE;
}

DWORD WINAPI GetCurrentDirectoryW(DWORD nBufferLength, LPWSTR lpBuffer) {
  std::vector<char> native(PATH_MAX);
  while (!getcwd(native.data(), native.size())) {
    if (errno != ERANGE) {
      pk::SetLastErrorFromErrno(errno);
      return 0;
    }
    native.resize(native.size() * 2);
  }
  std::wstring wide = pk::FromNative(native.data());
  if (!lpBuffer || nBufferLength < wide.size() + 1) return static_cast<DWORD>(wide.size() + 1);
  pk::CopyTerminated(wide, lpBuffer, nBufferLength);
  return static_cast<DWORD>(wide.size());
}

BOOL WINAPI SetCurrentDirectoryW(LPCWSTR lpPathName) {
  const std::string path = pk::NativePath(lpPathName);
  if (path.empty() || chdir(path.c_str()) != 0) {
    pk::SetLastErrorFromErrno(path.empty() ? ENOENT : errno, path);
    return FALSE;
  }
  return TRUE;
}

BOOL PlatformSetFileMode(LPCWSTR lpFileName, DWORD mode) {
  const std::string path = pk::NativePath(lpFileName);
  if (path.empty() || chmod(path.c_str(), static_cast<mode_t>(mode & 07777)) != 0) {
    pk::SetLastErrorFromErrno(path.empty() ? ENOENT : errno, path);
    return FALSE;
  }
  return TRUE;
}

BOOL PlatformMakeExecutable(LPCWSTR lpFileName) {
  const std::string path = pk::NativePath(lpFileName);
  struct stat st;
  if (path.empty() || stat(path.c_str(), &st) != 0) {
    pk::SetLastErrorFromErrno(path.empty() ? ENOENT : errno, path);
    return FALSE;
  }
  // Execute wherever read is allowed, as a freshly installed program has.
  mode_t mode = st.st_mode & 07777;
  mode |= (mode & 0444) >> 2;
  return PlatformSetFileMode(lpFileName, mode);
}
