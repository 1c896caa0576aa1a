// The window manager's shared state: window classes, windows, per-thread
// message queues and the input state (focus, capture, tracking, keys).
//
// One lock guards all of it. Window procedures are never called with the
// lock held: every public call copies what it needs, unlocks, then calls.
#pragma once

#include <cairo.h>

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

#include "win32/Windows.h"

namespace platform::window {

struct ThreadQueue;

struct WindowClass {
  std::wstring name;
  UINT style = 0;
  WNDPROC proc = nullptr;
  int classExtra = 0;
  int windowExtra = 0;
  HINSTANCE instance = nullptr;
  HICON icon = nullptr;
  HICON iconSmall = nullptr;
  HCURSOR cursor = nullptr;
  HBRUSH background = nullptr;
  ATOM atom = 0;
};

struct Window {
  HWND handle = nullptr;
  std::shared_ptr<WindowClass> cls;
  std::shared_ptr<ThreadQueue> queue;
  WNDPROC proc = nullptr;
  DWORD style = 0;
  DWORD exStyle = 0;
  LONG_PTR userData = 0;
  LONG_PTR id = 0;
  HINSTANCE instance = nullptr;
  HMENU menu = nullptr;
  std::wstring text;
  HWND parent = nullptr;  // for WS_CHILD windows
  HWND owner = nullptr;   // for owned top-level windows
  bool messageOnly = false;
  bool destroying = false;
  RECT rect{};    // window rectangle in the parent's client coordinates (screen for top-level)
  RECT client{};  // client rectangle in window coordinates
  RECT restore{};  // rectangle to go back to from minimised or maximised
  cairo_surface_t* surface = nullptr;  // client pixels, client-sized
  cairo_region_t* update = nullptr;    // client coordinates
  bool erase = false;
  cairo_region_t* shape = nullptr;     // window region in window coordinates, or null
  HRGN shapeHandle = nullptr;
  std::map<std::wstring, HANDLE> props;
  std::vector<char> extra;
  HICON iconBig = nullptr;
  HICON iconSmall = nullptr;
  std::vector<HWND> children;  // z-order, topmost first
  // Layered windows.
  BYTE alpha = 255;
  COLORREF colorKey = 0;
  DWORD layeredFlags = 0;
  cairo_surface_t* layeredImage = nullptr;  // window-sized, from UpdateLayeredWindow
  void* native = nullptr;  // the backend's own record
};

struct SentMessage {
  HWND hwnd;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  LRESULT result = 0;
  bool done = false;
  std::shared_ptr<ThreadQueue> sender;
};

enum class InputKind { MouseMove, ButtonDown, ButtonUp, Wheel, KeyDown, KeyUp };

// Hardware input as the display delivers it: screen coordinates, no
// window semantics yet. The owning thread turns it into messages.
struct InputEvent {
  InputKind kind;
  HWND target = nullptr;
  int button = 0;  // 0 left, 1 right, 2 middle
  POINT pt{};
  int wheel = 0;
  WORD vk = 0;
  WORD scan = 0;
  WCHAR ch = 0;  // the character the display produced for a key, or 0
  DWORD time = 0;
  bool nowhere = false;  // over none of our windows: only a capture takes it
};

struct Timer {
  HWND hwnd;
  UINT_PTR id;
  UINT interval;
  TIMERPROC proc;
  uint64_t due;
};

struct ThreadQueue {
  DWORD threadId = 0;
  bool alive = true;
  std::condition_variable cv;
  std::deque<MSG> posted;
  std::deque<MSG> input;  // cooked input messages, after the hit test
  std::deque<InputEvent> raw;
  std::deque<std::shared_ptr<SentMessage>> incoming;
  std::vector<Timer> timers;
  bool quit = false;
  int quitCode = 0;
  int inSend = 0;
  MSG last{};
  // The character a display attached to the last key message, for
  // TranslateMessage.
  WORD lastKeyVk = 0;
  WCHAR lastKeyChar = 0;
};

struct MouseTracking {
  HWND hwnd = nullptr;
  DWORD flags = 0;
  DWORD hoverTime = 400;
  uint64_t hoverStart = 0;
  POINT hoverPoint{};
};

struct ClickRecord {
  HWND hwnd = nullptr;
  UINT message = 0;
  DWORD time = 0;
  POINT pt{};
};

struct State {
  std::unordered_map<HWND, std::shared_ptr<Window>> windows;
  std::vector<HWND> topLevels;  // z-order, topmost first
  std::vector<std::shared_ptr<WindowClass>> classes;
  std::unordered_map<DWORD, std::weak_ptr<ThreadQueue>> queues;
  uintptr_t nextHandle = 0x10000;
  ATOM nextAtom = 0xC000;
  UINT_PTR nextThreadTimer = 0x7F00;
  HWND focus = nullptr;
  HWND active = nullptr;
  HWND capture = nullptr;
  HWND lastMouseWindow = nullptr;  // where the previous mouse event went
  POINT cursor{};
  HCURSOR currentCursor = nullptr;
  int cursorCount = 0;
  MouseTracking tracking;
  ClickRecord lastClick;
  BYTE keys[256] = {};
};

std::mutex& Lock();
State& S();  // lock held

uint64_t NowMs();
std::shared_ptr<ThreadQueue> CurrentQueue();

// Lock held for all of these.
Window* Find(HWND hwnd);
std::shared_ptr<Window> FindShared(HWND hwnd);
HWND RootOf(HWND hwnd);
POINT ClientOriginOnScreen(const Window& w);
RECT WindowRectOnScreen(const Window& w);
RECT ClientRectOf(const Window& w);  // (0, 0, width, height)
bool IsVisibleChain(const Window& w);
HWND WindowFromPointLocked(POINT screen);
void Wake(ThreadQueue& q);
void PostLocked(ThreadQueue& q, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// A message stamped with the time and the cursor position.
MSG MakeMessageLocked(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// The MK_ bits of the buttons and modifiers held now.
WPARAM KeyStateLocked();

// The largest width or height a window gets: its pixels are kept in memory.
constexpr int kMaxWindowSize = 8192;
// Positions stay within what a message's 16-bit coordinates can carry.
constexpr int kMaxPosition = 32767;

// Window frame widths for a style: left, top (caption included), right, bottom.
RECT FrameInsets(DWORD style, DWORD exStyle);

// The class of that name or atom, or null.
std::shared_ptr<WindowClass> FindClassLocked(LPCWSTR name);
// Adds a built-in class (once per name).
void RegisterBuiltinClassLocked(const WNDCLASSEXW& wc);

// Without the lock.
LRESULT CallWindow(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
WPARAM MouseKeyState();

}  // namespace platform::window

