#include "OutFileStream.h"

#include "FileSystem.h"
#include "InFileStream.h"

COutFileStream::~COutFileStream() {
  if (m_file != INVALID_HANDLE_VALUE) CloseHandle(m_file);
}

bool COutFileStream::Open(const std::wstring& path) {
  m_processedSize = 0;
  if (m_file != INVALID_HANDLE_VALUE) {
    if (!CloseHandle(m_file)) return false;
    m_file = INVALID_HANDLE_VALUE;
  }
  m_file = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                       nullptr);
  return m_file != INVALID_HANDLE_VALUE;
}

HRESULT COutFileStream::QueryInterface(REFIID iid, void** out) {
  if (iid == IID_IUnknown || iid == IID_IOutStream) return AnswerInterface(static_cast<IOutStream*>(this), out);
  return RefuseInterface(out);
}

HRESULT COutFileStream::Write(const void* data, UINT size, UINT* processedSize) {
  const BYTE* bytes = static_cast<const BYTE*>(data);
  UINT done = 0;
  HRESULT result = S_OK;
  while (done < size) {
    const UINT piece = size - done < kMaxBytesPerCall ? size - done : kMaxBytesPerCall;
    DWORD written = 0;
    if (!WriteFile(m_file, bytes + done, piece, &written, nullptr)) {
      result = ResultFromLastError();
      break;
    }
    done += written;
    if (written == 0) break;
  }
  m_processedSize += done;
  if (processedSize) *processedSize = done;
  return result;
}

HRESULT COutFileStream::Seek(LONGLONG offset, UINT seekOrigin, ULONGLONG* newPosition) {
  return SeekFile(m_file, offset, seekOrigin, newPosition);
}

HRESULT COutFileStream::SetSize(ULONGLONG newSize) {
  LARGE_INTEGER zero, start, target, moved;
  zero.QuadPart = 0;
  if (!SetFilePointerEx(m_file, zero, &start, FILE_CURRENT)) return E_FAIL;
  target.QuadPart = static_cast<LONGLONG>(newSize);
  if (!SetFilePointerEx(m_file, target, &moved, FILE_BEGIN) || moved.QuadPart != target.QuadPart) return E_FAIL;
  if (!SetEndOfFile(m_file)) return E_FAIL;
  if (!SetFilePointerEx(m_file, start, nullptr, FILE_BEGIN)) return E_FAIL;
  return S_OK;
}

void COutFileStream::SetModifiedTime(const FILETIME& time) { SetFileTime(m_file, nullptr, nullptr, &time); }

HRESULT COutFileStream::Close() {
  if (m_file == INVALID_HANDLE_VALUE) return S_OK;
  if (!CloseHandle(m_file)) return ResultFromLastError();
  m_file = INVALID_HANDLE_VALUE;
  return S_OK;
}
