// A growable array of untyped pointers. The pointed-to objects are not
// owned. Growth doubles the slots, starting from 11.
#pragma once

#include "Win32.h"

namespace SkinUI {

class CStdPtrArray {
 public:
  explicit CStdPtrArray(int iPreallocSize = 0);
  CStdPtrArray(const CStdPtrArray& src);
  CStdPtrArray& operator=(const CStdPtrArray& src);
  ~CStdPtrArray();

  void Empty();
  void Resize(int iSize);
  bool IsEmpty() const;
  int Find(LPVOID iIndex) const;
  bool Add(LPVOID pData);
  bool SetAt(int iIndex, LPVOID pData);
  bool InsertAt(int iIndex, LPVOID pData);
  bool Remove(int iIndex);
  int GetSize() const;
  LPVOID* GetData();
  LPVOID GetAt(int iIndex) const;
  LPVOID operator[](int nIndex) const;

  // Slots allocated; the growth rule is part of the contract.
  int GetAllocated() const { return m_nAllocated; }

 private:
  bool Grow();

  LPVOID* m_ppVoid = nullptr;
  int m_nCount = 0;
  int m_nAllocated = 0;
};

}  // namespace SkinUI
