// A multi-line label whose mark-up may hold links: painting records their
// rectangles, a click on one sends "link" with its index, the mouse over
// one shows the hand and the link's hover colour.
#pragma once

#include "controls/CLabelUI.h"

namespace SkinUI {

class CTextUI : public CLabelUI {
 public:
  static constexpr int kMaxLinks = 8;

  CTextUI();

  LPCWSTR GetClass() const override;
  LPVOID GetInterface(LPCWSTR pstrName) override;
  UINT GetControlFlags() const override;

  // The text of link iIndex as last painted, or null.
  CDuiString* GetLinkContent(int iIndex);
  DWORD GetShadowColor() const;
  void SetShadowColor(DWORD dwColor);

  void SetText(LPCWSTR pstrText) override;
  void DoEvent(TEventUI& event) override;
  void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;
  SIZE EstimateSize(SIZE szAvailable) override;
  void PaintText(HDC hDC) override;

 protected:
  // The link under pt, or -1.
  int LinkAt(POINT pt) const;
  // Slots past the links found hold nothing a click could reach.
  void ClearLinksFrom(int iFirst);

  int m_nLinks = 0;
  RECT m_rcLinks[kMaxLinks] = {};
  CDuiString m_sLinks[kMaxLinks];
  int m_nHoverLink = -1;
  DWORD m_dwShadowColor = 0;
};

}  // namespace SkinUI
