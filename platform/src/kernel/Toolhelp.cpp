// The process snapshot from /proc. Each entry's program file name is the
// file name of its executable (/proc/<pid>/exe), or the kernel's short
// command name where the executable cannot be read. Zombies are left out:
// they have ended.
#include <dirent.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "kernel/Handles.h"
#include "kernel/Text.h"
#include "win32/Errors.h"
#include "win32/Processes.h"

namespace pk = platform::kernel;

namespace {

struct ProcessInfo {
  DWORD pid, parent, threads;
  std::wstring exe;
};

class SnapshotObject : public pk::KernelObject {
 public:
  std::vector<ProcessInfo> processes;
  size_t next = 0;
};

bool ReadProcess(DWORD pid, ProcessInfo& info) {
  std::string base = "/proc/" + std::to_string(pid);
  std::ifstream statFile(base + "/stat");
  std::string stat((std::istreambuf_iterator<char>(statFile)), std::istreambuf_iterator<char>());
  size_t open = stat.find('('), close = stat.rfind(')');
  if (open == std::string::npos || close == std::string::npos || close < open) return false;
  std::string comm = stat.substr(open + 1, close - open - 1);
  std::istringstream rest(stat.substr(close + 1));
  std::string state;
  long fields[18] = {};
  rest >> state;
  for (long& f : fields) rest >> f;  // ppid ... num_threads (field 20 overall)
  if (state == "Z" || state == "X") return false;
  info.pid = pid;
  info.parent = static_cast<DWORD>(fields[0]);
  info.threads = static_cast<DWORD>(fields[16]);
  char target[4096];
  ssize_t n = readlink((base + "/exe").c_str(), target, sizeof target - 1);
  std::string name = comm;
  if (n > 0) {
    std::string path(target, static_cast<size_t>(n));
    const std::string deleted = " (deleted)";
    if (path.size() > deleted.size() && path.compare(path.size() - deleted.size(), deleted.size(), deleted) == 0)
      path.resize(path.size() - deleted.size());
    name = path.substr(path.rfind('/') + 1);
  }
  info.exe = pk::FromNative(name);
  return true;
}

bool Fill(SnapshotObject& snapshot, LPPROCESSENTRY32W entry) {
  if (!entry || entry->dwSize < sizeof(PROCESSENTRY32W)) {
    SetLastError(ERROR_BAD_LENGTH);
    return false;
  }
  if (snapshot.next >= snapshot.processes.size()) {
    SetLastError(ERROR_NO_MORE_FILES);
    return false;
  }
  const ProcessInfo& p = snapshot.processes[snapshot.next++];
  DWORD size = entry->dwSize;
  memset(entry, 0, sizeof(PROCESSENTRY32W));
  entry->dwSize = size;
  entry->th32ProcessID = p.pid;
  entry->cntThreads = p.threads;
  entry->th32ParentProcessID = p.parent;
  entry->pcPriClassBase = 8;
  size_t n = std::min(p.exe.size(), static_cast<size_t>(MAX_PATH - 1));
  std::copy_n(p.exe.data(), n, entry->szExeFile);
  entry->szExeFile[n] = 0;
  return true;
}

}  // namespace

HANDLE WINAPI CreateToolhelp32Snapshot(DWORD dwFlags, DWORD) {
  if (!(dwFlags & TH32CS_SNAPPROCESS)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return INVALID_HANDLE_VALUE;
  }
  DIR* proc = opendir("/proc");
  if (!proc) {
    SetLastError(ERROR_ACCESS_DENIED);
    return INVALID_HANDLE_VALUE;
  }
  auto snapshot = std::make_shared<SnapshotObject>();
  while (dirent* d = readdir(proc)) {
    char* end;
    unsigned long pid = strtoul(d->d_name, &end, 10);
    if (*end || end == d->d_name) continue;
    ProcessInfo info;
    if (ReadProcess(static_cast<DWORD>(pid), info)) snapshot->processes.push_back(std::move(info));
  }
  closedir(proc);
  std::sort(snapshot->processes.begin(), snapshot->processes.end(),
            [](const ProcessInfo& a, const ProcessInfo& b) { return a.pid < b.pid; });
  return pk::AddHandle(snapshot);
}

BOOL WINAPI Process32FirstW(HANDLE hSnapshot, LPPROCESSENTRY32W lppe) {
  auto snapshot = pk::FindHandleOf<SnapshotObject>(hSnapshot);
  if (!snapshot) return FALSE;
  snapshot->next = 0;
  return Fill(*snapshot, lppe) ? TRUE : FALSE;
}

BOOL WINAPI Process32NextW(HANDLE hSnapshot, LPPROCESSENTRY32W lppe) {
  auto snapshot = pk::FindHandleOf<SnapshotObject>(hSnapshot);
  if (!snapshot) return FALSE;
  return Fill(*snapshot, lppe) ? TRUE : FALSE;
}

DWORD WINAPI GetCurrentProcessId() { return static_cast<DWORD>(getpid()); }
