// A growable array of fixed-size values, copied in and out byte for byte.
// Grows like CStdPtrArray; Empty keeps the block. An element size below 1
// makes an array that holds nothing: no block, and every Add is refused.
#pragma once

#include "Win32.h"

namespace SkinUI {

class CStdValArray {
 public:
  explicit CStdValArray(int iElementSize, int iPreallocSize = 0);
  CStdValArray(const CStdValArray& src);
  CStdValArray& operator=(const CStdValArray& src);
  ~CStdValArray();

  void Empty();
  bool IsEmpty() const;
  bool Add(LPCVOID pData);
  bool Remove(int iIndex);
  int GetSize() const;
  LPVOID GetData();
  LPVOID GetAt(int iIndex) const;
  LPVOID operator[](int nIndex) const;

  int GetAllocated() const { return m_nAllocated; }

 private:
  bool CopyFrom(const CStdValArray& src);

  LPBYTE m_pVoid = nullptr;
  int m_iElementSize;
  int m_nCount = 0;
  int m_nAllocated = 0;
};

}  // namespace SkinUI
