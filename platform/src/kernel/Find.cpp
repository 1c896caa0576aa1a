// Directory searches. A pattern's last component may hold '*' and '?',
// matched ignoring case as Win32 does ("*.*" matches every name); a
// component without wildcards names one path exactly. Entries come in a
// stable order: "." and ".." first, then by name.
#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cwctype>
#include <vector>

#include "kernel/Errno.h"
#include "kernel/FileTime.h"
#include "kernel/Handles.h"
#include "kernel/Text.h"
#include "win32/Errors.h"
#include "win32/Files.h"

namespace pk = platform::kernel;

namespace {

class FindObject : public pk::KernelObject {
 public:
  std::vector<WIN32_FIND_DATAW> entries;
  size_t next = 0;
};

wchar_t Fold(wchar_t c) { return static_cast<wchar_t>(towupper(static_cast<wint_t>(c))); }

bool Matches(const wchar_t* pattern, const wchar_t* name) {
  // Iterative glob with one backtrack point for the last '*'.
  const wchar_t *star = nullptr, *resume = nullptr;
  while (*name) {
    if (*pattern == L'*') {
      star = pattern++;
      resume = name;
    } else if (*pattern == L'?' || (*pattern && Fold(*pattern) == Fold(*name))) {
      ++pattern, ++name;
    } else if (star) {
      pattern = star + 1;
      name = ++resume;
    } else {
      return false;
    }
  }
  while (*pattern == L'*') ++pattern;
  // "name.*" also matches "name", as on Win32.
  if (pattern[0] == L'.' && pattern[1] == L'*' && pattern[2] == 0) return true;
  return *pattern == 0;
}

bool FillEntry(const std::string& path, const std::wstring& name, WIN32_FIND_DATAW& entry) {
  struct stat st;
  struct stat link;
  bool isLink = lstat(path.c_str(), &link) == 0 && S_ISLNK(link.st_mode);
  if (stat(path.c_str(), &st) != 0) {
    if (!isLink) return false;
    st = link;
  }
  entry = {};
  entry.dwFileAttributes = (S_ISDIR(st.st_mode) ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_ARCHIVE) |
                           ((st.st_mode & 0222) ? 0 : FILE_ATTRIBUTE_READONLY) |
                           (isLink ? FILE_ATTRIBUTE_REPARSE_POINT : 0);
  entry.ftCreationTime = pk::FileTimeFromTimespec(st.st_ctim);
  entry.ftLastAccessTime = pk::FileTimeFromTimespec(st.st_atim);
  entry.ftLastWriteTime = pk::FileTimeFromTimespec(st.st_mtim);
  if (!S_ISDIR(st.st_mode)) {
    entry.nFileSizeHigh = static_cast<DWORD>(static_cast<uint64_t>(st.st_size) >> 32);
    entry.nFileSizeLow = static_cast<DWORD>(st.st_size);
  }
  // Names beyond MAX_PATH - 1 units are cut, never written past the field.
  size_t n = std::min(name.size(), static_cast<size_t>(MAX_PATH - 1));
  std::copy_n(name.data(), n, entry.cFileName);
  entry.cFileName[n] = 0;
  return true;
}

}  // namespace

HANDLE WINAPI FindFirstFileW(LPCWSTR lpFileName, LPWIN32_FIND_DATAW lpFindFileData) {
  if (!lpFileName || !lpFindFileData) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return INVALID_HANDLE_VALUE;
  }
  const std::string native = pk::NativePath(lpFileName);
  size_t cut = native.rfind('/');
  std::string directory = cut == std::string::npos ? "." : (cut == 0 ? "/" : native.substr(0, cut));
  std::wstring pattern = pk::FromNative(cut == std::string::npos ? native : native.substr(cut + 1));
  if (pattern.empty()) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return INVALID_HANDLE_VALUE;
  }

  auto find = std::make_shared<FindObject>();
  if (pattern.find_first_of(L"*?") == std::wstring::npos) {
    WIN32_FIND_DATAW entry;
    if (!FillEntry(native, pattern, entry)) {
      pk::SetLastErrorFromErrno(errno, native);
      return INVALID_HANDLE_VALUE;
    }
    find->entries.push_back(entry);
  } else {
    DIR* dir = opendir(directory.c_str());
    if (!dir) {
      int error = errno;
      SetLastError(error == ENOENT || error == ENOTDIR ? ERROR_PATH_NOT_FOUND : pk::Win32ErrorFromErrno(error));
      return INVALID_HANDLE_VALUE;
    }
    while (dirent* d = readdir(dir)) {
      std::wstring name = pk::FromNative(d->d_name);
      if (!Matches(pattern.c_str(), name.c_str())) continue;
      WIN32_FIND_DATAW entry;
      if (FillEntry(directory + "/" + d->d_name, name, entry)) find->entries.push_back(entry);
    }
    closedir(dir);
    auto rank = [](const WIN32_FIND_DATAW& e) {
      std::wstring_view n = e.cFileName;
      return n == L"." ? 0 : n == L".." ? 1 : 2;
    };
    std::sort(find->entries.begin(), find->entries.end(), [&](const auto& a, const auto& b) {
      if (rank(a) != rank(b)) return rank(a) < rank(b);
      return std::wstring_view(a.cFileName) < std::wstring_view(b.cFileName);
    });
    if (find->entries.empty()) {
      SetLastError(ERROR_FILE_NOT_FOUND);
      return INVALID_HANDLE_VALUE;
    }
  }
  *lpFindFileData = find->entries[0];
  find->next = 1;
  return pk::AddHandle(find);
}

BOOL WINAPI FindNextFileW(HANDLE hFindFile, LPWIN32_FIND_DATAW lpFindFileData) {
  auto find = pk::FindHandleOf<FindObject>(hFindFile);
  if (!find) return FALSE;
  if (find->next >= find->entries.size()) {
    SetLastError(ERROR_NO_MORE_FILES);
    return FALSE;
  }
  *lpFindFileData = find->entries[find->next++];
  return TRUE;
}

BOOL WINAPI FindClose(HANDLE hFindFile) {
  if (!pk::FindHandleOf<FindObject>(hFindFile)) return FALSE;
  return pk::RemoveHandle(hFindFile) ? TRUE : FALSE;
}
