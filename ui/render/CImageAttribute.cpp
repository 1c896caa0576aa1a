#include "render/CImageAttribute.h"

#include <algorithm>

#include "core/AttributeValues.h"
#include "manager/CPaintManagerUI.h"

namespace SkinUI {

namespace {

bool IsBlank(WCHAR ch) { return ch != 0 && static_cast<UINT>(ch) <= 32; }

bool IsEmptyRect(const RECT& rc) { return rc.left == 0 && rc.top == 0 && rc.right == 0 && rc.bottom == 0; }

}  // namespace

CImageAttribute::CImageAttribute() = default;

CImageAttribute::CImageAttribute(const CImageAttribute& image) { *this = image; }

CImageAttribute& CImageAttribute::operator=(const CImageAttribute& image) {
  if (this == &image) return *this;
  m_sImageAttribute = image.m_sImageAttribute;
  m_sImage = image.m_sImage;
  m_sResType = image.m_sResType;
  m_imageInfo = image.m_imageInfo;
  m_bLoadSuccess = image.m_bLoadSuccess;
  m_rcDest = image.m_rcDest;
  m_rcSource = image.m_rcSource;
  m_rcCorner = image.m_rcCorner;
  m_bFade = image.m_bFade;
  m_dwMask = image.m_dwMask;
  m_bHole = image.m_bHole;
  m_bTiledX = image.m_bTiledX;
  m_bTiledY = image.m_bTiledY;
  m_uImageGeneration = image.m_uImageGeneration;
  return *this;
}

CImageAttribute::~CImageAttribute() = default;

const CDuiString& CImageAttribute::GetAttributeString() const { return m_sImageAttribute; }

void CImageAttribute::SetAttributeString(LPCWSTR pStrImageAttri) {
  if (pStrImageAttri == nullptr) pStrImageAttri = L"";
  if (m_sImageAttribute == pStrImageAttri) return;
  *this = CImageAttribute();
  m_sImageAttribute = pStrImageAttri;
  m_sImage = pStrImageAttri;
  ParsePairs(pStrImageAttri);
}

void CImageAttribute::ModifyAttribute(LPCWSTR pStrModify) {
  if (pStrModify == nullptr) return;
  const CDuiString image = m_sImage, type = m_sResType;
  const DWORD mask = m_dwMask;
  ParsePairs(pStrModify);
  // Another image is another record: look it up afresh.
  if (m_sImage != image || m_sResType != type || m_dwMask != mask) {
    m_imageInfo = nullptr;
    m_bLoadSuccess = true;
  }
}

// key='value' pairs separated by one space; anything else ends the parse,
// which is how a plain image name is left as the whole text.
void CImageAttribute::ParsePairs(LPCWSTR p) {
  while (*p != 0) {
    while (IsBlank(*p)) ++p;
    LPCWSTR key = p;
    while (*p != 0 && *p != L'=' && static_cast<UINT>(*p) > 32) ++p;
    CDuiString sKey(key, static_cast<int>(p - key));
    while (IsBlank(*p)) ++p;
    if (*p != L'=') break;
    ++p;
    while (IsBlank(*p)) ++p;
    if (*p != L'\'') break;
    LPCWSTR value = ++p;
    while (*p != 0 && *p != L'\'') ++p;
    if (*p != L'\'') break;
    CDuiString sValue(value, static_cast<int>(p - value));
    ++p;
    if (!sValue.IsEmpty()) ApplyPair(sKey, sValue);
    if (*p != L' ') break;
    ++p;
  }
}

void CImageAttribute::ApplyPair(const CDuiString& key, const CDuiString& value) {
  if (key == L"file" || key == L"res") {
    m_sImage = value;
  } else if (key == L"restype") {
    m_sResType = value;
  } else if (key == L"dest") {
    m_rcDest = ParseRect(value);
  } else if (key == L"source") {
    m_rcSource = ParseRect(value);
  } else if (key == L"corner") {
    m_rcCorner = ParseRect(value);
  } else if (key == L"mask") {
    m_dwMask = ParseColor(value);
  } else if (key == L"fade") {
    m_bFade = static_cast<BYTE>(std::clamp<LONG>(ParseInt(value), 0, 255));
  } else if (key == L"hole") {
    m_bHole = ParseBool(value);
  } else if (key == L"xtiled") {
    m_bTiledX = ParseBool(value);
  } else if (key == L"ytiled") {
    m_bTiledY = ParseBool(value);
  }
}

bool CImageAttribute::IsInfoCurrent() const {
  return m_imageInfo != nullptr && m_uImageGeneration == CPaintManagerUI::GetImageGeneration();
}

bool CImageAttribute::LoadImage(CPaintManagerUI* pManager) {
  if (IsInfoCurrent()) return true;
  m_imageInfo = nullptr;
  if (!m_bLoadSuccess || pManager == nullptr) return false;
  TImageInfo* info =
      pManager->GetImageEx(m_sImage, m_sResType.IsEmpty() ? nullptr : m_sResType.GetData(), m_dwMask);
  if (info == nullptr) {
    m_bLoadSuccess = false;
    return false;
  }
  m_bLoadSuccess = true;
  if (IsEmptyRect(m_rcSource)) m_rcSource = RECT{0, 0, info->nX, info->nY};
  m_rcSource.right = std::min<LONG>(m_rcSource.right, info->nX);
  m_rcSource.bottom = std::min<LONG>(m_rcSource.bottom, info->nY);
  m_imageInfo = info;
  m_uImageGeneration = CPaintManagerUI::GetImageGeneration();
  return true;
}

bool CImageAttribute::IsLoadSuccess() const { return !m_sImageAttribute.IsEmpty() && m_bLoadSuccess; }

RECT CImageAttribute::GetDest() const { return m_rcDest; }

void CImageAttribute::SetDest(const RECT& rcDest) { m_rcDest = rcDest; }

const TImageInfo* CImageAttribute::GetImageInfo() const { return IsInfoCurrent() ? m_imageInfo : nullptr; }

}  // namespace SkinUI
