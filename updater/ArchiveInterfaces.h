// The archive library's published interfaces, as far as the launcher
// uses or implements them. Slot orders follow the library's build: no
// virtual destructor in IUnknown, 32-bit HRESULTs, wide texts as BSTRs.
#pragma once

#include "Win32.h"

// The library's build fixes these sizes; a platform that differs cannot
// talk to it.
static_assert(sizeof(HRESULT) == 4);
static_assert(sizeof(PROPVARIANT) == 8 + sizeof(void*));
static_assert(sizeof(OLECHAR) == sizeof(wchar_t));
// IUnknown: three slots and no destructor, so one vtable pointer only.
static_assert(sizeof(IUnknown) == sizeof(void*));

extern const IID IID_ISequentialInStream;
extern const IID IID_IInStream;
extern const IID IID_ISequentialOutStream;
extern const IID IID_IOutStream;
extern const IID IID_IStreamGetSize;
extern const IID IID_IStreamGetProps;
extern const IID IID_IStreamGetProps2;
extern const IID IID_ICryptoGetTextPassword;
extern const IID IID_IInArchive;
extern const CLSID CLSID_CFormat7z;

// Item properties the extract callback asks for.
enum : PROPID { kpidPath = 3, kpidIsDir = 6, kpidAttrib = 9, kpidMTime = 12 };

// Ask modes of GetStream and PrepareOperation.
enum : INT { kAskExtract = 0, kAskTest = 1, kAskSkip = 2 };

// Operation results of SetOperationResult.
enum : INT { kResultOK = 0, kResultUnsupportedMethod = 1, kResultDataError = 2, kResultCRCError = 3 };

// Seek origins.
enum : UINT { kSeekSet = 0, kSeekCur = 1, kSeekEnd = 2 };

// Attribute bit telling that the high 16 bits hold a Unix mode.
constexpr UINT kAttribUnixExtension = 0x8000;

struct ISequentialInStream : IUnknown {
  virtual HRESULT Read(void* data, UINT size, UINT* processedSize) = 0;
};

struct IInStream : ISequentialInStream {
  virtual HRESULT Seek(LONGLONG offset, UINT seekOrigin, ULONGLONG* newPosition) = 0;
};

struct ISequentialOutStream : IUnknown {
  virtual HRESULT Write(const void* data, UINT size, UINT* processedSize) = 0;
};

struct IOutStream : ISequentialOutStream {
  virtual HRESULT Seek(LONGLONG offset, UINT seekOrigin, ULONGLONG* newPosition) = 0;
  virtual HRESULT SetSize(ULONGLONG newSize) = 0;
};

struct IStreamGetSize : IUnknown {
  virtual HRESULT GetSize(ULONGLONG* size) = 0;
};

struct IStreamGetProps : IUnknown {
  virtual HRESULT GetProps(ULONGLONG* size, FILETIME* cTime, FILETIME* aTime, FILETIME* mTime, UINT* attrib) = 0;
};

struct CStreamFileProps {
  ULONGLONG Size;
  ULONGLONG VolID;
  ULONGLONG FileID_Low;
  ULONGLONG FileID_High;
  UINT NumLinks;
  UINT Attrib;
  FILETIME CTime;
  FILETIME ATime;
  FILETIME MTime;
};

struct IStreamGetProps2 : IUnknown {
  virtual HRESULT GetProps2(CStreamFileProps* props) = 0;
};

struct IProgress : IUnknown {
  virtual HRESULT SetTotal(ULONGLONG total) = 0;
  virtual HRESULT SetCompleted(const ULONGLONG* completeValue) = 0;
};

struct IArchiveOpenCallback : IUnknown {
  virtual HRESULT SetTotal(const ULONGLONG* files, const ULONGLONG* bytes) = 0;
  virtual HRESULT SetCompleted(const ULONGLONG* files, const ULONGLONG* bytes) = 0;
};

struct IArchiveExtractCallback : IProgress {
  virtual HRESULT GetStream(UINT index, ISequentialOutStream** outStream, INT askExtractMode) = 0;
  virtual HRESULT PrepareOperation(INT askExtractMode) = 0;
  virtual HRESULT SetOperationResult(INT opRes) = 0;
};

struct ICryptoGetTextPassword : IUnknown {
  virtual HRESULT CryptoGetTextPassword(BSTR* password) = 0;
};

struct IInArchive : IUnknown {
  virtual HRESULT Open(IInStream* stream, const ULONGLONG* maxCheckStartPosition,
                       IArchiveOpenCallback* openCallback) = 0;
  virtual HRESULT Close() = 0;
  virtual HRESULT GetNumberOfItems(UINT* numItems) = 0;
  virtual HRESULT GetProperty(UINT index, PROPID propID, PROPVARIANT* value) = 0;
  virtual HRESULT Extract(const UINT* indices, UINT numItems, INT testMode,
                          IArchiveExtractCallback* extractCallback) = 0;
  virtual HRESULT GetArchiveProperty(PROPID propID, PROPVARIANT* value) = 0;
  virtual HRESULT GetNumberOfProperties(UINT* numProps) = 0;
  virtual HRESULT GetPropertyInfo(UINT index, BSTR* name, PROPID* propID, VARTYPE* varType) = 0;
  virtual HRESULT GetNumberOfArchiveProperties(UINT* numProps) = 0;
  virtual HRESULT GetArchivePropertyInfo(UINT index, BSTR* name, PROPID* propID, VARTYPE* varType) = 0;
};

// The library's one entry point, looked up by the name "CreateObject".
typedef HRESULT (*CreateObjectFunc)(const GUID* clsID, const GUID* iid, void** outObject);
