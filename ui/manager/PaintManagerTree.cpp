// The control tree of a window: attaching it, registering names, letting
// go of dying controls, delayed deletion, and the searches.
#include <climits>
#include <cwchar>
#include <vector>

#include "controls/CControlUI.h"
#include "manager/CPaintManagerUI.h"

namespace SkinUI {

namespace {

CControlUI* CALLBACK CollectAll(CControlUI* pThis, LPVOID pData) {
  static_cast<std::vector<CControlUI*>*>(pData)->push_back(pThis);
  return nullptr;
}

CControlUI* CALLBACK FindAtPoint(CControlUI* pThis, LPVOID pData) {
  return ::PtInRect(&pThis->GetPos(), *static_cast<LPPOINT>(pData)) ? pThis : nullptr;
}

CControlUI* CALLBACK FindByName(CControlUI* pThis, LPVOID pData) {
  CDuiString sName = pThis->GetName();
  if (sName.IsEmpty()) return nullptr;
  return sName.CompareNoCase(static_cast<LPCWSTR>(pData)) == 0 ? pThis : nullptr;
}

struct ClassSearch {
  LPCWSTR pstrClass;
  CStdPtrArray* pFound;
  int iWanted;  // stop at this many matches; 0: collect all
};

CControlUI* CALLBACK FindByClass(CControlUI* pThis, LPVOID pData) {
  auto* pSearch = static_cast<ClassSearch*>(pData);
  if (wcscmp(pSearch->pstrClass, L"*") != 0 && wcscmp(pSearch->pstrClass, pThis->GetClass()) != 0) return nullptr;
  pSearch->pFound->Add(pThis);
  return pSearch->pFound->GetSize() == pSearch->iWanted ? pThis : nullptr;
}

}  // namespace

CControlUI* CPaintManagerUI::GetRoot() const { return m_pRoot; }

bool CPaintManagerUI::AttachDialog(CControlUI* pControl) {
  auto alive = m_life.Watch();
  SetFocus(nullptr);
  if (!*alive) return false;
  m_pEventKey = nullptr;
  m_pEventHover = nullptr;
  m_pEventClick = nullptr;
  if (m_pRoot != nullptr) {
    m_aPostPaintControls.Empty();
    AddDelayedCleanup(m_pRoot);
  }
  m_pRoot = pControl;
  m_bUpdateNeeded = true;
  m_bFirstLayout = true;
  m_bFocusNeeded = true;
  m_shadow.Create(this);
  return InitControls(pControl, nullptr);
}

bool CPaintManagerUI::InitControls(CControlUI* pControl, CControlUI* pParent) {
  if (pControl == nullptr) return false;
  auto alive = pControl->Watch();
  pControl->SetManager(this, pParent != nullptr ? pParent : pControl->GetParent(), true);
  if (!*alive) return false;
  // Children before their container: when names repeat, the container wins.
  std::vector<CControlUI*> controls;
  pControl->FindControl(CollectAll, &controls, UIFIND_ALL);
  for (CControlUI* p : controls) RegisterName(p);
  return true;
}

void CPaintManagerUI::RegisterName(CControlUI* pControl) {
  CDuiString sName = pControl->GetName();
  if (sName.IsEmpty()) return;
  auto it = m_mRegisteredNames.find(pControl);
  if (it != m_mRegisteredNames.end() && it->second != sName &&
      m_mNameHash.Find(it->second, false) == pControl)
    m_mNameHash.Remove(it->second);
  auto* pOld = static_cast<CControlUI*>(m_mNameHash.Set(sName, pControl));
  if (pOld != nullptr && pOld != pControl) m_mRegisteredNames.erase(pOld);
  m_mRegisteredNames[pControl] = sName;
}

void CPaintManagerUI::ReapObjects(CControlUI* pControl) {
  if (pControl == nullptr) return;
  if (pControl == m_pEventKey) m_pEventKey = nullptr;
  if (pControl == m_pEventHover) m_pEventHover = nullptr;
  if (pControl == m_pEventClick) {
    // Nobody else would let go of the mouse.
    m_pEventClick = nullptr;
    if (m_bMouseCapture) ReleaseCapture();
  }
  if (pControl == m_pFocus) m_pFocus = nullptr;
  KillTimer(pControl);
  auto it = m_mRegisteredNames.find(pControl);
  if (it != m_mRegisteredNames.end()) {
    if (m_mNameHash.Find(it->second, false) == pControl) m_mNameHash.Remove(it->second);
    m_mRegisteredNames.erase(it);
  }
  for (int i = 0; i < m_aAsyncNotify.GetSize(); ++i) {
    auto* pMsg = static_cast<TNotifyUI*>(m_aAsyncNotify[i]);
    if (pMsg->pSender == pControl) pMsg->pSender = nullptr;
  }
  for (CStdPtrArray* pList : {&m_aPostPaintControls, &m_aFoundControls}) {
    for (int i = pList->Find(pControl); i >= 0; i = pList->Find(pControl)) pList->Remove(i);
  }
  // The caret owner is a rich edit box, which is a control.
  if (static_cast<void*>(m_currentCaretObject) == static_cast<void*>(pControl)) m_currentCaretObject = nullptr;
}

void CPaintManagerUI::AddDelayedCleanup(CControlUI* pControl) {
  if (pControl == nullptr || m_aDelayedCleanup.Find(pControl) >= 0) return;
  pControl->SetManager(this, nullptr, false);
  m_aDelayedCleanup.Add(pControl);
  if (m_hWndPaint != nullptr) ::PostMessageW(m_hWndPaint, UIMSG_CLEANUP, 0, 0);
}

void CPaintManagerUI::NeedUpdate() { m_bUpdateNeeded = true; }

void CPaintManagerUI::Invalidate(RECT& rcItem) {
  if (rcItem.left < 0) rcItem.left = 0;
  if (rcItem.top < 0) rcItem.top = 0;
  if (rcItem.right < rcItem.left) rcItem.right = rcItem.left;
  if (rcItem.bottom < rcItem.top) rcItem.bottom = rcItem.top;
  // Without a window there is nothing to invalidate (a null window would
  // mean every window).
  if (m_hWndPaint == nullptr) return;
  if (m_bLayered) ::UnionRect(&m_rcLayeredUpdate, &m_rcLayeredUpdate, &rcItem);
  ::InvalidateRect(m_hWndPaint, &rcItem, FALSE);
}

// [SECTION] Searches

CControlUI* CPaintManagerUI::FindControl(POINT pt) const { return FindSubControlByPoint(nullptr, pt); }

CControlUI* CPaintManagerUI::FindControl(LPCWSTR pstrName) const {
  if (pstrName == nullptr) return nullptr;
  return static_cast<CControlUI*>(m_mNameHash.Find(pstrName));
}

CControlUI* CPaintManagerUI::FindSubControlByPoint(CControlUI* pParent, POINT pt) const {
  if (pParent == nullptr) pParent = m_pRoot;
  if (pParent == nullptr) return nullptr;
  return pParent->FindControl(FindAtPoint, &pt, UIFIND_VISIBLE | UIFIND_HITTEST | UIFIND_TOP_FIRST);
}

CControlUI* CPaintManagerUI::FindSubControlByName(CControlUI* pParent, LPCWSTR pstrName) const {
  if (pParent == nullptr) pParent = m_pRoot;
  if (pParent == nullptr || pstrName == nullptr) return nullptr;
  return pParent->FindControl(FindByName, const_cast<LPWSTR>(pstrName), UIFIND_ALL);
}

CControlUI* CPaintManagerUI::FindSubControlByClass(CControlUI* pParent, LPCWSTR pstrClass, int iIndex) {
  m_aFoundControls.Empty();
  if (pParent == nullptr) pParent = m_pRoot;
  if (pParent == nullptr || pstrClass == nullptr || iIndex < 0 || iIndex == INT_MAX) return nullptr;
  ClassSearch search = {pstrClass, &m_aFoundControls, iIndex + 1};
  return pParent->FindControl(FindByClass, &search, UIFIND_ALL);
}

CStdPtrArray* CPaintManagerUI::FindSubControlsByClass(CControlUI* pParent, LPCWSTR pstrClass) {
  m_aFoundControls.Empty();
  if (pParent == nullptr) pParent = m_pRoot;
  if (pParent == nullptr || pstrClass == nullptr) return &m_aFoundControls;
  ClassSearch search = {pstrClass, &m_aFoundControls, 0};
  pParent->FindControl(FindByClass, &search, UIFIND_ALL);
  return &m_aFoundControls;
}

CStdPtrArray* CPaintManagerUI::GetSubControlsByClass() { return &m_aFoundControls; }

}  // namespace SkinUI
