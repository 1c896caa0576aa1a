// Libraries, the named mutex, time, the version query, threads and COM
// initialisation.
#pragma once

#include "win32/Types.h"

// Built-in module names ("kernel32.dll", "user32.dll", "msimg32.dll",
// compared ignoring case) give handles whose exports are the functions
// this layer registers for run-time lookup; anything else is dlopen'ed.
HMODULE WINAPI LoadLibraryW(LPCWSTR lpLibFileName);
HMODULE WINAPI GetModuleHandleW(LPCWSTR lpModuleName);
FARPROC WINAPI GetProcAddress(HMODULE hModule, LPCSTR lpProcName);
BOOL WINAPI FreeLibrary(HMODULE hLibModule);

// A per-user named lock that lives until the process ends, however it
// ends; a second holder gets a handle and ERROR_ALREADY_EXISTS.
HANDLE WINAPI CreateMutexW(LPSECURITY_ATTRIBUTES lpMutexAttributes, BOOL bInitialOwner, LPCWSTR lpName);
BOOL WINAPI ReleaseMutex(HANDLE hMutex);

DWORD WINAPI GetTickCount();
ULONGLONG WINAPI GetTickCount64();
void WINAPI Sleep(DWORD dwMilliseconds);

#define VER_PLATFORM_WIN32s 0
#define VER_PLATFORM_WIN32_WINDOWS 1
#define VER_PLATFORM_WIN32_NT 2

typedef struct _OSVERSIONINFOW {
  DWORD dwOSVersionInfoSize;
  DWORD dwMajorVersion;
  DWORD dwMinorVersion;
  DWORD dwBuildNumber;
  DWORD dwPlatformId;
  WCHAR szCSDVersion[128];
} OSVERSIONINFOW, *LPOSVERSIONINFOW;
BOOL WINAPI GetVersionExW(LPOSVERSIONINFOW lpVersionInformation);

#define THREAD_PRIORITY_IDLE (-15)
#define THREAD_PRIORITY_LOWEST (-2)
#define THREAD_PRIORITY_BELOW_NORMAL (-1)
#define THREAD_PRIORITY_NORMAL 0
#define THREAD_PRIORITY_ABOVE_NORMAL 1
#define THREAD_PRIORITY_HIGHEST 2
#define THREAD_PRIORITY_TIME_CRITICAL 15

DWORD WINAPI GetCurrentThreadId();

// The worker-thread facility: starts pfnThreadProc(pParam) at once on a
// detached thread; nobody joins it. The returned record stays valid for the
// process's life. Idle priority runs the thread as SCHED_IDLE.
typedef UINT(AFX_CDECL* AFX_THREADPROC)(LPVOID);
class CWinThread {
 public:
  HANDLE m_hThread = nullptr;
  DWORD m_nThreadID = 0;
  BOOL m_bAutoDelete = TRUE;
};
CWinThread* AfxBeginThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam, int nPriority = THREAD_PRIORITY_NORMAL,
                           UINT nStackSize = 0, DWORD dwCreateFlags = 0,
                           LPSECURITY_ATTRIBUTES lpSecurityAttrs = nullptr);

HRESULT WINAPI CoInitialize(LPVOID pvReserved);
void WINAPI CoUninitialize();
