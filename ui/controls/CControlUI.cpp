#include "controls/CControlUI.h"

#include <algorithm>
#include <cwchar>

#include "controls/CContainerUI.h"
#include "controls/LayoutMath.h"
#include "core/AttributeValues.h"
#include "manager/CPaintManagerUI.h"
#include "render/CRenderClip.h"
#include "render/CRenderEngine.h"

namespace SkinUI {

namespace {

LPCWSTR OrEmpty(LPCWSTR pstr) { return pstr != nullptr ? pstr : L""; }

// Cuts rc by the item rectangle of every ancestor; false when nothing is left.
bool ClipToAncestors(const CControlUI* pControl, RECT& rc) {
  for (CControlUI* pParent = pControl->GetParent(); pParent != nullptr; pParent = pParent->GetParent()) {
    RECT rcTemp = rc;
    const RECT& rcParent = pParent->GetPos();
    if (!::IntersectRect(&rc, &rcTemp, &rcParent)) return false;
  }
  return true;
}

// Percent of a growth in hundredths, plus what was carried; the whole
// pixels go out, the rest stays in *pRest.
LONG TakePercent(LONG growth, int percent, int64_t* pRest) {
  int64_t total = int64_t{growth} * percent + *pRest;
  *pRest = total % 100;
  return Saturate(total / 100);
}

// A floating control is placed by itself; any other by its parent.
void GeometryChanged(CControlUI* pControl) {
  if (!pControl->IsFloat())
    pControl->NeedParentUpdate();
  else
    pControl->NeedUpdate();
}

// Looks: an unchanged value is ignored, a new one repaints.
template <class T>
void SetLook(CControlUI* pControl, T& field, T value) {
  if (field == value) return;
  field = value;
  pControl->Invalidate();
}

void SetImage(CControlUI* pControl, CImageAttribute& slot, LPCWSTR pStrImage) {
  slot.SetAttributeString(OrEmpty(pStrImage));
  pControl->Invalidate();
}

}  // namespace

CControlUI::CControlUI() = default;

CControlUI::~CControlUI() {
  if (DestroyListeners) DestroyListeners(this);
  // Deleted while still listed: the holder must not keep the pointer.
  if (m_pHolder != nullptr) m_pHolder->Unlink(this);
  if (m_pManager != nullptr) m_pManager->ReapObjects(this);
}

CDuiString CControlUI::GetName() const { return m_sName; }
void CControlUI::SetName(LPCWSTR pstrName) { m_sName = OrEmpty(pstrName); }
LPCWSTR CControlUI::GetClass() const { return L"ControlUI"; }

LPVOID CControlUI::GetInterface(LPCWSTR pstrName) {
  if (pstrName != nullptr && wcscmp(pstrName, L"Control") == 0) return this;
  return nullptr;
}

UINT CControlUI::GetControlFlags() const { return 0; }
bool CControlUI::Activate() { return IsVisible() && IsEnabled(); }
CPaintManagerUI* CControlUI::GetManager() const { return m_pManager; }

void CControlUI::SetManager(CPaintManagerUI* pManager, CControlUI* pParent, bool bInit) {
  m_pManager = pManager;
  m_pParent = pParent;
  if (bInit && m_pParent != nullptr) Init();
}

CControlUI* CControlUI::GetParent() const { return m_pParent; }
CDuiString CControlUI::GetText() const { return m_sText; }

void CControlUI::SetText(LPCWSTR pstrText) {
  if (m_sText == OrEmpty(pstrText)) return;
  m_sText = OrEmpty(pstrText);
  Invalidate();
}

const RECT& CControlUI::GetPos() const { return m_rcItem; }

void CControlUI::SetPos(RECT rc) {
  if (rc.right < rc.left) rc.right = rc.left;
  if (rc.bottom < rc.top) rc.bottom = rc.top;
  RECT rcInvalidate = m_rcItem;
  if (::IsRectEmpty(&rcInvalidate)) rcInvalidate = rc;
  m_rcItem = rc;
  if (m_pManager == nullptr) return;

  if (!m_bSetPos && SizeListeners) {
    auto alive = Watch();
    m_bSetPos = true;
    SizeListeners(this);
    if (!*alive) return;
    m_bSetPos = false;
  }

  if (m_bFloat && m_pParent != nullptr) {
    // Keep the placement so that the parent's next layout gives it again.
    const RECT& rcParent = m_pParent->GetPos();
    m_cXY.cx = m_cXY.cx >= 0 ? Saturate(int64_t{m_rcItem.left} - rcParent.left)
                             : Saturate(int64_t{m_rcItem.right} - rcParent.right);
    m_cXY.cy = m_cXY.cy >= 0 ? Saturate(int64_t{m_rcItem.top} - rcParent.top)
                             : Saturate(int64_t{m_rcItem.bottom} - rcParent.bottom);
    m_cxyFixed.cx = RectWidth(m_rcItem);
    m_cxyFixed.cy = RectHeight(m_rcItem);
  }

  m_bUpdateNeeded = false;
  RECT rcJoined;
  ::UnionRect(&rcJoined, &rcInvalidate, &m_rcItem);
  if (!ClipToAncestors(this, rcJoined)) return;
  m_pManager->Invalidate(rcJoined);
}

int CControlUI::GetWidth() const { return RectWidth(m_rcItem); }
int CControlUI::GetHeight() const { return RectHeight(m_rcItem); }
int CControlUI::GetX() const { return m_rcItem.left; }
int CControlUI::GetY() const { return m_rcItem.top; }
RECT CControlUI::GetPadding() const { return m_rcPadding; }

void CControlUI::SetPadding(RECT rcPadding) {
  m_rcPadding = rcPadding;
  NeedParentUpdate();
}

SIZE CControlUI::GetFixedXY() const { return m_cXY; }

void CControlUI::SetFixedXY(SIZE szXY) {
  m_cXY = szXY;
  GeometryChanged(this);
}

int CControlUI::GetFixedWidth() const { return m_cxyFixed.cx; }

void CControlUI::SetFixedWidth(int cx) {
  if (cx < 0) return;
  m_cxyFixed.cx = cx;
  GeometryChanged(this);
}

int CControlUI::GetFixedHeight() const { return m_cxyFixed.cy; }

void CControlUI::SetFixedHeight(int cy) {
  if (cy < 0) return;
  m_cxyFixed.cy = cy;
  GeometryChanged(this);
}

int CControlUI::GetMinWidth() const { return m_cxyMin.cx; }

void CControlUI::SetMinWidth(int cx) {
  if (m_cxyMin.cx == cx || cx < 0) return;
  m_cxyMin.cx = cx;
  GeometryChanged(this);
}

int CControlUI::GetMaxWidth() const { return m_cxyMax.cx; }

void CControlUI::SetMaxWidth(int cx) {
  if (m_cxyMax.cx == cx || cx < 0) return;
  m_cxyMax.cx = cx;
  GeometryChanged(this);
}

int CControlUI::GetMinHeight() const { return m_cxyMin.cy; }

void CControlUI::SetMinHeight(int cy) {
  if (m_cxyMin.cy == cy || cy < 0) return;
  m_cxyMin.cy = cy;
  GeometryChanged(this);
}

int CControlUI::GetMaxHeight() const { return m_cxyMax.cy; }

void CControlUI::SetMaxHeight(int cy) {
  if (m_cxyMax.cy == cy || cy < 0) return;
  m_cxyMax.cy = cy;
  GeometryChanged(this);
}

void CControlUI::SetRelativePos(SIZE szMove, SIZE szZoom) {
  m_tRelativePos.bRelative = true;
  m_tRelativePos.nMoveXPercent = szMove.cx;
  m_tRelativePos.nMoveYPercent = szMove.cy;
  m_tRelativePos.nZoomXPercent = szZoom.cx;
  m_tRelativePos.nZoomYPercent = szZoom.cy;
  for (int64_t& rest : m_aRelativeRest) rest = 0;
}

void CControlUI::SetRelativeParentSize(SIZE sz) { m_tRelativePos.szParent = sz; }
TRelativePosUI CControlUI::GetRelativePos() const { return m_tRelativePos; }
bool CControlUI::IsRelativePos() const { return m_tRelativePos.bRelative; }

void CControlUI::TakeRelativeGrowth(SIZE szGrowth, SIZE* pMove, SIZE* pZoom) {
  pMove->cx = TakePercent(szGrowth.cx, m_tRelativePos.nMoveXPercent, &m_aRelativeRest[0]);
  pMove->cy = TakePercent(szGrowth.cy, m_tRelativePos.nMoveYPercent, &m_aRelativeRest[1]);
  pZoom->cx = TakePercent(szGrowth.cx, m_tRelativePos.nZoomXPercent, &m_aRelativeRest[2]);
  pZoom->cy = TakePercent(szGrowth.cy, m_tRelativePos.nZoomYPercent, &m_aRelativeRest[3]);
}

CDuiString CControlUI::GetToolTip() const { return m_sToolTip; }

void CControlUI::SetToolTip(LPCWSTR pstrText) {
  CDuiString sText(OrEmpty(pstrText));
  sText.Replace(L"<n>", L"\r\n");
  m_sToolTip = sText;
}

void CControlUI::SetToolTipWidth(int nWidth) { m_nTooltipWidth = nWidth; }
int CControlUI::GetToolTipWidth() { return m_nTooltipWidth; }
WCHAR CControlUI::GetShortcut() const { return m_chShortcut; }
void CControlUI::SetShortcut(WCHAR ch) { m_chShortcut = ch; }
bool CControlUI::IsContextMenuUsed() const { return m_bMenuUsed; }
void CControlUI::SetContextMenuUsed(bool bMenuUsed) { m_bMenuUsed = bMenuUsed; }
const CDuiString& CControlUI::GetUserData() { return m_sUserData; }
void CControlUI::SetUserData(LPCWSTR pstrText) { m_sUserData = OrEmpty(pstrText); }
UINT_PTR CControlUI::GetTag() const { return m_pTag; }
void CControlUI::SetTag(UINT_PTR pTag) { m_pTag = pTag; }
bool CControlUI::IsVisible() const { return m_bVisible && m_bInternVisible; }

void CControlUI::SetVisible(bool bVisible) {
  if (m_bVisible == bVisible) return;
  bool v = IsVisible();
  m_bVisible = bVisible;
  m_bFocused = false;
  if (!bVisible && m_pManager != nullptr && m_pManager->GetFocus() == this) m_pManager->SetFocus(nullptr);
  if (IsVisible() != v) NeedParentUpdate();
}

void CControlUI::SetInternVisible(bool bVisible) {
  m_bInternVisible = bVisible;
  if (!bVisible && m_pManager != nullptr && m_pManager->GetFocus() == this) m_pManager->SetFocus(nullptr);
}

bool CControlUI::IsEnabled() const { return m_bEnabled; }

void CControlUI::SetEnabled(bool bEnable) {
  if (m_bEnabled == bEnable) return;
  m_bEnabled = bEnable;
  Invalidate();
}

bool CControlUI::IsMouseEnabled() const { return m_bMouseEnabled; }
void CControlUI::SetMouseEnabled(bool bEnable) { m_bMouseEnabled = bEnable; }
bool CControlUI::IsKeyboardEnabled() const { return m_bKeyboardEnabled; }
void CControlUI::SetKeyboardEnabled(bool bEnable) { m_bKeyboardEnabled = bEnable; }
bool CControlUI::IsFocused() const { return m_bFocused; }

void CControlUI::SetFocus() {
  if (m_pManager != nullptr) m_pManager->SetFocus(this);
}

bool CControlUI::IsFloat() const { return m_bFloat; }

void CControlUI::SetFloat(bool bFloat) {
  if (m_bFloat == bFloat) return;
  m_bFloat = bFloat;
  NeedParentUpdate();
}

CControlUI* CControlUI::FindControl(FINDCONTROLPROC Proc, LPVOID pData, UINT uFlags) {
  if ((uFlags & UIFIND_VISIBLE) != 0 && !IsVisible()) return nullptr;
  if ((uFlags & UIFIND_ENABLED) != 0 && !IsEnabled()) return nullptr;
  if ((uFlags & UIFIND_HITTEST) != 0 &&
      (!m_bMouseEnabled || !::PtInRect(&m_rcItem, *static_cast<LPPOINT>(pData))))
    return nullptr;
  return Proc(this, pData);
}

void CControlUI::Init() {
  auto alive = Watch();
  DoInit();
  if (*alive && InitListeners) InitListeners(this);
}

void CControlUI::DoInit() {}

void CControlUI::Event(TEventUI& event) {
  auto alive = Watch();
  bool bPass = EventListeners(&event);
  if (*alive && bPass) DoEvent(event);
}

void CControlUI::DoEvent(TEventUI& event) {
  switch (event.Type) {
    case UIEVENT_SETCURSOR: ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW)); return;
    case UIEVENT_SETFOCUS:
      m_bFocused = true;
      Invalidate();
      return;
    case UIEVENT_KILLFOCUS:
      m_bFocused = false;
      Invalidate();
      return;
    case UIEVENT_TIMER:
      if (m_pManager != nullptr) m_pManager->SendNotify(this, L"timer", event.wParam, event.lParam);
      return;
    case UIEVENT_CONTEXTMENU:
      if (IsContextMenuUsed()) {
        if (m_pManager != nullptr) m_pManager->SendNotify(this, L"menu", event.wParam, event.lParam);
        return;
      }
      break;
    default: break;
  }
  if (m_pParent != nullptr) m_pParent->DoEvent(event);
}

void CControlUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) {
  if (pstrName == nullptr) return;
  pstrValue = OrEmpty(pstrValue);
  auto is = [pstrName](LPCWSTR name) { return wcscmp(pstrName, name) == 0; };
  // Background colours may be preceded by control characters and blanks.
  auto backColor = [pstrValue] {
    LPCWSTR p = pstrValue;
    while (*p > 0 && *p <= 32) ++p;
    if (*p == L'#') ++p;
    return ParseHex(p);
  };

  if (is(L"bkimage")) SetBkImage(pstrValue);
  else if (is(L"normalimage")) SetNormalImage(pstrValue);
  else if (is(L"hotimage")) SetHotImage(pstrValue);
  else if (is(L"pushedimage")) SetPushedImage(pstrValue);
  else if (is(L"focusedimage")) SetFocusedImage(pstrValue);
  else if (is(L"disabledimage")) SetDisabledImage(pstrValue);
  else if (is(L"foreimage")) SetForeImage(pstrValue);
  else if (is(L"pos")) {
    RECT rc = ParseRect(pstrValue);
    SetFixedXY(SIZE{rc.left >= 0 ? rc.left : rc.right, rc.top >= 0 ? rc.top : rc.bottom});
    SetFixedWidth(Saturate(int64_t{rc.right} - rc.left));
    SetFixedHeight(Saturate(int64_t{rc.bottom} - rc.top));
  } else if (is(L"relativepos")) {
    LONG v[4] = {0, 0, 0, 0};
    ParseIntList(pstrValue, v, 4);
    SetRelativePos(SIZE{v[0], v[1]}, SIZE{v[2], v[3]});
  } else if (is(L"padding")) SetPadding(ParseRect(pstrValue));
  else if (is(L"bkcolor") || is(L"bkcolor1")) SetBkColor(backColor());
  else if (is(L"bkcolor2")) SetBkColor2(backColor());
  else if (is(L"bkcolor3")) SetBkColor3(backColor());
  else if (is(L"bordercolor")) SetBorderColor(ParseColor(pstrValue));
  else if (is(L"focusbordercolor")) SetFocusBorderColor(ParseColor(pstrValue));
  else if (is(L"colorhsl")) SetColorHSL(ParseBool(pstrValue));
  else if (is(L"bordersize")) {
    if (wcschr(pstrValue, L',') == nullptr) {
      SetBorderSize(static_cast<int>(ParseInt(pstrValue)));
      SetBorderSize(RECT{0, 0, 0, 0});
    } else {
      SetBorderSize(ParseRect(pstrValue));
    }
  } else if (is(L"leftbordersize")) SetLeftBorderSize(ParseInt(pstrValue));
  else if (is(L"topbordersize")) SetTopBorderSize(ParseInt(pstrValue));
  else if (is(L"rightbordersize")) SetRightBorderSize(ParseInt(pstrValue));
  else if (is(L"bottombordersize")) SetBottomBorderSize(ParseInt(pstrValue));
  else if (is(L"borderstyle")) SetBorderStyle(ParseInt(pstrValue));
  else if (is(L"borderround")) SetBorderRound(ParseSize(pstrValue));
  else if (is(L"width")) SetFixedWidth(ParseInt(pstrValue));
  else if (is(L"height")) SetFixedHeight(ParseInt(pstrValue));
  else if (is(L"minwidth")) SetMinWidth(ParseInt(pstrValue));
  else if (is(L"minheight")) SetMinHeight(ParseInt(pstrValue));
  else if (is(L"maxwidth")) SetMaxWidth(ParseInt(pstrValue));
  else if (is(L"maxheight")) SetMaxHeight(ParseInt(pstrValue));
  else if (is(L"name")) SetName(pstrValue);
  else if (is(L"text")) SetText(pstrValue);
  else if (is(L"tooltip")) SetToolTip(pstrValue);
  else if (is(L"userdata")) SetUserData(pstrValue);
  else if (is(L"enabled")) SetEnabled(ParseBool(pstrValue));
  else if (is(L"mouse")) SetMouseEnabled(ParseBool(pstrValue));
  else if (is(L"keyboard")) SetKeyboardEnabled(ParseBool(pstrValue));
  else if (is(L"visible")) SetVisible(ParseBool(pstrValue));
  else if (is(L"float")) SetFloat(ParseBool(pstrValue));
  else if (is(L"shortcut")) SetShortcut(pstrValue[0]);
  else if (is(L"menu")) SetContextMenuUsed(ParseBool(pstrValue));
  else if (is(L"virtualwnd")) SetVirtualWnd(pstrValue);
}

CControlUI* CControlUI::ApplyAttributeList(LPCWSTR pstrList) {
  if (pstrList == nullptr) return this;
  // name="value" pairs, one blank between them; the first fault ends it.
  LPCWSTR p = pstrList;
  while (*p != L'\0') {
    LPCWSTR pName = p;
    while (*p != L'\0' && *p != L'=') ++p;
    CDuiString sName(pName, static_cast<int>(p - pName));
    if (*p != L'=') return this;
    ++p;
    if (*p != L'"') return this;
    ++p;
    LPCWSTR pValue = p;
    while (*p != L'\0' && *p != L'"') ++p;
    if (*p != L'"') return this;
    CDuiString sValue(pValue, static_cast<int>(p - pValue));
    ++p;
    SetAttribute(sName, sValue);
    if (*p != L' ') return this;
    ++p;
  }
  return this;
}

SIZE CControlUI::EstimateSize(SIZE) { return m_cxyFixed; }

void CControlUI::DoPaint(HDC hDC, const RECT& rcPaint) {
  if (!::IntersectRect(&m_rcPaint, &rcPaint, &m_rcItem)) return;
  auto paint = [this, hDC] {
    PaintBkColor(hDC);
    PaintBkImage(hDC);
    PaintStatusImage(hDC);
    PaintText(hDC);
    PaintBorder(hDC);
  };
  if (m_cxyBorderRound.cx > 0 || m_cxyBorderRound.cy > 0) {
    CRenderClip roundClip;
    SIZE szRound = DrawnBorderRound();
    CRenderClip::GenerateRoundClip(hDC, m_rcPaint, m_rcItem, szRound.cx, szRound.cy, roundClip);
    paint();
  } else {
    paint();
  }
}

// A corner larger than the control rounds nothing more, and the drawing
// doubles the sizes, which must not overflow.
SIZE CControlUI::DrawnBorderRound() const {
  return SIZE{std::clamp<LONG>(m_cxyBorderRound.cx, 0, NonNegative(RectWidth(m_rcItem))),
              std::clamp<LONG>(m_cxyBorderRound.cy, 0, NonNegative(RectHeight(m_rcItem)))};
}

void CControlUI::PaintBkColor(HDC hDC) {
  if (m_dwBackColor == 0) return;
  if (m_dwBackColor2 == 0) {
    // A translucent fill must cover the whole item, or the part repainted
    // would be darker than the rest.
    bool bOpaque = (m_dwBackColor >> 24) == 0xFF;
    CRenderEngine::DrawColor(hDC, bOpaque ? m_rcPaint : m_rcItem, GetAdjustColor(m_dwBackColor));
  } else if (m_dwBackColor3 != 0) {
    RECT rc = m_rcItem;
    rc.bottom = Saturate((int64_t{m_rcItem.top} + m_rcItem.bottom) / 2);
    CRenderEngine::DrawGradient(hDC, rc, GetAdjustColor(m_dwBackColor), GetAdjustColor(m_dwBackColor2), true, 8);
    rc.top = rc.bottom;
    rc.bottom = m_rcItem.bottom;
    CRenderEngine::DrawGradient(hDC, rc, GetAdjustColor(m_dwBackColor2), GetAdjustColor(m_dwBackColor3), true, 8);
  } else {
    CRenderEngine::DrawGradient(hDC, m_rcItem, GetAdjustColor(m_dwBackColor), GetAdjustColor(m_dwBackColor2), true,
                                16);
  }
}

void CControlUI::PaintBkImage(HDC hDC) { DrawImage(hDC, m_diBk); }
void CControlUI::PaintStatusImage(HDC) {}
void CControlUI::PaintText(HDC) {}

void CControlUI::PaintBorder(HDC hDC) {
  if (m_dwBorderColor == 0 && m_dwFocusBorderColor == 0) return;
  bool bFocusColor = IsFocused() && m_dwFocusBorderColor != 0;
  if (m_nBorderSize > 0 && (m_cxyBorderRound.cx > 0 || m_cxyBorderRound.cy > 0)) {
    SIZE szRound = DrawnBorderRound();
    CRenderEngine::DrawRoundRect(hDC, m_rcItem, szRound.cx, szRound.cy, m_nBorderSize,
                                 GetAdjustColor(bFocusColor ? m_dwFocusBorderColor : m_dwBorderColor));
  } else if (bFocusColor && m_nBorderSize > 0) {
    CRenderEngine::DrawRect(hDC, m_rcItem, m_nBorderSize, GetAdjustColor(m_dwFocusBorderColor));
  } else if (m_rcBorderSize.left > 0 || m_rcBorderSize.top > 0 || m_rcBorderSize.right > 0 ||
             m_rcBorderSize.bottom > 0) {
    const RECT& r = m_rcItem;
    DWORD dwColor = GetAdjustColor(m_dwBorderColor);
    if (m_rcBorderSize.left > 0)
      CRenderEngine::DrawLine(hDC, RECT{r.left, r.top, r.left, r.bottom}, m_rcBorderSize.left, dwColor, m_nBorderStyle);
    if (m_rcBorderSize.top > 0)
      CRenderEngine::DrawLine(hDC, RECT{r.left, r.top, r.right, r.top}, m_rcBorderSize.top, dwColor, m_nBorderStyle);
    if (m_rcBorderSize.right > 0)
      CRenderEngine::DrawLine(hDC, RECT{r.right, r.top, r.right, r.bottom}, m_rcBorderSize.right, dwColor,
                              m_nBorderStyle);
    if (m_rcBorderSize.bottom > 0)
      CRenderEngine::DrawLine(hDC, RECT{r.left, r.bottom, r.right, r.bottom}, m_rcBorderSize.bottom, dwColor,
                              m_nBorderStyle);
  } else if (m_nBorderSize > 0) {
    CRenderEngine::DrawRect(hDC, m_rcItem, m_nBorderSize, GetAdjustColor(m_dwBorderColor));
  }
}

void CControlUI::DoPostPaint(HDC, const RECT&) {}

DWORD CControlUI::GetBkColor() const { return m_dwBackColor; }
DWORD CControlUI::GetBkColor2() const { return m_dwBackColor2; }
DWORD CControlUI::GetBkColor3() const { return m_dwBackColor3; }
DWORD CControlUI::GetBorderColor() const { return m_dwBorderColor; }
DWORD CControlUI::GetFocusBorderColor() const { return m_dwFocusBorderColor; }
bool CControlUI::IsColorHSL() const { return m_bColorHSL; }
int CControlUI::GetBorderSize() const { return m_nBorderSize; }

void CControlUI::SetBkColor(DWORD dwBackColor) { SetLook(this, m_dwBackColor, dwBackColor); }
void CControlUI::SetBkColor2(DWORD dwBackColor) { SetLook(this, m_dwBackColor2, dwBackColor); }
void CControlUI::SetBkColor3(DWORD dwBackColor) { SetLook(this, m_dwBackColor3, dwBackColor); }
void CControlUI::SetBorderColor(DWORD dwBorderColor) { SetLook(this, m_dwBorderColor, dwBorderColor); }
void CControlUI::SetFocusBorderColor(DWORD dwBorderColor) { SetLook(this, m_dwFocusBorderColor, dwBorderColor); }
void CControlUI::SetColorHSL(bool bColorHSL) { SetLook(this, m_bColorHSL, bColorHSL); }
void CControlUI::SetBorderSize(int nSize) { SetLook(this, m_nBorderSize, nSize); }

void CControlUI::SetBorderSize(RECT rc) {
  m_rcBorderSize = rc;
  Invalidate();
}

int CControlUI::GetLeftBorderSize() const { return m_rcBorderSize.left; }
int CControlUI::GetTopBorderSize() const { return m_rcBorderSize.top; }
int CControlUI::GetRightBorderSize() const { return m_rcBorderSize.right; }
int CControlUI::GetBottomBorderSize() const { return m_rcBorderSize.bottom; }

void CControlUI::SetLeftBorderSize(int nSize) {
  m_rcBorderSize.left = nSize;
  Invalidate();
}

void CControlUI::SetTopBorderSize(int nSize) {
  m_rcBorderSize.top = nSize;
  Invalidate();
}

void CControlUI::SetRightBorderSize(int nSize) {
  m_rcBorderSize.right = nSize;
  Invalidate();
}

void CControlUI::SetBottomBorderSize(int nSize) {
  m_rcBorderSize.bottom = nSize;
  Invalidate();
}

int CControlUI::GetBorderStyle() const { return m_nBorderStyle; }

void CControlUI::SetBorderStyle(int nStyle) {
  m_nBorderStyle = nStyle;
  Invalidate();
}

SIZE CControlUI::GetBorderRound() const { return m_cxyBorderRound; }

void CControlUI::SetBorderRound(SIZE cxyRound) {
  m_cxyBorderRound = cxyRound;
  Invalidate();
}

LPCWSTR CControlUI::GetBkImage() { return m_diBk.GetAttributeString(); }
LPCWSTR CControlUI::GetForeImage() const { return m_diFore.GetAttributeString(); }
LPCWSTR CControlUI::GetNormalImage() { return m_diNormal.GetAttributeString(); }
LPCWSTR CControlUI::GetHotImage() { return m_diHot.GetAttributeString(); }
LPCWSTR CControlUI::GetPushedImage() { return m_diPushed.GetAttributeString(); }
LPCWSTR CControlUI::GetFocusedImage() { return m_diFocused.GetAttributeString(); }
LPCWSTR CControlUI::GetDisabledImage() { return m_diDisabled.GetAttributeString(); }

void CControlUI::SetBkImage(LPCWSTR pStrImage) {
  if (m_diBk.GetAttributeString() == OrEmpty(pStrImage)) return;
  m_diBk.SetAttributeString(OrEmpty(pStrImage));
  Invalidate();
}

void CControlUI::SetForeImage(LPCWSTR pStrImage) { SetImage(this, m_diFore, pStrImage); }
void CControlUI::SetNormalImage(LPCWSTR pStrImage) { SetImage(this, m_diNormal, pStrImage); }
void CControlUI::SetHotImage(LPCWSTR pStrImage) { SetImage(this, m_diHot, pStrImage); }
void CControlUI::SetPushedImage(LPCWSTR pStrImage) { SetImage(this, m_diPushed, pStrImage); }
void CControlUI::SetFocusedImage(LPCWSTR pStrImage) { SetImage(this, m_diFocused, pStrImage); }
void CControlUI::SetDisabledImage(LPCWSTR pStrImage) { SetImage(this, m_diDisabled, pStrImage); }

bool CControlUI::DrawImage(HDC hDC, CImageAttribute& image) {
  if (m_pManager == nullptr || !image.LoadImage(m_pManager)) return false;
  return CRenderEngine::DrawImage(hDC, m_pManager, m_rcItem, m_rcPaint, image);
}

bool CControlUI::DrawImage(HDC hDC, CImageAttribute& image, const RECT& rcDest) {
  if (::IsRectEmpty(&rcDest)) return DrawImage(hDC, image);
  if (m_pManager == nullptr || !image.LoadImage(m_pManager)) return false;
  CImageAttribute copy(image);
  copy.SetDest(rcDest);
  return CRenderEngine::DrawImage(hDC, m_pManager, m_rcItem, m_rcPaint, copy);
}

bool CControlUI::DrawImage(HDC hDC, CImageAttribute& image, LPCWSTR pStrModify) {
  if (pStrModify == nullptr) return DrawImage(hDC, image);
  if (m_pManager == nullptr || !image.LoadImage(m_pManager)) return false;
  CImageAttribute copy(image);
  copy.ModifyAttribute(pStrModify);
  return CRenderEngine::DrawImage(hDC, m_pManager, m_rcItem, m_rcPaint, copy);
}

DWORD CControlUI::GetAdjustColor(DWORD dwColor) {
  if (!m_bColorHSL) return dwColor;
  short H = 0, S = 0, L = 0;
  CPaintManagerUI::GetHSL(&H, &S, &L);
  return CRenderEngine::AdjustColor(dwColor, H, S, L);
}

void CControlUI::Invalidate() {
  if (!IsVisible()) return;
  RECT rc = m_rcItem;
  if (!ClipToAncestors(this, rc)) return;
  if (m_pManager != nullptr) m_pManager->Invalidate(rc);
}

bool CControlUI::IsUpdateNeeded() const { return m_bUpdateNeeded; }

void CControlUI::NeedUpdate() {
  if (!IsVisible()) return;
  m_bUpdateNeeded = true;
  Invalidate();
  if (m_pManager != nullptr) m_pManager->NeedUpdate();
}

void CControlUI::NeedParentUpdate() {
  if (GetParent() != nullptr) {
    GetParent()->NeedUpdate();
    GetParent()->Invalidate();
  } else {
    NeedUpdate();
  }
  if (m_pManager != nullptr) m_pManager->NeedUpdate();
}

void CControlUI::SetVirtualWnd(LPCWSTR pstrValue) {
  m_sVirtualWnd = OrEmpty(pstrValue);
  if (m_pManager != nullptr) m_pManager->UsedVirtualWnd(true);
}

CDuiString CControlUI::GetVirtualWnd() const {
  if (!m_sVirtualWnd.IsEmpty()) return m_sVirtualWnd;
  if (m_pParent != nullptr) return m_pParent->GetVirtualWnd();
  return CDuiString();
}

}  // namespace SkinUI
