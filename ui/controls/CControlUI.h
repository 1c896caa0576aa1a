// The base of every windowless control: a rectangle inside one skinned
// window with its layout hints, looks (colours, images, border), text,
// flags and listeners. The paint manager routes events to it and asks it
// to paint; containers place it; the dialog builder configures it through
// SetAttribute, whose unknown names end here silently.
#pragma once

#include <cstdint>
#include <memory>

#include "Win32.h"
#include "core/CDelegate.h"
#include "core/CDuiString.h"
#include "core/CLifeGuard.h"
#include "core/UIDefines.h"
#include "render/CImageAttribute.h"

namespace SkinUI {

class CPaintManagerUI;
class CContainerUI;

class CControlUI {
 public:
  CControlUI();
  CControlUI(const CControlUI&) = delete;
  CControlUI& operator=(const CControlUI&) = delete;
  virtual ~CControlUI();

  // Listeners, called with the control (Init, Destroy, Size), the event
  // record (Event: false swallows the event) or the notification record.
  CEventSource InitListeners;
  CEventSource DestroyListeners;
  CEventSource SizeListeners;
  CEventSource EventListeners;
  CEventSource NotifyListeners;

  // Virtual operations, in the order derived controls rely on.
  virtual CDuiString GetName() const;
  virtual void SetName(LPCWSTR pstrName);
  virtual LPCWSTR GetClass() const;
  virtual LPVOID GetInterface(LPCWSTR pstrName);
  virtual UINT GetControlFlags() const;
  virtual bool Activate();
  virtual CPaintManagerUI* GetManager() const;
  virtual void SetManager(CPaintManagerUI* pManager, CControlUI* pParent, bool bInit = true);
  virtual CControlUI* GetParent() const;
  virtual CDuiString GetText() const;
  virtual void SetText(LPCWSTR pstrText);
  virtual const RECT& GetPos() const;
  virtual void SetPos(RECT rc);
  virtual int GetWidth() const;
  virtual int GetHeight() const;
  virtual int GetX() const;
  virtual int GetY() const;
  virtual RECT GetPadding() const;
  virtual void SetPadding(RECT rcPadding);
  virtual SIZE GetFixedXY() const;
  virtual void SetFixedXY(SIZE szXY);
  virtual int GetFixedWidth() const;
  virtual void SetFixedWidth(int cx);
  virtual int GetFixedHeight() const;
  virtual void SetFixedHeight(int cy);
  virtual int GetMinWidth() const;
  virtual void SetMinWidth(int cx);
  virtual int GetMaxWidth() const;
  virtual void SetMaxWidth(int cx);
  virtual int GetMinHeight() const;
  virtual void SetMinHeight(int cy);
  virtual int GetMaxHeight() const;
  virtual void SetMaxHeight(int cy);
  virtual void SetRelativePos(SIZE szMove, SIZE szZoom);
  virtual void SetRelativeParentSize(SIZE sz);
  virtual TRelativePosUI GetRelativePos() const;
  virtual bool IsRelativePos() const;
  virtual CDuiString GetToolTip() const;
  virtual void SetToolTip(LPCWSTR pstrText);
  virtual void SetToolTipWidth(int nWidth);
  virtual int GetToolTipWidth();
  virtual WCHAR GetShortcut() const;
  virtual void SetShortcut(WCHAR ch);
  virtual bool IsContextMenuUsed() const;
  virtual void SetContextMenuUsed(bool bMenuUsed);
  virtual const CDuiString& GetUserData();
  virtual void SetUserData(LPCWSTR pstrText);
  virtual UINT_PTR GetTag() const;
  virtual void SetTag(UINT_PTR pTag);
  virtual bool IsVisible() const;
  virtual void SetVisible(bool bVisible = true);
  virtual void SetInternVisible(bool bVisible = true);
  virtual bool IsEnabled() const;
  virtual void SetEnabled(bool bEnable = true);
  virtual bool IsMouseEnabled() const;
  virtual void SetMouseEnabled(bool bEnable = true);
  virtual bool IsKeyboardEnabled() const;
  virtual void SetKeyboardEnabled(bool bEnable = true);
  virtual bool IsFocused() const;
  virtual void SetFocus();
  virtual bool IsFloat() const;
  virtual void SetFloat(bool bFloat = true);
  virtual CControlUI* FindControl(FINDCONTROLPROC Proc, LPVOID pData, UINT uFlags);
  virtual void Init();
  virtual void DoInit();
  virtual void Event(TEventUI& event);
  virtual void DoEvent(TEventUI& event);
  virtual void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue);
  virtual SIZE EstimateSize(SIZE szAvailable);
  virtual void DoPaint(HDC hDC, const RECT& rcPaint);
  virtual void PaintBkColor(HDC hDC);
  virtual void PaintBkImage(HDC hDC);
  virtual void PaintStatusImage(HDC hDC);
  virtual void PaintText(HDC hDC);
  virtual void PaintBorder(HDC hDC);
  virtual void DoPostPaint(HDC hDC, const RECT& rcPaint);

  // Attribute lists: name="value" pairs separated by one blank.
  CControlUI* ApplyAttributeList(LPCWSTR pstrList);

  DWORD GetBkColor() const;
  void SetBkColor(DWORD dwBackColor);
  DWORD GetBkColor2() const;
  void SetBkColor2(DWORD dwBackColor);
  DWORD GetBkColor3() const;
  void SetBkColor3(DWORD dwBackColor);
  DWORD GetBorderColor() const;
  void SetBorderColor(DWORD dwBorderColor);
  DWORD GetFocusBorderColor() const;
  void SetFocusBorderColor(DWORD dwBorderColor);
  bool IsColorHSL() const;
  void SetColorHSL(bool bColorHSL);
  int GetBorderSize() const;
  void SetBorderSize(int nSize);
  void SetBorderSize(RECT rc);
  int GetLeftBorderSize() const;
  void SetLeftBorderSize(int nSize);
  int GetTopBorderSize() const;
  void SetTopBorderSize(int nSize);
  int GetRightBorderSize() const;
  void SetRightBorderSize(int nSize);
  int GetBottomBorderSize() const;
  void SetBottomBorderSize(int nSize);
  int GetBorderStyle() const;
  void SetBorderStyle(int nStyle);
  SIZE GetBorderRound() const;
  void SetBorderRound(SIZE cxyRound);

  LPCWSTR GetBkImage();
  void SetBkImage(LPCWSTR pStrImage);
  LPCWSTR GetForeImage() const;
  void SetForeImage(LPCWSTR pStrImage);
  LPCWSTR GetNormalImage();
  void SetNormalImage(LPCWSTR pStrImage);
  LPCWSTR GetHotImage();
  void SetHotImage(LPCWSTR pStrImage);
  LPCWSTR GetPushedImage();
  void SetPushedImage(LPCWSTR pStrImage);
  LPCWSTR GetFocusedImage();
  void SetFocusedImage(LPCWSTR pStrImage);
  LPCWSTR GetDisabledImage();
  void SetDisabledImage(LPCWSTR pStrImage);

  bool DrawImage(HDC hDC, CImageAttribute& image);
  bool DrawImage(HDC hDC, CImageAttribute& image, const RECT& rcDest);
  bool DrawImage(HDC hDC, CImageAttribute& image, LPCWSTR pStrModify);

  DWORD GetAdjustColor(DWORD dwColor);

  void Invalidate();
  bool IsUpdateNeeded() const;
  void NeedUpdate();
  void NeedParentUpdate();

  void SetVirtualWnd(LPCWSTR pstrValue);
  CDuiString GetVirtualWnd() const;

  // [SECTION] Life and relative placement
  // True while the control lives: code that calls into handlers and
  // listeners tests it before touching the control again.
  std::shared_ptr<const bool> Watch() { return m_life.Watch(); }
  // What a floating control moves and grows by, in pixels, when its parent
  // grew by szGrowth: its relative percentages of the growth, the parts of
  // a pixel carried over to the next growth.
  void TakeRelativeGrowth(SIZE szGrowth, SIZE* pMove, SIZE* pZoom);

 protected:
  CPaintManagerUI* m_pManager = nullptr;
  CControlUI* m_pParent = nullptr;
  CDuiString m_sVirtualWnd;
  CDuiString m_sName;
  bool m_bUpdateNeeded = true;
  bool m_bMenuUsed = false;
  RECT m_rcItem = {0, 0, 0, 0};
  RECT m_rcPadding = {0, 0, 0, 0};
  SIZE m_cXY = {0, 0};
  SIZE m_cxyFixed = {0, 0};
  SIZE m_cxyMin = {0, 0};
  SIZE m_cxyMax = {9999, 9999};
  bool m_bVisible = true;
  bool m_bInternVisible = true;
  bool m_bEnabled = true;
  bool m_bMouseEnabled = true;
  bool m_bKeyboardEnabled = true;
  bool m_bFocused = false;
  bool m_bFloat = false;
  bool m_bSetPos = false;  // re-entrancy guard of the size listeners
  TRelativePosUI m_tRelativePos;

  CDuiString m_sText;
  CDuiString m_sToolTip;
  WCHAR m_chShortcut = 0;
  CDuiString m_sUserData;
  UINT_PTR m_pTag = 0;

  DWORD m_dwBackColor = 0;
  DWORD m_dwBackColor2 = 0;
  DWORD m_dwBackColor3 = 0;
  CImageAttribute m_diBk;
  CImageAttribute m_diFore;
  CImageAttribute m_diNormal;
  CImageAttribute m_diHot;
  CImageAttribute m_diPushed;
  CImageAttribute m_diFocused;
  CImageAttribute m_diDisabled;
  DWORD m_dwBorderColor = 0;
  DWORD m_dwFocusBorderColor = 0;
  bool m_bColorHSL = false;
  int m_nBorderSize = 0;
  int m_nBorderStyle = 0;
  int m_nTooltipWidth = 300;
  SIZE m_cxyBorderRound = {0, 0};
  RECT m_rcPaint = {0, 0, 0, 0};
  RECT m_rcBorderSize = {0, 0, 0, 0};

 private:
  // The corner sizes as drawn: no larger than the item.
  SIZE DrawnBorderRound() const;

  // The container whose child list holds this control (a control has one).
  friend class CContainerUI;
  CContainerUI* m_pHolder = nullptr;
  // Hundredths of a pixel of relative growth not yet applied: move x, y, zoom x, y.
  int64_t m_aRelativeRest[4] = {0, 0, 0, 0};
  CLifeGuard m_life;
};

}  // namespace SkinUI
