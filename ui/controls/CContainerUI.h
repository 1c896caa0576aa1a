// The base of every container: an ordered list of owned children, inset,
// child padding, two optional scroll bars, floating placement and scroll
// processing. On its own it places every child over its whole inner area;
// the layouts replace only SetPos.
#pragma once

#include <cstdint>

#include "controls/CControlUI.h"
#include "controls/IContainerUI.h"
#include "core/CStdPtrArray.h"

namespace SkinUI {

class CScrollBarUI;

class CContainerUI : public CControlUI, public IContainerUI {
 public:
  CContainerUI();
  ~CContainerUI() override;

  LPCWSTR GetClass() const override;
  LPVOID GetInterface(LPCWSTR pstrName) override;

  // IContainerUI. Adding refuses null, the container itself, one of its
  // ancestors and a control another container already holds; indexes are
  // checked before anything changes.
  CControlUI* GetItemAt(int iIndex) const override;
  int GetItemIndex(CControlUI* pControl) const override;
  bool SetItemIndex(CControlUI* pControl, int iIndex) override;
  int GetCount() const override;
  bool Add(CControlUI* pControl) override;
  bool AddAt(CControlUI* pControl, int iIndex) override;
  bool Remove(CControlUI* pControl) override;
  bool RemoveAt(int iIndex) override;
  void RemoveAll() override;

  void SetManager(CPaintManagerUI* pManager, CControlUI* pParent, bool bInit = true) override;
  void SetPos(RECT rc) override;
  void SetVisible(bool bVisible = true) override;
  void SetInternVisible(bool bVisible = true) override;
  void SetEnabled(bool bEnable = true) override;
  void SetMouseEnabled(bool bEnable = true) override;
  CControlUI* FindControl(FINDCONTROLPROC Proc, LPVOID pData, UINT uFlags) override;
  void DoEvent(TEventUI& event) override;
  void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;
  void DoPaint(HDC hDC, const RECT& rcPaint) override;

  virtual RECT GetInset() const;
  virtual void SetInset(RECT rcInset);
  virtual int GetChildPadding() const;
  virtual void SetChildPadding(int iPadding);
  virtual bool IsAutoDestroy() const;
  virtual void SetAutoDestroy(bool bAuto);
  virtual bool IsDelayedDestroy() const;
  virtual void SetDelayedDestroy(bool bDelayed);
  virtual bool IsMouseChildEnabled() const;
  virtual void SetMouseChildEnabled(bool bEnable = true);
  virtual int FindSelectable(int iIndex, bool bForward = true) const;
  virtual SIZE GetScrollPos() const;
  virtual SIZE GetScrollRange() const;
  virtual void SetScrollPos(SIZE szPos);
  virtual void SetScrollStepSize(int nSize);
  virtual int GetScrollStepSize() const;
  virtual void LineUp();
  virtual void LineDown();
  virtual void PageUp();
  virtual void PageDown();
  virtual void HomeUp();
  virtual void EndDown();
  virtual void LineLeft();
  virtual void LineRight();
  virtual void PageLeft();
  virtual void PageRight();
  virtual void HomeLeft();
  virtual void EndRight();
  virtual void EnableScrollBar(bool bEnableVertical = true, bool bEnableHorizontal = false);
  virtual CScrollBarUI* GetVerticalScrollBar() const;
  virtual CScrollBarUI* GetHorizontalScrollBar() const;
  virtual void SetFloatPos(int iIndex);
  // rc: the area left to the children once the visible bars are taken off.
  virtual void ProcessScrollBar(RECT rc, int cxRequired, int cyRequired);

  // Helpers reaching children by name below this container.
  CControlUI* FindSubControl(LPCWSTR pstrSubControlName);
  bool SetSubControlText(LPCWSTR pstrSubControlName, LPCWSTR pstrText);
  bool SetSubControlFixedHeight(LPCWSTR pstrSubControlName, int cy);
  bool SetSubControlFixedWdith(LPCWSTR pstrSubControlName, int cx);
  bool SetSubControlUserData(LPCWSTR pstrSubControlName, LPCWSTR pstrText);
  CDuiString GetSubControlText(LPCWSTR pstrSubControlName);
  int GetSubControlFixedHeight(LPCWSTR pstrSubControlName);
  int GetSubControlFixedWdith(LPCWSTR pstrSubControlName);
  const CDuiString GetSubControlUserData(LPCWSTR pstrSubControlName);

 protected:
  // The inner rectangle less the visible bars: where children are shown.
  RECT ClientRect() const;
  bool IsVerticalBarShown() const;
  bool IsHorizontalBarShown() const;
  // A page and a line of scrolling, in pixels.
  int64_t VerticalPage() const;
  int64_t HorizontalPage() const;
  int VerticalLine() const;
  int HorizontalLine() const;
  // Whether pControl may join this container's list.
  bool CanHold(CControlUI* pControl) const;
  // Takes pControl off the list without destroying it.
  void Unlink(CControlUI* pControl);
  // Destroys a child that left the list (auto destroy on).
  void Destroy(CControlUI* pControl);

  CStdPtrArray m_items;
  RECT m_rcInset = {0, 0, 0, 0};
  int m_iChildPadding = 0;
  bool m_bAutoDestroy = true;
  bool m_bDelayedDestroy = true;
  bool m_bMouseChildEnabled = true;
  bool m_bScrollProcess = false;  // guard while a bar that just appeared re-runs the layout
  int m_nScrollStepSize = 0;
  CScrollBarUI* m_pVerticalScrollBar = nullptr;
  CScrollBarUI* m_pHorizontalScrollBar = nullptr;

 private:
  friend class CControlUI;
};

}  // namespace SkinUI
