// Records, flags and interfaces that every room of the framework shares:
// the event and notification records, their type numbers, the search and
// control flags, button states, and the manager's font and image records.
// The numbers are part of the skin and window contracts; keep them.
#pragma once

#include "Win32.h"
#include "core/CDuiString.h"

namespace SkinUI {

class CControlUI;
class CPaintManagerUI;

// Event types handed to CControlUI::Event. Types strictly between
// UIEVENT__MOUSEBEGIN and UIEVENT__MOUSEEND are mouse events.
enum EVENTTYPE_UI {
  UIEVENT__FIRST = 1,
  UIEVENT__KEYBEGIN = 2,
  UIEVENT_KEYDOWN = 3,
  UIEVENT_KEYUP = 4,
  UIEVENT_CHAR = 5,
  UIEVENT_SYSKEY = 6,
  UIEVENT__KEYEND = 7,
  UIEVENT__MOUSEBEGIN = 8,
  UIEVENT_MOUSEMOVE = 9,
  UIEVENT_MOUSELEAVE = 10,
  UIEVENT_MOUSEENTER = 11,
  UIEVENT_MOUSEHOVER = 12,
  UIEVENT_BUTTONDOWN = 13,
  UIEVENT_BUTTONUP = 14,
  UIEVENT_RBUTTONDOWN = 15,
  UIEVENT_DBLCLICK = 16,
  UIEVENT_CONTEXTMENU = 17,
  UIEVENT_SCROLLWHEEL = 18,
  UIEVENT__MOUSEEND = 19,
  UIEVENT_KILLFOCUS = 20,
  UIEVENT_SETFOCUS = 21,
  UIEVENT_WINDOWSIZE = 22,
  UIEVENT_SETCURSOR = 23,
  UIEVENT_TIMER = 24,
  UIEVENT__LAST = 25,
};

inline bool IsMouseEvent(int type) { return type > UIEVENT__MOUSEBEGIN && type < UIEVENT__MOUSEEND; }

// Flags of CControlUI::FindControl.
#define UIFIND_ALL 0x00000000
#define UIFIND_VISIBLE 0x00000001
#define UIFIND_ENABLED 0x00000002
#define UIFIND_HITTEST 0x00000004
#define UIFIND_TOP_FIRST 0x00000008
#define UIFIND_ME_FIRST 0x80000000

// Flags of CControlUI::GetControlFlags.
#define UIFLAG_TABSTOP 0x00000001
#define UIFLAG_SETCURSOR 0x00000002

// Button state bits.
#define UISTATE_FOCUSED 0x00000001
#define UISTATE_SELECTED 0x00000002
#define UISTATE_DISABLED 0x00000004
#define UISTATE_HOT 0x00000008
#define UISTATE_PUSHED 0x00000010
#define UISTATE_CAPTURED 0x00000040

// Window messages of the framework itself.
#define UIMSG_CLEANUP (WM_APP + 1)
#define UITIMER_CARET 0xF1

typedef CControlUI*(CALLBACK* FINDCONTROLPROC)(CControlUI*, LPVOID);

typedef struct tagTEventUI {
  int Type = 0;
  CControlUI* pSender = nullptr;
  DWORD dwTimestamp = 0;
  POINT ptMouse = {0, 0};
  WCHAR chKey = 0;
  WORD wKeyState = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
} TEventUI;

typedef struct tagTNotifyUI {
  CDuiString sType;
  CDuiString sVirtualWnd;
  CControlUI* pSender = nullptr;
  DWORD dwTimestamp = 0;
  POINT ptMouse = {0, 0};
  WPARAM wParam = 0;
  LPARAM lParam = 0;
} TNotifyUI;

// Placement of a floating control relative to its parent's growth.
typedef struct tagTRelativePosUI {
  bool bRelative = false;
  SIZE szParent = {0, 0};
  int nMoveXPercent = 0;
  int nMoveYPercent = 0;
  int nZoomXPercent = 0;
  int nZoomYPercent = 0;
} TRelativePosUI;

// A font of a window: the handle, the description it was made from, and
// its metrics (all zero until first measured).
typedef struct tagTFontInfo {
  HFONT hFont = nullptr;
  CDuiString sFontName;
  int iSize = 0;
  bool bBold = false;
  bool bUnderline = false;
  bool bItalic = false;
  TEXTMETRICW tm = {};
} TFontInfo;

// A decoded image: a 32-bit top-down premultiplied bitmap.
typedef struct tagTImageInfo {
  HBITMAP hBitmap = nullptr;
  int nX = 0;  // width
  int nY = 0;  // height
  bool alphaChannel = false;
  CDuiString sResType;
  DWORD dwMask = 0;
} TImageInfo;

class INotifyUI {
 public:
  virtual void Notify(TNotifyUI& msg) = 0;

 protected:
  ~INotifyUI() = default;
};

class IMessageFilterUI {
 public:
  virtual LRESULT MessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled) = 0;

 protected:
  ~IMessageFilterUI() = default;
};

class ITranslateAccelerator {
 public:
  // 0 means the message was translated.
  virtual LRESULT TranslateAccelerator(MSG* pMsg) = 0;

 protected:
  ~ITranslateAccelerator() = default;
};

}  // namespace SkinUI
