// The command line, starting programs and the process snapshot.
#pragma once

#include "win32/ShowCommands.h"
#include "win32/Types.h"

LPWSTR WINAPI GetCommandLineW();
LPWSTR* WINAPI CommandLineToArgvW(LPCWSTR lpCmdLine, int* pNumArgs);
HLOCAL WINAPI LocalFree(HLOCAL hMem);


// ShellExecuteW results of 32 or less.
#define SE_ERR_FNF 2
#define SE_ERR_PNF 3
#define SE_ERR_ACCESSDENIED 5
#define SE_ERR_OOM 8
#define SE_ERR_NOASSOC 31

// "open" of an executable file: lpFile is taken relative to lpDirectory,
// which becomes the new process's working directory; lpParameters is split
// by CommandLineToArgvW's rules. The result is above 32 when started.
HINSTANCE WINAPI ShellExecuteW(HWND hwnd, LPCWSTR lpOperation, LPCWSTR lpFile, LPCWSTR lpParameters,
                               LPCWSTR lpDirectory, INT nShowCmd);

#define TH32CS_SNAPPROCESS 0x00000002

typedef struct tagPROCESSENTRY32W {
  DWORD dwSize;
  DWORD cntUsage;
  DWORD th32ProcessID;
  ULONG_PTR th32DefaultHeapID;
  DWORD th32ModuleID;
  DWORD cntThreads;
  DWORD th32ParentProcessID;
  LONG pcPriClassBase;
  DWORD dwFlags;
  WCHAR szExeFile[MAX_PATH];
} PROCESSENTRY32W, *LPPROCESSENTRY32W;

HANDLE WINAPI CreateToolhelp32Snapshot(DWORD dwFlags, DWORD th32ProcessID);
BOOL WINAPI Process32FirstW(HANDLE hSnapshot, LPPROCESSENTRY32W lppe);
BOOL WINAPI Process32NextW(HANDLE hSnapshot, LPPROCESSENTRY32W lppe);

DWORD WINAPI GetCurrentProcessId();
