// Keyboard focus, tab order, shortcut keys, mouse capture and the
// delivery of notifications.
#include <cwchar>

#include "controls/CControlUI.h"
#include "manager/CPaintManagerUI.h"

namespace SkinUI {

namespace {

struct TabSearch {
  CControlUI* pFocus = nullptr;
  CControlUI* pLast = nullptr;
  bool bForward = true;
  bool bNextIsIt = false;
};

// Forward: the first tab stop after the focus (or the first of all without
// one). Backward: the last tab stop before the focus.
CControlUI* CALLBACK FindTabStop(CControlUI* pThis, LPVOID pData) {
  auto* pInfo = static_cast<TabSearch*>(pData);
  if (pInfo->pFocus == pThis) {
    if (pInfo->bForward) pInfo->bNextIsIt = true;
    return pInfo->bForward ? nullptr : pInfo->pLast;
  }
  if ((pThis->GetControlFlags() & UIFLAG_TABSTOP) == 0) return nullptr;
  pInfo->pLast = pThis;
  if (pInfo->bNextIsIt || pInfo->pFocus == nullptr) return pThis;
  return nullptr;
}

struct ShortcutSearch {
  WCHAR ch = 0;
  bool bPickNext = false;
};

WCHAR UpperCase(WCHAR ch) {
  WCHAR text[2] = {ch, 0};
  ::CharUpperW(text);
  return text[0];
}

// A label's shortcut picks the control visited after it.
CControlUI* CALLBACK FindShortcut(CControlUI* pThis, LPVOID pData) {
  if (!pThis->IsVisible()) return nullptr;
  auto* pSearch = static_cast<ShortcutSearch*>(pData);
  if (pSearch->ch == UpperCase(pThis->GetShortcut())) pSearch->bPickNext = true;
  if (wcsstr(pThis->GetClass(), L"LabelUI") != nullptr) return nullptr;
  return pSearch->bPickNext ? pThis : nullptr;
}

}  // namespace

CControlUI* CPaintManagerUI::GetFocus() const { return m_pFocus; }

bool CPaintManagerUI::LoseFocus(CControlUI* pNext) {
  auto alive = m_life.Watch();
  CControlUI* pOld = m_pFocus;
  m_pFocus = nullptr;
  auto oldAlive = pOld->Watch();
  TEventUI event;
  event.Type = UIEVENT_KILLFOCUS;
  event.pSender = pNext;
  event.dwTimestamp = ::GetTickCount();
  pOld->Event(event);
  if (*alive && *oldAlive) SendNotify(pOld, L"killfocus");
  return *alive;
}

// The old focus is cleared before it hears of it, so that a handler that
// moves the focus does not come back here for the same control. When a
// handler moved the focus elsewhere meanwhile, that move stands.
void CPaintManagerUI::SetFocus(CControlUI* pControl) {
  if (::GetFocus() != m_hWndPaint && pControl != m_pFocus && m_hWndPaint != nullptr) ::SetFocus(m_hWndPaint);
  if (pControl == m_pFocus) return;
  auto alive = m_life.Watch();
  std::shared_ptr<const bool> controlAlive = pControl != nullptr ? pControl->Watch() : nullptr;
  if (m_pFocus != nullptr && (!LoseFocus(pControl) || m_pFocus != nullptr)) return;
  if (pControl == nullptr || !*controlAlive) return;
  if (pControl->GetManager() != this || !pControl->IsVisible() || !pControl->IsEnabled()) return;
  m_pFocus = pControl;
  TEventUI event;
  event.Type = UIEVENT_SETFOCUS;
  event.pSender = pControl;
  event.dwTimestamp = ::GetTickCount();
  pControl->Event(event);
  if (*alive && *controlAlive) SendNotify(pControl, L"setfocus");
}

void CPaintManagerUI::SetFocusNeeded(CControlUI* pControl) {
  if (m_hWndPaint != nullptr) ::SetFocus(m_hWndPaint);
  if (pControl == nullptr) return;
  auto controlAlive = pControl->Watch();
  if (m_pFocus != nullptr && !LoseFocus(pControl)) return;
  // The tab stop before the control; the next paint moves forward onto it.
  TabSearch info;
  info.pFocus = *controlAlive ? pControl : nullptr;
  info.bForward = false;
  if (m_pRoot != nullptr)
    m_pFocus = m_pRoot->FindControl(FindTabStop, &info, UIFIND_VISIBLE | UIFIND_ENABLED | UIFIND_ME_FIRST);
  m_bFocusNeeded = true;
  if (m_pRoot != nullptr) m_pRoot->NeedUpdate();
}

bool CPaintManagerUI::SetNextTabControl(bool bForward) {
  // While the layout is pending the move waits for it.
  if (m_bUpdateNeeded && bForward) {
    m_bFocusNeeded = true;
    if (m_hWndPaint != nullptr) ::InvalidateRect(m_hWndPaint, nullptr, FALSE);
    return true;
  }
  CControlUI* pControl = nullptr;
  if (m_pRoot != nullptr) {
    const UINT uFlags = UIFIND_VISIBLE | UIFIND_ENABLED | UIFIND_ME_FIRST;
    TabSearch info;
    info.pFocus = m_pFocus;
    info.bForward = bForward;
    pControl = m_pRoot->FindControl(FindTabStop, &info, uFlags);
    if (pControl == nullptr) {
      if (bForward) {
        TabSearch first;  // wrap to the first tab stop
        pControl = m_pRoot->FindControl(FindTabStop, &first, uFlags);
      } else {
        pControl = info.pLast;  // wrap to the last one
      }
    }
  }
  auto alive = m_life.Watch();
  if (pControl != nullptr) SetFocus(pControl);
  if (*alive) m_bFocusNeeded = false;
  return true;
}

bool CPaintManagerUI::ActivateShortcut(WCHAR ch) {
  if (m_pRoot == nullptr) return false;
  ShortcutSearch search;
  search.ch = UpperCase(ch);
  CControlUI* pControl =
      m_pRoot->FindControl(FindShortcut, &search, UIFIND_ENABLED | UIFIND_ME_FIRST | UIFIND_TOP_FIRST);
  if (pControl == nullptr) return false;
  auto controlAlive = pControl->Watch();
  pControl->SetFocus();
  if (*controlAlive) pControl->Activate();
  return true;
}

void CPaintManagerUI::SetCapture() {
  if (m_hWndPaint != nullptr) ::SetCapture(m_hWndPaint);
  m_bMouseCapture = true;
}

// The flag goes first: our own release is not a capture lost to others.
void CPaintManagerUI::ReleaseCapture() {
  m_bMouseCapture = false;
  ::ReleaseCapture();
}

bool CPaintManagerUI::IsCaptured() { return m_bMouseCapture; }

// [SECTION] Notifications

void CPaintManagerUI::SendNotify(CControlUI* pControl, LPCWSTR pstrMessage, WPARAM wParam, LPARAM lParam,
                                 bool bAsync) {
  TNotifyUI Msg;
  Msg.pSender = pControl;
  Msg.sType = pstrMessage != nullptr ? pstrMessage : L"";
  Msg.wParam = wParam;
  Msg.lParam = lParam;
  SendNotify(Msg, bAsync);
}

void CPaintManagerUI::SendNotify(TNotifyUI& Msg, bool bAsync) {
  Msg.ptMouse = m_ptLastMousePos;
  Msg.dwTimestamp = ::GetTickCount();
  if (m_bUsedVirtualWnd) Msg.sVirtualWnd = Msg.pSender != nullptr ? Msg.pSender->GetVirtualWnd() : CDuiString();
  if (bAsync)
    m_aAsyncNotify.Add(new TNotifyUI(Msg));
  else
    DeliverNotify(Msg);
}

bool CPaintManagerUI::DeliverNotify(TNotifyUI& Msg) {
  auto alive = m_life.Watch();
  std::shared_ptr<const bool> senderAlive = Msg.pSender != nullptr ? Msg.pSender->Watch() : nullptr;
  auto checkSender = [&] {
    if (Msg.pSender != nullptr && !*senderAlive) Msg.pSender = nullptr;
  };
  if (Msg.pSender != nullptr && Msg.pSender->NotifyListeners) Msg.pSender->NotifyListeners(&Msg);
  for (int i = 0; *alive && i < m_aNotifiers.GetSize(); ++i) {
    checkSender();
    static_cast<INotifyUI*>(m_aNotifiers[i])->Notify(Msg);
  }
  if (!*alive) return false;
  checkSender();
  return true;
}

bool CPaintManagerUI::DeliverQueuedNotifications() {
  while (!m_aAsyncNotify.IsEmpty()) {
    std::unique_ptr<TNotifyUI> pMsg(static_cast<TNotifyUI*>(m_aAsyncNotify[0]));
    m_aAsyncNotify.Remove(0);
    if (!DeliverNotify(*pMsg)) return false;
  }
  return true;
}

}  // namespace SkinUI
