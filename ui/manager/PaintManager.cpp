// The paint manager's life, its binding to a window, the process-wide
// paths and skin archive, plug-ins, window settings, transparency, colour
// adjustment and the parent resource chain.
#include <algorithm>
#include <string>

#include "controls/CControlUI.h"
#include "manager/CPaintManagerUI.h"
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
UINT CPaintManagerUI::m_uImageGeneration = 1;

namespace {

constexpr LPCWSTR kMemoryZipName = L"membuffer";

}  // namespace

// [SECTION] Construction and destruction

CPaintManagerUI::CPaintManagerUI() : m_mNameHash(83), m_mOptionGroup(83), m_mImageHash(83), m_DefaultAttrHash(83) {
  LOGFONTW lf = {};
  ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(LOGFONTW), &lf);
  lf.lfCharSet = DEFAULT_CHARSET;
  if (!m_pStrDefaultFontName.IsEmpty()) {
    wcsncpy(lf.lfFaceName, m_pStrDefaultFontName, LF_FACESIZE - 1);
    lf.lfFaceName[LF_FACESIZE - 1] = 0;
  }
  m_DefaultFontInfo.hFont = ::CreateFontIndirectW(&lf);
  m_DefaultFontInfo.sFontName = lf.lfFaceName;
  m_DefaultFontInfo.iSize = -lf.lfHeight;
  m_DefaultFontInfo.bBold = lf.lfWeight >= FW_BOLD;
  m_DefaultFontInfo.bUnderline = lf.lfUnderline != 0;
  m_DefaultFontInfo.bItalic = lf.lfItalic != 0;

  static bool processInitialised = false;
  if (!processInitialised) {
    processInitialised = true;
    ::InitCommonControls();
    ::LoadLibraryW(L"msimg32.dll");
  }
}

CPaintManagerUI::~CPaintManagerUI() {
  for (int i = 0; i < m_aDelayedCleanup.GetSize(); ++i) delete static_cast<CControlUI*>(m_aDelayedCleanup[i]);
  m_aDelayedCleanup.Empty();
  for (int i = 0; i < m_aAsyncNotify.GetSize(); ++i) delete static_cast<TNotifyUI*>(m_aAsyncNotify[i]);
  m_aAsyncNotify.Empty();
  m_mNameHash.RemoveAll();
  delete m_pRoot;
  m_pRoot = nullptr;

  if (m_DefaultFontInfo.hFont) ::DeleteObject(m_DefaultFontInfo.hFont);
  m_DefaultFontInfo.hFont = nullptr;
  RemoveAllFonts();
  RemoveAllImages();
  RemoveAllDefaultAttributeList();
  RemoveAllOptionGroups();
  RemoveAllTimers();

  if (m_hwndTooltip) ::DestroyWindow(m_hwndTooltip);
  if (m_hDcOffscreen) ::DeleteDC(m_hDcOffscreen);
  if (m_hbmpOffscreen) ::DeleteObject(m_hbmpOffscreen);
  if (m_hDcPaint) ::ReleaseDC(m_hWndPaint, m_hDcPaint);
  m_aPreMessages.Remove(m_aPreMessages.Find(this));
  // Records of a manager that is gone must not be reached through any
  // image attribute, even one whose table was already empty.
  ++m_uImageGeneration;
}

// [SECTION] Binding and window settings

void CPaintManagerUI::Init(HWND hWnd) {
  m_hWndPaint = hWnd;
  if (m_hDcPaint == nullptr && hWnd != nullptr) m_hDcPaint = ::GetDC(hWnd);
  if (m_aPreMessages.Find(this) < 0) m_aPreMessages.Add(this);
}

HWND CPaintManagerUI::GetPaintWindow() const { return m_hWndPaint; }
HDC CPaintManagerUI::GetPaintDC() const { return m_hDcPaint; }
HWND CPaintManagerUI::GetTooltipWindow() const { return m_hwndTooltip; }
POINT CPaintManagerUI::GetMousePos() const { return m_ptLastMousePos; }
CShadowUI* CPaintManagerUI::GetShadow() { return &m_shadow; }

SIZE CPaintManagerUI::GetClientSize() const {
  RECT rc = {0, 0, 0, 0};
  if (m_hWndPaint) ::GetClientRect(m_hWndPaint, &rc);
  return SIZE{rc.right - rc.left, rc.bottom - rc.top};
}

SIZE CPaintManagerUI::GetInitSize() { return m_szInitWindowSize; }

void CPaintManagerUI::SetInitSize(int cx, int cy) {
  m_szInitWindowSize = SIZE{cx, cy};
  if (m_pRoot == nullptr && m_hWndPaint != nullptr)
    ::SetWindowPos(m_hWndPaint, nullptr, 0, 0, cx, cy, SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
}

RECT& CPaintManagerUI::GetSizeBox() { return m_rcSizeBox; }
void CPaintManagerUI::SetSizeBox(RECT& rcSizeBox) { m_rcSizeBox = rcSizeBox; }
RECT& CPaintManagerUI::GetCaptionRect() { return m_rcCaption; }
void CPaintManagerUI::SetCaptionRect(RECT& rcCaption) { m_rcCaption = rcCaption; }
SIZE CPaintManagerUI::GetRoundCorner() const { return m_szRoundCorner; }
void CPaintManagerUI::SetRoundCorner(int cx, int cy) { m_szRoundCorner = SIZE{cx, cy}; }
SIZE CPaintManagerUI::GetMinInfo() const { return m_szMinWindow; }
void CPaintManagerUI::SetMinInfo(int cx, int cy) { m_szMinWindow = SIZE{cx, cy}; }
SIZE CPaintManagerUI::GetMaxInfo() const { return m_szMaxWindow; }
void CPaintManagerUI::SetMaxInfo(int cx, int cy) { m_szMaxWindow = SIZE{cx, cy}; }
RECT& CPaintManagerUI::GetRichEditCorner() { return m_rcRichEditCorner; }
void CPaintManagerUI::SetRichEditCorner(RECT& rcCorner) { m_rcRichEditCorner = rcCorner; }
int CPaintManagerUI::GetTransparent() const { return m_nOpacity; }
bool CPaintManagerUI::IsLayeredWindow() { return m_bLayered; }
void CPaintManagerUI::SetUseLayeredWindow(bool bLayered) { m_bLayered = bLayered; }
bool CPaintManagerUI::IsUseGdiplusText() const { return m_bUseGdiplusText; }
void CPaintManagerUI::SetUseGdiplusText(bool bUse) { m_bUseGdiplusText = bUse; }
void CPaintManagerUI::UsedVirtualWnd(bool bUsed) { m_bUsedVirtualWnd = bUsed; }

void CPaintManagerUI::SetTransparent(int nOpacity) {
  m_nOpacity = std::clamp(nOpacity, 0, 255);
  if (m_hWndPaint == nullptr) return;
  typedef BOOL(WINAPI * SetLayeredWindowAttributesProc)(HWND, COLORREF, BYTE, DWORD);
  HMODULE hUser32 = ::GetModuleHandleW(L"User32.dll");
  auto setLayered = hUser32 ? reinterpret_cast<SetLayeredWindowAttributesProc>(reinterpret_cast<void (*)()>(
                                  ::GetProcAddress(hUser32, "SetLayeredWindowAttributes")))
                            : nullptr;
  if (setLayered == nullptr) return;
  const LONG style = ::GetWindowLongW(m_hWndPaint, GWL_EXSTYLE);
  if (nOpacity >= 0 && nOpacity <= 255) {
    if ((style & WS_EX_LAYERED) == 0) ::SetWindowLongW(m_hWndPaint, GWL_EXSTYLE, style | WS_EX_LAYERED);
  } else {
    ::SetWindowLongW(m_hWndPaint, GWL_EXSTYLE, style & ~WS_EX_LAYERED);
  }
  setLayered(m_hWndPaint, 0, static_cast<BYTE>(nOpacity & 0xFF), LWA_ALPHA);
}

// Default colours are set here and read from the top of the parent chain.
namespace {
template <typename Get>
DWORD FromTop(const CPaintManagerUI* pm, Get get) {
  while (pm->GetParentResource() != nullptr) pm = pm->GetParentResource();
  return get(pm);
}
}  // namespace

DWORD CPaintManagerUI::GetDefaultDisabledColor() const {
  return FromTop(this, [](const CPaintManagerUI* pm) { return pm->m_dwDefaultDisabledColor; });
}
void CPaintManagerUI::SetDefaultDisabledColor(DWORD dwColor) { m_dwDefaultDisabledColor = dwColor; }
DWORD CPaintManagerUI::GetDefaultFontColor() const {
  return FromTop(this, [](const CPaintManagerUI* pm) { return pm->m_dwDefaultFontColor; });
}
void CPaintManagerUI::SetDefaultFontColor(DWORD dwColor) { m_dwDefaultFontColor = dwColor; }
DWORD CPaintManagerUI::GetDefaultLinkFontColor() const {
  return FromTop(this, [](const CPaintManagerUI* pm) { return pm->m_dwDefaultLinkFontColor; });
}
void CPaintManagerUI::SetDefaultLinkFontColor(DWORD dwColor) { m_dwDefaultLinkFontColor = dwColor; }
DWORD CPaintManagerUI::GetDefaultLinkHoverFontColor() const {
  return FromTop(this, [](const CPaintManagerUI* pm) { return pm->m_dwDefaultLinkHoverFontColor; });
}
void CPaintManagerUI::SetDefaultLinkHoverFontColor(DWORD dwColor) { m_dwDefaultLinkHoverFontColor = dwColor; }
DWORD CPaintManagerUI::GetDefaultSelectedBkColor() const {
  return FromTop(this, [](const CPaintManagerUI* pm) { return pm->m_dwDefaultSelectedBkColor; });
}
void CPaintManagerUI::SetDefaultSelectedBkColor(DWORD dwColor) { m_dwDefaultSelectedBkColor = dwColor; }

// [SECTION] Process-wide state

HINSTANCE CPaintManagerUI::GetInstance() { return m_hInstance; }

CDuiString CPaintManagerUI::GetInstancePath() {
  if (m_hInstance == nullptr) return CDuiString();
  // Grown until the module path fits: a cut path would name another folder.
  std::wstring path(MAX_PATH, L'\0');
  DWORD len = 0;
  while ((len = ::GetModuleFileNameW(m_hInstance, path.data(), static_cast<DWORD>(path.size()))) >= path.size() &&
         path.size() < 32768)
    path.resize(path.size() * 2);
  if (len == 0 || len >= path.size()) return CDuiString();
  CDuiString sPath(path.c_str(), static_cast<int>(len));
  const int pos = std::max(sPath.ReverseFind(L'\\'), sPath.ReverseFind(L'/'));
  return pos >= 0 ? sPath.Left(pos + 1) : sPath;
}

CDuiString CPaintManagerUI::GetCurrentPath() {
  const DWORD needed = ::GetCurrentDirectoryW(0, nullptr);
  if (needed == 0) return CDuiString();
  std::wstring path(needed, L'\0');
  const DWORD len = ::GetCurrentDirectoryW(needed, path.data());
  return len > 0 && len < needed ? CDuiString(path.c_str(), static_cast<int>(len)) : CDuiString();
}

HINSTANCE CPaintManagerUI::GetResourceDll() { return m_hResourceInstance ? m_hResourceInstance : m_hInstance; }
const CDuiString& CPaintManagerUI::GetResourcePath() { return m_pStrResourcePath; }
const CDuiString& CPaintManagerUI::GetResourceZip() { return m_pStrResourceZip; }
bool CPaintManagerUI::IsCachedResourceZip() { return m_bCachedResourceZip; }
ZipReader* CPaintManagerUI::GetResourceZipHandle() { return m_hResourceZip.get(); }

void CPaintManagerUI::SetInstance(HINSTANCE hInst) {
  m_hInstance = hInst;
  if (m_pGdiplusStartupInput == nullptr) {
    m_pGdiplusStartupInput = new Gdiplus::GdiplusStartupInput;
    Gdiplus::GdiplusStartup(&m_gdiplusToken, m_pGdiplusStartupInput, nullptr);
  }
  CShadowUI::Initialize(hInst);
}

void CPaintManagerUI::SetCurrentPath(LPCWSTR pStrPath) {
  if (pStrPath) ::SetCurrentDirectoryW(pStrPath);
}

void CPaintManagerUI::SetResourceDll(HINSTANCE hInst) { m_hResourceInstance = hInst; }

void CPaintManagerUI::SetResourcePath(LPCWSTR pStrPath) {
  m_pStrResourcePath = pStrPath ? pStrPath : L"";
  if (m_pStrResourcePath.IsEmpty()) return;
  const WCHAR last = m_pStrResourcePath[m_pStrResourcePath.GetLength() - 1];
  if (last != L'\\' && last != L'/') m_pStrResourcePath += PLATFORM_PATH_SEPARATOR_W;
}

void CPaintManagerUI::SetResourceZip(LPCWSTR pstrZip, bool bCachedResourceZip) {
  if (pstrZip == nullptr) pstrZip = L"";
  if (m_pStrResourceZip == pstrZip && m_bCachedResourceZip == bCachedResourceZip) return;
  m_hResourceZip.reset();
  m_pStrResourceZip = pstrZip;
  m_bCachedResourceZip = bCachedResourceZip;
  if (m_bCachedResourceZip && !m_pStrResourceZip.IsEmpty())
    m_hResourceZip = ZipReader::OpenFile(m_pStrResourcePath + m_pStrResourceZip);
}

void CPaintManagerUI::SetResourceZip(LPVOID pVoid, unsigned int len) {
  if (m_pStrResourceZip == kMemoryZipName) return;
  m_hResourceZip.reset();
  m_pStrResourceZip = kMemoryZipName;
  m_bCachedResourceZip = true;
  if (pVoid != nullptr && len > 0) m_hResourceZip = ZipReader::OpenMemory(pVoid, len);
}

bool CPaintManagerUI::SetResourceZip(UINT nResourceId) {
  HINSTANCE hModule = GetResourceDll();
  HRSRC hResource = ::FindResourceW(hModule, MAKEINTRESOURCEW(nResourceId), L"ZIPRES");
  if (hResource == nullptr) return false;
  HGLOBAL hGlobal = ::LoadResource(hModule, hResource);
  const DWORD size = ::SizeofResource(hModule, hResource);
  LPVOID data = hGlobal ? ::LockResource(hGlobal) : nullptr;
  if (data == nullptr || size == 0) return false;
  SetResourceZip(data, size);
  return true;
}

void CPaintManagerUI::SetDefaultFontName(LPCWSTR pStrFontName) { m_pStrDefaultFontName = pStrFontName ? pStrFontName : L""; }

bool CPaintManagerUI::LoadPlugin(LPCWSTR pstrModuleName) {
  if (pstrModuleName == nullptr) return false;
  HMODULE hModule = ::LoadLibraryW(pstrModuleName);
  if (hModule == nullptr) return false;
  auto create = reinterpret_cast<LPCREATECONTROL>(reinterpret_cast<void (*)()>(::GetProcAddress(hModule, "CreateControl")));
  if (create == nullptr) return false;
  LPVOID entry = reinterpret_cast<LPVOID>(create);
  if (m_aPlugins.Find(entry) >= 0) return true;
  return m_aPlugins.Add(entry);
}

CStdPtrArray* CPaintManagerUI::GetPlugins() { return &m_aPlugins; }

void CPaintManagerUI::GetHSL(short* H, short* S, short* L) {
  if (H) *H = m_H;
  if (S) *S = m_S;
  if (L) *L = m_L;
}

void CPaintManagerUI::SetHSL(short H, short S, short L) {
  if (m_H == H && m_S == S && m_L == L) return;
  m_H = std::clamp<short>(H, 0, 360);
  m_S = std::clamp<short>(S, 0, 200);
  m_L = std::clamp<short>(L, 0, 200);
  for (int i = 0; i < m_aPreMessages.GetSize(); ++i) {
    auto pManager = static_cast<CPaintManagerUI*>(m_aPreMessages[i]);
    if (pManager->m_pRoot != nullptr) pManager->m_pRoot->Invalidate();
  }
}

void CPaintManagerUI::ReloadSkin() {
  for (int i = 0; i < m_aPreMessages.GetSize(); ++i) static_cast<CPaintManagerUI*>(m_aPreMessages[i])->ReloadAllImages();
}

void CPaintManagerUI::Term() {
  if (m_pGdiplusStartupInput != nullptr) {
    Gdiplus::GdiplusShutdown(m_gdiplusToken);
    delete m_pGdiplusStartupInput;
    m_pGdiplusStartupInput = nullptr;
    m_gdiplusToken = 0;
  }
  m_hResourceZip.reset();
}

// [SECTION] Resource sharing

bool CPaintManagerUI::UseParentResource(CPaintManagerUI* pm) {
  if (pm == nullptr) {
    m_pParentResourcePM = nullptr;
    return true;
  }
  if (pm == this) return false;
  for (CPaintManagerUI* p = pm; p != nullptr; p = p->m_pParentResourcePM)
    if (p == this) return false;
  m_pParentResourcePM = pm;
  return true;
}

CPaintManagerUI* CPaintManagerUI::GetParentResource() const { return m_pParentResourcePM; }

}  // namespace SkinUI
