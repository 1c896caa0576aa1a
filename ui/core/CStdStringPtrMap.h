// A hash table from wide strings to untyped pointers (not owned). Keys are
// compared case-sensitively. A lookup that hits moves the entry to the head
// of its bucket, so iteration order follows use.
#pragma once

#include "Win32.h"
#include "core/CDuiString.h"

namespace SkinUI {

class CStdStringPtrMap {
 public:
  static constexpr int kMinBuckets = 16;

  explicit CStdStringPtrMap(int nSize = 83);
  CStdStringPtrMap(const CStdStringPtrMap&) = delete;
  CStdStringPtrMap& operator=(const CStdStringPtrMap&) = delete;
  ~CStdStringPtrMap();

  void Resize(int nSize = 83);
  LPVOID Find(LPCWSTR key, bool optimize = true) const;
  bool Insert(LPCWSTR key, LPVOID pData);
  LPVOID Set(LPCWSTR key, LPVOID pData);
  bool Remove(LPCWSTR key);
  void RemoveAll();
  int GetSize() const;
  LPCWSTR GetAt(int iIndex) const;
  LPCWSTR operator[](int nIndex) const;

  int GetBucketCount() const { return m_nBuckets; }
  // h := h * 33 + unit over the key's units from the last to the first.
  static UINT Hash(LPCWSTR key);

 private:
  struct TITEM {
    CDuiString Key;
    LPVOID Data;
    TITEM* pPrev;
    TITEM* pNext;
  };

  void DeleteAll();
  TITEM** Bucket(LPCWSTR key) const;

  // Find reorders chains through the table; the map's contents stay the same.
  TITEM** m_aT = nullptr;
  int m_nBuckets = 0;
  int m_nCount = 0;
};

}  // namespace SkinUI
