// Window classes: registration (the program's and the built-in ones),
// lookup by name (ignoring case) or atom, and the class slots.
#include <algorithm>
#include <cwctype>

#include "win32/Errors.h"
#include "window/State.h"
#include "window/Tooltip.h"

namespace platform::window {
namespace {

bool SameName(const std::wstring& a, LPCWSTR b) {
  if (!b) return false;
  size_t n = wcslen(b);
  if (n != a.size()) return false;
  for (size_t i = 0; i < n; ++i)
    if (std::towlower(a[i]) != std::towlower(b[i])) return false;
  return true;
}

}  // namespace

std::shared_ptr<WindowClass> FindClassLocked(LPCWSTR name) {
  for (auto& c : S().classes) {
    if (IS_INTRESOURCE(name) ? c->atom == static_cast<ATOM>(reinterpret_cast<ULONG_PTR>(name)) : SameName(c->name, name))
      return c;
  }
  return nullptr;
}

void RegisterBuiltinClassLocked(const WNDCLASSEXW& wc) {
  if (FindClassLocked(wc.lpszClassName)) return;
  auto c = std::make_shared<WindowClass>();
  c->name = wc.lpszClassName;
  c->style = wc.style | CS_GLOBALCLASS;
  c->proc = wc.lpfnWndProc;
  c->cursor = wc.hCursor;
  c->background = wc.hbrBackground;
  c->atom = S().nextAtom++;
  S().classes.push_back(c);
}

}  // namespace platform::window

using namespace platform::window;

ATOM WINAPI RegisterClassExW(const WNDCLASSEXW* wc) {
  if (!wc || wc->cbSize != sizeof(WNDCLASSEXW) || !wc->lpszClassName || !wc->lpfnWndProc || wc->cbClsExtra < 0 ||
      wc->cbWndExtra < 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  RegisterSystemClasses();
  std::lock_guard<std::mutex> lock(Lock());
  if (!IS_INTRESOURCE(wc->lpszClassName) && FindClassLocked(wc->lpszClassName)) {
    SetLastError(ERROR_CLASS_ALREADY_EXISTS);
    return 0;
  }
  auto c = std::make_shared<WindowClass>();
  c->name = IS_INTRESOURCE(wc->lpszClassName) ? L"" : wc->lpszClassName;
  c->style = wc->style;
  c->proc = wc->lpfnWndProc;
  c->classExtra = wc->cbClsExtra;
  c->windowExtra = wc->cbWndExtra;
  c->instance = wc->hInstance;
  c->icon = wc->hIcon;
  c->iconSmall = wc->hIconSm;
  c->cursor = wc->hCursor;
  c->background = wc->hbrBackground;
  c->atom = S().nextAtom++;
  S().classes.push_back(c);
  return c->atom;
}

ATOM WINAPI RegisterClassW(const WNDCLASSW* wc) {
  if (!wc) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  WNDCLASSEXW ex{sizeof(WNDCLASSEXW), wc->style, wc->lpfnWndProc, wc->cbClsExtra, wc->cbWndExtra, wc->hInstance,
                 wc->hIcon, wc->hCursor, wc->hbrBackground, wc->lpszMenuName, wc->lpszClassName, nullptr};
  return RegisterClassExW(&ex);
}

BOOL WINAPI UnregisterClassW(LPCWSTR lpClassName, HINSTANCE) {
  std::lock_guard<std::mutex> lock(Lock());
  auto c = FindClassLocked(lpClassName);
  if (!c) {
    SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
    return FALSE;
  }
  for (auto& [h, w] : S().windows)
    if (w->cls == c) {
      SetLastError(ERROR_CLASS_HAS_WINDOWS);
      return FALSE;
    }
  std::erase(S().classes, c);
  return TRUE;
}

BOOL WINAPI GetClassInfoExW(HINSTANCE, LPCWSTR lpszClass, LPWNDCLASSEXW wc) {
  RegisterSystemClasses();
  std::lock_guard<std::mutex> lock(Lock());
  auto c = FindClassLocked(lpszClass);
  if (!c || !wc) {
    SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
    return FALSE;
  }
  wc->style = c->style;
  wc->lpfnWndProc = c->proc;
  wc->cbClsExtra = c->classExtra;
  wc->cbWndExtra = c->windowExtra;
  wc->hInstance = c->instance;
  wc->hIcon = c->icon;
  wc->hCursor = c->cursor;
  wc->hbrBackground = c->background;
  wc->lpszMenuName = nullptr;
  wc->lpszClassName = lpszClass;
  wc->hIconSm = c->iconSmall;
  return c->atom;
}

BOOL WINAPI GetClassInfoW(HINSTANCE hInstance, LPCWSTR lpClassName, LPWNDCLASSW wc) {
  WNDCLASSEXW ex{};
  ex.cbSize = sizeof ex;
  if (!GetClassInfoExW(hInstance, lpClassName, &ex) || !wc) return FALSE;
  *wc = WNDCLASSW{ex.style, ex.lpfnWndProc, ex.cbClsExtra, ex.cbWndExtra, ex.hInstance,
                  ex.hIcon, ex.hCursor, ex.hbrBackground, nullptr, lpClassName};
  return TRUE;
}

int WINAPI GetClassNameW(HWND hWnd, LPWSTR lpClassName, int nMaxCount) {
  std::lock_guard<std::mutex> lock(Lock());
  Window* w = Find(hWnd);
  if (!w || !lpClassName || nMaxCount <= 0) return 0;
  size_t n = std::min<size_t>(w->cls->name.size(), static_cast<size_t>(nMaxCount - 1));
  std::copy_n(w->cls->name.data(), n, lpClassName);
  lpClassName[n] = 0;
  return static_cast<int>(n);
}

ULONG_PTR WINAPI GetClassLongPtrW(HWND hWnd, int nIndex) {
  std::lock_guard<std::mutex> lock(Lock());
  Window* w = Find(hWnd);
  if (!w) return 0;
  switch (nIndex) {
    case GCLP_HCURSOR: return reinterpret_cast<ULONG_PTR>(w->cls->cursor);
    case GCLP_HICON: return reinterpret_cast<ULONG_PTR>(w->cls->icon);
    case GCL_STYLE: return w->cls->style;
    default: return 0;
  }
}

ULONG_PTR WINAPI SetClassLongPtrW(HWND hWnd, int nIndex, LONG_PTR value) {
  std::lock_guard<std::mutex> lock(Lock());
  Window* w = Find(hWnd);
  if (!w) return 0;
  ULONG_PTR old = 0;
  switch (nIndex) {
    case GCLP_HCURSOR:
      old = reinterpret_cast<ULONG_PTR>(w->cls->cursor);
      w->cls->cursor = reinterpret_cast<HCURSOR>(value);
      break;
    case GCLP_HICON:
      old = reinterpret_cast<ULONG_PTR>(w->cls->icon);
      w->cls->icon = reinterpret_cast<HICON>(value);
      break;
    case GCL_STYLE:
      old = w->cls->style;
      w->cls->style = static_cast<UINT>(value);
      break;
    default: break;
  }
  return old;
}

