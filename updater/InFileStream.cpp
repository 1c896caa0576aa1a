#include "InFileStream.h"

#include "FileSystem.h"

HRESULT SeekFile(HANDLE file, LONGLONG offset, UINT seekOrigin, ULONGLONG* newPosition) {
  if (seekOrigin > kSeekEnd) return STG_E_INVALIDFUNCTION;
  LARGE_INTEGER distance, position;
  distance.QuadPart = offset;
  if (!SetFilePointerEx(file, distance, &position, seekOrigin)) {
    if (newPosition) *newPosition = static_cast<ULONGLONG>(offset);
    return ResultFromLastError();
  }
  if (newPosition) *newPosition = static_cast<ULONGLONG>(position.QuadPart);
  return S_OK;
}

CInFileStream::~CInFileStream() {
  if (m_file != INVALID_HANDLE_VALUE) CloseHandle(m_file);
}

bool CInFileStream::Open(const std::wstring& path) {
  if (m_file != INVALID_HANDLE_VALUE) {
    if (!CloseHandle(m_file)) return false;
    m_file = INVALID_HANDLE_VALUE;
  }
  m_file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                       nullptr);
  return m_file != INVALID_HANDLE_VALUE;
}

HRESULT CInFileStream::QueryInterface(REFIID iid, void** out) {
  if (iid == IID_IUnknown || iid == IID_IInStream) return AnswerInterface(static_cast<IInStream*>(this), out);
  if (iid == IID_IStreamGetSize) return AnswerInterface(static_cast<IStreamGetSize*>(this), out);
  if (iid == IID_IStreamGetProps) return AnswerInterface(static_cast<IStreamGetProps*>(this), out);
  if (iid == IID_IStreamGetProps2) return AnswerInterface(static_cast<IStreamGetProps2*>(this), out);
  return RefuseInterface(out);
}

HRESULT CInFileStream::Read(void* data, UINT size, UINT* processedSize) {
  DWORD read = 0;
  const BOOL ok = ReadFile(m_file, data, size < kMaxBytesPerCall ? size : kMaxBytesPerCall, &read, nullptr);
  if (processedSize) *processedSize = read;
  return ok ? S_OK : ResultFromLastError();
}

HRESULT CInFileStream::Seek(LONGLONG offset, UINT seekOrigin, ULONGLONG* newPosition) {
  return SeekFile(m_file, offset, seekOrigin, newPosition);
}

HRESULT CInFileStream::GetSize(ULONGLONG* size) {
  LARGE_INTEGER length;
  if (!GetFileSizeEx(m_file, &length)) return ResultFromLastError();
  *size = static_cast<ULONGLONG>(length.QuadPart);
  return S_OK;
}

HRESULT CInFileStream::GetProps(ULONGLONG* size, FILETIME* cTime, FILETIME* aTime, FILETIME* mTime, UINT* attrib) {
  BY_HANDLE_FILE_INFORMATION info;
  if (!GetFileInformationByHandle(m_file, &info)) return static_cast<HRESULT>(GetLastError());
  if (size) *size = (static_cast<ULONGLONG>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
  if (cTime) *cTime = info.ftCreationTime;
  if (aTime) *aTime = info.ftLastAccessTime;
  if (mTime) *mTime = info.ftLastWriteTime;
  if (attrib) *attrib = info.dwFileAttributes;
  return S_OK;
}

HRESULT CInFileStream::GetProps2(CStreamFileProps* props) {
  BY_HANDLE_FILE_INFORMATION info;
  if (!GetFileInformationByHandle(m_file, &info)) return static_cast<HRESULT>(GetLastError());
  props->Size = (static_cast<ULONGLONG>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
  props->VolID = info.dwVolumeSerialNumber;
  props->FileID_Low = (static_cast<ULONGLONG>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
  props->FileID_High = 0;
  props->NumLinks = 1;
  props->Attrib = info.dwFileAttributes;
  props->CTime = info.ftCreationTime;
  props->ATime = info.ftLastAccessTime;
  props->MTime = info.ftLastWriteTime;
  return S_OK;
}
