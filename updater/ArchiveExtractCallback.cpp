#include "ArchiveExtractCallback.h"

#include <cstdio>
#include <cwchar>

#include "ArchiveOpenCallback.h"
#include "Console.h"
#include "FileSystem.h"
#include "ItemPath.h"
#include "MainWindowHandle.h"
#include "PathInfo.h"

namespace {

// One item property; cleared whatever happens.
class ItemProperty {
 public:
  ItemProperty() { PropVariantInit(&value); }
  ~ItemProperty() { PropVariantClear(&value); }
  ItemProperty(const ItemProperty&) = delete;
  ItemProperty& operator=(const ItemProperty&) = delete;

  PROPVARIANT value;
};

// Any of these set: only the low attribute bits are the platform's.
constexpr UINT kHighAttributeBits = 0xF0000000u;
constexpr UINT kLowAttributeBits = 0x3FFFu;

// The permission bits of a file's or directory's Unix mode, applied before
// the attributes so that the read-only bit has the last word. No
// set-user-id bits, nothing for links and devices stored as files, and a
// directory stays writable for the items that follow.
void ApplyUnixMode(const std::wstring& path, UINT mode, bool isDirectory) {
  constexpr UINT kTypeBits = 0170000, kRegular = 0100000, kDirectory = 0040000;
  const UINT type = mode & kTypeBits;
  if (type != (isDirectory ? kDirectory : kRegular)) return;
  UINT permissions = mode & 0777;
  if (isDirectory) permissions |= 0200;
  PlatformSetFileMode(path.c_str(), permissions);
}

}  // namespace

CArchiveExtractCallback::~CArchiveExtractCallback() {
  ReleaseOutStream();
  if (m_archive) m_archive->Release();
}

void CArchiveExtractCallback::Setup(IInArchive* archive, const std::wstring& outputDirectory) {
  if (archive) archive->AddRef();
  if (m_archive) m_archive->Release();
  m_archive = archive;
  m_outputDirectory = outputDirectory;
  if (!m_outputDirectory.empty() && !IsPathSeparator(m_outputDirectory.back()))
    m_outputDirectory += PLATFORM_PATH_SEPARATOR_W;
}

HRESULT CArchiveExtractCallback::QueryInterface(REFIID iid, void** out) {
  if (iid == IID_IUnknown || iid == IID_ICryptoGetTextPassword)
    return AnswerInterface(static_cast<ICryptoGetTextPassword*>(this), out);
  return RefuseInterface(out);
}

HRESULT CArchiveExtractCallback::SetTotal(ULONGLONG total) {
  m_total = total;
  return S_OK;
}

HRESULT CArchiveExtractCallback::SetCompleted(const ULONGLONG* completeValue) {
  const ULONGLONG completed = completeValue ? *completeValue : 0;
  const float percent = m_total ? static_cast<float>(completed) / static_cast<float>(m_total) * 100.0f : 0.0f;
  std::printf("%.2f\n", percent);
  SendMessageW(MainWindowHandle, WM_UNPACK_PROGRESS, static_cast<WPARAM>(static_cast<DWORD>(completed)),
               static_cast<LPARAM>(static_cast<DWORD>(m_total)));
  return S_OK;
}

void CArchiveExtractCallback::ReleaseOutStream() {
  if (m_outStream) m_outStream->Release();
  m_outStream = nullptr;
  m_outFile = nullptr;
}

HRESULT CArchiveExtractCallback::GetStream(UINT index, ISequentialOutStream** outStream, INT askExtractMode) {
  *outStream = nullptr;
  ReleaseOutStream();
  if (!m_archive) return E_FAIL;  // no Setup
  m_attributesDefined = false;
  m_modificationTimeDefined = false;

  {
    ItemProperty path;
    const HRESULT result = m_archive->GetProperty(index, kpidPath, &path.value);
    if (result != S_OK) return result;
    if (path.value.vt == VT_EMPTY) m_itemPath = L"[Content]";
    else if (path.value.vt == VT_BSTR) m_itemPath = path.value.bstrVal ? path.value.bstrVal : L"";
    else return E_FAIL;
  }
  if (askExtractMode != kAskExtract) return S_OK;

  const HRESULT result = ReadItemInfo(index);
  if (result != S_OK) return result;

  // A package must not write outside the directory it is unpacked into.
  if (!ItemPathStaysInside(m_outputDirectory, m_itemPath)) {
    PrintError("Item path leads outside the output directory", m_itemPath);
    PrintText("\n");
    m_diskPath.clear();
    m_attributesDefined = false;
    return S_OK;
  }

  const size_t lastSeparator = m_itemPath.find_last_of(L"\\/");
  if (lastSeparator != std::wstring::npos)
    CreateDirWithParents(m_outputDirectory + m_itemPath.substr(0, lastSeparator));
  m_diskPath = m_outputDirectory + m_itemPath;
  // A link at the item's own place is removed, not followed: the item is
  // written, and its attributes set, there and nowhere else.
  if (IsLink(m_diskPath) && !RemoveLink(m_diskPath)) {
    PrintError("Can not delete output file", m_diskPath);
    m_diskPath.clear();
    return E_ABORT;
  }

  if (m_isDirectory) {
    CreateDirWithParents(m_diskPath);
    return S_OK;
  }

  CPathInfo existing;
  if (existing.Lookup(m_diskPath) && !ForceDeleteFile(m_diskPath)) {
    PrintError("Can not delete output file", m_diskPath);
    return E_ABORT;
  }

  COutFileStream* file = new COutFileStream;
  file->AddRef();
  if (!file->Open(m_diskPath)) {
    PrintError("Can not open output file", m_diskPath);
    file->Release();
    return E_ABORT;
  }
  m_outFile = file;
  m_outStream = file;
  m_outStream->AddRef();
  *outStream = file;
  return S_OK;
}

HRESULT CArchiveExtractCallback::ReadItemInfo(UINT index) {
  {
    ItemProperty attrib;
    const HRESULT result = m_archive->GetProperty(index, kpidAttrib, &attrib.value);
    if (result != S_OK) return result;
    if (attrib.value.vt == VT_EMPTY) {
      m_attributes = 0;
      m_attributesDefined = false;
    } else if (attrib.value.vt == VT_UI4) {
      m_attributes = attrib.value.ulVal;
      m_attributesDefined = true;
    } else {
      return E_FAIL;
    }
  }
  {
    ItemProperty isDir;
    const HRESULT result = m_archive->GetProperty(index, kpidIsDir, &isDir.value);
    if (result != S_OK) return result;
    if (isDir.value.vt == VT_EMPTY) m_isDirectory = false;
    else if (isDir.value.vt == VT_BOOL) m_isDirectory = isDir.value.boolVal != VARIANT_FALSE;
    else return E_FAIL;
  }
  {
    ItemProperty mtime;
    const HRESULT result = m_archive->GetProperty(index, kpidMTime, &mtime.value);
    if (result != S_OK) return result;
    m_modificationTimeDefined = false;
    if (mtime.value.vt == VT_FILETIME) {
      m_modificationTime = mtime.value.filetime;
      m_modificationTimeDefined = true;
    } else if (mtime.value.vt != VT_EMPTY) {
      return E_FAIL;
    }
  }
  return S_OK;
}

HRESULT CArchiveExtractCallback::PrepareOperation(INT askExtractMode) {
  m_extractMode = askExtractMode == kAskExtract;
  switch (askExtractMode) {
    case kAskExtract: PrintText("Extracting  "); break;
    case kAskTest: PrintText("Testing     "); break;
    case kAskSkip: PrintText("Skipping    "); break;
  }
  PrintOemText(m_itemPath);
  return S_OK;
}

HRESULT CArchiveExtractCallback::SetOperationResult(INT operationResult) {
  if (operationResult != kResultOK) {
    PrintText("  :   ");
    PrintText("Error : ");
    switch (operationResult) {
      case kResultUnsupportedMethod: PrintText("Unsupported Method"); break;
      case kResultDataError: PrintText("Data Error"); break;
      case kResultCRCError: PrintText("CRC Failed"); break;
      default: PrintText("Unknown Error"); break;
    }
  }
  if (m_outStream) {
    if (m_modificationTimeDefined) m_outFile->SetModifiedTime(m_modificationTime);
    const HRESULT result = m_outFile->Close();
    if (result != S_OK) return result;
  }
  ReleaseOutStream();
  if (m_extractMode && m_attributesDefined && !m_diskPath.empty()) {
    UINT attributes = m_attributes;
    if (attributes & kAttribUnixExtension) ApplyUnixMode(m_diskPath, attributes >> 16, m_isDirectory);
    if (attributes & kHighAttributeBits) attributes &= kLowAttributeBits;
    SetFileAttributesW(m_diskPath.c_str(), attributes);
  }
  PrintText("\n");
  return S_OK;
}

HRESULT CArchiveExtractCallback::CryptoGetTextPassword(BSTR*) { return RefusePassword(); }
