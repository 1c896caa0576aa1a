// Reads entries of a ZIP skin archive, opened from a file or from a memory
// block. Stored and deflated entries are read through minizip and zlib.
// Entry names are matched ignoring case, with '\' and '/' alike. Closing
// the archive is destroying the reader.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "Win32.h"

namespace SkinUI {

enum ZipResult {
  ZR_OK = 0,
  ZR_MORE = 1,          // the buffer was filled and the entry holds more bytes
  ZR_ARGS = 2,          // no such entry in this archive, or no buffer
  ZR_CORRUPT = 3,       // damaged data, a wrong checksum or a short entry
  ZR_NOTSUPPORTED = 4,  // encrypted entry or an unknown compression method
};

struct ZipEntry {
  int index = -1;
  DWORD uncompressedSize = 0;
};

class ZipReader {
 public:
  // Null when the file cannot be read or is not a ZIP archive.
  static std::unique_ptr<ZipReader> OpenFile(LPCWSTR pstrPath);
  // The block is not copied; it must stay valid while the reader is used.
  static std::unique_ptr<ZipReader> OpenMemory(LPCVOID pData, DWORD dwSize);

  ZipReader(const ZipReader&) = delete;
  ZipReader& operator=(const ZipReader&) = delete;
  ~ZipReader();

  int GetEntryCount() const;
  // False when there is no entry of that name (directories are entries too).
  bool FindEntry(LPCWSTR pstrName, ZipEntry* pEntry) const;
  // Inflates the entry from its start into the buffer. ZR_MORE when the
  // buffer is smaller than the entry; both it and ZR_OK mean the buffer
  // holds valid bytes.
  ZipResult Extract(const ZipEntry& entry, LPVOID pBuffer, DWORD dwSize);

  // The cursor over the archive's bytes that minizip's I/O hooks move.
  struct Stream {
    const BYTE* data = nullptr;
    ULONGLONG size = 0;
    ULONGLONG offset = 0;
  };

 private:
  struct Entry {
    std::wstring foldedName;
    ULONGLONG directoryOffset;  // where minizip finds the entry again
    ULONGLONG fileNumber;
    ULONGLONG uncompressedSize;
  };

  ZipReader() = default;
  bool Open();
  static std::wstring FoldName(LPCWSTR pstrName);

  std::vector<BYTE> m_file;  // the archive's bytes when opened from a file
  Stream m_stream;
  void* m_zip = nullptr;
  std::vector<Entry> m_entries;
};

}  // namespace SkinUI
