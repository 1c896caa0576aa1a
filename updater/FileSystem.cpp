#include "FileSystem.h"

#include "PathInfo.h"

namespace {

bool HasDirectoryBit(DWORD attributes) {
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsLetter(WCHAR c) { return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z'); }

// Whether path[at..] begins with "\\?\" (any separators).
bool HasPrefix(const std::wstring& path, size_t at, const wchar_t* pattern) {
  for (size_t i = 0; pattern[i]; ++i) {
    if (at + i >= path.size()) return false;
    const WCHAR c = path[at + i];
    if (pattern[i] == L'\\' ? !IsPathSeparator(c) : c != pattern[i]) return false;
  }
  return true;
}

bool HasUncPrefix(const std::wstring& path) {
  if (!HasPrefix(path, 0, L"\\\\?\\") || path.size() < 8) return false;
  for (int i = 0; i < 3; ++i)
    if ((path[4 + i] & ~0x20) != L"UNC"[i]) return false;
  return IsPathSeparator(path[7]);
}

size_t NextSeparator(const std::wstring& path, size_t from) {
  for (size_t i = from; i < path.size(); ++i)
    if (IsPathSeparator(path[i])) return i;
  return std::wstring::npos;
}

// Server and share after `from`, both with their separator; 0 when either is missing.
unsigned ServerShareLength(const std::wstring& path, size_t from) {
  const size_t server = NextSeparator(path, from);
  if (server == std::wstring::npos) return 0;
  const size_t share = NextSeparator(path, server + 1);
  if (share == std::wstring::npos) return 0;
  return static_cast<unsigned>(share + 1 - from);
}

bool IsDriveRoot(const std::wstring& path) {
  const size_t skip = HasPrefix(path, 0, L"\\\\?\\") ? 4 : 0;
  return path.size() == skip + 3 && IsLetter(path[skip]) && path[skip + 1] == L':' &&
         IsPathSeparator(path[skip + 2]);
}

}  // namespace

HRESULT ResultFromLastError() {
  const DWORD code = GetLastError();
  if (code == 0) return E_FAIL;
  return static_cast<HRESULT>(0x80070000u | (code & 0xFFFFu));
}

std::wstring GetLauncherDirPrefix() {
  WCHAR path[MAX_PATH + 1];
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH + 1);
  if (length == 0 || length > MAX_PATH) return L"." PLATFORM_PATH_SEPARATOR_W;
  std::wstring prefix(path, length);
  size_t last = prefix.size();
  while (last > 0 && !IsPathSeparator(prefix[last - 1])) --last;
  prefix.resize(last);
  return prefix;
}

unsigned RootPrefixLength(const std::wstring& path) {
  if (HasPrefix(path, 0, L"\\\\.\\")) return 4;
  if (HasUncPrefix(path)) {
    const unsigned rest = ServerShareLength(path, 8);
    return rest ? 8 + rest : 0;
  }
  if (HasPrefix(path, 0, L"\\\\?\\")) {
    const size_t separator = NextSeparator(path, 4);
    return separator == std::wstring::npos ? 0 : static_cast<unsigned>(separator + 1);
  }
  if (path.size() >= 3 && IsLetter(path[0]) && path[1] == L':' && IsPathSeparator(path[2])) return 3;
  if (path.size() >= 2 && IsPathSeparator(path[0]) && IsPathSeparator(path[1])) {
    const unsigned rest = ServerShareLength(path, 2);
    return rest ? 2 + rest : 0;
  }
  if (!path.empty() && IsPathSeparator(path[0])) return 1;
  return 0;
}

bool CreateOneDir(const std::wstring& path) {
  if (CreateDirectoryW(path.c_str(), nullptr)) return true;
  if (GetLastError() != ERROR_ALREADY_EXISTS) return false;
  CPathInfo info;
  return info.Lookup(path) && (info.attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool CreateDirWithParents(const std::wstring& path) {
  if (HasDirectoryBit(GetFileAttributesW(path.c_str()))) return true;
  if (IsDriveRoot(path)) return false;
  const unsigned root = RootPrefixLength(path);

  std::wstring target = path;
  if (!target.empty() && IsPathSeparator(target.back())) {
    if (target.size() == 1) return true;
    target.pop_back();
  }

  // Upward: find the deepest ancestor that exists or can be made.
  std::wstring current = target;
  while (!CreateOneDir(current)) {
    if (GetLastError() == ERROR_ALREADY_EXISTS) return false;
    size_t p = current.size();
    while (p > 0 && !IsPathSeparator(current[p - 1])) --p;
    if (p == 0) return false;
    --p;  // the separator's own position
    if (p == 0) return false;
    if (p == 1 && IsPathSeparator(current[0])) return false;
    if (root >= p + 1) return false;
    current.resize(p);
  }

  // Downward: create the rest, each one new.
  size_t pos = current.size();
  while (pos < target.size()) {
    const size_t next = NextSeparator(target, pos + 1);
    pos = next == std::wstring::npos ? target.size() : next;
    if (!CreateDirectoryW(target.substr(0, pos).c_str(), nullptr)) return false;
  }
  return true;
}

bool ForceDeleteFile(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  // A link's read-only bit may be its target's: never cleared through it.
  if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY) &&
      !(attributes & FILE_ATTRIBUTE_REPARSE_POINT) && (attributes & FILE_ATTRIBUTE_READONLY)) {
    if (!SetFileAttributesW(path.c_str(), attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY))) return false;
  }
  return DeleteFileW(path.c_str()) != FALSE;
}

bool IsLink(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

// A link to a directory is a directory entry on Windows and goes with
// RemoveDirectoryW there; either call removes the link itself.
bool RemoveLink(const std::wstring& path) {
  return DeleteFileW(path.c_str()) || RemoveDirectoryW(path.c_str());
}
