// The downloaded package on disk, appended to piece by piece. Small pieces
// are gathered so that the disk sees few large writes; what was appended
// is on disk once Close returns, also after a failed download.
#pragma once

#include <string>
#include <vector>

#include "Win32.h"

class PackageFile {
 public:
  PackageFile() = default;
  ~PackageFile();
  PackageFile(const PackageFile&) = delete;
  PackageFile& operator=(const PackageFile&) = delete;

  // Creates or truncates name, for writing, others may read it.
  bool Create(const std::wstring& name);
  bool Append(const void* data, DWORD size);
  bool Close();

 private:
  bool Flush();

  HANDLE m_file = INVALID_HANDLE_VALUE;
  std::vector<BYTE> m_pending;
  static constexpr size_t kGather = 64 * 1024;
};
