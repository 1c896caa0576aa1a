#include "core/CStdValArray.h"

#include <climits>
#include <cstdlib>
#include <cstring>

namespace SkinUI {

// realloc to 0 bytes frees the block and answers null, as if it had failed;
// an array of 0-byte elements therefore never allocates.
CStdValArray::CStdValArray(int iElementSize, int iPreallocSize)
    : m_iElementSize(iElementSize > 0 ? iElementSize : 0),
      m_nAllocated(iElementSize > 0 && iPreallocSize > 0 ? iPreallocSize : 0) {
  if (m_nAllocated > 0) {
    m_pVoid = static_cast<LPBYTE>(malloc(static_cast<size_t>(m_nAllocated) * static_cast<size_t>(m_iElementSize)));
    if (m_pVoid == nullptr) m_nAllocated = 0;
  }
}

CStdValArray::CStdValArray(const CStdValArray& src) : m_iElementSize(src.m_iElementSize) { CopyFrom(src); }

CStdValArray& CStdValArray::operator=(const CStdValArray& src) {
  if (this == &src) return *this;
  free(m_pVoid);
  m_pVoid = nullptr;
  m_nCount = m_nAllocated = 0;
  m_iElementSize = src.m_iElementSize;
  CopyFrom(src);
  return *this;
}

bool CStdValArray::CopyFrom(const CStdValArray& src) {
  for (int i = 0; i < src.GetSize(); i++)
    if (!Add(src.GetAt(i))) return false;
  return true;
}

CStdValArray::~CStdValArray() { free(m_pVoid); }

void CStdValArray::Empty() { m_nCount = 0; }

bool CStdValArray::IsEmpty() const { return m_nCount == 0; }

bool CStdValArray::Add(LPCVOID pData) {
  if (m_iElementSize == 0) return false;
  if (++m_nCount >= m_nAllocated) {
    int nAllocated = m_nAllocated == 0 ? 11 : m_nAllocated * 2;
    LPBYTE block = nullptr;
    if (m_nAllocated <= INT_MAX / 2)
      block = static_cast<LPBYTE>(
          realloc(m_pVoid, static_cast<size_t>(nAllocated) * static_cast<size_t>(m_iElementSize)));
    if (block == nullptr) {
      --m_nCount;
      return false;
    }
    m_pVoid = block;
    m_nAllocated = nAllocated;
  }
  memcpy(m_pVoid + static_cast<size_t>(m_nCount - 1) * static_cast<size_t>(m_iElementSize), pData,
         static_cast<size_t>(m_iElementSize));
  return true;
}

bool CStdValArray::Remove(int iIndex) {
  if (iIndex < 0 || iIndex >= m_nCount) return false;
  if (iIndex < --m_nCount) {
    size_t size = static_cast<size_t>(m_iElementSize);
    memmove(m_pVoid + static_cast<size_t>(iIndex) * size, m_pVoid + static_cast<size_t>(iIndex + 1) * size,
            static_cast<size_t>(m_nCount - iIndex) * size);
  }
  return true;
}

int CStdValArray::GetSize() const { return m_nCount; }
LPVOID CStdValArray::GetData() { return m_pVoid; }

LPVOID CStdValArray::GetAt(int iIndex) const {
  if (iIndex < 0 || iIndex >= m_nCount) return nullptr;
  return m_pVoid + static_cast<size_t>(iIndex) * static_cast<size_t>(m_iElementSize);
}

LPVOID CStdValArray::operator[](int iIndex) const {
  return m_pVoid + static_cast<size_t>(iIndex) * static_cast<size_t>(m_iElementSize);
}

}  // namespace SkinUI
