// A headless top-level window with a paint manager, for framework tests:
// its messages go to the manager as a skinned window's do, input is
// injected through the test display in client coordinates, and what it
// presented is read back.
#pragma once

#include <memory>

#include "Win32.h"
#include "controls/CControlUI.h"
#include "manager/CPaintManagerUI.h"
#include "window/TestDisplay.h"

namespace SkinUI::test {

class TestWindow {
 public:
  static constexpr int kLeft = 100, kTop = 100;

  // A top-level window at (kLeft, kTop), or a child window at the origin of
  // its parent.
  TestWindow(int width, int height, DWORD exStyle = 0, HWND hWndParent = nullptr)
      : m_manager(std::make_unique<CPaintManagerUI>()) {
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = Proc;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = L"SkinUITestWindow";
    ::RegisterClassExW(&wc);
    DWORD style = (hWndParent != nullptr ? WS_CHILD : WS_POPUP) | WS_VISIBLE;
    int x = hWndParent != nullptr ? 0 : kLeft, y = hWndParent != nullptr ? 0 : kTop;
    m_hWnd = ::CreateWindowExW(exStyle, L"SkinUITestWindow", L"skin-test", style, x, y, width, height, hWndParent,
                               nullptr, nullptr, this);
    m_manager->Init(m_hWnd);
  }
  TestWindow(const TestWindow&) = delete;
  TestWindow& operator=(const TestWindow&) = delete;

  ~TestWindow() {
    DestroyManager();
    if (m_hWnd != nullptr) ::DestroyWindow(m_hWnd);
  }

  HWND hwnd() const { return m_hWnd; }
  CPaintManagerUI& pm() { return *m_manager; }
  // Lets the window go on without its manager (as if its handler deleted it).
  void DestroyManager() { m_manager.reset(); }

  // Takes ownership of root, as a window's skin does.
  void Attach(CControlUI* root) { m_manager->AttachDialog(root); }

  // Input at client coordinates.
  void MouseMove(int x, int y, DWORD time = 0) {
    POINT pt = Screen(x, y);
    platform::window::test::MouseMove(pt.x, pt.y, time);
  }
  void Button(int x, int y, bool down, int button = 0, DWORD time = 0) {
    POINT pt = Screen(x, y);
    platform::window::test::MouseButton(button, down, pt.x, pt.y, time);
  }
  void Click(int x, int y, int button = 0, DWORD time = 0) {
    POINT pt = Screen(x, y);
    platform::window::test::Click(pt.x, pt.y, button, time);
  }
  void Wheel(int delta, int x, int y) {
    POINT pt = Screen(x, y);
    platform::window::test::Wheel(delta, pt.x, pt.y);
  }
  POINT Screen(int x, int y) const {
    POINT pt = {x, y};
    ::ClientToScreen(m_hWnd, &pt);
    return pt;
  }

  // The whole window as it was last presented (premultiplied ARGB).
  platform::window::test::Pixels Presented() const {
    platform::window::test::Pixels pixels;
    platform::window::test::ReadPresented(m_hWnd, &pixels);
    return pixels;
  }

 private:
  static LRESULT CALLBACK Proc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    if (uMsg == WM_NCCREATE) {
      auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
      ::SetWindowLongPtrW(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<TestWindow*>(::GetWindowLongPtrW(hWnd, GWLP_USERDATA));
    if (uMsg == WM_NCDESTROY && self != nullptr) self->m_hWnd = nullptr;
    LRESULT lRes = 0;
    if (self != nullptr && self->m_manager && self->m_manager->MessageHandler(uMsg, wParam, lParam, lRes)) return lRes;
    return ::DefWindowProcW(hWnd, uMsg, wParam, lParam);
  }

  HWND m_hWnd = nullptr;
  std::unique_ptr<CPaintManagerUI> m_manager;
};

}  // namespace SkinUI::test
