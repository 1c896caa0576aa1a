// Fixtures shared by the installer's tests: a scratch directory, archives
// made by the 7z command, the real archive library, a window that records.
#pragma once

#include <string>
#include <vector>

#include "ArchiveInterfaces.h"
#include "UpdateWindow.h"
#include "Win32.h"

namespace test {

// A fresh directory, removed with everything in it at the end.
class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  const std::string& path() const { return m_path; }
  std::string operator/(const std::string& name) const { return m_path + "/" + name; }
  std::wstring Wide(const std::string& name = "") const;

 private:
  std::string m_path;
};

// Makes the process's current directory dir until it goes.
class CurrentDirectory {
 public:
  explicit CurrentDirectory(const std::string& dir);
  ~CurrentDirectory();

 private:
  std::string m_previous;
};

// Runs a shell command in dir; its output is dropped. The exit status.
int Shell(const std::string& dir, const std::string& command);
void WriteText(const std::string& path, const std::string& text);
std::string ReadText(const std::string& path);
bool Exists(const std::string& path);
unsigned ModeOf(const std::string& path);
std::wstring Widen(const std::string& text);
std::string Narrow(LPCWSTR text);

// The directory of the test program, where the build links 7z.so.
std::wstring ProgramDir();

// The real archive library and one archive opened with it.
class RealArchive {
 public:
  RealArchive();
  ~RealArchive();
  RealArchive(const RealArchive&) = delete;
  RealArchive& operator=(const RealArchive&) = delete;

  // Opens path (narrow, native); the open result.
  HRESULT Open(const std::string& path);
  IInArchive* get() const { return m_archive; }

 private:
  HMODULE m_library = nullptr;
  IInArchive* m_archive = nullptr;
};

// Records what the worker asks of the window, one line per call:
// "visible NAME 0|1", "text NAME TEXT", "min N", "max N", "value N",
// "retry N", "launch".
class RecordingWindow : public IUpdateWindow {
 public:
  explicit RecordingWindow(std::string url) : m_url(std::move(url)) {}
  const char* GameUrl() const override { return m_url.c_str(); }
  void SetControlVisible(LPCWSTR control, bool visible) override;
  void SetControlText(LPCWSTR control, LPCWSTR text) override;
  void SetProgressMinValue(int value) override;
  void SetProgressMaxValue(int value) override;
  void SetProgressValue(int value) override;
  void SetRetryMode(int mode) override;
  void LaunchGame() override;

  std::vector<std::string> calls;

  // Calls of one kind ("text Optionbt", "value"), in order, without the prefix.
  std::vector<std::string> Of(const std::string& prefix) const;
  bool Has(const std::string& call) const;

 private:
  std::string m_url;
};

// The calls a failed download ends with, its tip given.
std::vector<std::string> FailureCalls(const std::string& tip);

}  // namespace test
