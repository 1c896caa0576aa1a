// Code-page conversions. CP_ACP and CP_OEMCP are the process locale's
// charset (UTF-8 when the locale is "C" or UTF-8); CP_UTF8 and 936 (GBK)
// are always available. Counts are in WCHAR units.
#pragma once

#include "win32/Types.h"

#define CP_ACP 0
#define CP_OEMCP 1
#define CP_UTF8 65001

#define MB_PRECOMPOSED 0x00000001
#define MB_ERR_INVALID_CHARS 0x00000008
#define WC_NO_BEST_FIT_CHARS 0x00000400
#define WC_ERR_INVALID_CHARS 0x00000080

int WINAPI MultiByteToWideChar(UINT CodePage, DWORD dwFlags, LPCSTR lpMultiByteStr, int cbMultiByte,
                               LPWSTR lpWideCharStr, int cchWideChar);
int WINAPI WideCharToMultiByte(UINT CodePage, DWORD dwFlags, LPCWSTR lpWideCharStr, int cchWideChar,
                               LPSTR lpMultiByteStr, int cbMultiByte, LPCSTR lpDefaultChar,
                               LPBOOL lpUsedDefaultChar);
UINT WINAPI GetACP();
UINT WINAPI GetOEMCP();

// Character classification for letters of all scripts, independent of the
// caller's locale.
BOOL WINAPI IsCharAlphaW(WCHAR ch);
BOOL WINAPI IsCharAlphaNumericW(WCHAR ch);
LPWSTR WINAPI CharUpperW(LPWSTR lpsz);
LPWSTR WINAPI CharLowerW(LPWSTR lpsz);
