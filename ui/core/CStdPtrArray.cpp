#include "core/CStdPtrArray.h"

#include <climits>
#include <cstdlib>
#include <cstring>

namespace SkinUI {

CStdPtrArray::CStdPtrArray(int iPreallocSize) : m_nAllocated(iPreallocSize > 0 ? iPreallocSize : 0) {
  if (m_nAllocated > 0) {
    m_ppVoid = static_cast<LPVOID*>(malloc(static_cast<size_t>(m_nAllocated) * sizeof(LPVOID)));
    if (m_ppVoid == nullptr) m_nAllocated = 0;
  }
}

CStdPtrArray::CStdPtrArray(const CStdPtrArray& src) {
  for (int i = 0; i < src.GetSize(); i++) Add(src.GetAt(i));
}

CStdPtrArray& CStdPtrArray::operator=(const CStdPtrArray& src) {
  if (this == &src) return *this;
  Empty();
  for (int i = 0; i < src.GetSize(); i++) Add(src.GetAt(i));
  return *this;
}

CStdPtrArray::~CStdPtrArray() { free(m_ppVoid); }

void CStdPtrArray::Empty() {
  free(m_ppVoid);
  m_ppVoid = nullptr;
  m_nCount = m_nAllocated = 0;
}

void CStdPtrArray::Resize(int iSize) {
  Empty();
  if (iSize <= 0) return;
  m_ppVoid = static_cast<LPVOID*>(calloc(static_cast<size_t>(iSize), sizeof(LPVOID)));
  if (m_ppVoid == nullptr) return;
  m_nCount = m_nAllocated = iSize;
}

bool CStdPtrArray::IsEmpty() const { return m_nCount == 0; }

// Called with the count already raised by one; restores it on failure.
bool CStdPtrArray::Grow() {
  if (m_nCount < m_nAllocated) return true;
  if (m_nAllocated > INT_MAX / 2) {
    --m_nCount;
    return false;
  }
  int nAllocated = m_nAllocated == 0 ? 11 : m_nAllocated * 2;
  auto block = static_cast<LPVOID*>(realloc(m_ppVoid, static_cast<size_t>(nAllocated) * sizeof(LPVOID)));
  if (block == nullptr) {
    --m_nCount;
    return false;
  }
  m_ppVoid = block;
  m_nAllocated = nAllocated;
  return true;
}

bool CStdPtrArray::Add(LPVOID pData) {
  ++m_nCount;
  if (!Grow()) return false;
  m_ppVoid[m_nCount - 1] = pData;
  return true;
}

bool CStdPtrArray::InsertAt(int iIndex, LPVOID pData) {
  if (iIndex == m_nCount) return Add(pData);
  if (iIndex < 0 || iIndex > m_nCount) return false;
  ++m_nCount;
  if (!Grow()) return false;
  memmove(&m_ppVoid[iIndex + 1], &m_ppVoid[iIndex], static_cast<size_t>(m_nCount - iIndex - 1) * sizeof(LPVOID));
  m_ppVoid[iIndex] = pData;
  return true;
}

bool CStdPtrArray::SetAt(int iIndex, LPVOID pData) {
  if (iIndex < 0 || iIndex >= m_nCount) return false;
  m_ppVoid[iIndex] = pData;
  return true;
}

bool CStdPtrArray::Remove(int iIndex) {
  if (iIndex < 0 || iIndex >= m_nCount) return false;
  if (iIndex < --m_nCount)
    memmove(&m_ppVoid[iIndex], &m_ppVoid[iIndex + 1], static_cast<size_t>(m_nCount - iIndex) * sizeof(LPVOID));
  return true;
}

int CStdPtrArray::Find(LPVOID pData) const {
  for (int i = 0; i < m_nCount; i++)
    if (m_ppVoid[i] == pData) return i;
  return -1;
}

int CStdPtrArray::GetSize() const { return m_nCount; }
LPVOID* CStdPtrArray::GetData() { return m_ppVoid; }

LPVOID CStdPtrArray::GetAt(int iIndex) const {
  if (iIndex < 0 || iIndex >= m_nCount) return nullptr;
  return m_ppVoid[iIndex];
}

LPVOID CStdPtrArray::operator[](int iIndex) const { return m_ppVoid[iIndex]; }

}  // namespace SkinUI
