#include "core/CStdStringPtrMap.h"

#include <cwchar>
#include <new>

namespace SkinUI {

UINT CStdStringPtrMap::Hash(LPCWSTR key) {
  UINT h = 0;
  for (size_t i = wcslen(key); i > 0; --i) h = h * 33 + static_cast<UINT>(key[i - 1]);
  return h;
}

CStdStringPtrMap::CStdStringPtrMap(int nSize) {
  if (nSize < kMinBuckets) nSize = kMinBuckets;
  m_aT = new (std::nothrow) TITEM*[nSize]();
  if (m_aT != nullptr) m_nBuckets = nSize;
}

CStdStringPtrMap::~CStdStringPtrMap() {
  DeleteAll();
}

void CStdStringPtrMap::DeleteAll() {
  for (int i = 0; m_aT != nullptr && i < m_nBuckets; i++) {
    for (TITEM* pItem = m_aT[i]; pItem != nullptr;) {
      TITEM* pNext = pItem->pNext;
      delete pItem;
      pItem = pNext;
    }
  }
  delete[] m_aT;
  m_aT = nullptr;
  m_nBuckets = 0;
  m_nCount = 0;
}

void CStdStringPtrMap::Resize(int nSize) {
  DeleteAll();
  if (nSize <= 0) return;
  m_aT = new (std::nothrow) TITEM*[nSize]();
  if (m_aT != nullptr) m_nBuckets = nSize;
}

CStdStringPtrMap::TITEM** CStdStringPtrMap::Bucket(LPCWSTR key) const {
  return &m_aT[Hash(key) % static_cast<UINT>(m_nBuckets)];
}

LPVOID CStdStringPtrMap::Find(LPCWSTR key, bool optimize) const {
  if (m_nBuckets == 0 || m_nCount == 0 || key == nullptr) return nullptr;
  TITEM** head = Bucket(key);
  for (TITEM* pItem = *head; pItem != nullptr; pItem = pItem->pNext) {
    if (pItem->Key != key) continue;
    if (optimize && pItem != *head) {
      pItem->pPrev->pNext = pItem->pNext;
      if (pItem->pNext != nullptr) pItem->pNext->pPrev = pItem->pPrev;
      pItem->pPrev = nullptr;
      pItem->pNext = *head;
      (*head)->pPrev = pItem;
      *head = pItem;
    }
    return pItem->Data;
  }
  return nullptr;
}

bool CStdStringPtrMap::Insert(LPCWSTR key, LPVOID pData) {
  if (m_nBuckets == 0 || key == nullptr) return false;
  if (Find(key) != nullptr) return false;
  TITEM* pItem = new (std::nothrow) TITEM{CDuiString(key), pData, nullptr, nullptr};
  if (pItem == nullptr) return false;
  TITEM** head = Bucket(key);
  pItem->pNext = *head;
  if (*head != nullptr) (*head)->pPrev = pItem;
  *head = pItem;
  m_nCount++;
  return true;
}

LPVOID CStdStringPtrMap::Set(LPCWSTR key, LPVOID pData) {
  if (m_nBuckets == 0 || key == nullptr) return pData;
  if (m_nCount > 0) {
    for (TITEM* pItem = *Bucket(key); pItem != nullptr; pItem = pItem->pNext) {
      if (pItem->Key == key) {
        LPVOID pOld = pItem->Data;
        pItem->Data = pData;
        return pOld;
      }
    }
  }
  Insert(key, pData);
  return nullptr;
}

bool CStdStringPtrMap::Remove(LPCWSTR key) {
  if (m_nBuckets == 0 || m_nCount == 0 || key == nullptr) return false;
  TITEM** head = Bucket(key);
  for (TITEM* pItem = *head; pItem != nullptr; pItem = pItem->pNext) {
    if (pItem->Key != key) continue;
    if (pItem->pPrev != nullptr)
      pItem->pPrev->pNext = pItem->pNext;
    else
      *head = pItem->pNext;
    if (pItem->pNext != nullptr) pItem->pNext->pPrev = pItem->pPrev;
    delete pItem;
    m_nCount--;
    return true;
  }
  return false;
}

void CStdStringPtrMap::RemoveAll() { Resize(m_nBuckets); }

int CStdStringPtrMap::GetSize() const { return m_nCount; }

LPCWSTR CStdStringPtrMap::GetAt(int iIndex) const {
  if (m_nBuckets == 0 || m_nCount == 0 || iIndex < 0) return nullptr;
  int pos = 0;
  for (int i = m_nBuckets; i > 0; i--) {
    for (TITEM* pItem = m_aT[i - 1]; pItem != nullptr; pItem = pItem->pNext) {
      if (pos++ == iIndex) return pItem->Key.GetData();
    }
  }
  return nullptr;
}

LPCWSTR CStdStringPtrMap::operator[](int nIndex) const { return GetAt(nIndex); }

}  // namespace SkinUI
