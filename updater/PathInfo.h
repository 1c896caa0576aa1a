// What a path lookup finds: a file, a directory, a drive root, a network
// share or a named stream of a file.
#pragma once

#include <string>

#include "Win32.h"

class CPathInfo {
 public:
  // True when something is at path; fills the fields. Named streams are
  // looked up only where the platform has them; elsewhere a ':' is an
  // ordinary character of a name.
  bool Lookup(const std::wstring& path);

  DWORD attributes = 0;
  ULONGLONG size = 0;
  bool isNamedStream = false;

 private:
  // Step 1 of Lookup: 1 found, 0 not found, -1 not a stream path.
  int LookupNamedStream(const std::wstring& path);
  bool LookupRoot(const std::wstring& path, bool* found);
  bool LookupEntry(const std::wstring& path);
};
