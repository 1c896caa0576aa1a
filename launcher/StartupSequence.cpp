#include "StartupSequence.h"

#include "Download.h"
#include "LaunchService.h"
#include "ProgramPaths.h"
#include "TextLimits.h"
#include "WindowSession.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

const WCHAR kMutexName[] = L"SinglePro";
const WCHAR kCaption[] = L"提示";

// An argument in the ANSI code page; left empty when it does not fit.
void ToAnsi(LPCWSTR wide, char (&out)[kTextCapacity]) {
  if (WideCharToMultiByte(CP_ACP, 0, wide, -1, out, static_cast<int>(kTextCapacity), nullptr, nullptr) == 0) out[0] = '\0';
}

bool ToWide(const std::string& narrow, WCHAR (&out)[kTextCapacity]) {
  return MultiByteToWideChar(CP_ACP, 0, narrow.c_str(), -1, out, static_cast<int>(kTextCapacity)) != 0;
}

int ShowNetworkFailure() {
  MessageBoxW(nullptr, L"网络连接错误,请重新启动", kCaption, MB_OK);
  return -1;
}

// Argument 0 names the program; when it names no directory (started from
// the search path, or too long to keep) the running module's path is used.
bool ResolveProgramPaths(const char* programPath, ProgramPaths* paths) {
  if (SplitProgramPath(programPath, paths)) return true;
  if (std::strstr(programPath, PLATFORM_PATH_SEPARATOR_A)) return false;
  WCHAR module[kTextCapacity] = {};
  DWORD length = GetModuleFileNameW(nullptr, module, static_cast<DWORD>(kTextCapacity));
  if (length == 0 || length >= kTextCapacity) return false;
  char narrow[kTextCapacity] = {};
  ToAnsi(module, narrow);
  return narrow[0] != '\0' && SplitProgramPath(narrow, paths);
}

enum class Replacement { Started, DownloadFailed, NotStarted };

// Downloads the new launcher beside the running one and moves it into
// place only when it is complete, so a runnable program file is always
// there; the running file becomes old.exe.
Replacement ReplaceLauncher(const ProgramPaths& paths, const std::string& url, LPWSTR commandLine,
                            HANDLE* mutex) {
  WCHAR program[kTextCapacity] = {}, oldCopy[kTextCapacity] = {}, download[kTextCapacity] = {};
  WCHAR fileName[kTextCapacity] = {}, directory[kTextCapacity] = {};
  if (!ToWide(paths.program, program) || !ToWide(paths.oldCopy, oldCopy) || !ToWide(paths.download, download) ||
      !ToWide(paths.fileName, fileName) || !ToWide(paths.directory, directory))
    return Replacement::NotStarted;

  const int downloaded = DownloadToFile(url.c_str(), paths.download.c_str());
  if (downloaded != 0) {
    DeleteFileW(download);
    if (downloaded == kDownloadNetworkFailure) return Replacement::DownloadFailed;
    // A local failure would recur on every start, and the game would never
    // start: the running launcher goes on, as after a failed move.
    std::printf("The new launcher cannot be written to %s; this one goes on\n", paths.download.c_str());
    std::fflush(stdout);
    return Replacement::NotStarted;
  }
  if (!MoveFileExW(program, oldCopy, MOVEFILE_REPLACE_EXISTING)) {
    DeleteFileW(download);
    return Replacement::NotStarted;
  }
  if (!MoveFileExW(download, program, MOVEFILE_REPLACE_EXISTING)) {
    MoveFileExW(oldCopy, program, MOVEFILE_REPLACE_EXISTING);
    DeleteFileW(download);
    return Replacement::NotStarted;
  }
  PlatformMakeExecutable(program);

  // The new launcher must find "SinglePro" free although this process has
  // not ended yet; it is taken again should the start fail.
  if (*mutex) CloseHandle(*mutex);
  *mutex = nullptr;
  HINSTANCE started = ShellExecuteW(nullptr, L"open", fileName, commandLine, directory, SW_SHOWNORMAL);
  if (reinterpret_cast<INT_PTR>(started) > 32) return Replacement::Started;
  *mutex = CreateMutexW(nullptr, TRUE, kMutexName);
  // A launcher that cannot be started is no replacement: the running one
  // goes back, or the next start would delete the only program that runs.
  MoveFileExW(oldCopy, program, MOVEFILE_REPLACE_EXISTING);
  return Replacement::NotStarted;
}

}  // namespace

int RunStartupSequence(HINSTANCE instance, LPWSTR commandLine) {
  int count = 0;
  LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!arguments || count < 2) {
    if (arguments) LocalFree(arguments);
    return 0;
  }
  char programPath[kTextCapacity] = {};
  char serviceUrl[kTextCapacity] = {};
  ToAnsi(arguments[0], programPath);
  ToAnsi(arguments[1], serviceUrl);
  LocalFree(arguments);

  // Held until the process ends; a replacement launcher takes it over.
  HANDLE mutex = CreateMutexW(nullptr, TRUE, kMutexName);
  if (mutex && GetLastError() == ERROR_ALREADY_EXISTS) {
    MessageBoxW(nullptr, L"已经在运行", kCaption, MB_OK);
    std::exit(0);
  }

  LaunchInfo info = QueryLaunchService(serviceUrl);

  ProgramPaths paths;
  bool havePaths = ResolveProgramPaths(programPath, &paths);
  if (!info.up_version.empty() && info.up_version != kLauncherVersion) {
    Replacement replacement =
        havePaths ? ReplaceLauncher(paths, info.up_url, commandLine, &mutex) : Replacement::NotStarted;
    if (replacement == Replacement::Started) return 0;
    if (replacement == Replacement::DownloadFailed) return ShowNetworkFailure();
  } else if (havePaths) {
    std::remove(paths.oldCopy.c_str());
  }

  if (DownloadBackgroundImage(info.up_bg.c_str()) != 0) return ShowNetworkFailure();

  RunWindowSession(instance, info);
  return 0;
}
