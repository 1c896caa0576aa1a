// The package file as the archive library reads it: four interface views
// over one object with one reference count.
#pragma once

#include <string>

#include "ArchiveInterfaces.h"
#include "MyUnknown.h"

class CInFileStream : public IInStream,
                      public IStreamGetSize,
                      public IStreamGetProps,
                      public IStreamGetProps2,
                      public CMyUnknownImp {
 public:
  CInFileStream() = default;
  virtual ~CInFileStream();

  // Opens an existing file for reading, others may read it too. A handle
  // already open is closed first; a failing close keeps it and fails.
  bool Open(const std::wstring& path);

  HRESULT QueryInterface(REFIID iid, void** out) override;
  ULONG AddRef() override { return AddRefImp(); }
  ULONG Release() override { return ReleaseImp(this); }

  // At most 4 MiB per call; fewer bytes than asked is not an error.
  HRESULT Read(void* data, UINT size, UINT* processedSize) override;
  HRESULT Seek(LONGLONG offset, UINT seekOrigin, ULONGLONG* newPosition) override;
  HRESULT GetSize(ULONGLONG* size) override;
  HRESULT GetProps(ULONGLONG* size, FILETIME* cTime, FILETIME* aTime, FILETIME* mTime, UINT* attrib) override;
  HRESULT GetProps2(CStreamFileProps* props) override;

 private:
  HANDLE m_file = INVALID_HANDLE_VALUE;
};

// Seek shared by both file streams.
HRESULT SeekFile(HANDLE file, LONGLONG offset, UINT seekOrigin, ULONGLONG* newPosition);

constexpr UINT kMaxBytesPerCall = 4u << 20;
