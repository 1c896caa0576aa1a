#include "controls/CContainerUI.h"

#include <algorithm>
#include <cwchar>

#include "controls/CScrollBarUI.h"
#include "controls/LayoutMath.h"
#include "core/AttributeValues.h"
#include "manager/CPaintManagerUI.h"
#include "render/CRenderClip.h"

namespace SkinUI {

namespace {

bool Meets(const RECT& a, const RECT& b) {
  RECT rc;
  return ::IntersectRect(&rc, &a, &b) != FALSE;
}

}  // namespace

CContainerUI::CContainerUI() = default;

CContainerUI::~CContainerUI() {
  m_bDelayedDestroy = false;
  RemoveAll();
  delete m_pVerticalScrollBar;
  delete m_pHorizontalScrollBar;
}

LPCWSTR CContainerUI::GetClass() const { return L"ContainerUI"; }

LPVOID CContainerUI::GetInterface(LPCWSTR pstrName) {
  if (pstrName != nullptr && wcscmp(pstrName, L"Container") == 0) return static_cast<CContainerUI*>(this);
  if (pstrName != nullptr && wcscmp(pstrName, L"IContainer") == 0) return static_cast<IContainerUI*>(this);
  return CControlUI::GetInterface(pstrName);
}

// [SECTION] The child list

CControlUI* CContainerUI::GetItemAt(int iIndex) const {
  if (iIndex < 0 || iIndex >= m_items.GetSize()) return nullptr;
  return static_cast<CControlUI*>(m_items[iIndex]);
}

int CContainerUI::GetItemIndex(CControlUI* pControl) const { return pControl ? m_items.Find(pControl) : -1; }

bool CContainerUI::SetItemIndex(CControlUI* pControl, int iIndex) {
  int iOld = GetItemIndex(pControl);
  if (iOld < 0 || iIndex < 0 || iIndex >= m_items.GetSize()) return false;
  if (iOld == iIndex) return true;
  NeedUpdate();
  m_items.Remove(iOld);
  return m_items.InsertAt(iIndex, pControl);
}

int CContainerUI::GetCount() const { return m_items.GetSize(); }

bool CContainerUI::CanHold(CControlUI* pControl) const {
  if (pControl == nullptr || pControl->m_pHolder != nullptr) return false;
  // Neither the container itself nor one of the containers holding it.
  for (const CControlUI* p = this; p != nullptr; p = p->m_pHolder)
    if (p == pControl) return false;
  return true;
}

bool CContainerUI::Add(CControlUI* pControl) { return AddAt(pControl, m_items.GetSize()); }

bool CContainerUI::AddAt(CControlUI* pControl, int iIndex) {
  if (!CanHold(pControl) || iIndex < 0 || iIndex > m_items.GetSize()) return false;
  if (!m_items.InsertAt(iIndex, pControl)) return false;
  pControl->m_pHolder = this;
  if (m_pManager != nullptr) m_pManager->InitControls(pControl, this);
  if (IsVisible())
    NeedUpdate();
  else
    pControl->SetInternVisible(false);
  return true;
}

void CContainerUI::Unlink(CControlUI* pControl) {
  int i = m_items.Find(pControl);
  if (i >= 0) m_items.Remove(i);
  pControl->m_pHolder = nullptr;
}

void CContainerUI::Destroy(CControlUI* pControl) {
  if (m_bDelayedDestroy && m_pManager != nullptr)
    m_pManager->AddDelayedCleanup(pControl);
  else
    delete pControl;
}

bool CContainerUI::Remove(CControlUI* pControl) {
  if (GetItemIndex(pControl) < 0) return false;
  NeedUpdate();
  Unlink(pControl);
  if (m_bAutoDestroy) Destroy(pControl);
  return true;
}

bool CContainerUI::RemoveAt(int iIndex) {
  CControlUI* pControl = GetItemAt(iIndex);
  return pControl != nullptr && CContainerUI::Remove(pControl);
}

void CContainerUI::RemoveAll() {
  // Off the list before any is destroyed: destruction runs listeners.
  CStdPtrArray items(m_items);
  m_items.Empty();
  for (int i = 0; i < items.GetSize(); ++i) static_cast<CControlUI*>(items[i])->m_pHolder = nullptr;
  if (m_bAutoDestroy)
    for (int i = 0; i < items.GetSize(); ++i) Destroy(static_cast<CControlUI*>(items[i]));
  NeedUpdate();
}

// [SECTION] Settings

RECT CContainerUI::GetInset() const { return m_rcInset; }

void CContainerUI::SetInset(RECT rcInset) {
  m_rcInset = rcInset;
  NeedUpdate();
}

int CContainerUI::GetChildPadding() const { return m_iChildPadding; }

void CContainerUI::SetChildPadding(int iPadding) {
  m_iChildPadding = iPadding;
  NeedUpdate();
}

bool CContainerUI::IsAutoDestroy() const { return m_bAutoDestroy; }
void CContainerUI::SetAutoDestroy(bool bAuto) { m_bAutoDestroy = bAuto; }
bool CContainerUI::IsDelayedDestroy() const { return m_bDelayedDestroy; }
void CContainerUI::SetDelayedDestroy(bool bDelayed) { m_bDelayedDestroy = bDelayed; }
bool CContainerUI::IsMouseChildEnabled() const { return m_bMouseChildEnabled; }
void CContainerUI::SetMouseChildEnabled(bool bEnable) { m_bMouseChildEnabled = bEnable; }

void CContainerUI::SetVisible(bool bVisible) {
  if (m_bVisible == bVisible) return;
  CControlUI::SetVisible(bVisible);
  for (int i = 0; i < m_items.GetSize(); ++i) GetItemAt(i)->SetInternVisible(IsVisible());
}

void CContainerUI::SetInternVisible(bool bVisible) {
  CControlUI::SetInternVisible(bVisible);
  for (int i = 0; i < m_items.GetSize(); ++i) GetItemAt(i)->SetInternVisible(IsVisible());
}

void CContainerUI::SetEnabled(bool bEnable) {
  if (m_bEnabled == bEnable) return;
  m_bEnabled = bEnable;
  for (int i = 0; i < m_items.GetSize(); ++i) GetItemAt(i)->SetEnabled(bEnable);
  Invalidate();
}

void CContainerUI::SetMouseEnabled(bool bEnable) {
  if (m_pVerticalScrollBar != nullptr) m_pVerticalScrollBar->SetMouseEnabled(bEnable);
  if (m_pHorizontalScrollBar != nullptr) m_pHorizontalScrollBar->SetMouseEnabled(bEnable);
  CControlUI::SetMouseEnabled(bEnable);
}

void CContainerUI::SetManager(CPaintManagerUI* pManager, CControlUI* pParent, bool bInit) {
  for (int i = 0; i < m_items.GetSize(); ++i) GetItemAt(i)->SetManager(pManager, this, bInit);
  if (m_pVerticalScrollBar != nullptr) m_pVerticalScrollBar->SetManager(pManager, this, bInit);
  if (m_pHorizontalScrollBar != nullptr) m_pHorizontalScrollBar->SetManager(pManager, this, bInit);
  CControlUI::SetManager(pManager, pParent, bInit);
}

int CContainerUI::FindSelectable(int iIndex, bool bForward) const {
  int nCount = m_items.GetSize();
  if (nCount == 0) return -1;
  iIndex = std::clamp(iIndex, 0, nCount - 1);
  auto selectable = [this](int i) {
    CControlUI* p = GetItemAt(i);
    return p->GetInterface(L"ListItem") != nullptr && p->IsVisible() && p->IsEnabled();
  };
  if (bForward) {
    for (int i = iIndex; i < nCount; ++i)
      if (selectable(i)) return i;
    return -1;
  }
  for (int i = iIndex; i >= 0; --i)
    if (selectable(i)) return i;
  return FindSelectable(0, true);
}

// [SECTION] Placement

bool CContainerUI::IsVerticalBarShown() const {
  return m_pVerticalScrollBar != nullptr && m_pVerticalScrollBar->IsVisible();
}

bool CContainerUI::IsHorizontalBarShown() const {
  return m_pHorizontalScrollBar != nullptr && m_pHorizontalScrollBar->IsVisible();
}

RECT CContainerUI::ClientRect() const {
  RECT rc = DeflateRect(m_rcItem, m_rcInset);
  if (IsVerticalBarShown()) rc.right = Saturate(int64_t{rc.right} - m_pVerticalScrollBar->GetFixedWidth());
  if (IsHorizontalBarShown()) rc.bottom = Saturate(int64_t{rc.bottom} - m_pHorizontalScrollBar->GetFixedHeight());
  return rc;
}

void CContainerUI::SetPos(RECT rc) {
  CControlUI::SetPos(rc);
  if (m_items.IsEmpty()) return;
  RECT rcInner = DeflateRect(m_rcItem, m_rcInset);
  for (int i = 0; i < m_items.GetSize(); ++i) {
    CControlUI* pControl = GetItemAt(i);
    if (!pControl->IsVisible()) continue;
    if (pControl->IsFloat())
      SetFloatPos(i);
    else
      pControl->SetPos(rcInner);
  }
}

void CContainerUI::SetFloatPos(int iIndex) {
  CControlUI* pControl = GetItemAt(iIndex);
  if (pControl == nullptr || !pControl->IsVisible() || !pControl->IsFloat()) return;
  SIZE szXY = pControl->GetFixedXY();
  int64_t w = pControl->GetFixedWidth(), h = pControl->GetFixedHeight();
  int64_t left, top, right, bottom;
  if (szXY.cx >= 0) {
    left = int64_t{m_rcItem.left} + szXY.cx;
    right = left + w;
  } else {
    left = int64_t{m_rcItem.right} + szXY.cx - w;
    right = int64_t{m_rcItem.right} + szXY.cx;
  }
  if (szXY.cy >= 0) {
    top = int64_t{m_rcItem.top} + szXY.cy;
    bottom = top + h;
  } else {
    top = int64_t{m_rcItem.bottom} + szXY.cy - h;
    bottom = int64_t{m_rcItem.bottom} + szXY.cy;
  }
  if (pControl->IsRelativePos()) {
    // The first placement records the parent's size; later ones move and
    // grow by the percentages of the change since the last placement.
    SIZE szNow = {GetWidth(), GetHeight()};
    TRelativePosUI relative = pControl->GetRelativePos();
    if (relative.szParent.cx != 0) {
      SIZE szGrowth = {Saturate(int64_t{szNow.cx} - relative.szParent.cx),
                       Saturate(int64_t{szNow.cy} - relative.szParent.cy)};
      SIZE szMove, szZoom;
      pControl->TakeRelativeGrowth(szGrowth, &szMove, &szZoom);
      left += szMove.cx;
      top += szMove.cy;
      right = left + w + szZoom.cx;
      bottom = top + h + szZoom.cy;
    }
    pControl->SetRelativeParentSize(szNow);
  }
  pControl->SetPos(RECT{Saturate(left), Saturate(top), Saturate(right), Saturate(bottom)});
}

// [SECTION] Scrolling

// The horizontal bar is only placed here; line layouts show and hide it.
void CContainerUI::ProcessScrollBar(RECT rc, int /*cxRequired*/, int cyRequired) {
  if (m_pHorizontalScrollBar != nullptr && m_pHorizontalScrollBar->IsVisible()) {
    m_pHorizontalScrollBar->SetPos(
        RECT{rc.left, rc.bottom, rc.right, Saturate(int64_t{rc.bottom} + m_pHorizontalScrollBar->GetFixedHeight())});
  }
  if (m_pVerticalScrollBar == nullptr) return;

  int64_t cyOverflow = int64_t{cyRequired} - RectHeight(rc);
  if (cyOverflow > 0 && !m_pVerticalScrollBar->IsVisible()) {
    m_pVerticalScrollBar->SetVisible(true);
    m_pVerticalScrollBar->SetScrollRange(Saturate(cyOverflow));
    m_pVerticalScrollBar->SetScrollPos(0);
    m_bScrollProcess = true;
    SetPos(m_rcItem);
    m_bScrollProcess = false;
    return;
  }
  if (!m_pVerticalScrollBar->IsVisible()) return;

  if (cyOverflow <= 0 && !m_bScrollProcess) {
    m_pVerticalScrollBar->SetVisible(false);
    m_pVerticalScrollBar->SetScrollPos(0);
    m_pVerticalScrollBar->SetScrollRange(0);
    SetPos(m_rcItem);
    return;
  }

  m_pVerticalScrollBar->SetPos(
      RECT{rc.right, rc.top, Saturate(int64_t{rc.right} + m_pVerticalScrollBar->GetFixedWidth()), rc.bottom});
  if (m_pVerticalScrollBar->GetScrollRange() != cyOverflow) {
    int iScrollPos = m_pVerticalScrollBar->GetScrollPos();
    m_pVerticalScrollBar->SetScrollRange(Saturate(cyOverflow < 0 ? -cyOverflow : cyOverflow));
    if (m_pVerticalScrollBar->GetScrollRange() == 0) {
      m_pVerticalScrollBar->SetVisible(false);
      m_pVerticalScrollBar->SetScrollPos(0);
    }
    if (iScrollPos > m_pVerticalScrollBar->GetScrollPos()) SetPos(m_rcItem);
  }
}

SIZE CContainerUI::GetScrollPos() const {
  return SIZE{IsHorizontalBarShown() ? m_pHorizontalScrollBar->GetScrollPos() : 0,
              IsVerticalBarShown() ? m_pVerticalScrollBar->GetScrollPos() : 0};
}

SIZE CContainerUI::GetScrollRange() const {
  return SIZE{IsHorizontalBarShown() ? m_pHorizontalScrollBar->GetScrollRange() : 0,
              IsVerticalBarShown() ? m_pVerticalScrollBar->GetScrollRange() : 0};
}

void CContainerUI::SetScrollPos(SIZE szPos) {
  // How far each bar really moved, after its clamping.
  auto move = [](CScrollBarUI* pBar, int nPos) {
    if (pBar == nullptr || !pBar->IsVisible()) return 0;
    int nOld = pBar->GetScrollPos();
    pBar->SetScrollPos(nPos);
    return pBar->GetScrollPos() - nOld;
  };
  int cy = move(m_pVerticalScrollBar, szPos.cy);
  int cx = move(m_pHorizontalScrollBar, szPos.cx);
  if (cx == 0 && cy == 0) return;
  for (int i = 0; i < m_items.GetSize(); ++i) {
    CControlUI* pControl = GetItemAt(i);
    if (!pControl->IsVisible() || pControl->IsFloat()) continue;
    pControl->SetPos(OffsetRectBy(pControl->GetPos(), -int64_t{cx}, -int64_t{cy}));
  }
  Invalidate();
}

void CContainerUI::SetScrollStepSize(int nSize) {
  if (nSize > 0) m_nScrollStepSize = nSize;
}

int CContainerUI::GetScrollStepSize() const { return m_nScrollStepSize; }

namespace {

// Moves one coordinate of the scroll position by delta; the other stays.
void ScrollBy(CContainerUI* pContainer, bool bVertical, int64_t delta) {
  SIZE sz = pContainer->GetScrollPos();
  LONG& at = bVertical ? sz.cy : sz.cx;
  at = Saturate(at + delta);
  pContainer->SetScrollPos(sz);
}

void ScrollTo(CContainerUI* pContainer, bool bVertical, LONG nPos) {
  SIZE sz = pContainer->GetScrollPos();
  (bVertical ? sz.cy : sz.cx) = nPos;
  pContainer->SetScrollPos(sz);
}

}  // namespace

int CContainerUI::VerticalLine() const {
  if (m_nScrollStepSize != 0) return m_nScrollStepSize;
  return m_pManager != nullptr ? m_pManager->GetDefaultFontInfo()->tm.tmHeight + 8 : 8;
}

int CContainerUI::HorizontalLine() const { return m_nScrollStepSize != 0 ? m_nScrollStepSize : 8; }

int64_t CContainerUI::VerticalPage() const {
  int64_t page = int64_t{GetHeight()} - m_rcInset.top - m_rcInset.bottom;
  if (IsHorizontalBarShown()) page -= m_pHorizontalScrollBar->GetFixedHeight();
  return page;
}

int64_t CContainerUI::HorizontalPage() const {
  int64_t page = int64_t{GetWidth()} - m_rcInset.left - m_rcInset.right;
  if (IsVerticalBarShown()) page -= m_pVerticalScrollBar->GetFixedWidth();
  return page;
}

void CContainerUI::LineUp() { ScrollBy(this, true, -int64_t{VerticalLine()}); }
void CContainerUI::LineDown() { ScrollBy(this, true, VerticalLine()); }
void CContainerUI::PageUp() { ScrollBy(this, true, -VerticalPage()); }
void CContainerUI::PageDown() { ScrollBy(this, true, VerticalPage()); }
void CContainerUI::HomeUp() { ScrollTo(this, true, 0); }
void CContainerUI::EndDown() { ScrollTo(this, true, GetScrollRange().cy); }
void CContainerUI::LineLeft() { ScrollBy(this, false, -int64_t{HorizontalLine()}); }
void CContainerUI::LineRight() { ScrollBy(this, false, HorizontalLine()); }
void CContainerUI::PageLeft() { ScrollBy(this, false, -HorizontalPage()); }
void CContainerUI::PageRight() { ScrollBy(this, false, HorizontalPage()); }
void CContainerUI::HomeLeft() { ScrollTo(this, false, 0); }
void CContainerUI::EndRight() { ScrollTo(this, false, GetScrollRange().cx); }

void CContainerUI::EnableScrollBar(bool bEnableVertical, bool bEnableHorizontal) {
  auto enable = [this](CScrollBarUI*& pBar, bool bEnable, bool bHorizontal) {
    if (!bEnable) {
      delete pBar;
      pBar = nullptr;
      return;
    }
    if (pBar != nullptr) return;
    pBar = new CScrollBarUI;
    pBar->SetOwner(this);
    if (bHorizontal) pBar->SetHorizontal(true);
    pBar->SetManager(m_pManager, nullptr, false);
    if (m_pManager == nullptr) return;
    LPCWSTR pDefault = m_pManager->GetDefaultAttributeList(bHorizontal ? L"HScrollBar" : L"VScrollBar");
    if (pDefault != nullptr) pBar->ApplyAttributeList(pDefault);
  };
  enable(m_pVerticalScrollBar, bEnableVertical, false);
  enable(m_pHorizontalScrollBar, bEnableHorizontal, true);
  NeedUpdate();
}

CScrollBarUI* CContainerUI::GetVerticalScrollBar() const { return m_pVerticalScrollBar; }
CScrollBarUI* CContainerUI::GetHorizontalScrollBar() const { return m_pHorizontalScrollBar; }

// [SECTION] Events, searching, painting

void CContainerUI::DoEvent(TEventUI& event) {
  if (!IsMouseEnabled() && IsMouseEvent(event.Type)) {
    if (m_pParent != nullptr)
      m_pParent->DoEvent(event);
    else
      CControlUI::DoEvent(event);
    return;
  }
  if (event.Type == UIEVENT_SETFOCUS || event.Type == UIEVENT_KILLFOCUS) {
    m_bFocused = event.Type == UIEVENT_SETFOCUS;
    return;
  }
  auto usable = [](CScrollBarUI* pBar) { return pBar != nullptr && pBar->IsVisible() && pBar->IsEnabled(); };
  bool bVertical = usable(m_pVerticalScrollBar);
  if (bVertical || usable(m_pHorizontalScrollBar)) {
    if (event.Type == UIEVENT_KEYDOWN) {
      switch (event.chKey) {
        case VK_DOWN: bVertical ? LineDown() : LineRight(); return;
        case VK_UP: bVertical ? LineUp() : LineLeft(); return;
        case VK_NEXT: bVertical ? PageDown() : PageRight(); return;
        case VK_PRIOR: bVertical ? PageUp() : PageLeft(); return;
        case VK_HOME: bVertical ? HomeUp() : HomeLeft(); return;
        case VK_END: bVertical ? EndDown() : EndRight(); return;
        default: break;
      }
    } else if (event.Type == UIEVENT_SCROLLWHEEL) {
      switch (LOWORD(event.wParam)) {
        case 0: bVertical ? LineUp() : LineLeft(); return;
        case 1: bVertical ? LineDown() : LineRight(); return;
        default: break;
      }
    }
  }
  CControlUI::DoEvent(event);
}

CControlUI* CContainerUI::FindControl(FINDCONTROLPROC Proc, LPVOID pData, UINT uFlags) {
  if ((uFlags & UIFIND_VISIBLE) != 0 && !IsVisible()) return nullptr;
  if ((uFlags & UIFIND_ENABLED) != 0 && !IsEnabled()) return nullptr;
  bool bHitTest = (uFlags & UIFIND_HITTEST) != 0;
  auto inBars = [&]() -> CControlUI* {
    CControlUI* pResult = nullptr;
    if (m_pVerticalScrollBar != nullptr) pResult = m_pVerticalScrollBar->FindControl(Proc, pData, uFlags);
    if (pResult == nullptr && m_pHorizontalScrollBar != nullptr)
      pResult = m_pHorizontalScrollBar->FindControl(Proc, pData, uFlags);
    return pResult;
  };
  if (bHitTest) {
    if (!::PtInRect(&m_rcItem, *static_cast<LPPOINT>(pData))) return nullptr;
    if (!m_bMouseChildEnabled) {
      CControlUI* pResult = inBars();
      return pResult != nullptr ? pResult : CControlUI::FindControl(Proc, pData, uFlags);
    }
  }
  if (CControlUI* pResult = inBars()) return pResult;
  if ((uFlags & UIFIND_ME_FIRST) != 0) {
    if (CControlUI* pResult = CControlUI::FindControl(Proc, pData, uFlags)) return pResult;
  }
  RECT rc = ClientRect();
  int nCount = m_items.GetSize();
  bool bTopFirst = (uFlags & UIFIND_TOP_FIRST) != 0;
  for (int n = 0; n < nCount; ++n) {
    CControlUI* pChild = GetItemAt(bTopFirst ? nCount - 1 - n : n);
    CControlUI* pResult = pChild->FindControl(Proc, pData, uFlags);
    if (pResult == nullptr) continue;
    if (!bHitTest || pResult->IsFloat() || ::PtInRect(&rc, *static_cast<LPPOINT>(pData))) return pResult;
  }
  if ((uFlags & UIFIND_ME_FIRST) != 0) return nullptr;
  return CControlUI::FindControl(Proc, pData, uFlags);
}

void CContainerUI::DoPaint(HDC hDC, const RECT& rcPaint) {
  RECT rcTemp;
  if (!::IntersectRect(&rcTemp, &rcPaint, &m_rcItem)) return;
  CRenderClip clip;
  CRenderClip::GenerateClip(hDC, rcTemp, clip);
  CControlUI::DoPaint(hDC, rcPaint);

  if (!m_items.IsEmpty()) {
    RECT rc = ClientRect();
    RECT rcClientPaint;
    if (::IntersectRect(&rcClientPaint, &rcPaint, &rc)) {
      CRenderClip childClip;
      CRenderClip::GenerateClip(hDC, rcClientPaint, childClip);
      for (int i = 0; i < m_items.GetSize(); ++i) {
        CControlUI* pControl = GetItemAt(i);
        const RECT& rcChild = pControl->GetPos();
        if (!pControl->IsVisible() || !Meets(rcPaint, rcChild)) continue;
        if (pControl->IsFloat()) {
          // A floating child may reach over the inset and the bars.
          if (!Meets(m_rcItem, rcChild)) continue;
          CRenderClip::UseOldClipBegin(hDC, childClip);
          pControl->DoPaint(hDC, rcPaint);
          CRenderClip::UseOldClipEnd(hDC, childClip);
        } else if (Meets(rc, rcChild)) {
          pControl->DoPaint(hDC, rcPaint);
        }
      }
    } else {
      for (int i = 0; i < m_items.GetSize(); ++i) {
        CControlUI* pControl = GetItemAt(i);
        const RECT& rcChild = pControl->GetPos();
        if (!pControl->IsVisible() || !pControl->IsFloat()) continue;
        if (Meets(rcPaint, rcChild) && Meets(m_rcItem, rcChild)) pControl->DoPaint(hDC, rcPaint);
      }
    }
  }

  for (CScrollBarUI* pBar : {m_pVerticalScrollBar, m_pHorizontalScrollBar}) {
    if (pBar != nullptr && pBar->IsVisible() && Meets(rcPaint, pBar->GetPos())) pBar->DoPaint(hDC, rcPaint);
  }
}

// [SECTION] Attributes and sub-controls

void CContainerUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) {
  if (pstrName == nullptr) return;
  auto is = [pstrName](LPCWSTR name) { return wcscmp(pstrName, name) == 0; };
  if (is(L"inset")) {
    SetInset(ParseRect(pstrValue));
  } else if (is(L"mousechild")) {
    SetMouseChildEnabled(ParseBool(pstrValue));
  } else if (is(L"vscrollbar")) {
    EnableScrollBar(ParseBool(pstrValue), GetHorizontalScrollBar() != nullptr);
  } else if (is(L"vscrollbarstyle")) {
    EnableScrollBar(true, GetHorizontalScrollBar() != nullptr);
    if (GetVerticalScrollBar() != nullptr) GetVerticalScrollBar()->ApplyAttributeList(pstrValue);
  } else if (is(L"hscrollbar")) {
    EnableScrollBar(GetVerticalScrollBar() != nullptr, ParseBool(pstrValue));
  } else if (is(L"hscrollbarstyle")) {
    EnableScrollBar(GetVerticalScrollBar() != nullptr, true);
    if (GetHorizontalScrollBar() != nullptr) GetHorizontalScrollBar()->ApplyAttributeList(pstrValue);
  } else if (is(L"childpadding")) {
    SetChildPadding(ParseInt(pstrValue));
  } else if (is(L"scrollstepsize")) {
    SetScrollStepSize(ParseInt(pstrValue));
  } else {
    CControlUI::SetAttribute(pstrName, pstrValue);
  }
}

CControlUI* CContainerUI::FindSubControl(LPCWSTR pstrSubControlName) {
  return m_pManager != nullptr ? m_pManager->FindSubControlByName(this, pstrSubControlName) : nullptr;
}

bool CContainerUI::SetSubControlText(LPCWSTR pstrSubControlName, LPCWSTR pstrText) {
  CControlUI* pSubControl = FindSubControl(pstrSubControlName);
  if (pSubControl == nullptr) return false;
  pSubControl->SetText(pstrText);
  return true;
}

bool CContainerUI::SetSubControlFixedHeight(LPCWSTR pstrSubControlName, int cy) {
  CControlUI* pSubControl = FindSubControl(pstrSubControlName);
  if (pSubControl == nullptr) return false;
  pSubControl->SetFixedHeight(cy);
  return true;
}

bool CContainerUI::SetSubControlFixedWdith(LPCWSTR pstrSubControlName, int cx) {
  CControlUI* pSubControl = FindSubControl(pstrSubControlName);
  if (pSubControl == nullptr) return false;
  pSubControl->SetFixedWidth(cx);
  return true;
}

bool CContainerUI::SetSubControlUserData(LPCWSTR pstrSubControlName, LPCWSTR pstrText) {
  CControlUI* pSubControl = FindSubControl(pstrSubControlName);
  if (pSubControl == nullptr) return false;
  pSubControl->SetUserData(pstrText);
  return true;
}

CDuiString CContainerUI::GetSubControlText(LPCWSTR pstrSubControlName) {
  CControlUI* pSubControl = FindSubControl(pstrSubControlName);
  return pSubControl != nullptr ? pSubControl->GetText() : CDuiString();
}

int CContainerUI::GetSubControlFixedHeight(LPCWSTR pstrSubControlName) {
  CControlUI* pSubControl = FindSubControl(pstrSubControlName);
  return pSubControl != nullptr ? pSubControl->GetFixedHeight() : -1;
}

int CContainerUI::GetSubControlFixedWdith(LPCWSTR pstrSubControlName) {
  CControlUI* pSubControl = FindSubControl(pstrSubControlName);
  return pSubControl != nullptr ? pSubControl->GetFixedWidth() : -1;
}

const CDuiString CContainerUI::GetSubControlUserData(LPCWSTR pstrSubControlName) {
  CControlUI* pSubControl = FindSubControl(pstrSubControlName);
  return pSubControl != nullptr ? pSubControl->GetUserData() : CDuiString();
}

}  // namespace SkinUI
