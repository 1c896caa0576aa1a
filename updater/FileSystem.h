// File-system helpers under the archive streams and callbacks. Paths are
// wide texts in which '\' and '/' are both separators. Failures return
// false and leave the platform's last error for the caller.
#pragma once

#include <string>

#include "Win32.h"

inline bool IsPathSeparator(WCHAR c) { return c == L'\\' || c == L'/'; }

// The platform's last error as a result code: 0 gives E_FAIL, any other
// code c gives 0x80070000 | (c & 0xFFFF).
HRESULT ResultFromLastError();

// The directory of the launcher's own program file with its separator;
// "." and a separator when that path cannot be had in 260 characters.
std::wstring GetLauncherDirPrefix();

// Length of the part of path that names a root and can never be created:
// "\\.\", "\\?\UNC\server\share\", "\\?\X:\", "X:\", "\\server\share\", "\".
unsigned RootPrefixLength(const std::wstring& path);

// Creates one directory; an existing directory counts as success.
bool CreateOneDir(const std::wstring& path);

// Creates a directory with its missing ancestors.
bool CreateDirWithParents(const std::wstring& path);

// Deletes a file, read-only or not. A directory is never removed; a link
// is removed itself, and what it points at keeps its attributes.
bool ForceDeleteFile(const std::wstring& path);

// Whether path is itself a link (symbolic link or junction), pointing at
// a file, a directory or nothing.
bool IsLink(const std::wstring& path);

// Removes the link at path, never what it points at.
bool RemoveLink(const std::wstring& path);
