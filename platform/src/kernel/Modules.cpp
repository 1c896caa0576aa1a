#include "kernel/Modules.h"

#include <dlfcn.h>
#include <sys/stat.h>

#include <algorithm>
#include <cwctype>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>

#include "kernel/Builtins.h"
#include "kernel/Text.h"
#include "win32/Errors.h"
#include "win32/System.h"

namespace platform::kernel {
namespace {

struct Module {
  enum Kind { Main, Builtin, Library };
  explicit Module(Kind k, void* handle = nullptr) : kind(k), library(handle) {}
  Kind kind;
  void* library = nullptr;  // dlopen handle for libraries
  int references = 0;
  std::map<std::string, FARPROC> exports;  // built-in modules only
};

std::mutex g_lock;
Module g_main(Module::Main);
std::map<std::wstring, std::unique_ptr<Module>> g_builtins;  // by lower-case name
std::map<void*, std::unique_ptr<Module>> g_libraries;        // by dlopen handle

std::wstring Lower(std::wstring text) {
  for (auto& c : text) c = static_cast<wchar_t>(towlower(static_cast<wint_t>(c)));
  return text;
}

bool IsBuiltinName(const std::wstring& lower) {
  return lower == L"kernel32.dll" || lower == L"user32.dll" || lower == L"msimg32.dll" || lower == L"kernel32" ||
         lower == L"user32" || lower == L"msimg32";
}

std::wstring Canonical(std::wstring lower) {
  if (lower.find(L'.') == std::wstring::npos) lower += L".dll";
  return lower;
}

Module* Builtin(const std::wstring& lower) {
  auto& slot = g_builtins[Canonical(lower)];
  if (!slot) slot = std::make_unique<Module>(Module::Builtin);
  return slot.get();
}

// Null unless module is a live module handle. Called with the lock held.
Module* Find(HMODULE module) {
  auto* m = reinterpret_cast<Module*>(module);
  if (m == &g_main) return m;
  for (auto& [name, builtin] : g_builtins)
    if (builtin.get() == m) return m;
  for (auto& [handle, library] : g_libraries)
    if (library.get() == m) return m;
  return nullptr;
}

}  // namespace

bool IsMainModule(HMODULE module) { return reinterpret_cast<Module*>(module) == &g_main; }

void* NativeLibrary(HMODULE module) {
  std::lock_guard lock(g_lock);
  Module* m = Find(module);
  return m && m->kind == Module::Library ? m->library : nullptr;
}

void RegisterBuiltinExport(LPCWSTR module, const char* name, FARPROC function) {
  std::lock_guard lock(g_lock);
  Builtin(Lower(module))->exports[name] = function;
}

}  // namespace platform::kernel

namespace pk = platform::kernel;

HMODULE WINAPI LoadLibraryW(LPCWSTR lpLibFileName) {
  if (!lpLibFileName || !*lpLibFileName) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  std::wstring lower = pk::Lower(lpLibFileName);
  std::lock_guard lock(pk::g_lock);
  if (pk::IsBuiltinName(lower)) return reinterpret_cast<HMODULE>(pk::Builtin(lower));
  const std::string path = pk::NativePath(lpLibFileName);
  void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle) {
    struct stat st;
    SetLastError(stat(path.c_str(), &st) == 0 ? ERROR_BAD_EXE_FORMAT : ERROR_MOD_NOT_FOUND);
    return nullptr;
  }
  auto& slot = pk::g_libraries[handle];
  if (!slot) {
    slot = std::make_unique<pk::Module>(pk::Module::Library, handle);
  } else {
    dlclose(handle);  // the library was open already; keep one native reference
  }
  ++slot->references;
  return reinterpret_cast<HMODULE>(slot.get());
}

HMODULE WINAPI GetModuleHandleW(LPCWSTR lpModuleName) {
  if (!lpModuleName) return reinterpret_cast<HMODULE>(&pk::g_main);
  std::wstring lower = pk::Lower(lpModuleName);
  std::lock_guard lock(pk::g_lock);
  if (pk::IsBuiltinName(lower)) return reinterpret_cast<HMODULE>(pk::Builtin(lower));
  SetLastError(ERROR_MOD_NOT_FOUND);
  return nullptr;
}

FARPROC WINAPI GetProcAddress(HMODULE hModule, LPCSTR lpProcName) {
  std::lock_guard lock(pk::g_lock);
  pk::Module* module = pk::Find(hModule);
  if (!module || !lpProcName || IS_INTRESOURCE(lpProcName)) {
    SetLastError(module ? ERROR_PROC_NOT_FOUND : ERROR_MOD_NOT_FOUND);
    return nullptr;
  }
  FARPROC function = nullptr;
  if (module->kind == pk::Module::Builtin) {
    auto it = module->exports.find(lpProcName);
    if (it != module->exports.end()) function = it->second;
  } else {
    void* handle = module->kind == pk::Module::Library ? module->library : RTLD_DEFAULT;
    function = reinterpret_cast<FARPROC>(dlsym(handle, lpProcName));
  }
  if (!function) SetLastError(ERROR_PROC_NOT_FOUND);
  return function;
}

BOOL WINAPI FreeLibrary(HMODULE hLibModule) {
  std::lock_guard lock(pk::g_lock);
  pk::Module* module = pk::Find(hLibModule);
  if (!module) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return FALSE;
  }
  if (module->kind == pk::Module::Library && --module->references == 0) {
    void* handle = module->library;
    pk::g_libraries.erase(handle);
    dlclose(handle);
  }
  return TRUE;
}
