// The window shadow. This build keeps the shadow's settings as the skin
// gives them and draws nothing, so skins that ask for a shadow still load.
#pragma once

#include "Win32.h"
#include "core/CDuiString.h"

namespace SkinUI {

class CPaintManagerUI;

class CShadowUI {
 public:
  static bool Initialize(HINSTANCE) { return true; }

  void Create(CPaintManagerUI*) {}
  void ShowShadow(bool bShow) { m_bShow = bShow; }
  bool IsShowShadow() const { return m_bShow; }
  bool SetSize(int nSize) { m_nSize = nSize; return true; }
  bool SetSharpness(unsigned int nSharpness) { m_nSharpness = nSharpness; return true; }
  bool SetDarkness(unsigned int nDarkness) { m_nDarkness = nDarkness; return true; }
  bool SetPosition(int x, int y) { m_ptOffset = POINT{x, y}; return true; }
  bool SetColor(COLORREF color) { m_color = color; return true; }
  void SetShadowCorner(RECT rcCorner) { m_rcCorner = rcCorner; }
  bool SetImage(LPCWSTR pszImage) { m_sImage = pszImage; return true; }

  int GetSize() const { return m_nSize; }
  unsigned int GetSharpness() const { return m_nSharpness; }
  unsigned int GetDarkness() const { return m_nDarkness; }
  POINT GetPosition() const { return m_ptOffset; }
  COLORREF GetColor() const { return m_color; }
  RECT GetShadowCorner() const { return m_rcCorner; }
  LPCWSTR GetImage() const { return m_sImage; }

 private:
  bool m_bShow = false;
  int m_nSize = 0;
  unsigned int m_nSharpness = 5;
  unsigned int m_nDarkness = 150;
  POINT m_ptOffset = {0, 0};
  COLORREF m_color = 0;
  RECT m_rcCorner = {0, 0, 0, 0};
  CDuiString m_sImage;
};

}  // namespace SkinUI
