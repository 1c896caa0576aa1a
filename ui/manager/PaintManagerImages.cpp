// Images of a window (loading, the cache, reloading), default attribute
// lists and option groups.
#include <cstring>
#include <memory>
#include <new>

#include "controls/CControlUI.h"
#include "core/AttributeValues.h"
#include "manager/CPaintManagerUI.h"
#include "markup/CMarkup.h"
#include "render/ImageDecoder.h"
#include "render/ZipReader.h"

namespace SkinUI {

namespace {

// Image files are read whole; anything larger is not a skin image.
constexpr ULONGLONG kMaxImageFileBytes = 64ull * 1024 * 1024;

struct Bytes {
  std::unique_ptr<BYTE[]> data;
  DWORD size = 0;
};

Bytes Allocate(DWORD size) {
  Bytes bytes;
  bytes.data.reset(new (std::nothrow) BYTE[size]);
  if (bytes.data) bytes.size = size;
  return bytes;
}

Bytes ReadResource(LPCWSTR bitmap, LPCWSTR type) {
  HINSTANCE hModule = CPaintManagerUI::GetResourceDll();
  HRSRC hResource = ::FindResourceW(hModule, bitmap, type);
  if (hResource == nullptr) return {};
  HGLOBAL hGlobal = ::LoadResource(hModule, hResource);
  const DWORD size = ::SizeofResource(hModule, hResource);
  const void* data = hGlobal ? ::LockResource(hGlobal) : nullptr;
  Bytes bytes;
  if (data != nullptr && size > 0) {
    bytes = Allocate(size);
    if (bytes.data) memcpy(bytes.data.get(), data, size);
  }
  if (hGlobal) ::FreeResource(hGlobal);
  return bytes;
}

Bytes ReadFileBytes(LPCWSTR path) {
  HANDLE hFile = ::CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                               nullptr);
  if (hFile == INVALID_HANDLE_VALUE) return {};
  Bytes bytes;
  LARGE_INTEGER size = {};
  if (::GetFileSizeEx(hFile, &size) && size.QuadPart > 0 &&
      static_cast<ULONGLONG>(size.QuadPart) <= kMaxImageFileBytes) {
    bytes = Allocate(static_cast<DWORD>(size.QuadPart));
    DWORD read = 0;
    if (bytes.data && (!::ReadFile(hFile, bytes.data.get(), bytes.size, &read, nullptr) || read != bytes.size))
      bytes = {};
  }
  ::CloseHandle(hFile);
  return bytes;
}

Bytes ReadArchiveEntry(LPCWSTR name) {
  std::unique_ptr<ZipReader> opened;
  ZipReader* zip = CPaintManagerUI::IsCachedResourceZip() ? CPaintManagerUI::GetResourceZipHandle() : nullptr;
  if (zip == nullptr) {
    opened = ZipReader::OpenFile(CPaintManagerUI::GetResourcePath() + CPaintManagerUI::GetResourceZip());
    zip = opened.get();
  }
  ZipEntry entry;
  if (zip == nullptr || !zip->FindEntry(name, &entry)) return {};
  // The entry's declared size is not trusted beyond what a skin file may be.
  if (entry.uncompressedSize == 0 || entry.uncompressedSize > CMarkup::kMaxDocumentBytes) return {};
  Bytes bytes = Allocate(entry.uncompressedSize);
  if (!bytes.data) return {};
  const ZipResult result = zip->Extract(entry, bytes.data.get(), bytes.size);
  if (result != ZR_OK && result != ZR_MORE) return {};
  return bytes;
}

// A loaded record with its source noted, or null.
TImageInfo* LoadRecord(LPCWSTR bitmap, LPCWSTR type, DWORD mask) {
  LPCWSTR source = bitmap;
  if (type != nullptr && *type != 0) {
    if (IS_INTRESOURCE(bitmap)) {
      source = bitmap;
    } else if (*bitmap >= L'0' && *bitmap <= L'9') {
      source = MAKEINTRESOURCEW(static_cast<WORD>(ParseInt(bitmap)));
    } else {
      return nullptr;
    }
  }
  TImageInfo* data = CPaintManagerUI::LoadImage(source, type, mask);
  if (data == nullptr) return nullptr;
  data->sResType = type ? type : L"";
  data->dwMask = mask;
  return data;
}

// The cache key of a file asked for with a mask other than its first.
CDuiString MaskedKey(LPCWSTR bitmap, DWORD mask) {
  CDuiString key;
  key.Format(L"%s|#%08X", bitmap, mask);
  return key;
}

// The name a cache key loads from.
CDuiString NameOfKey(LPCWSTR key, const TImageInfo* data) {
  CDuiString name(key);
  if (data->dwMask != 0) {
    const CDuiString suffix = MaskedKey(L"", data->dwMask);
    const int cut = name.GetLength() - suffix.GetLength();
    if (cut > 0 && name.Mid(cut) == suffix) name = name.Left(cut);
  }
  return name;
}

}  // namespace

UINT CPaintManagerUI::GetImageGeneration() { return m_uImageGeneration; }

TImageInfo* CPaintManagerUI::LoadImage(LPCWSTR bitmap, LPCWSTR type, DWORD mask) {
  if (bitmap == nullptr) return nullptr;
  Bytes bytes;
  if (type != nullptr && *type != 0) bytes = ReadResource(bitmap, type);
  // A resource number is no text: there is no path to fall back on.
  if (IS_INTRESOURCE(bitmap)) {
    if (!bytes.data) return nullptr;
  } else if (!bytes.data) {
    if (m_pStrResourceZip.IsEmpty())
      bytes = ReadFileBytes(m_pStrResourcePath + bitmap);
    else
      bytes = ReadArchiveEntry(bitmap);
    if (!bytes.data) bytes = ReadFileBytes(bitmap);
  }
  if (!bytes.data) return nullptr;
  return DecodeImage(bytes.data.get(), bytes.size, mask);
}

void CPaintManagerUI::FreeImage(TImageInfo* bitmap) {
  if (bitmap == nullptr) return;
  if (bitmap->hBitmap) ::DeleteObject(bitmap->hBitmap);
  delete bitmap;
}

TImageInfo* CPaintManagerUI::GetImage(LPCWSTR bitmap) {
  if (bitmap == nullptr) return nullptr;
  for (CPaintManagerUI* pm = this; pm != nullptr; pm = pm->m_pParentResourcePM)
    if (auto data = static_cast<TImageInfo*>(pm->m_mImageHash.Find(bitmap))) return data;
  return nullptr;
}

TImageInfo* CPaintManagerUI::GetImageEx(LPCWSTR bitmap, LPCWSTR type, DWORD mask) {
  if (bitmap == nullptr) return nullptr;
  auto data = static_cast<TImageInfo*>(m_mImageHash.Find(bitmap));
  if (data == nullptr) {
    AddImage(bitmap, type, mask);
    return static_cast<TImageInfo*>(m_mImageHash.Find(bitmap));
  }
  // The name's record serves every caller without a mask of its own (the
  // skin's pre-registered images); another mask is another record.
  if (mask == 0 || data->dwMask == mask) return data;
  const CDuiString key = MaskedKey(bitmap, mask);
  if ((data = static_cast<TImageInfo*>(m_mImageHash.Find(key))) != nullptr) return data;
  data = LoadRecord(bitmap, type, mask);
  if (data != nullptr && !m_mImageHash.Insert(key, data)) {
    FreeImage(data);
    data = nullptr;
  }
  return data;
}

TImageInfo* CPaintManagerUI::AddImage(LPCWSTR bitmap, LPCWSTR type, DWORD mask) {
  if (bitmap == nullptr) return nullptr;
  TImageInfo* data = LoadRecord(bitmap, type, mask);
  if (data == nullptr) return nullptr;
  if (!m_mImageHash.Insert(bitmap, data)) {
    FreeImage(data);
    return static_cast<TImageInfo*>(m_mImageHash.Find(bitmap));
  }
  return data;
}

TImageInfo* CPaintManagerUI::AddImage(LPCWSTR bitmap, HBITMAP hBitmap, int iWidth, int iHeight, bool bAlpha) {
  if (bitmap == nullptr || hBitmap == nullptr || iWidth <= 0 || iHeight <= 0) return nullptr;
  TImageInfo* data = new (std::nothrow) TImageInfo;
  if (data == nullptr) return nullptr;
  data->hBitmap = hBitmap;
  data->nX = iWidth;
  data->nY = iHeight;
  data->alphaChannel = bAlpha;
  // The bitmap was handed over: refused, it is released like a loaded one.
  if (!m_mImageHash.Insert(bitmap, data)) {
    FreeImage(data);
    return static_cast<TImageInfo*>(m_mImageHash.Find(bitmap));
  }
  return data;
}

bool CPaintManagerUI::RemoveImage(LPCWSTR bitmap) {
  if (bitmap == nullptr) return false;
  auto data = static_cast<TImageInfo*>(m_mImageHash.Find(bitmap));
  if (data == nullptr) return false;
  ++m_uImageGeneration;
  FreeImage(data);
  return m_mImageHash.Remove(bitmap);
}

void CPaintManagerUI::RemoveAllImages() {
  ++m_uImageGeneration;
  for (int i = 0; i < m_mImageHash.GetSize(); ++i)
    if (LPCWSTR key = m_mImageHash.GetAt(i)) FreeImage(static_cast<TImageInfo*>(m_mImageHash.Find(key, false)));
  m_mImageHash.RemoveAll();
}

void CPaintManagerUI::ReloadAllImages() {
  bool changed = false;
  for (int i = 0; i < m_mImageHash.GetSize(); ++i) {
    LPCWSTR key = m_mImageHash.GetAt(i);
    auto data = key ? static_cast<TImageInfo*>(m_mImageHash.Find(key, false)) : nullptr;
    if (data == nullptr) continue;
    const CDuiString name = NameOfKey(key, data);
    TImageInfo* fresh = nullptr;
    if (!data->sResType.IsEmpty()) {
      if (name[0] < L'0' || name[0] > L'9') continue;
      fresh = LoadImage(MAKEINTRESOURCEW(static_cast<WORD>(ParseInt(name))), data->sResType, data->dwMask);
    } else {
      fresh = LoadImage(name, nullptr, data->dwMask);
    }
    if (fresh == nullptr) continue;
    // The record stays where it is: holders of its pointer see the new pixels.
    if (data->hBitmap) ::DeleteObject(data->hBitmap);
    data->hBitmap = fresh->hBitmap;
    data->nX = fresh->nX;
    data->nY = fresh->nY;
    data->alphaChannel = fresh->alphaChannel;
    fresh->hBitmap = nullptr;
    delete fresh;
    changed = true;
  }
  if (changed && m_pRoot != nullptr) m_pRoot->Invalidate();
}

// [SECTION] Default attribute lists

void CPaintManagerUI::AddDefaultAttributeList(LPCWSTR pStrControlName, LPCWSTR pStrControlAttrList) {
  if (pStrControlName == nullptr || pStrControlAttrList == nullptr) return;
  CDuiString* pList = new (std::nothrow) CDuiString(pStrControlAttrList);
  if (pList != nullptr && !m_DefaultAttrHash.Insert(pStrControlName, pList)) delete pList;
}

LPCWSTR CPaintManagerUI::GetDefaultAttributeList(LPCWSTR pStrControlName) const {
  if (pStrControlName == nullptr) return nullptr;
  for (const CPaintManagerUI* pm = this; pm != nullptr; pm = pm->m_pParentResourcePM)
    if (auto pList = static_cast<CDuiString*>(pm->m_DefaultAttrHash.Find(pStrControlName))) return pList->GetData();
  return nullptr;
}

bool CPaintManagerUI::RemoveDefaultAttributeList(LPCWSTR pStrControlName) {
  if (pStrControlName == nullptr) return false;
  auto pList = static_cast<CDuiString*>(m_DefaultAttrHash.Find(pStrControlName));
  if (pList == nullptr) return false;
  delete pList;
  return m_DefaultAttrHash.Remove(pStrControlName);
}

const CStdStringPtrMap& CPaintManagerUI::GetDefaultAttribultes() const { return m_DefaultAttrHash; }

void CPaintManagerUI::RemoveAllDefaultAttributeList() {
  for (int i = 0; i < m_DefaultAttrHash.GetSize(); ++i)
    if (LPCWSTR key = m_DefaultAttrHash.GetAt(i)) delete static_cast<CDuiString*>(m_DefaultAttrHash.Find(key, false));
  m_DefaultAttrHash.RemoveAll();
}

// [SECTION] Option groups

bool CPaintManagerUI::AddOptionGroup(LPCWSTR pStrGroupName, CControlUI* pControl) {
  if (pStrGroupName == nullptr) return false;
  if (auto group = static_cast<CStdPtrArray*>(m_mOptionGroup.Find(pStrGroupName))) {
    if (group->Find(pControl) >= 0) return false;
    return group->Add(pControl);
  }
  CStdPtrArray* group = new (std::nothrow) CStdPtrArray(6);
  if (group == nullptr) return false;
  group->Add(pControl);
  if (!m_mOptionGroup.Insert(pStrGroupName, group)) {
    delete group;
    return false;
  }
  return true;
}

CStdPtrArray* CPaintManagerUI::GetOptionGroup(LPCWSTR pStrGroupName) {
  return pStrGroupName ? static_cast<CStdPtrArray*>(m_mOptionGroup.Find(pStrGroupName)) : nullptr;
}

void CPaintManagerUI::RemoveOptionGroup(LPCWSTR pStrGroupName, CControlUI* pControl) {
  CStdPtrArray* group = GetOptionGroup(pStrGroupName);
  if (group == nullptr) return;
  const int i = group->Find(pControl);
  if (i >= 0) group->Remove(i);
  if (group->IsEmpty()) {
    delete group;
    m_mOptionGroup.Remove(pStrGroupName);
  }
}

void CPaintManagerUI::RemoveAllOptionGroups() {
  for (int i = 0; i < m_mOptionGroup.GetSize(); ++i)
    if (LPCWSTR key = m_mOptionGroup.GetAt(i)) delete static_cast<CStdPtrArray*>(m_mOptionGroup.Find(key, false));
  m_mOptionGroup.RemoveAll();
}

}  // namespace SkinUI
