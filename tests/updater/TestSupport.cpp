#include "TestSupport.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "ArchiveOpenCallback.h"
#include "FileSystem.h"
#include "InFileStream.h"

namespace test {

std::string Narrow(LPCWSTR text) {
  std::string out(static_cast<size_t>(WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr)), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), static_cast<int>(out.size()), nullptr, nullptr);
  if (!out.empty()) out.pop_back();
  return out;
}


ScratchDir::ScratchDir() {
  char pattern[] = "/tmp/updater-test-XXXXXX";
  if (!mkdtemp(pattern)) throw std::runtime_error("mkdtemp failed");
  m_path = pattern;
}

ScratchDir::~ScratchDir() {
  std::error_code ignored;
  std::filesystem::remove_all(m_path, ignored);
}

std::wstring ScratchDir::Wide(const std::string& name) const {
  return Widen(name.empty() ? m_path : m_path + "/" + name);
}

CurrentDirectory::CurrentDirectory(const std::string& dir) {
  m_previous = std::filesystem::current_path().string();
  std::filesystem::current_path(dir);
}

CurrentDirectory::~CurrentDirectory() { std::filesystem::current_path(m_previous); }

int Shell(const std::string& dir, const std::string& command) {
  const std::string line = "cd '" + dir + "' && (" + command + ") >/dev/null 2>&1";
  return std::system(line.c_str());
}

void WriteText(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

bool Exists(const std::string& path) {
  struct stat st;
  return lstat(path.c_str(), &st) == 0;
}

unsigned ModeOf(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
}

std::wstring Widen(const std::string& text) {
  std::wstring out(static_cast<size_t>(MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, nullptr, 0)), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, out.data(), static_cast<int>(out.size()));
  if (!out.empty()) out.pop_back();
  return out;
}

std::wstring ProgramDir() { return GetLauncherDirPrefix(); }

RealArchive::RealArchive() {
  m_library = LoadLibraryW((ProgramDir() + L"7z.so").c_str());
  if (!m_library) throw std::runtime_error("7z.so is not beside the test program");
}

RealArchive::~RealArchive() {
  if (m_archive) m_archive->Release();
  FreeLibrary(m_library);
}

HRESULT RealArchive::Open(const std::string& path) {
  auto createObject = reinterpret_cast<CreateObjectFunc>(
      reinterpret_cast<void (*)()>(GetProcAddress(m_library, "CreateObject")));
  if (!createObject) return E_FAIL;
  if (m_archive) m_archive->Release();
  m_archive = nullptr;
  HRESULT result = createObject(&CLSID_CFormat7z, &IID_IInArchive, reinterpret_cast<void**>(&m_archive));
  if (result != S_OK) return result;
  CInFileStream* stream = new CInFileStream;
  stream->AddRef();
  CArchiveOpenCallback* callback = new CArchiveOpenCallback;
  callback->AddRef();
  const ULONGLONG maxStart = 8u << 20;
  result = stream->Open(Widen(path)) ? m_archive->Open(stream, &maxStart, callback) : E_FAIL;
  callback->Release();
  stream->Release();
  return result;
}

std::vector<std::string> RecordingWindow::Of(const std::string& prefix) const {
  std::vector<std::string> found;
  for (const std::string& call : calls)
    if (call.compare(0, prefix.size() + 1, prefix + " ") == 0) found.push_back(call.substr(prefix.size() + 1));
  return found;
}

bool RecordingWindow::Has(const std::string& call) const {
  for (const std::string& c : calls)
    if (c == call) return true;
  return false;
}

void RecordingWindow::SetControlVisible(LPCWSTR control, bool visible) {
  calls.push_back("visible " + Narrow(control) + (visible ? " 1" : " 0"));
}
void RecordingWindow::SetControlText(LPCWSTR control, LPCWSTR text) {
  calls.push_back("text " + Narrow(control) + " " + Narrow(text));
}
void RecordingWindow::SetProgressMinValue(int value) { calls.push_back("min " + std::to_string(value)); }
void RecordingWindow::SetProgressMaxValue(int value) { calls.push_back("max " + std::to_string(value)); }
void RecordingWindow::SetProgressValue(int value) { calls.push_back("value " + std::to_string(value)); }
void RecordingWindow::SetRetryMode(int mode) { calls.push_back("retry " + std::to_string(mode)); }
void RecordingWindow::LaunchGame() { calls.push_back("launch"); }

std::vector<std::string> FailureCalls(const std::string& tip) {
  return {"visible Optionsum 0", "visible Optionbt 0", "visible myprogress 0", "retry 2",
          "visible again 1",     "text Optiontexe " + tip, "visible Optiontexe 1"};
}

}  // namespace test
