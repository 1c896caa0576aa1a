// What the archive library calls for every item it unpacks: where the item
// goes, its output stream, its time and attributes, and the progress that
// goes to the main window.
#pragma once

#include <string>

#include "ArchiveInterfaces.h"
#include "MyUnknown.h"
#include "OutFileStream.h"

class CArchiveExtractCallback final : public IArchiveExtractCallback,
                                      public ICryptoGetTextPassword,
                                      public CMyUnknownImp {
 public:
  CArchiveExtractCallback() = default;
  ~CArchiveExtractCallback();

  // Holds a reference to archive; items go below outputDirectory.
  void Setup(IInArchive* archive, const std::wstring& outputDirectory);

  // Only IUnknown and ICryptoGetTextPassword, both with the password view.
  HRESULT QueryInterface(REFIID iid, void** out) override;
  ULONG AddRef() override { return AddRefImp(); }
  ULONG Release() override { return ReleaseImp(this); }

  HRESULT SetTotal(ULONGLONG total) override;
  // Prints the percentage and sends WM_UNPACK_PROGRESS to MainWindowHandle.
  HRESULT SetCompleted(const ULONGLONG* completeValue) override;
  HRESULT GetStream(UINT index, ISequentialOutStream** outStream, INT askExtractMode) override;
  HRESULT PrepareOperation(INT askExtractMode) override;
  HRESULT SetOperationResult(INT operationResult) override;

  HRESULT CryptoGetTextPassword(BSTR* password) override;

 private:
  HRESULT ReadItemInfo(UINT index);
  void ReleaseOutStream();

  IInArchive* m_archive = nullptr;
  std::wstring m_outputDirectory;
  std::wstring m_itemPath;
  std::wstring m_diskPath;
  bool m_extractMode = false;
  FILETIME m_modificationTime = {};
  UINT m_attributes = 0;
  bool m_isDirectory = false;
  bool m_attributesDefined = false;
  bool m_modificationTimeDefined = false;
  COutFileStream* m_outFile = nullptr;
  ISequentialOutStream* m_outStream = nullptr;
  ULONGLONG m_total = 0;
};
