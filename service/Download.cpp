#include "Download.h"

#include "HttpFile.h"
#include "Win32.h"

#include <cstdio>
#include <memory>
#include <new>

namespace {

constexpr int kPathCapacity = 500;
constexpr ULONGLONG kLargestBody = 0xFFFFFFFFull;

// The whole body of `url`, or nothing. An error page is not the file, and
// a body of unknown or partial length is not the whole file.
bool FetchWholeBody(const char* url, std::unique_ptr<char[]>* body, DWORD* length) {
  WCHAR wideUrl[kDownloadUrlCapacity] = {};
  if (MultiByteToWideChar(CP_ACP, 0, url, -1, wideUrl, kDownloadUrlCapacity) == 0) return false;

  HttpFile file;
  if (!file.Open(wideUrl)) return false;
  if (file.GetStatus() >= 400 || !file.HasLength() || file.GetLength() > kLargestBody) return false;

  DWORD total = static_cast<DWORD>(file.GetLength());
  std::unique_ptr<char[]> buffer(new (std::nothrow) char[static_cast<size_t>(total) + 1]);
  if (!buffer) return false;
  DWORD received = 0;
  while (received < total) {
    long n = file.Read(buffer.get() + received, total - received);
    if (n <= 0) return false;
    received += static_cast<DWORD>(n);
  }
  *body = std::move(buffer);
  *length = received;
  return true;
}

bool WriteWholeFile(LPCWSTR path, const char* data, DWORD length) {
  HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  BOOL ok = WriteFile(file, data, length, &written, nullptr) && written == length;
  return CloseHandle(file) && ok;
}

int Download(const char* url, LPCWSTR path) {
  std::unique_ptr<char[]> body;
  DWORD length = 0;
  if (!FetchWholeBody(url, &body, &length)) return kDownloadNetworkFailure;
  return WriteWholeFile(path, body.get(), length) ? 0 : kDownloadWriteFailure;
}

}  // namespace

int DownloadToFile(const char* url, const char* path) {
  WCHAR widePath[kPathCapacity] = {};
  if (MultiByteToWideChar(CP_ACP, 0, path, -1, widePath, kPathCapacity) == 0) return kDownloadWriteFailure;
  return Download(url, widePath);
}

int DownloadBackgroundImage(const char* url) {
  WCHAR current[kPathCapacity] = {};
  DWORD currentLength = GetCurrentDirectoryW(kPathCapacity, current);
  if (currentLength == 0 || currentLength >= kPathCapacity) return kDownloadWriteFailure;
  char directory[kPathCapacity] = {};
  if (WideCharToMultiByte(CP_ACP, 0, current, -1, directory, kPathCapacity, nullptr, nullptr) == 0)
    return kDownloadWriteFailure;

  char path[kPathCapacity] = {};
  int pathLength = std::snprintf(path, sizeof path,
                                 "%s" PLATFORM_PATH_SEPARATOR_A "Skin" PLATFORM_PATH_SEPARATOR_A "bk"
                                 PLATFORM_PATH_SEPARATOR_A "bg_1.png",
                                 directory);
  if (pathLength < 0 || pathLength >= kPathCapacity) return kDownloadWriteFailure;
  return DownloadToFile(url, path);
}
