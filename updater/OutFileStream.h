// One unpacked item's file as the archive library writes it.
#pragma once

#include <string>

#include "ArchiveInterfaces.h"
#include "MyUnknown.h"

class COutFileStream : public IOutStream, public CMyUnknownImp {
 public:
  COutFileStream() = default;
  virtual ~COutFileStream();

  // Creates or truncates the file for writing, others may read it. A handle
  // already open is closed first; a failing close keeps it and fails.
  bool Open(const std::wstring& path);

  HRESULT QueryInterface(REFIID iid, void** out) override;
  ULONG AddRef() override { return AddRefImp(); }
  ULONG Release() override { return ReleaseImp(this); }

  // Everything, in platform writes of at most 4 MiB.
  HRESULT Write(const void* data, UINT size, UINT* processedSize) override;
  HRESULT Seek(LONGLONG offset, UINT seekOrigin, ULONGLONG* newPosition) override;
  HRESULT SetSize(ULONGLONG newSize) override;

  void SetModifiedTime(const FILETIME& time);
  HRESULT Close();

  ULONGLONG ProcessedSize() const { return m_processedSize; }

 private:
  HANDLE m_file = INVALID_HANDLE_VALUE;
  ULONGLONG m_processedSize = 0;
};
