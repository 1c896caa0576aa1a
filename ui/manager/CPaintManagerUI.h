// The per-window hub of the framework: bound to one native window, it owns
// the window's control tree and the resources its controls share (images,
// fonts, default attribute lists, option groups, timers, names), turns the
// window's messages into control events, paints the tree and delivers
// notifications. Process-wide members hold what all windows share.
//
// One header, several sources by concern:
//   PaintManager.cpp            construction, destruction, binding, paths, archive, plug-ins, settings
//   PaintManagerFonts.cpp       fonts
//   PaintManagerImages.cpp      image cache, default attribute lists, option groups
//   PaintManagerTimers.cpp      control timers
//   PaintManagerTree.cpp        attaching the tree, names, clean-up, searches
//   PaintManagerMessages.cpp    message handling, pre-translation, the message loop
//   PaintManagerPaint.cpp       painting (off-screen and layered), the caret
//   PaintManagerFocus.cpp       focus, tab order, shortcuts, capture, notifications
#pragma once

#include <memory>
#include <unordered_map>

#include "Win32.h"
#include "core/CDuiString.h"
#include "core/CLifeGuard.h"
#include "core/CStdPtrArray.h"
#include "core/CStdStringPtrMap.h"
#include "core/UIDefines.h"
#include "manager/CShadowUI.h"

namespace SkinUI {

class CControlUI;
class CRichEditUI;
class ZipReader;

// A plug-in control factory: a new control for the class name, or null.
typedef CControlUI* (*LPCREATECONTROL)(LPCWSTR pstrType);

// One control timer: the control's own identifier and the platform timer
// that runs it on the paint window. Killed records keep their platform
// identifier so that the same timer can be started again.
struct ControlTimer {
  CControlUI* pSender = nullptr;
  UINT nLocalID = 0;
  HWND hWnd = nullptr;
  UINT uWinTimer = 0;
  bool bKilled = false;
};

class CPaintManagerUI {
 public:
  CPaintManagerUI();
  CPaintManagerUI(const CPaintManagerUI&) = delete;
  CPaintManagerUI& operator=(const CPaintManagerUI&) = delete;
  ~CPaintManagerUI();

  // [SECTION] Binding and window settings
  void Init(HWND hWnd);
  HWND GetPaintWindow() const;
  HDC GetPaintDC() const;
  HWND GetTooltipWindow() const;
  POINT GetMousePos() const;
  SIZE GetClientSize() const;
  CShadowUI* GetShadow();

  SIZE GetInitSize();
  void SetInitSize(int cx, int cy);
  RECT& GetSizeBox();
  void SetSizeBox(RECT& rcSizeBox);
  RECT& GetCaptionRect();
  void SetCaptionRect(RECT& rcCaption);
  SIZE GetRoundCorner() const;
  void SetRoundCorner(int cx, int cy);
  SIZE GetMinInfo() const;
  void SetMinInfo(int cx, int cy);
  SIZE GetMaxInfo() const;
  void SetMaxInfo(int cx, int cy);
  RECT& GetRichEditCorner();
  void SetRichEditCorner(RECT& rcCorner);
  int GetTransparent() const;
  void SetTransparent(int nOpacity);
  bool IsLayeredWindow();
  void SetUseLayeredWindow(bool bLayered);
  bool IsUseGdiplusText() const;
  void SetUseGdiplusText(bool bUse);
  void UsedVirtualWnd(bool bUsed);

  DWORD GetDefaultDisabledColor() const;
  void SetDefaultDisabledColor(DWORD dwColor);
  DWORD GetDefaultFontColor() const;
  void SetDefaultFontColor(DWORD dwColor);
  DWORD GetDefaultLinkFontColor() const;
  void SetDefaultLinkFontColor(DWORD dwColor);
  DWORD GetDefaultLinkHoverFontColor() const;
  void SetDefaultLinkHoverFontColor(DWORD dwColor);
  DWORD GetDefaultSelectedBkColor() const;
  void SetDefaultSelectedBkColor(DWORD dwColor);

  // [SECTION] Process-wide state
  static HINSTANCE GetInstance();
  static CDuiString GetInstancePath();
  static CDuiString GetCurrentPath();
  static HINSTANCE GetResourceDll();
  static const CDuiString& GetResourcePath();
  static const CDuiString& GetResourceZip();
  static bool IsCachedResourceZip();
  static ZipReader* GetResourceZipHandle();
  static void SetInstance(HINSTANCE hInst);
  static void SetCurrentPath(LPCWSTR pStrPath);
  static void SetResourceDll(HINSTANCE hInst);
  static void SetResourcePath(LPCWSTR pStrPath);
  static void SetResourceZip(LPVOID pVoid, unsigned int len);
  static void SetResourceZip(LPCWSTR pstrZip, bool bCachedResourceZip = false);
  static bool SetResourceZip(UINT nResourceId);
  static void SetDefaultFontName(LPCWSTR pStrFontName);
  static void GetHSL(short* H, short* S, short* L);
  static void SetHSL(short H, short S, short L);
  static void ReloadSkin();
  static bool LoadPlugin(LPCWSTR pstrModuleName);
  static CStdPtrArray* GetPlugins();
  static void Term();
  // Decodes an image from the resource module, a file under the resource
  // path, an entry of the skin archive or a plain path; null when none.
  static TImageInfo* LoadImage(LPCWSTR bitmap, LPCWSTR type = nullptr, DWORD mask = 0);
  static void FreeImage(TImageInfo* bitmap);

  // [SECTION] Resource sharing
  bool UseParentResource(CPaintManagerUI* pm);
  CPaintManagerUI* GetParentResource() const;

  // [SECTION] Fonts
  TFontInfo* GetDefaultFontInfo();
  void SetDefaultFont(LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic);
  DWORD GetCustomFontCount() const;
  HFONT AddFont(LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic);
  HFONT AddFontAt(int index, LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic);
  HFONT GetFont(int index);
  HFONT GetFont(LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic);
  int GetFontIndex(HFONT hFont);
  int GetFontIndex(LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic);
  bool FindFont(HFONT hFont);
  bool FindFont(LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic);
  bool RemoveFont(HFONT hFont);
  bool RemoveFontAt(int index);
  void RemoveAllFonts();
  TFontInfo* GetFontInfo(int index);
  TFontInfo* GetFontInfo(HFONT hFont);

  // [SECTION] Images
  TImageInfo* GetImage(LPCWSTR bitmap);
  TImageInfo* GetImageEx(LPCWSTR bitmap, LPCWSTR type = nullptr, DWORD mask = 0);
  TImageInfo* AddImage(LPCWSTR bitmap, LPCWSTR type = nullptr, DWORD mask = 0);
  TImageInfo* AddImage(LPCWSTR bitmap, HBITMAP hBitmap, int iWidth, int iHeight, bool bAlpha);
  bool RemoveImage(LPCWSTR bitmap);
  void RemoveAllImages();
  void ReloadAllImages();
  // Grows whenever any manager frees image records (removal, destruction),
  // so that holders of record pointers know to look them up again.
  static UINT GetImageGeneration();

  // [SECTION] Default attribute lists and option groups
  void AddDefaultAttributeList(LPCWSTR pStrControlName, LPCWSTR pStrControlAttrList);
  LPCWSTR GetDefaultAttributeList(LPCWSTR pStrControlName) const;
  bool RemoveDefaultAttributeList(LPCWSTR pStrControlName);
  const CStdStringPtrMap& GetDefaultAttribultes() const;
  void RemoveAllDefaultAttributeList();

  bool AddOptionGroup(LPCWSTR pStrGroupName, CControlUI* pControl);
  CStdPtrArray* GetOptionGroup(LPCWSTR pStrGroupName);
  void RemoveOptionGroup(LPCWSTR pStrGroupName, CControlUI* pControl);
  void RemoveAllOptionGroups();

  // [SECTION] Timers
  bool SetTimer(CControlUI* pControl, UINT nTimerID, UINT uElapse);
  bool KillTimer(CControlUI* pControl, UINT nTimerID);
  void KillTimer(CControlUI* pControl);
  void RemoveAllTimers();

  // [SECTION] Registration lists
  bool AddNotifier(INotifyUI* pControl);
  bool RemoveNotifier(INotifyUI* pControl);
  bool AddPreMessageFilter(IMessageFilterUI* pFilter);
  bool RemovePreMessageFilter(IMessageFilterUI* pFilter);
  bool AddMessageFilter(IMessageFilterUI* pFilter);
  bool RemoveMessageFilter(IMessageFilterUI* pFilter);
  bool AddTranslateAccelerator(ITranslateAccelerator* pTranslateAccelerator);
  bool RemoveTranslateAccelerator(ITranslateAccelerator* pTranslateAccelerator);
  bool AddPostPaint(CControlUI* pControl);
  bool RemovePostPaint(CControlUI* pControl);
  int GetPostPaintCount() const;
  bool SetPostPaintIndex(CControlUI* pControl, int iIndex);

  // [SECTION] The control tree
  CControlUI* GetRoot() const;
  bool AttachDialog(CControlUI* pControl);
  bool InitControls(CControlUI* pControl, CControlUI* pParent = nullptr);
  void ReapObjects(CControlUI* pControl);
  void AddDelayedCleanup(CControlUI* pControl);
  void NeedUpdate();
  void Invalidate(RECT& rcItem);

  // [SECTION] Searches
  CControlUI* FindControl(POINT pt) const;
  CControlUI* FindControl(LPCWSTR pstrName) const;
  CControlUI* FindSubControlByPoint(CControlUI* pParent, POINT pt) const;
  CControlUI* FindSubControlByName(CControlUI* pParent, LPCWSTR pstrName) const;
  CControlUI* FindSubControlByClass(CControlUI* pParent, LPCWSTR pstrClass, int iIndex = 0);
  CStdPtrArray* FindSubControlsByClass(CControlUI* pParent, LPCWSTR pstrClass);
  CStdPtrArray* GetSubControlsByClass();

  // [SECTION] Focus, capture and notifications
  CControlUI* GetFocus() const;
  void SetFocus(CControlUI* pControl);
  void SetFocusNeeded(CControlUI* pControl);
  bool SetNextTabControl(bool bForward = true);
  void SetCapture();
  void ReleaseCapture();
  bool IsCaptured();
  void SendNotify(TNotifyUI& Msg, bool bAsync = false);
  void SendNotify(CControlUI* pControl, LPCWSTR pstrMessage, WPARAM wParam = 0, LPARAM lParam = 0,
                  bool bAsync = false);

  // [SECTION] Messages
  bool MessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes);
  bool PreMessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes);
  bool TranslateAccelerator(LPMSG pMsg);
  static bool TranslateMessage(const LPMSG pMsg);
  static void MessageLoop();

  // [SECTION] The caret
  bool CreateCaret(HBITMAP hBmp, int nWidth, int nHeight);
  bool ShowCaret(bool bShow);
  bool SetCaretPos(CRichEditUI* obj, int x, int y);
  CRichEditUI* GetCurrentCaretRichEdit();
  void DrawCaret(HDC hDC, const RECT& rcPaint);

 private:
  // [SECTION] Fields: binding, painting and settings
  HWND m_hWndPaint = nullptr;
  int m_nOpacity = 255;
  HDC m_hDcPaint = nullptr;
  HDC m_hDcOffscreen = nullptr;
  HBITMAP m_hbmpOffscreen = nullptr;
  LPBYTE m_pOffscreenBits = nullptr;
  bool m_bLayered = false;
  RECT m_rcLayeredUpdate = {0, 0, 0, 0};
  RECT m_rcRichEditCorner = {0, 0, 0, 0};
  bool m_bLayeredChanged = false;  // restore repaint
  bool m_bUseGdiplusText = false;
  CShadowUI m_shadow;

  // [SECTION] Fields: caret and tool tip
  RECT m_rtCaret = {0, 0, 0, 0};
  bool m_bCaretActive = false;
  bool m_bCaretShowing = false;
  CRichEditUI* m_currentCaretObject = nullptr;
  HWND m_hwndTooltip = nullptr;
  TOOLINFOW m_ToolTip = {};

  // [SECTION] Fields: the tree and input state
  CControlUI* m_pRoot = nullptr;
  CControlUI* m_pFocus = nullptr;
  CControlUI* m_pEventHover = nullptr;
  CControlUI* m_pEventClick = nullptr;
  CControlUI* m_pEventKey = nullptr;
  POINT m_ptLastMousePos = {-1, -1};
  SIZE m_szMinWindow = {0, 0};
  SIZE m_szMaxWindow = {0, 0};
  SIZE m_szInitWindowSize = {0, 0};
  RECT m_rcSizeBox = {0, 0, 0, 0};
  SIZE m_szRoundCorner = {0, 0};
  RECT m_rcCaption = {0, 0, 0, 0};
  UINT m_uTimerID = 0x1000;
  bool m_bFirstLayout = true;
  bool m_bUpdateNeeded = false;
  bool m_bFocusNeeded = false;
  bool m_bMouseTracking = false;
  bool m_bMouseCapture = false;
  bool m_bUsedVirtualWnd = false;

  // [SECTION] Fields: lists and tables
  CStdPtrArray m_aNotifiers;
  CStdPtrArray m_aTimers;
  CStdPtrArray m_aPreMessageFilters;
  CStdPtrArray m_aMessageFilters;
  CStdPtrArray m_aPostPaintControls;
  CStdPtrArray m_aDelayedCleanup;
  CStdPtrArray m_aAsyncNotify;
  CStdPtrArray m_aFoundControls;
  CStdStringPtrMap m_mNameHash;
  CStdStringPtrMap m_mOptionGroup;

  // [SECTION] Fields: resources
  CPaintManagerUI* m_pParentResourcePM = nullptr;
  DWORD m_dwDefaultDisabledColor = 0xFFA7A6AA;
  DWORD m_dwDefaultFontColor = 0xFF000001;
  DWORD m_dwDefaultLinkFontColor = 0xFF0000FF;
  DWORD m_dwDefaultLinkHoverFontColor = 0xFFD3215F;
  DWORD m_dwDefaultSelectedBkColor = 0xFFBAE4FF;
  TFontInfo m_DefaultFontInfo;
  CStdPtrArray m_aCustomFonts;
  CStdStringPtrMap m_mImageHash;
  CStdStringPtrMap m_DefaultAttrHash;
  CStdPtrArray m_aTranslateAccelerator;

  // [SECTION] Process-wide members
  static HINSTANCE m_hInstance;
  static HINSTANCE m_hResourceInstance;
  static CDuiString m_pStrResourcePath;
  static CDuiString m_pStrResourceZip;
  static bool m_bCachedResourceZip;
  static std::unique_ptr<ZipReader> m_hResourceZip;
  static CDuiString m_pStrDefaultFontName;
  static CStdPtrArray m_aPreMessages;
  static CStdPtrArray m_aPlugins;
  static ULONG_PTR m_gdiplusToken;
  static Gdiplus::GdiplusStartupInput* m_pGdiplusStartupInput;
  static short m_H;
  static short m_S;
  static short m_L;
  static UINT m_uImageGeneration;

  // [SECTION] Message half: helpers and fields
  void OnPaint();
  void PaintLayered(const RECT& rcPaintCycle);
  void PaintOffscreen(HDC hDC, const RECT& rcPaintCycle);
  // Makes the back buffer match the client size (a DIB with pixels in
  // layered mode); false when it cannot be made.
  bool PrepareOffscreen(bool bLayered, SIZE szClient);
  void RegisterName(CControlUI* pControl);
  // To the sender's listeners, then the notifiers; false when a listener
  // deleted the manager. A sender deleted on the way reads null after.
  bool DeliverNotify(TNotifyUI& Msg);
  bool DeliverQueuedNotifications();
  // The mouse moved to pt: leave, enter and move events.
  void OnMouseMove(POINT pt);
  // Alt + ch: focuses and activates the control with that shortcut.
  bool ActivateShortcut(WCHAR ch);
  // Takes the focus from its control, which then hears of it (pNext: the
  // control about to get it); false when a handler deleted the manager.
  bool LoseFocus(CControlUI* pNext);

  CLifeGuard m_life;
  // The name each control is registered under, so that a control renamed
  // after registration still leaves the table when it dies.
  std::unordered_map<const CControlUI*, CDuiString> m_mRegisteredNames;
  CDuiString m_sToolTipText;  // what the tool tip record points to
  SIZE m_szOffscreen = {0, 0};
};

}  // namespace SkinUI
