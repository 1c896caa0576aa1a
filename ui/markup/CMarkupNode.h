// A value handle for one element of a loaded CMarkup: navigation and
// attribute access. Attribute positions are found on first use and cached
// (up to 64). A node is usable only while its owner holds the same document.
#pragma once

#include "Win32.h"

namespace SkinUI {

class CMarkup;

class CMarkupNode {
  friend class CMarkup;

 public:
  static constexpr int kMaxAttributes = 64;

  CMarkupNode();

  bool IsValid() const;

  CMarkupNode GetParent() const;
  CMarkupNode GetSibling() const;
  CMarkupNode GetChild() const;
  CMarkupNode GetChild(LPCWSTR pstrName) const;

  bool HasSiblings() const;
  bool HasChildren() const;
  LPCWSTR GetName() const;
  LPCWSTR GetValue() const;

  bool HasAttributes() const;
  bool HasAttribute(LPCWSTR pstrName) const;
  int GetAttributeCount() const;
  LPCWSTR GetAttributeName(int iIndex) const;
  LPCWSTR GetAttributeValue(int iIndex) const;
  LPCWSTR GetAttributeValue(LPCWSTR pstrName) const;
  bool GetAttributeValue(int iIndex, LPWSTR pstrValue, SIZE_T cchMax) const;
  bool GetAttributeValue(LPCWSTR pstrName, LPWSTR pstrValue, SIZE_T cchMax) const;

 private:
  CMarkupNode(CMarkup* pOwner, int iPos);

  void _MapAttributes() const;
  void MapIfNeeded() const;
  int FindAttribute(LPCWSTR pstrName) const;

  struct XMLATTRIBUTE {
    ULONG iName;
    ULONG iValue;
  };

  int m_iPos = 0;
  // 0 also means "not mapped yet".
  mutable int m_nAttributes = 0;
  mutable XMLATTRIBUTE m_aAttributes[kMaxAttributes] = {};
  CMarkup* m_pOwner = nullptr;
};

}  // namespace SkinUI
