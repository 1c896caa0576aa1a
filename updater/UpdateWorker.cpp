#include "UpdateWorker.h"

#include <cwchar>

#include "ArchiveExtractCallback.h"
#include "ArchiveInterfaces.h"
#include "ArchiveOpenCallback.h"
#include "Console.h"
#include "FileSystem.h"
#include "InFileStream.h"
#include "PackageFile.h"

namespace {

constexpr DWORD kFailed = 0xFFFFFFFFu;
constexpr DWORD kPieceSize = 512;
constexpr int kUrlCapacity = 300;
constexpr DWORD kDirectoryCapacity = 500;
constexpr ULONGLONG kMaxStartPosition = 8u << 20;

// The texts of one downloaded piece.
void ShowDownloadProgress(IUpdateWindow& window, LONGLONG received, LONGLONG size, time_t elapsed) {
  const int percent = size > 0 ? static_cast<int>(static_cast<double>(received) / static_cast<double>(size) * 100) : 0;
  // In the first second the speed is what arrived so far.
  const double seconds = elapsed > 0 ? static_cast<double>(elapsed) : 1.0;
  const LONGLONG kilobytes = received / 1024;
  const double kbPerSecond = static_cast<double>(kilobytes) / seconds;

  WCHAR progressText[100], speedText[100];
  std::swprintf(progressText, 100, L"正在下载...(%d%%)", percent);
  if (kbPerSecond > 1024) {
    const double mbPerSecond = static_cast<double>(kilobytes / 1024) / seconds;
    std::swprintf(speedText, 100, L"下载速度：%d MB/秒", static_cast<int>(mbPerSecond));
  } else {
    std::swprintf(speedText, 100, L"下载速度：%d KB/秒", static_cast<int>(kbPerSecond));
  }
  window.SetProgressValue(percent);
  window.SetControlText(L"Optionsum", progressText);
  window.SetControlText(L"Optionbt", speedText);
}

// A failed download: the retry button with a tip.
DWORD ShowDownloadFailure(IUpdateWindow& window, LPCWSTR tip) {
  window.SetControlVisible(L"Optionsum", false);
  window.SetControlVisible(L"Optionbt", false);
  window.SetControlVisible(L"myprogress", false);
  window.SetRetryMode(2);
  window.SetControlVisible(L"again", true);
  window.SetControlText(L"Optiontexe", tip);
  window.SetControlVisible(L"Optiontexe", true);
  return kFailed;
}

enum class Download { Done, NetworkFailed, WriteFailed };

Download DownloadPackage(IUpdateWindow& window, const UpdateOptions& options, std::wstring* packageName) {
  WCHAR url[kUrlCapacity];
  if (MultiByteToWideChar(CP_ACP, 0, window.GameUrl(), -1, url, kUrlCapacity) == 0) url[0] = 0;

  HttpFile http(options.timeouts);
  // An error page is not the package.
  if (!http.Open(url) || http.GetStatus() >= 400) return Download::NetworkFailed;
  const time_t start = options.clock();
  if (!http.HasLength()) return Download::NetworkFailed;
  const LONGLONG size = static_cast<LONGLONG>(http.GetLength());

  window.SetControlVisible(L"Optionsum", true);
  window.SetControlVisible(L"Optionbt", true);
  window.SetControlVisible(L"myprogress", true);
  window.SetProgressMinValue(0);
  window.SetProgressMaxValue(100);

  *packageName = http.GetFileName();
  PackageFile file;
  if (!file.Create(*packageName)) {
    PrintError("Can not create package file", *packageName);
    PrintText("\n");
    return Download::WriteFailed;
  }

  char piece[kPieceSize];
  LONGLONG received = 0;
  for (;;) {
    const long count = http.Read(piece, kPieceSize);
    if (count < 0) {
      file.Close();
      return Download::NetworkFailed;
    }
    if (count == 0) break;
    const time_t elapsed = options.clock() - start;
    received += count;
    if (!file.Append(piece, static_cast<DWORD>(count))) {
      PrintError("Can not write package file", *packageName);
      PrintText("\n");
      return Download::WriteFailed;
    }
    ShowDownloadProgress(window, received, size, elapsed);
  }
  if (!file.Close()) {
    PrintError("Can not write package file", *packageName);
    PrintText("\n");
    return Download::WriteFailed;
  }
  window.SetProgressValue(0);
  return Download::Done;
}

// The loaded archive library, unloaded when it goes.
class LibraryHandle {
 public:
  explicit LibraryHandle(const std::wstring& path) : m_module(LoadLibraryW(path.c_str())) {}
  ~LibraryHandle() {
    if (m_module) FreeLibrary(m_module);
  }
  LibraryHandle(const LibraryHandle&) = delete;
  LibraryHandle& operator=(const LibraryHandle&) = delete;

  HMODULE get() const { return m_module; }

 private:
  HMODULE m_module;
};

// One reference to a library object, dropped when it goes.
template <typename T>
class Reference {
 public:
  Reference() = default;
  explicit Reference(T* object) : m_object(object) {
    if (m_object) m_object->AddRef();
  }
  ~Reference() {
    if (m_object) m_object->Release();
  }
  Reference(const Reference&) = delete;
  Reference& operator=(const Reference&) = delete;

  T* get() const { return m_object; }
  T* operator->() const { return m_object; }
  // Adopts a reference handed out through an out-parameter.
  void** out() { return reinterpret_cast<void**>(&m_object); }

 private:
  T* m_object = nullptr;
};

}  // namespace

DWORD InstallPackage(IUpdateWindow& window, const std::wstring& packageName, const UpdateOptions& options) {
  OSVERSIONINFOW version = {};
  version.dwOSVersionInfoSize = sizeof version;
  if (!GetVersionExW(&version) || version.dwPlatformId != VER_PLATFORM_WIN32_NT) {
    PrintError("Unsupported Windows version");
    return 1;
  }

  const std::wstring directory = options.libraryDirectory.empty() ? GetLauncherDirPrefix() : options.libraryDirectory;
  LibraryHandle library(directory + L"7z" PLATFORM_LIBRARY_SUFFIX_W);
  if (!library.get()) {
    PrintError("Can not load 7-zip library");
    return kFailed;
  }
  const auto createObject = reinterpret_cast<CreateObjectFunc>(
      reinterpret_cast<void (*)()>(GetProcAddress(library.get(), "CreateObject")));
  if (!createObject) {
    PrintError("Can not get CreateObject");
    return kFailed;
  }

  // The objects go before the library: members are destroyed in reverse.
  Reference<IInArchive> archive;
  if (createObject(&CLSID_CFormat7z, &IID_IInArchive, archive.out()) != S_OK) {
    PrintError("Can not get class object");
    return kFailed;
  }

  Reference<CInFileStream> stream(new CInFileStream);
  if (!stream->Open(packageName)) {
    PrintError("Can not open archive file", packageName);
    return kFailed;
  }

  Reference<CArchiveOpenCallback> openCallback(new CArchiveOpenCallback);
  if (archive->Open(stream.get(), &kMaxStartPosition, openCallback.get()) != S_OK) {
    PrintError("Can not open file as archive", packageName);
    return kFailed;
  }

  Reference<CArchiveExtractCallback> extractCallback(new CArchiveExtractCallback);
  WCHAR currentDirectory[kDirectoryCapacity];
  const DWORD length = GetCurrentDirectoryW(kDirectoryCapacity, currentDirectory);
  // Too long for the buffer: item paths stay relative to the same directory.
  if (length == 0 || length >= kDirectoryCapacity) currentDirectory[0] = 0;
  extractCallback->Setup(archive.get(), currentDirectory);

  // Items that fail to unpack do not stop the game start.
  archive->Extract(nullptr, 0xFFFFFFFFu, 0, extractCallback.get());

  window.LaunchGame();
  return 0;
}

DWORD RunUpdate(IUpdateWindow& window, const UpdateOptions& options) {
  std::wstring packageName;
  switch (DownloadPackage(window, options, &packageName)) {
    case Download::NetworkFailed: return ShowDownloadFailure(window, L"网络异常");
    case Download::WriteFailed: return ShowDownloadFailure(window, L"写入文件失败");
    case Download::Done: break;
  }
  return InstallPackage(window, packageName, options);
}

UINT AFX_CDECL UpdateWorker(LPVOID pParam) {
  return RunUpdate(*static_cast<IUpdateWindow*>(pParam));
}
