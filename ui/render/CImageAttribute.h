// An image description string and its parsed form: which image, which part
// of it goes where in the control, nine-grid corners, fade, mask, hole and
// tiling. The image itself is looked up lazily in the window's cache.
#pragma once

#include "Win32.h"
#include "core/CDuiString.h"
#include "core/UIDefines.h"

namespace SkinUI {

class CPaintManagerUI;

class CImageAttribute {
 public:
  CImageAttribute();
  CImageAttribute(const CImageAttribute& image);
  CImageAttribute& operator=(const CImageAttribute& image);
  virtual ~CImageAttribute();

  const CDuiString& GetAttributeString() const;
  // A text equal to the current one changes nothing; otherwise every field
  // is reset and the new text parsed.
  void SetAttributeString(LPCWSTR pStrImageAttri);
  // Parses further key='value' pairs over the current fields.
  void ModifyAttribute(LPCWSTR pStrModify);
  bool LoadImage(CPaintManagerUI* pManager);
  bool IsLoadSuccess() const;

  RECT GetDest() const;
  void SetDest(const RECT& rcDest);
  // Null when the cached record was removed since it was looked up.
  const TImageInfo* GetImageInfo() const;

  // The parsed fields, read by the render engine.
  CDuiString m_sImageAttribute;
  CDuiString m_sImage;
  CDuiString m_sResType;
  TImageInfo* m_imageInfo = nullptr;
  bool m_bLoadSuccess = true;
  RECT m_rcDest = {0, 0, 0, 0};
  RECT m_rcSource = {0, 0, 0, 0};
  RECT m_rcCorner = {0, 0, 0, 0};
  BYTE m_bFade = 255;
  DWORD m_dwMask = 0;
  bool m_bHole = false;
  bool m_bTiledX = false;
  bool m_bTiledY = false;

 private:
  void ParsePairs(LPCWSTR pStr);
  void ApplyPair(const CDuiString& key, const CDuiString& value);
  bool IsInfoCurrent() const;

  // The manager's image generation when m_imageInfo was looked up: a record
  // removed since then is never read through the old pointer.
  UINT m_uImageGeneration = 0;
};

}  // namespace SkinUI
