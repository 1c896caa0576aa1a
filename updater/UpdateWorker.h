// The worker that brings the game up to date: downloads the package named
// by the window's game_url into the current directory, unpacks it there
// with the archive library and starts the game.
#pragma once

#include <ctime>
#include <functional>
#include <string>

#include "HttpFile.h"
#include "UpdateWindow.h"
#include "Win32.h"

struct UpdateOptions {
  HttpFile::Timeouts timeouts;
  // Wall-clock seconds for the download speed.
  std::function<time_t()> clock = [] { return std::time(nullptr); };
  // Where the archive library is loaded from; empty: the launcher's directory.
  std::wstring libraryDirectory;
};

// Thread entry (AfxBeginThread): pParam is the window's IUpdateWindow.
// 0 once the game start was attempted, 1 on an unsupported system,
// 0xFFFFFFFF for every other failure.
UINT AFX_CDECL UpdateWorker(LPVOID pParam);

DWORD RunUpdate(IUpdateWindow& window, const UpdateOptions& options = {});

// The steps after the download: the system check, the library, opening
// and unpacking packageName into the current directory, the game start.
// Failures are console lines only.
DWORD InstallPackage(IUpdateWindow& window, const std::wstring& packageName, const UpdateOptions& options = {});
