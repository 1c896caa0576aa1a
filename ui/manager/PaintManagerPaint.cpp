// Painting: layout on demand, the tree drawn into one back buffer kept
// between paints, either copied to the window or, for a layered window,
// handed over whole with per-pixel alpha; and the caret drawn by the
// framework.
#include <cstring>
#include <unordered_set>

#include "controls/CControlUI.h"
#include "manager/CPaintManagerUI.h"
#include "render/CRenderEngine.h"

namespace SkinUI {

namespace {

// The first control needing layout that this pass has not laid out yet.
CControlUI* CALLBACK FindUpdateNeeded(CControlUI* pThis, LPVOID pData) {
  auto* pLaidOut = static_cast<std::unordered_set<CControlUI*>*>(pData);
  return pThis->IsUpdateNeeded() && pLaidOut->count(pThis) == 0 ? pThis : nullptr;
}

SIZE SizeOf(const RECT& rc) { return SIZE{rc.right - rc.left, rc.bottom - rc.top}; }

}  // namespace

void CPaintManagerUI::OnPaint() {
  HWND hWnd = m_hWndPaint;
  RECT rcUpdate = {0, 0, 0, 0};
  if (!::GetUpdateRect(hWnd, &rcUpdate, FALSE)) return;
  PAINTSTRUCT ps = {};
  ::BeginPaint(hWnd, &ps);
  if (m_pRoot == nullptr) {
    ::EndPaint(hWnd, &ps);
    return;
  }
  // Layout and the focus move run listeners, which may delete the window.
  auto alive = m_life.Watch();
  auto dead = [&] {
    if (*alive) return false;
    ::EndPaint(hWnd, &ps);
    return true;
  };

  if (m_bUpdateNeeded) {
    m_bUpdateNeeded = false;
    RECT rcClient = {0, 0, 0, 0};
    ::GetClientRect(hWnd, &rcClient);
    if (!::IsRectEmpty(&rcClient)) {
      if (m_pRoot->IsUpdateNeeded()) {
        if (!::IsIconic(hWnd)) m_pRoot->SetPos(rcClient);
        if (dead()) return;
        PrepareOffscreen(m_bLayered, SIZE{0, 0});
      } else {
        // Each control at most once: one that asks for layout again while
        // being laid out waits for the next paint.
        std::unordered_set<CControlUI*> laidOut;
        while (m_pRoot != nullptr) {
          CControlUI* pControl = m_pRoot->FindControl(FindUpdateNeeded, &laidOut, UIFIND_VISIBLE | UIFIND_ME_FIRST);
          if (pControl == nullptr) break;
          laidOut.insert(pControl);
          pControl->SetPos(pControl->GetPos());
          if (dead()) return;
        }
      }
      m_rcLayeredUpdate = rcClient;
      if (m_bFirstLayout && m_pRoot != nullptr) {
        m_bFirstLayout = false;
        SendNotify(m_pRoot, L"windowinit", 0, 0, false);
        if (dead()) return;
      }
    }
  }
  if (m_bFocusNeeded) {
    SetNextTabControl();
    if (dead()) return;
  }
  if (m_pRoot != nullptr) {
    if (m_bLayered)
      PaintLayered(ps.rcPaint);
    else
      PaintOffscreen(ps.hdc, ps.rcPaint);
  }
  ::EndPaint(hWnd, &ps);
  if (m_bUpdateNeeded) ::InvalidateRect(hWnd, nullptr, FALSE);
}

// An empty size only lets the buffer go (it is made again at the next paint).
bool CPaintManagerUI::PrepareOffscreen(bool bLayered, SIZE szClient) {
  bool bFits = m_szOffscreen.cx == szClient.cx && m_szOffscreen.cy == szClient.cy &&
               (!bLayered || m_pOffscreenBits != nullptr);
  if (m_hbmpOffscreen != nullptr && !bFits) {
    ::DeleteObject(m_hbmpOffscreen);
    m_hbmpOffscreen = nullptr;
    m_pOffscreenBits = nullptr;
    m_szOffscreen = SIZE{0, 0};
  }
  if (szClient.cx <= 0 || szClient.cy <= 0) return false;
  if (m_hDcOffscreen == nullptr) m_hDcOffscreen = ::CreateCompatibleDC(m_hDcPaint);
  if (m_hDcOffscreen == nullptr) return false;
  if (m_hbmpOffscreen == nullptr) {
    if (bLayered) {
      m_hbmpOffscreen = CRenderEngine::CreateBitmap(m_hDcPaint, szClient.cx, szClient.cy, &m_pOffscreenBits);
    } else {
      m_hbmpOffscreen = ::CreateCompatibleBitmap(m_hDcPaint, szClient.cx, szClient.cy);
      m_pOffscreenBits = nullptr;
    }
    if (m_hbmpOffscreen == nullptr || (bLayered && m_pOffscreenBits == nullptr)) {
      if (m_hbmpOffscreen != nullptr) ::DeleteObject(m_hbmpOffscreen);
      m_hbmpOffscreen = nullptr;
      m_pOffscreenBits = nullptr;
      return false;
    }
    m_szOffscreen = szClient;
  }
  return true;
}

void CPaintManagerUI::PaintOffscreen(HDC hDC, const RECT& rcPaintCycle) {
  RECT rcClient = {0, 0, 0, 0};
  ::GetClientRect(m_hWndPaint, &rcClient);
  if (!PrepareOffscreen(false, SizeOf(rcClient))) return;
  HGDIOBJ hOldBitmap = ::SelectObject(m_hDcOffscreen, m_hbmpOffscreen);
  int iSaveDC = ::SaveDC(m_hDcOffscreen);
  m_pRoot->DoPaint(m_hDcOffscreen, rcPaintCycle);
  for (int i = 0; i < m_aPostPaintControls.GetSize(); ++i)
    static_cast<CControlUI*>(m_aPostPaintControls[i])->DoPostPaint(m_hDcOffscreen, rcPaintCycle);
  ::RestoreDC(m_hDcOffscreen, iSaveDC);
  ::BitBlt(hDC, rcPaintCycle.left, rcPaintCycle.top, rcPaintCycle.right - rcPaintCycle.left,
           rcPaintCycle.bottom - rcPaintCycle.top, m_hDcOffscreen, rcPaintCycle.left, rcPaintCycle.top, SRCCOPY);
  ::SelectObject(m_hDcOffscreen, hOldBitmap);
}

// The area repainted is cut to the client area, which is the buffer: a
// control reaching past the window must not make the clearing write
// outside the pixels.
void CPaintManagerUI::PaintLayered(const RECT& rcPaintCycle) {
  LONG_PTR dwExStyle = ::GetWindowLongPtrW(m_hWndPaint, GWL_EXSTYLE);
  if ((dwExStyle & WS_EX_LAYERED) == 0) ::SetWindowLongPtrW(m_hWndPaint, GWL_EXSTYLE, dwExStyle | WS_EX_LAYERED);
  RECT rcClient = {0, 0, 0, 0};
  ::GetClientRect(m_hWndPaint, &rcClient);
  RECT rcPaint = rcClient;
  if (m_bLayeredChanged)
    m_bLayeredChanged = false;
  else
    ::UnionRect(&rcPaint, &rcPaintCycle, &m_rcLayeredUpdate);
  m_rcLayeredUpdate = RECT{0, 0, 0, 0};
  SIZE szClient = SizeOf(rcClient);
  if (!PrepareOffscreen(true, szClient)) return;
  if (!::IntersectRect(&rcPaint, &rcPaint, &rcClient)) rcPaint = RECT{0, 0, 0, 0};

  HGDIOBJ hOldBitmap = ::SelectObject(m_hDcOffscreen, m_hbmpOffscreen);
  int iSaveDC = ::SaveDC(m_hDcOffscreen);
  ::GdiFlush();
  auto row = [&](LONG y, LONG x) { return m_pOffscreenBits + (static_cast<size_t>(y) * szClient.cx + x) * 4; };
  for (LONG y = rcPaint.top; y < rcPaint.bottom; ++y)
    memset(row(y, rcPaint.left), 0, static_cast<size_t>(rcPaint.right - rcPaint.left) * 4);

  m_pRoot->DoPaint(m_hDcOffscreen, rcPaint);
  DrawCaret(m_hDcOffscreen, rcPaint);
  for (int i = 0; i < m_aPostPaintControls.GetSize(); ++i)
    static_cast<CControlUI*>(m_aPostPaintControls[i])->DoPostPaint(m_hDcOffscreen, rcPaintCycle);

  const RECT& c = m_rcRichEditCorner;
  if (c.left > 0 || c.top > 0 || c.right > 0 || c.bottom > 0) {
    // Everything but the frame is made opaque (what a rich edit box needs).
    RECT rcInside = {rcClient.left + c.left, rcClient.top + c.top, rcClient.right - c.right, rcClient.bottom - c.bottom};
    RECT rcOpaque;
    if (::IntersectRect(&rcOpaque, &rcInside, &rcPaint)) {
      ::GdiFlush();
      for (LONG y = rcOpaque.top; y < rcOpaque.bottom; ++y)
        for (LONG x = rcOpaque.left; x < rcOpaque.right; ++x) row(y, x)[3] = 255;
    }
  }
  ::RestoreDC(m_hDcOffscreen, iSaveDC);

  RECT rcWindow = {0, 0, 0, 0};
  ::GetWindowRect(m_hWndPaint, &rcWindow);
  POINT ptPos = {rcWindow.left, rcWindow.top}, ptSrc = {0, 0};
  BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  ::UpdateLayeredWindow(m_hWndPaint, nullptr, &ptPos, &szClient, m_hDcOffscreen, &ptSrc, 0, &blend, ULW_ALPHA);
  ::SelectObject(m_hDcOffscreen, hOldBitmap);
}

// [SECTION] The caret

bool CPaintManagerUI::CreateCaret(HBITMAP hBmp, int nWidth, int nHeight) {
  ::CreateCaret(m_hWndPaint, hBmp, nWidth, nHeight);
  m_rtCaret.right = m_rtCaret.left + nWidth;
  m_rtCaret.bottom = m_rtCaret.top + nHeight;
  return true;
}

bool CPaintManagerUI::ShowCaret(bool bShow) {
  if (m_bCaretShowing == bShow) return true;
  m_bCaretShowing = bShow;
  RECT rcCaret = m_rtCaret;
  if (!bShow) {
    ::KillTimer(m_hWndPaint, UITIMER_CARET);
    if (m_bCaretActive) Invalidate(rcCaret);
    m_bCaretActive = false;
  } else {
    ::SetTimer(m_hWndPaint, UITIMER_CARET, ::GetCaretBlinkTime(), nullptr);
    if (!m_bCaretActive) {
      Invalidate(rcCaret);
      m_bCaretActive = true;
    }
  }
  return true;
}

bool CPaintManagerUI::SetCaretPos(CRichEditUI* obj, int x, int y) {
  if (!::SetCaretPos(x, y)) return false;
  m_currentCaretObject = obj;
  RECT rcOld = m_rtCaret;
  int nWidth = m_rtCaret.right - m_rtCaret.left, nHeight = m_rtCaret.bottom - m_rtCaret.top;
  m_rtCaret = RECT{x, y, x + nWidth, y + nHeight};
  RECT rcNew = m_rtCaret;
  Invalidate(rcOld);
  Invalidate(rcNew);
  return true;
}

CRichEditUI* CPaintManagerUI::GetCurrentCaretRichEdit() { return m_currentCaretObject; }

// Rich edit boxes are not part of this build, so an owner's own focus and
// text colour cannot be asked: the caret blinks while the window has the
// focus, in the default font colour.
void CPaintManagerUI::DrawCaret(HDC hDC, const RECT& rcPaint) {
  if (m_currentCaretObject != nullptr && ::GetFocus() != m_hWndPaint) {
    ::KillTimer(m_hWndPaint, UITIMER_CARET);
    if (m_bCaretActive) {
      RECT rcCaret = m_rtCaret;
      Invalidate(rcCaret);
    }
    m_bCaretActive = false;
    return;
  }
  if (!m_bCaretActive || !m_bCaretShowing || m_currentCaretObject == nullptr) return;
  RECT rcDraw;
  if (::IntersectRect(&rcDraw, &m_rtCaret, &rcPaint)) CRenderEngine::DrawColor(hDC, rcDraw, GetDefaultFontColor());
}

}  // namespace SkinUI
