// Wide formatting with the Windows C runtime's conventions: in a wide
// format "%s" and "%c" take wide arguments, "%S"/"%hs" and "%C"/"%hc"
// narrow ones, "%ls"/"%ws" wide ones. "%I64d" and "%lld" are 64-bit.
#pragma once

#include <cstdarg>

#include "win32/Types.h"

// Characters the output needs, without the terminator; -1 for a bad format.
int _vscwprintf(const wchar_t* format, va_list args);
int _scwprintf(const wchar_t* format, ...);
// Writes at most count characters. Returns the characters written, without
// terminator, when they fit (terminated when room is left); -1 when the
// output was cut, in which case count characters were written unterminated.
int _vsnwprintf(wchar_t* buffer, size_t count, const wchar_t* format, va_list args);
int _snwprintf(wchar_t* buffer, size_t count, const wchar_t* format, ...);
// Like _vsnwprintf but always terminates within sizeOfBuffer; returns -1 and
// an empty text when the output does not fit.
int vswprintf_s(wchar_t* buffer, size_t sizeOfBuffer, const wchar_t* format, va_list args);
int swprintf_s(wchar_t* buffer, size_t sizeOfBuffer, const wchar_t* format, ...);
// user32's formatter: at most 1024 characters, same conventions.
int WINAPI wvsprintfW(LPWSTR buffer, LPCWSTR format, va_list args);
int wsprintfW(LPWSTR buffer, LPCWSTR format, ...);
