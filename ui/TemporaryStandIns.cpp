// Stand-ins for definitions another branch brings; removed when it lands.
#include "controls/CControlUI.h"
#include "manager/CPaintManagerUI.h"
#include "render/CImageAttribute.h"
#include "render/CRenderClip.h"
#include "render/CRenderEngine.h"
#include "render/ZipReader.h"

namespace SkinUI {

HINSTANCE CPaintManagerUI::m_hInstance = nullptr;
HINSTANCE CPaintManagerUI::m_hResourceInstance = nullptr;
CDuiString CPaintManagerUI::m_pStrResourcePath;
CDuiString CPaintManagerUI::m_pStrResourceZip;
bool CPaintManagerUI::m_bCachedResourceZip = false;
std::unique_ptr<ZipReader> CPaintManagerUI::m_hResourceZip;
CDuiString CPaintManagerUI::m_pStrDefaultFontName;
CStdPtrArray CPaintManagerUI::m_aPreMessages;
CStdPtrArray CPaintManagerUI::m_aPlugins;
ULONG_PTR CPaintManagerUI::m_gdiplusToken = 0;
Gdiplus::GdiplusStartupInput* CPaintManagerUI::m_pGdiplusStartupInput = nullptr;
short CPaintManagerUI::m_H = 180;
short CPaintManagerUI::m_S = 100;
short CPaintManagerUI::m_L = 100;

CPaintManagerUI::CPaintManagerUI() { ::InitCommonControls(); }

CPaintManagerUI::~CPaintManagerUI() {
  for (int i = 0; i < m_aDelayedCleanup.GetSize(); ++i) delete static_cast<CControlUI*>(m_aDelayedCleanup[i]);
  m_aDelayedCleanup.Empty();
  for (int i = 0; i < m_aAsyncNotify.GetSize(); ++i) delete static_cast<TNotifyUI*>(m_aAsyncNotify[i]);
  m_aAsyncNotify.Empty();
  m_mNameHash.RemoveAll();
  delete m_pRoot;
  RemoveAllTimers();
  if (m_hwndTooltip) ::DestroyWindow(m_hwndTooltip);
  if (m_hDcOffscreen) ::DeleteDC(m_hDcOffscreen);
  if (m_hbmpOffscreen) ::DeleteObject(m_hbmpOffscreen);
  if (m_hDcPaint) ::ReleaseDC(m_hWndPaint, m_hDcPaint);
  m_aPreMessages.Remove(m_aPreMessages.Find(this));
}

void CPaintManagerUI::Init(HWND hWnd) {
  m_hWndPaint = hWnd;
  if (m_hDcPaint == nullptr && hWnd != nullptr) m_hDcPaint = ::GetDC(hWnd);
  if (m_aPreMessages.Find(this) < 0) m_aPreMessages.Add(this);
}

HWND CPaintManagerUI::GetPaintWindow() const { return m_hWndPaint; }
HDC CPaintManagerUI::GetPaintDC() const { return m_hDcPaint; }
HWND CPaintManagerUI::GetTooltipWindow() const { return m_hwndTooltip; }
POINT CPaintManagerUI::GetMousePos() const { return m_ptLastMousePos; }
void CPaintManagerUI::SetRichEditCorner(RECT& rcCorner) { m_rcRichEditCorner = rcCorner; }
bool CPaintManagerUI::IsLayeredWindow() { return m_bLayered; }
void CPaintManagerUI::SetUseLayeredWindow(bool bLayered) { m_bLayered = bLayered; }
void CPaintManagerUI::UsedVirtualWnd(bool bUsed) { m_bUsedVirtualWnd = bUsed; }
DWORD CPaintManagerUI::GetDefaultFontColor() const { return m_dwDefaultFontColor; }
void CPaintManagerUI::SetMinInfo(int cx, int cy) { m_szMinWindow = SIZE{cx, cy}; }
void CPaintManagerUI::SetMaxInfo(int cx, int cy) { m_szMaxWindow = SIZE{cx, cy}; }
HINSTANCE CPaintManagerUI::GetInstance() { return m_hInstance; }
void CPaintManagerUI::GetHSL(short* H, short* S, short* L) {
  *H = m_H;
  *S = m_S;
  *L = m_L;
}
TFontInfo* CPaintManagerUI::GetDefaultFontInfo() { return &m_DefaultFontInfo; }
LPCWSTR CPaintManagerUI::GetDefaultAttributeList(LPCWSTR pStrControlName) const {
  return static_cast<LPCWSTR>(m_DefaultAttrHash.Find(pStrControlName));
}
void CPaintManagerUI::AddDefaultAttributeList(LPCWSTR pStrControlName, LPCWSTR pStrControlAttrList) {
  m_DefaultAttrHash.Insert(pStrControlName, const_cast<LPWSTR>(pStrControlAttrList));
}

bool CPaintManagerUI::SetTimer(CControlUI* pControl, UINT nTimerID, UINT uElapse) {
  m_uTimerID = (m_uTimerID + 1) % 240;
  if (!::SetTimer(m_hWndPaint, m_uTimerID, uElapse, nullptr)) return false;
  return m_aTimers.Add(new ControlTimer{pControl, nTimerID, m_hWndPaint, m_uTimerID, false});
}

bool CPaintManagerUI::KillTimer(CControlUI* pControl, UINT nTimerID) {
  for (int i = 0; i < m_aTimers.GetSize(); ++i) {
    auto* pTimer = static_cast<ControlTimer*>(m_aTimers[i]);
    if (pTimer->pSender != pControl || pTimer->nLocalID != nTimerID || pTimer->bKilled) continue;
    ::KillTimer(m_hWndPaint, pTimer->uWinTimer);
    pTimer->bKilled = true;
    return true;
  }
  return false;
}

void CPaintManagerUI::KillTimer(CControlUI* pControl) {
  for (int i = m_aTimers.GetSize() - 1; i >= 0; --i) {
    auto* pTimer = static_cast<ControlTimer*>(m_aTimers[i]);
    if (pTimer->pSender != pControl) continue;
    if (!pTimer->bKilled) ::KillTimer(m_hWndPaint, pTimer->uWinTimer);
    delete pTimer;
    m_aTimers.Remove(i);
  }
}

void CPaintManagerUI::RemoveAllTimers() {
  for (int i = 0; i < m_aTimers.GetSize(); ++i) delete static_cast<ControlTimer*>(m_aTimers[i]);
  m_aTimers.Empty();
}

DWORD CRenderEngine::AdjustColor(DWORD dwColor, short, short, short) { return dwColor; }

HBITMAP CRenderEngine::CreateBitmap(HDC hDC, int cx, int cy, BYTE** pBits) {
  BITMAPINFO bmi = {};
  bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bmi.bmiHeader.biWidth = cx;
  bmi.bmiHeader.biHeight = -cy;
  bmi.bmiHeader.biPlanes = 1;
  bmi.bmiHeader.biBitCount = 32;
  bmi.bmiHeader.biCompression = BI_RGB;
  return ::CreateDIBSection(hDC, &bmi, DIB_RGB_COLORS, reinterpret_cast<void**>(pBits), nullptr, 0);
}

void CRenderEngine::DrawColor(HDC hDC, const RECT& rc, DWORD color) {
  HBRUSH brush = ::CreateSolidBrush(RGB((color >> 16) & 0xFF, (color >> 8) & 0xFF, color & 0xFF));
  ::FillRect(hDC, &rc, brush);
  ::DeleteObject(brush);
}

void CRenderEngine::DrawGradient(HDC, const RECT&, DWORD, DWORD, bool, int) {}
bool CRenderEngine::DrawImage(HDC, CPaintManagerUI*, const RECT&, const RECT&, CImageAttribute&) { return false; }
void CRenderEngine::DrawLine(HDC, const RECT&, int, DWORD, int) {}
void CRenderEngine::DrawRect(HDC, const RECT&, int, DWORD) {}
void CRenderEngine::DrawRoundRect(HDC, const RECT&, int, int, int, DWORD) {}

CRenderClip::~CRenderClip() {
  if (hDC != nullptr) ::SelectClipRgn(hDC, hOldRgn);
  if (hOldRgn != nullptr) ::DeleteObject(hOldRgn);
  if (hRgn != nullptr) ::DeleteObject(hRgn);
}

void CRenderClip::GenerateClip(HDC hDC, RECT rc, CRenderClip& clip) {
  RECT rcClip = {};
  ::GetClipBox(hDC, &rcClip);
  clip.hOldRgn = ::CreateRectRgnIndirect(&rcClip);
  clip.hRgn = ::CreateRectRgnIndirect(&rc);
  ::CombineRgn(clip.hRgn, clip.hRgn, clip.hOldRgn, RGN_AND);
  ::SelectClipRgn(hDC, clip.hRgn);
  clip.hDC = hDC;
  clip.rcItem = rc;
}

void CRenderClip::GenerateRoundClip(HDC hDC, RECT rc, RECT, int, int, CRenderClip& clip) { GenerateClip(hDC, rc, clip); }
void CRenderClip::UseOldClipBegin(HDC hDC, CRenderClip& clip) { ::SelectClipRgn(hDC, clip.hOldRgn); }
void CRenderClip::UseOldClipEnd(HDC hDC, CRenderClip& clip) { ::SelectClipRgn(hDC, clip.hRgn); }

CImageAttribute::CImageAttribute() = default;
CImageAttribute::CImageAttribute(const CImageAttribute& image) { m_sImageAttribute = image.m_sImageAttribute; }
CImageAttribute& CImageAttribute::operator=(const CImageAttribute& image) {
  m_sImageAttribute = image.m_sImageAttribute;
  return *this;
}
CImageAttribute::~CImageAttribute() = default;
const CDuiString& CImageAttribute::GetAttributeString() const { return m_sImageAttribute; }
void CImageAttribute::SetAttributeString(LPCWSTR pStrImageAttri) { m_sImageAttribute = pStrImageAttri; }
void CImageAttribute::ModifyAttribute(LPCWSTR) {}
bool CImageAttribute::LoadImage(CPaintManagerUI*) { return false; }
void CImageAttribute::SetDest(const RECT& rcDest) { m_rcDest = rcDest; }

}  // namespace SkinUI
