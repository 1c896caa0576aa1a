// TranslateMessage: key-down messages to characters, with a US layout
// for what the display did not name itself.
#include <mutex>

#include "window/State.h"

namespace {

WCHAR CharFor(WPARAM vk, bool shift, bool ctrl, bool caps) {
  if (vk >= 'A' && vk <= 'Z') {
    if (ctrl) return static_cast<WCHAR>(vk - 'A' + 1);
    return static_cast<WCHAR>((shift != caps) ? vk : vk + 32);
  }
  if (ctrl) return vk == VK_RETURN ? L'\n' : 0;
  if (vk >= '0' && vk <= '9') return shift ? L")!@#$%^&*("[vk - '0'] : static_cast<WCHAR>(vk);
  if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD0 + 9) return static_cast<WCHAR>(L'0' + (vk - VK_NUMPAD0));
  switch (vk) {
    case VK_SPACE: return L' ';
    case VK_RETURN: return L'\r';
    case VK_BACK: return 8;
    case VK_TAB: return 9;
    case VK_ESCAPE: return 27;
    case VK_MULTIPLY: return L'*';
    case VK_ADD: return L'+';
    case VK_SUBTRACT: return L'-';
    case VK_DECIMAL: return L'.';
    case VK_DIVIDE: return L'/';
    case VK_OEM_1: return shift ? L':' : L';';
    case VK_OEM_PLUS: return shift ? L'+' : L'=';
    case VK_OEM_COMMA: return shift ? L'<' : L',';
    case VK_OEM_MINUS: return shift ? L'_' : L'-';
    case VK_OEM_PERIOD: return shift ? L'>' : L'.';
    case VK_OEM_2: return shift ? L'?' : L'/';
    case VK_OEM_3: return shift ? L'~' : L'`';
    case VK_OEM_4: return shift ? L'{' : L'[';
    case VK_OEM_5: return shift ? L'|' : L'\\';
    case VK_OEM_6: return shift ? L'}' : L']';
    case VK_OEM_7: return shift ? L'"' : L'\'';
    default: return 0;
  }
}

}  // namespace

BOOL WINAPI TranslateMessage(const MSG* lpMsg) {
  using namespace platform::window;
  if (!lpMsg) return FALSE;
  UINT m = lpMsg->message;
  if (m != WM_KEYDOWN && m != WM_SYSKEYDOWN) return m == WM_KEYUP || m == WM_SYSKEYUP;
  auto q = CurrentQueue();
  std::lock_guard<std::mutex> lock(Lock());
  const BYTE* k = S().keys;
  WCHAR ch = q->lastKeyVk == lpMsg->wParam && q->lastKeyChar ? q->lastKeyChar : 0;
  bool ctrl = k[VK_CONTROL] & 0x80;
  if (!ch || ctrl) ch = CharFor(lpMsg->wParam, k[VK_SHIFT] & 0x80, ctrl, k[VK_CAPITAL] & 0x01);
  if (!ch) return TRUE;
  PostLocked(*q, lpMsg->hwnd, m == WM_KEYDOWN ? WM_CHAR : WM_SYSCHAR, ch, lpMsg->lParam);
  return TRUE;
}
