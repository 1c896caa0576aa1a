// Window messages turned into control events, message pre-translation and
// the message loop.
//
// Routing (hover H, click C, key K, focus F; "pass" delivers the queued
// notifications and leaves the message to the window's default handling):
//
//   message            | events                                             | references after
//   -------------------+----------------------------------------------------+--------------------------
//   mouse move         | H: leave; new control: enter; C (else the control  | H := control under mouse
//                      | under the mouse): move                             |
//   mouse hover        | H: hover; the tool tip of the control under mouse  | -
//   mouse leave        | a move to (-1, -1): H leaves                       | H := null
//   left down          | control: set focus, down; mouse captured           | C := control
//   left double click  | control: double click; mouse captured              | C := control
//   left up            | C: up; capture released                            | C := null
//   right down         | control: set focus, right down; mouse captured     | C := control
//   context menu       | C: context menu (lParam C); capture released       | C := null
//   capture lost       | C: up at a point outside it (no click)             | C := null
//   wheel              | control: wheel; then a move to the mouse position  | -
//   key down, char     | F: key down / char                                 | K := F (key down)
//   key up             | K: key up                                          | K := null
//   set cursor         | control with FlagSetCursor: set cursor (handled)   | -
//   timer              | the timer's control: timer                         | -
//   size               | F: window size; the root needs layout              | -
//   close              | H: leave; C: up; focus cleared                     | H, C, F := null
//
// Every reference is recorded before the event that may delete its control
// is sent: a dying control clears it (ReapObjects), and the code here
// checks after each call into control code that the control and the
// manager still live.
#include <cstdint>
#include <cwchar>

#include "controls/CControlUI.h"
#include "manager/CPaintManagerUI.h"

namespace SkinUI {

namespace {

// The current modifiers as mouse-key flags.
WORD KeyState() {
  WORD wState = 0;
  if (::GetKeyState(VK_CONTROL) < 0) wState |= MK_CONTROL;
  if (::GetKeyState(VK_LBUTTON) < 0) wState |= MK_LBUTTON;
  if (::GetKeyState(VK_RBUTTON) < 0) wState |= MK_RBUTTON;
  if (::GetKeyState(VK_SHIFT) < 0) wState |= MK_SHIFT;
  if (::GetKeyState(VK_MENU) < 0) wState |= 0x20;  // Alt
  return wState;
}

TEventUI MakeEvent(int iType, CControlUI* pSender, POINT ptMouse) {
  TEventUI event;
  event.Type = iType;
  event.pSender = pSender;
  event.ptMouse = ptMouse;
  event.dwTimestamp = ::GetTickCount();
  return event;
}

// Signed 16-bit x and y, as mouse messages carry them.
POINT PointOf(LPARAM lParam) {
  return POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

// A point that a control's hit test never takes for its own.
POINT OutsideOf(const RECT& rc) {
  return POINT{rc.left > INT32_MIN ? rc.left - 1 : rc.right, rc.top > INT32_MIN ? rc.top - 1 : rc.bottom};
}

// Controls reflect the messages of their own child windows back to them.
constexpr UINT kReflectBase = 0x2000;

}  // namespace

bool CPaintManagerUI::MessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes) {
  if (m_hWndPaint == nullptr) return false;
  auto alive = m_life.Watch();
  if (!DeliverQueuedNotifications()) return true;
  for (int i = 0; i < m_aMessageFilters.GetSize(); ++i) {
    bool bHandled = false;
    LRESULT lResult = static_cast<IMessageFilterUI*>(m_aMessageFilters[i])->MessageHandler(uMsg, wParam, lParam, bHandled);
    if (!*alive) return true;
    if (bHandled) {
      lRes = lResult;
      return true;
    }
  }
  // Sends event to pControl; false when the call deleted the manager.
  auto send = [&alive](CControlUI* pControl, TEventUI event) {
    pControl->Event(event);
    return *alive;
  };
  // The click control, let go of before its last event, and the mouse.
  auto takeClick = [this] {
    CControlUI* pClick = m_pEventClick;
    if (pClick == nullptr) return pClick;
    m_pEventClick = nullptr;
    ReleaseCapture();
    return pClick;
  };

  switch (uMsg) {
    case WM_CLOSE: {
      TEventUI event = MakeEvent(0, nullptr, m_ptLastMousePos);
      if (CControlUI* pHover = m_pEventHover) {
        m_pEventHover = nullptr;
        event.Type = UIEVENT_MOUSELEAVE;
        event.pSender = pHover;
        if (!send(pHover, event)) return true;
      }
      if (CControlUI* pClick = m_pEventClick) {
        m_pEventClick = nullptr;
        event.Type = UIEVENT_BUTTONUP;
        event.pSender = pClick;
        if (!send(pClick, event)) return true;
      }
      SetFocus(nullptr);
      if (!*alive) return true;
      if (HWND hWndOwner = ::GetWindow(m_hWndPaint, GW_OWNER)) ::SetFocus(hWndOwner);
      break;
    }
    case WM_ERASEBKGND: lRes = 1; return true;
    case WM_PAINT: OnPaint(); return true;
    case WM_SIZE:
      if (m_pFocus != nullptr && !send(m_pFocus, MakeEvent(UIEVENT_WINDOWSIZE, m_pFocus, POINT{0, 0}))) return true;
      if (m_pRoot != nullptr) m_pRoot->NeedUpdate();
      return true;
    case WM_TIMER:
      if (LOWORD(wParam) == UITIMER_CARET) {
        RECT rcCaret = m_rtCaret;
        Invalidate(rcCaret);
        m_bCaretActive = !m_bCaretActive;
        break;
      }
      for (int i = 0; i < m_aTimers.GetSize(); ++i) {
        const auto* pTimer = static_cast<const ControlTimer*>(m_aTimers[i]);
        if (pTimer->hWnd != m_hWndPaint || pTimer->uWinTimer != LOWORD(wParam) || pTimer->bKilled) continue;
        TEventUI event = MakeEvent(UIEVENT_TIMER, pTimer->pSender, m_ptLastMousePos);
        event.wParam = pTimer->nLocalID;
        if (!send(pTimer->pSender, event)) return true;
        break;
      }
      break;
    case WM_MOUSEMOVE:
      if (!m_bMouseTracking) {
        TRACKMOUSEEVENT tme = {};
        tme.cbSize = sizeof(tme);
        tme.dwFlags = TME_HOVER | TME_LEAVE;
        tme.hwndTrack = m_hWndPaint;
        tme.dwHoverTime = m_hwndTooltip == nullptr
                              ? 400UL
                              : static_cast<DWORD>(::SendMessageW(m_hwndTooltip, TTM_GETDELAYTIME, TTDT_INITIAL, 0));
        ::TrackMouseEvent(&tme);
        m_bMouseTracking = true;
      }
      OnMouseMove(PointOf(lParam));
      if (!*alive) return true;
      break;
    case WM_MOUSEHOVER: {
      m_bMouseTracking = false;
      POINT pt = PointOf(lParam);
      CControlUI* pHover = FindControl(pt);
      if (pHover == nullptr) break;
      auto hoverAlive = pHover->Watch();
      if (m_pEventHover != nullptr && !send(m_pEventHover, MakeEvent(UIEVENT_MOUSEHOVER, m_pEventHover, pt)))
        return true;
      if (!*hoverAlive) break;
      m_sToolTipText = pHover->GetToolTip();
      if (m_sToolTipText.IsEmpty()) return true;
      m_ToolTip = TOOLINFOW{};
      m_ToolTip.cbSize = sizeof(TOOLINFOW);
      m_ToolTip.uFlags = TTF_IDISHWND;
      m_ToolTip.hwnd = m_hWndPaint;
      m_ToolTip.uId = reinterpret_cast<UINT_PTR>(m_hWndPaint);
      m_ToolTip.hinst = m_hInstance;
      m_ToolTip.lpszText = const_cast<LPWSTR>(m_sToolTipText.GetData());
      m_ToolTip.rect = pHover->GetPos();
      if (m_hwndTooltip == nullptr) {
        m_hwndTooltip = ::CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                                          CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, m_hWndPaint,
                                          nullptr, m_hInstance, nullptr);
        ::SendMessageW(m_hwndTooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&m_ToolTip));
      }
      ::SendMessageW(m_hwndTooltip, TTM_SETMAXTIPWIDTH, 0, pHover->GetToolTipWidth());
      ::SendMessageW(m_hwndTooltip, TTM_SETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&m_ToolTip));
      ::SendMessageW(m_hwndTooltip, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&m_ToolTip));
      return true;
    }
    case WM_MOUSELEAVE:
      if (m_hwndTooltip != nullptr) ::SendMessageW(m_hwndTooltip, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&m_ToolTip));
      // Always leave the hover control, also when a hover already disarmed
      // the tracking; the flag keeps the move from arming it again.
      m_bMouseTracking = true;
      ::SendMessageW(m_hWndPaint, WM_MOUSEMOVE, 0, static_cast<LPARAM>(-1));
      if (!*alive) return true;
      m_bMouseTracking = false;
      break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      ::SetFocus(m_hWndPaint);
      POINT pt = PointOf(lParam);
      m_ptLastMousePos = pt;
      CControlUI* pControl = FindControl(pt);
      if (pControl == nullptr || pControl->GetManager() != this) break;
      auto controlAlive = pControl->Watch();
      m_pEventClick = pControl;
      // A double click does not move the focus.
      if (uMsg != WM_LBUTTONDBLCLK) {
        pControl->SetFocus();
        if (!*alive) return true;
        if (!*controlAlive) break;
      }
      SetCapture();
      int iType = uMsg == WM_LBUTTONDOWN ? UIEVENT_BUTTONDOWN
                  : uMsg == WM_RBUTTONDOWN ? UIEVENT_RBUTTONDOWN
                                           : UIEVENT_DBLCLICK;
      TEventUI event = MakeEvent(iType, pControl, pt);
      event.wKeyState = static_cast<WORD>(wParam);
      if (uMsg != WM_LBUTTONDBLCLK) {
        event.wParam = wParam;
        event.lParam = lParam;
      }
      if (!send(pControl, event)) return true;
      break;
    }
    case WM_LBUTTONUP: {
      POINT pt = PointOf(lParam);
      m_ptLastMousePos = pt;
      CControlUI* pClick = takeClick();
      if (pClick == nullptr) break;
      TEventUI event = MakeEvent(UIEVENT_BUTTONUP, pClick, pt);
      event.wParam = wParam;
      event.lParam = lParam;
      event.wKeyState = static_cast<WORD>(wParam);
      if (!send(pClick, event)) return true;
      break;
    }
    case WM_CONTEXTMENU: {
      POINT pt = PointOf(lParam);
      ::ScreenToClient(m_hWndPaint, &pt);
      m_ptLastMousePos = pt;
      CControlUI* pClick = takeClick();
      if (pClick == nullptr) break;
      TEventUI event = MakeEvent(UIEVENT_CONTEXTMENU, pClick, pt);
      // The message's wParam is a window, not a key state.
      event.wKeyState = KeyState();
      event.lParam = reinterpret_cast<LPARAM>(pClick);
      if (!send(pClick, event)) return true;
      break;
    }
    case WM_CAPTURECHANGED:
      // Taken by another window (a message box, say) while a button was
      // held: the pressed control is released without a click.
      if (m_bMouseCapture && reinterpret_cast<HWND>(lParam) != m_hWndPaint) {
        m_bMouseCapture = false;
        if (CControlUI* pClick = m_pEventClick) {
          m_pEventClick = nullptr;
          if (!send(pClick, MakeEvent(UIEVENT_BUTTONUP, pClick, OutsideOf(pClick->GetPos())))) return true;
        }
      }
      break;
    case WM_MOUSEWHEEL: {
      POINT pt = PointOf(lParam);
      ::ScreenToClient(m_hWndPaint, &pt);
      m_ptLastMousePos = pt;
      CControlUI* pControl = FindControl(pt);
      if (pControl == nullptr || pControl->GetManager() != this) break;
      TEventUI event = MakeEvent(UIEVENT_SCROLLWHEEL, pControl, POINT{0, 0});
      event.wParam = static_cast<short>(HIWORD(wParam)) < 0 ? 1 : 0;
      event.lParam = lParam;
      event.wKeyState = KeyState();
      if (!send(pControl, event)) return true;
      // Hover follows the content that moved under the mouse.
      ::SendMessageW(m_hWndPaint, WM_MOUSEMOVE, 0, MAKELPARAM(m_ptLastMousePos.x, m_ptLastMousePos.y));
      if (!*alive) return true;
      break;
    }
    case WM_KEYDOWN:
    case WM_CHAR: {
      if (m_pFocus == nullptr) break;
      TEventUI event = MakeEvent(uMsg == WM_KEYDOWN ? UIEVENT_KEYDOWN : UIEVENT_CHAR, nullptr, m_ptLastMousePos);
      event.chKey = static_cast<WCHAR>(wParam);
      event.wKeyState = KeyState();
      if (uMsg == WM_KEYDOWN) m_pEventKey = m_pFocus;
      if (!send(m_pFocus, event)) return true;
      break;
    }
    case WM_KEYUP: {
      CControlUI* pKey = m_pEventKey;
      if (pKey == nullptr) break;
      m_pEventKey = nullptr;
      TEventUI event = MakeEvent(UIEVENT_KEYUP, nullptr, m_ptLastMousePos);
      event.chKey = static_cast<WCHAR>(wParam);
      event.wKeyState = KeyState();
      if (!send(pKey, event)) return true;
      break;
    }
    case WM_SETCURSOR: {
      if (LOWORD(lParam) != HTCLIENT) break;
      if (m_bMouseCapture) return true;
      POINT pt = {0, 0};
      ::GetCursorPos(&pt);
      ::ScreenToClient(m_hWndPaint, &pt);
      CControlUI* pControl = FindControl(pt);
      if (pControl == nullptr || pControl->GetManager() != this) break;
      if ((pControl->GetControlFlags() & UIFLAG_SETCURSOR) == 0) break;
      TEventUI event = MakeEvent(UIEVENT_SETCURSOR, nullptr, pt);
      event.wParam = wParam;
      event.lParam = lParam;
      event.wKeyState = KeyState();
      send(pControl, event);
      return true;
    }
    case WM_GETMINMAXINFO:
      if (auto* pInfo = reinterpret_cast<LPMINMAXINFO>(lParam)) {
        if (m_szMinWindow.cx > 0) pInfo->ptMinTrackSize.x = m_szMinWindow.cx;
        if (m_szMinWindow.cy > 0) pInfo->ptMinTrackSize.y = m_szMinWindow.cy;
        if (m_szMaxWindow.cx > 0) pInfo->ptMaxTrackSize.x = m_szMaxWindow.cx;
        if (m_szMaxWindow.cy > 0) pInfo->ptMaxTrackSize.y = m_szMaxWindow.cy;
      }
      break;
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_RESTORE) m_bLayeredChanged = true;
      return true;
    case WM_NOTIFY:
      if (lParam != 0) {
        auto* pHeader = reinterpret_cast<LPNMHDR>(lParam);
        lRes = ::SendMessageW(pHeader->hwndFrom, kReflectBase + uMsg, wParam, lParam);
      }
      return true;
    case WM_COMMAND:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
      if (lParam == 0) break;
      lRes = ::SendMessageW(reinterpret_cast<HWND>(lParam), kReflectBase + uMsg, wParam, lParam);
      return true;
    case UIMSG_CLEANUP: {
      CStdPtrArray controls(m_aDelayedCleanup);
      m_aDelayedCleanup.Empty();
      for (int i = 0; i < controls.GetSize() && *alive; ++i) delete static_cast<CControlUI*>(controls[i]);
      if (!*alive) return true;
      break;
    }
    default: break;
  }
  DeliverQueuedNotifications();
  return false;
}

void CPaintManagerUI::OnMouseMove(POINT pt) {
  auto alive = m_life.Watch();
  m_ptLastMousePos = pt;
  CControlUI* pNewHover = FindControl(pt);
  if (pNewHover != nullptr && pNewHover->GetManager() != this) return;
  std::shared_ptr<const bool> newAlive = pNewHover != nullptr ? pNewHover->Watch() : nullptr;
  if (pNewHover != m_pEventHover && m_pEventHover != nullptr) {
    CControlUI* pOld = m_pEventHover;
    m_pEventHover = nullptr;
    TEventUI event = MakeEvent(UIEVENT_MOUSELEAVE, pOld, pt);
    pOld->Event(event);
    if (!*alive) return;
    if (m_hwndTooltip != nullptr)
      ::SendMessageW(m_hwndTooltip, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&m_ToolTip));
  }
  if (pNewHover != nullptr && !*newAlive) pNewHover = nullptr;
  if (pNewHover != m_pEventHover && pNewHover != nullptr) {
    m_pEventHover = pNewHover;
    TEventUI event = MakeEvent(UIEVENT_MOUSEENTER, pNewHover, pt);
    pNewHover->Event(event);
    if (!*alive) return;
    if (!*newAlive) pNewHover = nullptr;
  }
  CControlUI* pTarget = m_pEventClick != nullptr ? m_pEventClick : pNewHover;
  if (pTarget == nullptr) return;
  TEventUI event = MakeEvent(UIEVENT_MOUSEMOVE, pTarget, pt);
  pTarget->Event(event);
}

bool CPaintManagerUI::PreMessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes) {
  auto alive = m_life.Watch();
  for (int i = 0; i < m_aPreMessageFilters.GetSize(); ++i) {
    bool bHandled = false;
    LRESULT lResult =
        static_cast<IMessageFilterUI*>(m_aPreMessageFilters[i])->MessageHandler(uMsg, wParam, lParam, bHandled);
    if (!*alive) return true;
    if (bHandled) {
      lRes = lResult;
      return true;
    }
  }
  switch (uMsg) {
    case WM_KEYDOWN:
      if (wParam != VK_TAB) return false;
      // A rich edit box may want the tab key; this build has none, so every
      // focused control lets it move the focus.
      SetNextTabControl(::GetKeyState(VK_SHIFT) >= 0);
      return true;
    case WM_SYSCHAR: return ActivateShortcut(static_cast<WCHAR>(wParam));
    case WM_SYSKEYDOWN:
      if (m_pFocus != nullptr) {
        TEventUI event = MakeEvent(UIEVENT_SYSKEY, nullptr, m_ptLastMousePos);
        event.chKey = static_cast<WCHAR>(wParam);
        event.wKeyState = KeyState();
        m_pFocus->Event(event);
      }
      return false;
    default: return false;
  }
}

bool CPaintManagerUI::TranslateAccelerator(LPMSG pMsg) {
  for (int i = 0; i < m_aTranslateAccelerator.GetSize(); ++i) {
    auto* pTranslator = static_cast<ITranslateAccelerator*>(m_aTranslateAccelerator[i]);
    if (pTranslator->TranslateAccelerator(pMsg) == 0) return true;
  }
  return false;
}

// A message for a child window goes to every manager whose window is the
// child or one of its ancestors, once per manager.
bool CPaintManagerUI::TranslateMessage(const LPMSG pMsg) {
  LRESULT lRes = 0;
  bool bChild = (::GetWindowLongPtrW(pMsg->hwnd, GWL_STYLE) & WS_CHILD) != 0;
  for (int i = 0; i < m_aPreMessages.GetSize(); ++i) {
    auto* pManager = static_cast<CPaintManagerUI*>(m_aPreMessages[i]);
    HWND hWndPaint = pManager->GetPaintWindow();
    if (!bChild) {
      if (pMsg->hwnd != hWndPaint) continue;
      if (pManager->TranslateAccelerator(pMsg)) return true;
      return pManager->PreMessageHandler(pMsg->message, pMsg->wParam, pMsg->lParam, lRes);
    }
    for (HWND hAncestor = ::GetParent(pMsg->hwnd); hAncestor != nullptr; hAncestor = ::GetParent(hAncestor)) {
      if (pMsg->hwnd != hWndPaint && hAncestor != hWndPaint) continue;
      if (pManager->TranslateAccelerator(pMsg)) return true;
      pManager->PreMessageHandler(pMsg->message, pMsg->wParam, pMsg->lParam, lRes);
      break;
    }
  }
  return false;
}

// [SECTION] Registration lists: add appends (duplicates allowed), remove
// takes out the first occurrence.

namespace {

bool RemoveFirst(CStdPtrArray& list, LPVOID p) {
  int i = list.Find(p);
  return i >= 0 && list.Remove(i);
}

}  // namespace

bool CPaintManagerUI::AddNotifier(INotifyUI* pNotifier) { return m_aNotifiers.Add(pNotifier); }
bool CPaintManagerUI::RemoveNotifier(INotifyUI* pNotifier) { return RemoveFirst(m_aNotifiers, pNotifier); }
bool CPaintManagerUI::AddPreMessageFilter(IMessageFilterUI* pFilter) { return m_aPreMessageFilters.Add(pFilter); }
bool CPaintManagerUI::RemovePreMessageFilter(IMessageFilterUI* pFilter) {
  return RemoveFirst(m_aPreMessageFilters, pFilter);
}
bool CPaintManagerUI::AddMessageFilter(IMessageFilterUI* pFilter) { return m_aMessageFilters.Add(pFilter); }
bool CPaintManagerUI::RemoveMessageFilter(IMessageFilterUI* pFilter) { return RemoveFirst(m_aMessageFilters, pFilter); }
bool CPaintManagerUI::AddTranslateAccelerator(ITranslateAccelerator* pTranslateAccelerator) {
  return m_aTranslateAccelerator.Add(pTranslateAccelerator);
}
bool CPaintManagerUI::RemoveTranslateAccelerator(ITranslateAccelerator* pTranslateAccelerator) {
  return RemoveFirst(m_aTranslateAccelerator, pTranslateAccelerator);
}
bool CPaintManagerUI::AddPostPaint(CControlUI* pControl) { return m_aPostPaintControls.Add(pControl); }
bool CPaintManagerUI::RemovePostPaint(CControlUI* pControl) { return RemoveFirst(m_aPostPaintControls, pControl); }
int CPaintManagerUI::GetPostPaintCount() const { return m_aPostPaintControls.GetSize(); }

bool CPaintManagerUI::SetPostPaintIndex(CControlUI* pControl, int iIndex) {
  RemovePostPaint(pControl);
  return m_aPostPaintControls.InsertAt(iIndex, pControl);
}

// [SECTION] The message loop

void CPaintManagerUI::MessageLoop() {
  MSG msg = {};
  while (::GetMessageW(&msg, nullptr, 0, 0)) {
    if (!CPaintManagerUI::TranslateMessage(&msg)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
  }
}

}  // namespace SkinUI
