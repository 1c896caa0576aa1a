#include "markup/CMarkupNode.h"

#include <cwchar>

#include "markup/CMarkup.h"

namespace SkinUI {

namespace {

// Past a zero-terminated name or value and its terminator. Both are short,
// so a plain loop beats a call to wcslen.
inline void StepOver(LPCWSTR& pstr) {
  while (*pstr != 0) ++pstr;
  ++pstr;
}

}  // namespace

CMarkupNode::CMarkupNode() = default;

CMarkupNode::CMarkupNode(CMarkup* pOwner, int iPos) : m_iPos(iPos), m_pOwner(pOwner) {}

bool CMarkupNode::IsValid() const { return m_pOwner != nullptr; }

CMarkupNode CMarkupNode::GetParent() const {
  if (m_pOwner == nullptr) return CMarkupNode();
  ULONG iPos = m_pOwner->m_pElements[m_iPos].iParent;
  if (iPos == 0) return CMarkupNode();
  return CMarkupNode(m_pOwner, static_cast<int>(iPos));
}

CMarkupNode CMarkupNode::GetSibling() const {
  if (m_pOwner == nullptr) return CMarkupNode();
  ULONG iPos = m_pOwner->m_pElements[m_iPos].iNext;
  if (iPos == 0) return CMarkupNode();
  return CMarkupNode(m_pOwner, static_cast<int>(iPos));
}

CMarkupNode CMarkupNode::GetChild() const {
  if (m_pOwner == nullptr) return CMarkupNode();
  ULONG iPos = m_pOwner->m_pElements[m_iPos].iChild;
  if (iPos == 0) return CMarkupNode();
  return CMarkupNode(m_pOwner, static_cast<int>(iPos));
}

CMarkupNode CMarkupNode::GetChild(LPCWSTR pstrName) const {
  if (m_pOwner == nullptr || pstrName == nullptr) return CMarkupNode();
  ULONG iPos = m_pOwner->m_pElements[m_iPos].iChild;
  while (iPos != 0) {
    if (wcscmp(m_pOwner->m_pstrXML + m_pOwner->m_pElements[iPos].iStart, pstrName) == 0)
      return CMarkupNode(m_pOwner, static_cast<int>(iPos));
    iPos = m_pOwner->m_pElements[iPos].iNext;
  }
  return CMarkupNode();
}

bool CMarkupNode::HasSiblings() const {
  return m_pOwner != nullptr && m_pOwner->m_pElements[m_iPos].iNext != 0;
}

bool CMarkupNode::HasChildren() const {
  return m_pOwner != nullptr && m_pOwner->m_pElements[m_iPos].iChild != 0;
}

LPCWSTR CMarkupNode::GetName() const {
  if (m_pOwner == nullptr) return nullptr;
  return m_pOwner->m_pstrXML + m_pOwner->m_pElements[m_iPos].iStart;
}

LPCWSTR CMarkupNode::GetValue() const {
  if (m_pOwner == nullptr) return nullptr;
  return m_pOwner->m_pstrXML + m_pOwner->m_pElements[m_iPos].iData;
}

void CMarkupNode::MapIfNeeded() const {
  if (m_nAttributes == 0) _MapAttributes();
}

// Walks the attribute names and values that parsing left, terminated, between
// the element name and the element's data.
void CMarkupNode::_MapAttributes() const {
  m_nAttributes = 0;
  LPCWSTR pstrXML = m_pOwner->m_pstrXML;
  const CMarkup::XMLELEMENT& el = m_pOwner->m_pElements[m_iPos];
  LPCWSTR pstr = pstrXML + el.iStart;
  LPCWSTR pstrEnd = pstrXML + el.iData;
  StepOver(pstr);
  while (pstr < pstrEnd) {
    CMarkup::_SkipWhitespace(pstr);
    if (pstr >= pstrEnd) return;
    ULONG iName = static_cast<ULONG>(pstr - pstrXML);
    StepOver(pstr);
    if (pstr >= pstrEnd) return;
    CMarkup::_SkipWhitespace(pstr);
    if (pstr >= pstrEnd || *pstr != L'"') return;
    ++pstr;
    m_aAttributes[m_nAttributes].iName = iName;
    m_aAttributes[m_nAttributes].iValue = static_cast<ULONG>(pstr - pstrXML);
    if (++m_nAttributes >= kMaxAttributes) return;
    StepOver(pstr);
  }
}

int CMarkupNode::GetAttributeCount() const {
  if (m_pOwner == nullptr) return 0;
  MapIfNeeded();
  return m_nAttributes;
}

bool CMarkupNode::HasAttributes() const { return GetAttributeCount() > 0; }

int CMarkupNode::FindAttribute(LPCWSTR pstrName) const {
  if (m_pOwner == nullptr || pstrName == nullptr) return -1;
  MapIfNeeded();
  for (int i = 0; i < m_nAttributes; i++)
    if (wcscmp(m_pOwner->m_pstrXML + m_aAttributes[i].iName, pstrName) == 0) return i;
  return -1;
}

bool CMarkupNode::HasAttribute(LPCWSTR pstrName) const { return FindAttribute(pstrName) >= 0; }

LPCWSTR CMarkupNode::GetAttributeName(int iIndex) const {
  if (m_pOwner == nullptr) return nullptr;
  MapIfNeeded();
  if (iIndex < 0 || iIndex >= m_nAttributes) return L"";
  return m_pOwner->m_pstrXML + m_aAttributes[iIndex].iName;
}

LPCWSTR CMarkupNode::GetAttributeValue(int iIndex) const {
  if (m_pOwner == nullptr) return nullptr;
  MapIfNeeded();
  if (iIndex < 0 || iIndex >= m_nAttributes) return L"";
  return m_pOwner->m_pstrXML + m_aAttributes[iIndex].iValue;
}

LPCWSTR CMarkupNode::GetAttributeValue(LPCWSTR pstrName) const {
  if (m_pOwner == nullptr) return nullptr;
  int i = FindAttribute(pstrName);
  return i >= 0 ? m_pOwner->m_pstrXML + m_aAttributes[i].iValue : L"";
}

bool CMarkupNode::GetAttributeValue(int iIndex, LPWSTR pstrValue, SIZE_T cchMax) const {
  if (m_pOwner == nullptr || pstrValue == nullptr) return false;
  MapIfNeeded();
  if (iIndex < 0 || iIndex >= m_nAttributes) return false;
  wcsncpy(pstrValue, m_pOwner->m_pstrXML + m_aAttributes[iIndex].iValue, cchMax);
  return true;
}

bool CMarkupNode::GetAttributeValue(LPCWSTR pstrName, LPWSTR pstrValue, SIZE_T cchMax) const {
  if (pstrValue == nullptr) return false;
  int i = FindAttribute(pstrName);
  if (i < 0) return false;
  wcsncpy(pstrValue, m_pOwner->m_pstrXML + m_aAttributes[i].iValue, cchMax);
  return true;
}

}  // namespace SkinUI
