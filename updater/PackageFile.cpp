#include "PackageFile.h"

#include <cstring>

namespace {

bool WriteAll(HANDLE file, const BYTE* data, size_t size) {
  while (size > 0) {
    DWORD written = 0;
    if (!WriteFile(file, data, static_cast<DWORD>(size), &written, nullptr)) return false;
    if (written == 0) {
      SetLastError(ERROR_DISK_FULL);
      return false;
    }
    data += written;
    size -= written;
  }
  return true;
}

}  // namespace

PackageFile::~PackageFile() { Close(); }

bool PackageFile::Create(const std::wstring& name) {
  Close();
  if (name.empty()) {
    SetLastError(ERROR_INVALID_NAME);
    return false;
  }
  m_file = CreateFileW(name.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                       nullptr);
  if (m_file == INVALID_HANDLE_VALUE) return false;
  m_pending.reserve(kGather);
  return true;
}

bool PackageFile::Append(const void* data, DWORD size) {
  if (m_file == INVALID_HANDLE_VALUE) return false;
  if (m_pending.size() + size > kGather && !Flush()) return false;
  if (size >= kGather) return WriteAll(m_file, static_cast<const BYTE*>(data), size);
  const BYTE* bytes = static_cast<const BYTE*>(data);
  m_pending.insert(m_pending.end(), bytes, bytes + size);
  return true;
}

bool PackageFile::Flush() {
  const bool ok = WriteAll(m_file, m_pending.data(), m_pending.size());
  m_pending.clear();
  return ok;
}

bool PackageFile::Close() {
  if (m_file == INVALID_HANDLE_VALUE) return true;
  const bool flushed = Flush();
  const bool closed = CloseHandle(m_file) != FALSE;
  m_file = INVALID_HANDLE_VALUE;
  m_pending.clear();
  return flushed && closed;
}
