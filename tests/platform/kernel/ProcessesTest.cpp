#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "TempDir.h"
#include "Win32.h"

namespace {

const std::string kProbe = PROBE_PATH;

std::wstring Wide(const std::string& s) { return std::wstring(s.begin(), s.end()); }

bool WaitFor(const std::filesystem::path& file) {
  for (int i = 0; i < 1000 && !std::filesystem::exists(file); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  return std::filesystem::exists(file);
}

std::vector<std::wstring> ProcessNames() {
  std::vector<std::wstring> names;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  EXPECT_NE(snapshot, INVALID_HANDLE_VALUE);
  PROCESSENTRY32W entry;
  entry.dwSize = sizeof entry;
  for (BOOL ok = Process32FirstW(snapshot, &entry); ok; ok = Process32NextW(snapshot, &entry))
    names.push_back(entry.szExeFile);
  CloseHandle(snapshot);
  return names;
}

bool Running(const std::wstring& name) {
  for (const auto& n : ProcessNames())
    if (n == name) return true;
  return false;
}

TEST(ShellExecute, StartsAProgramInItsDirectoryWithSplitParameters) {
  TempDir dir;
  std::filesystem::create_directory(dir / "game dir");
  std::filesystem::copy_file(kProbe, dir / "game dir" / "probe");
  std::filesystem::permissions(dir / "game dir" / "probe", std::filesystem::perms::owner_all);
  std::wstring params = L"report \"" + dir.wide("out.txt") + L"\" auth_key:t uid:\"a b\" x\\\"y";
  HINSTANCE result = ShellExecuteW(nullptr, L"open", L"probe", params.c_str(), dir.wide("game dir").c_str(), SW_SHOWNORMAL);
  EXPECT_GT(reinterpret_cast<intptr_t>(result), 32);
  ASSERT_TRUE(WaitFor(dir / "out.txt"));
  EXPECT_EQ(dir.Read("out.txt"),
            std::filesystem::canonical(dir / "game dir").string() + "\nauth_key:t\nuid:a b\nx\"y\n");
}

TEST(ShellExecute, Failures) {
  TempDir dir;
  dir.Write("notes.txt", "not a program");
  struct Case {
    const wchar_t* file;
    std::wstring directory;
    intptr_t result;
  };
  const Case cases[] = {
      {L"missing-program", dir.wide(), SE_ERR_FNF},
      {L"probe", dir.wide("no-such-dir"), SE_ERR_PNF},
      {L"notes.txt", dir.wide(), SE_ERR_ACCESSDENIED},  // no execute bit
      {L"", dir.wide(), SE_ERR_FNF},
  };
  for (const auto& c : cases)
    EXPECT_EQ(reinterpret_cast<intptr_t>(ShellExecuteW(nullptr, L"open", c.file, nullptr, c.directory.c_str(), 1)),
              c.result);
}

TEST(Toolhelp, ListsAStartedChildByFileNameUntilItEnds) {
  TempDir dir;
  std::filesystem::copy_file(kProbe, dir / "toolhelp-probe.exe");
  std::filesystem::permissions(dir / "toolhelp-probe.exe", std::filesystem::perms::owner_all);
  EXPECT_FALSE(Running(L"toolhelp-probe.exe"));
  pid_t child = fork();
  if (child == 0) {
    execl((dir / "toolhelp-probe.exe").c_str(), "whatever-argv0", "wait", nullptr);
    _exit(127);
  }
  bool seen = false;
  for (int i = 0; i < 500 && !seen; ++i) {
    seen = Running(L"toolhelp-probe.exe");
    if (!seen) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  EXPECT_TRUE(seen) << "the child was not listed within 5 s";
  kill(child, SIGKILL);
  // Once the kernel has ended the child, and before it is reaped, the
  // zombie is not listed. WNOWAIT waits for the end and leaves the zombie.
  siginfo_t ended{};
  ASSERT_EQ(waitid(P_PID, static_cast<id_t>(child), &ended, WEXITED | WNOWAIT), 0);
  EXPECT_FALSE(Running(L"toolhelp-probe.exe"));
  waitpid(child, nullptr, 0);

  PROCESSENTRY32W entry;
  entry.dwSize = 10;  // a record size the snapshot does not know
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  EXPECT_FALSE(Process32FirstW(snapshot, &entry));
  CloseHandle(snapshot);
}

// The probe prints "held" or "exists" for the named mutex, then waits.
struct Holder {
  pid_t pid;
  std::string answer;
};

Holder StartHolder(const std::string& name) {
  int out[2];
  EXPECT_EQ(pipe(out), 0);
  pid_t pid = fork();
  if (pid == 0) {
    dup2(out[1], 1);
    close(out[0]);
    execl(kProbe.c_str(), "probe", "mutex", name.c_str(), nullptr);
    _exit(127);
  }
  close(out[1]);
  char buffer[16] = {};
  ssize_t n = read(out[0], buffer, sizeof buffer - 1);
  close(out[0]);
  std::string answer(buffer, n > 0 ? static_cast<size_t>(n) : 0);
  while (!answer.empty() && answer.back() == '\n') answer.pop_back();
  return {pid, answer};
}

void Kill(pid_t pid) {
  kill(pid, SIGKILL);
  waitpid(pid, nullptr, 0);
}

TEST(Mutex, HeldByOneProcessRefusedToASecondFreeAfterAKill) {
  std::string name = "SingleProTest" + std::to_string(getpid());
  Holder first = StartHolder(name);
  EXPECT_EQ(first.answer, "held");
  Holder second = StartHolder(name);
  EXPECT_EQ(second.answer, "exists");
  Kill(second.pid);

  // In this process too.
  HANDLE mine = CreateMutexW(nullptr, TRUE, Wide(name).c_str());
  EXPECT_NE(mine, nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
  CloseHandle(mine);

  Kill(first.pid);  // no clean-up runs; the kernel drops the lock
  Holder third = StartHolder(name);
  EXPECT_EQ(third.answer, "held");
  Kill(third.pid);
}

TEST(Mutex, NamesAreEscapedAndTheHolderIsNotInheritedByChildren) {
  const std::wstring name = L"Global\\odd/name " + std::to_wstring(getpid());
  HANDLE mine = CreateMutexW(nullptr, TRUE, name.c_str());
  ASSERT_NE(mine, nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
  // A program this process starts does not hold the lock after we let go.
  TempDir dir;
  std::wstring params = L"report " + dir.wide("done");
  ShellExecuteW(nullptr, L"open", Wide(kProbe).c_str(), params.c_str(), dir.wide().c_str(), 1);
  ASSERT_TRUE(WaitFor(dir / "done"));
  CloseHandle(mine);
  HANDLE again = CreateMutexW(nullptr, TRUE, name.c_str());
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
  CloseHandle(again);
}

TEST(System, ThreadsTimeVersionModules) {
  static int seven = 7;
  static std::atomic<int> ran{0};
  static std::atomic<int> policy{-1};
  CWinThread* t = AfxBeginThread(
      [](LPVOID p) -> UINT {
        policy = sched_getscheduler(0);
        ran = *static_cast<int*>(p);
        return 0;
      },
      &seven, THREAD_PRIORITY_IDLE);
  ASSERT_NE(t, nullptr);
  for (int i = 0; i < 500 && ran == 0; ++i) Sleep(10);
  EXPECT_EQ(ran, 7);
  EXPECT_EQ(policy, SCHED_IDLE);

  DWORD before = GetTickCount();
  Sleep(20);
  EXPECT_GE(GetTickCount() - before, 20u);

  OSVERSIONINFOW version = {};
  EXPECT_FALSE(GetVersionExW(&version));
  version.dwOSVersionInfoSize = sizeof version;
  ASSERT_TRUE(GetVersionExW(&version));
  EXPECT_EQ(version.dwPlatformId, static_cast<DWORD>(VER_PLATFORM_WIN32_NT));

  // Named streams do not exist here: the lookup finds nothing.
  HMODULE kernel = GetModuleHandleW(L"KERNEL32.DLL");
  ASSERT_NE(kernel, nullptr);
  EXPECT_EQ(GetProcAddress(kernel, "FindFirstStreamW"), nullptr);
  EXPECT_EQ(LoadLibraryW(L"/no/such/library.so"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
  HMODULE z = LoadLibraryW(L"/usr/lib/p7zip/7z.so");
  ASSERT_NE(z, nullptr);
  EXPECT_NE(GetProcAddress(z, "CreateObject"), nullptr);
  EXPECT_EQ(GetProcAddress(z, "NoSuchExport"), nullptr);
  EXPECT_TRUE(FreeLibrary(z));
  EXPECT_FALSE(FreeLibrary(z));
}

}  // namespace
