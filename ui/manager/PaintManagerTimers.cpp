// Control timers: each control's own identifiers mapped onto platform
// timers of the paint window. Platform identifiers cycle through 0..239
// (the caret's 241 lies outside) and are never handed out twice while a
// record holds one.
#include <new>

#include "manager/CPaintManagerUI.h"

namespace SkinUI {

namespace {

constexpr UINT kTimerIdCount = 240;

ControlTimer* TimerAt(const CStdPtrArray& timers, int i) { return static_cast<ControlTimer*>(timers[i]); }

bool IsHeld(const CStdPtrArray& timers, UINT id) {
  for (int i = 0; i < timers.GetSize(); ++i)
    if (TimerAt(timers, i)->uWinTimer == id) return true;
  return false;
}

}  // namespace

bool CPaintManagerUI::SetTimer(CControlUI* pControl, UINT nTimerID, UINT uElapse) {
  for (int i = 0; i < m_aTimers.GetSize(); ++i) {
    ControlTimer* pTimer = TimerAt(m_aTimers, i);
    if (pTimer->pSender != pControl || pTimer->hWnd != m_hWndPaint || pTimer->nLocalID != nTimerID) continue;
    if (pTimer->bKilled && ::SetTimer(m_hWndPaint, pTimer->uWinTimer, uElapse, nullptr)) {
      pTimer->bKilled = false;
      return true;
    }
    return false;
  }
  // The next free identifier after the last one handed out.
  UINT id = m_uTimerID;
  bool found = false;
  for (UINT tries = 0; tries < kTimerIdCount && !found; ++tries) {
    id = (id + 1) % kTimerIdCount;
    found = !IsHeld(m_aTimers, id);
  }
  if (!found) return false;
  m_uTimerID = id;
  if (!::SetTimer(m_hWndPaint, id, uElapse, nullptr)) return false;
  ControlTimer* pTimer = new (std::nothrow) ControlTimer{pControl, nTimerID, m_hWndPaint, id, false};
  if (pTimer == nullptr || !m_aTimers.Add(pTimer)) {
    ::KillTimer(m_hWndPaint, id);
    delete pTimer;
    return false;
  }
  return true;
}

bool CPaintManagerUI::KillTimer(CControlUI* pControl, UINT nTimerID) {
  for (int i = 0; i < m_aTimers.GetSize(); ++i) {
    ControlTimer* pTimer = TimerAt(m_aTimers, i);
    if (pTimer->pSender == pControl && pTimer->hWnd == m_hWndPaint && pTimer->nLocalID == nTimerID &&
        !pTimer->bKilled) {
      if (::IsWindow(m_hWndPaint)) ::KillTimer(pTimer->hWnd, pTimer->uWinTimer);
      pTimer->bKilled = true;
      return true;
    }
  }
  return false;
}

void CPaintManagerUI::KillTimer(CControlUI* pControl) {
  for (int i = m_aTimers.GetSize() - 1; i >= 0; --i) {
    ControlTimer* pTimer = TimerAt(m_aTimers, i);
    if (pTimer->pSender != pControl || pTimer->hWnd != m_hWndPaint) continue;
    if (!pTimer->bKilled && ::IsWindow(m_hWndPaint)) ::KillTimer(pTimer->hWnd, pTimer->uWinTimer);
    delete pTimer;
    m_aTimers.Remove(i);
  }
}

void CPaintManagerUI::RemoveAllTimers() {
  for (int i = 0; i < m_aTimers.GetSize(); ++i) {
    ControlTimer* pTimer = TimerAt(m_aTimers, i);
    if (!pTimer->bKilled && ::IsWindow(m_hWndPaint)) ::KillTimer(pTimer->hWnd, pTimer->uWinTimer);
    delete pTimer;
  }
  m_aTimers.Empty();
}

}  // namespace SkinUI
