#include <dlfcn.h>
#include <link.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <string>

#include "kernel/Errno.h"
#include "kernel/Modules.h"
#include "kernel/Text.h"
#include "win32/Errors.h"
#include "win32/Files.h"

namespace pk = platform::kernel;

namespace {

std::string ModulePath(HMODULE module) {
  if (!module || pk::IsMainModule(module)) {
    char buffer[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n < 0) return {};
    std::string path(buffer, static_cast<size_t>(n));
    const std::string deleted = " (deleted)";
    if (path.size() > deleted.size() && path.compare(path.size() - deleted.size(), deleted.size(), deleted) == 0)
      path.resize(path.size() - deleted.size());
    return path;
  }
  void* handle = pk::NativeLibrary(module);
  link_map* map = nullptr;
  if (!handle || dlinfo(handle, RTLD_DI_LINKMAP, &map) != 0 || !map || !map->l_name) return {};
  return map->l_name;
}

}  // namespace

DWORD WINAPI GetModuleFileNameW(HMODULE hModule, LPWSTR lpFilename, DWORD nSize) {
  std::string native = ModulePath(hModule);
  if (native.empty()) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return 0;
  }
  std::wstring path = pk::FromNative(native);
  if (!lpFilename || nSize == 0) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  // Too small: cut to nSize units with the terminator, as Win32 does.
  if (path.size() + 1 > nSize) {
    wmemcpy(lpFilename, path.data(), nSize - 1);
    lpFilename[nSize - 1] = 0;
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return nSize;
  }
  pk::CopyTerminated(path, lpFilename, nSize);
  SetLastError(ERROR_SUCCESS);
  return static_cast<DWORD>(path.size());
}
