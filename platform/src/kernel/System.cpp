// Time, the version query, threads and COM initialisation.
#include <pthread.h>
#include <sched.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <ctime>
#include <list>
#include <mutex>

#include "win32/Errors.h"
#include "win32/System.h"

DWORD WINAPI GetTickCount() { return static_cast<DWORD>(GetTickCount64()); }

ULONGLONG WINAPI GetTickCount64() {
  struct timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<ULONGLONG>(ts.tv_sec) * 1000u + static_cast<ULONGLONG>(ts.tv_nsec) / 1000000u;
}

void WINAPI Sleep(DWORD dwMilliseconds) {
  if (dwMilliseconds == 0) {
    sched_yield();
    return;
  }
  if (dwMilliseconds == INFINITE) {
    for (;;) pause();
  }
  struct timespec left = {static_cast<time_t>(dwMilliseconds / 1000), static_cast<long>(dwMilliseconds % 1000) * 1000000L};
  while (nanosleep(&left, &left) != 0 && errno == EINTR) {
  }
}

BOOL WINAPI GetVersionExW(LPOSVERSIONINFOW info) {
  if (!info || info->dwOSVersionInfoSize < sizeof(OSVERSIONINFOW)) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return FALSE;
  }
  // What the query reports to a program without a compatibility manifest.
  info->dwMajorVersion = 6;
  info->dwMinorVersion = 2;
  info->dwBuildNumber = 9200;
  info->dwPlatformId = VER_PLATFORM_WIN32_NT;
  info->szCSDVersion[0] = 0;
  return TRUE;
}

DWORD WINAPI GetCurrentThreadId() { return static_cast<DWORD>(syscall(SYS_gettid)); }

namespace {

struct ThreadStart {
  AFX_THREADPROC procedure;
  LPVOID parameter;
  int priority;
  CWinThread* thread;
};

void* RunThread(void* raw) {
  ThreadStart start = *static_cast<ThreadStart*>(raw);
  delete static_cast<ThreadStart*>(raw);
  start.thread->m_nThreadID = GetCurrentThreadId();
  if (start.priority <= THREAD_PRIORITY_IDLE) {
    struct sched_param param = {};
    pthread_setschedparam(pthread_self(), SCHED_IDLE, &param);
  }
  start.procedure(start.parameter);
  return nullptr;
}

}  // namespace

CWinThread* AfxBeginThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam, int nPriority, UINT nStackSize, DWORD,
                           LPSECURITY_ATTRIBUTES) {
  if (!pfnThreadProc) return nullptr;
  // The record stays valid for the process's life, so a caller may look at
  // it after the thread has already ended.
  static std::mutex lock;
  static std::list<CWinThread> records;
  CWinThread* thread;
  {
    std::lock_guard guard(lock);
    thread = &records.emplace_back();
  }
  auto* start = new ThreadStart{pfnThreadProc, pParam, nPriority, thread};
  pthread_attr_t attributes;
  pthread_attr_init(&attributes);
  pthread_attr_setdetachstate(&attributes, PTHREAD_CREATE_DETACHED);
  if (nStackSize > 0) pthread_attr_setstacksize(&attributes, nStackSize < PTHREAD_STACK_MIN ? PTHREAD_STACK_MIN : nStackSize);
  pthread_t id;
  int error = pthread_create(&id, &attributes, RunThread, start);
  pthread_attr_destroy(&attributes);
  if (error != 0) {
    delete start;
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  return thread;
}

HRESULT WINAPI CoInitialize(LPVOID) { return S_OK; }
void WINAPI CoUninitialize() {}
