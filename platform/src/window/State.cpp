// The shared state, per-thread queues and the small geometry helpers.
#include "window/State.h"

#include <chrono>

#include "win32/System.h"
#include "window/Backend.h"

namespace platform::window {

std::mutex& Lock() {
  static std::mutex mutex;
  return mutex;
}

State& S() {
  static State* state = new State();  // never destroyed: threads may outlive main()
  return *state;
}

uint64_t NowMs() { return GetTickCount64(); }

namespace {

// Ends a thread's queue with the thread: pending senders get 0 and the
// thread's windows disappear without messages, as the thread cannot run
// their procedures any more.
struct QueueHolder {
  std::shared_ptr<ThreadQueue> queue;
  ~QueueHolder() {
    if (!queue) return;
    std::vector<HWND> gone;
    {
      std::lock_guard<std::mutex> lock(Lock());
      queue->alive = false;
      for (auto& sent : queue->incoming) {
        sent->done = true;
        if (sent->sender) sent->sender->cv.notify_all();
      }
      queue->incoming.clear();
      State& s = S();
      for (auto& [hwnd, w] : s.windows)
        if (w->queue == queue) gone.push_back(hwnd);
      for (HWND hwnd : gone) {
        s.windows.erase(hwnd);
        std::erase(s.topLevels, hwnd);
      }
      s.queues.erase(queue->threadId);
    }
    for (HWND hwnd : gone) Backend().Destroy(hwnd);
  }
};

}  // namespace

std::shared_ptr<ThreadQueue> CurrentQueue() {
  thread_local QueueHolder holder;
  if (!holder.queue) {
    auto q = std::make_shared<ThreadQueue>();
    q->threadId = GetCurrentThreadId();
    std::lock_guard<std::mutex> lock(Lock());
    S().queues[q->threadId] = q;
    holder.queue = q;
  }
  return holder.queue;
}

Window* Find(HWND hwnd) {
  auto it = S().windows.find(hwnd);
  return it == S().windows.end() ? nullptr : it->second.get();
}

std::shared_ptr<Window> FindShared(HWND hwnd) {
  auto it = S().windows.find(hwnd);
  return it == S().windows.end() ? nullptr : it->second;
}

HWND RootOf(HWND hwnd) {
  Window* w = Find(hwnd);
  while (w && w->parent) {
    Window* p = Find(w->parent);
    if (!p) break;
    w = p;
  }
  return w ? w->handle : nullptr;
}

POINT ClientOriginOnScreen(const Window& w) {
  POINT origin{w.rect.left + w.client.left, w.rect.top + w.client.top};
  if (w.parent)
    if (Window* p = Find(w.parent)) {
      POINT po = ClientOriginOnScreen(*p);
      origin.x += po.x;
      origin.y += po.y;
    }
  return origin;
}

RECT WindowRectOnScreen(const Window& w) {
  RECT r = w.rect;
  if (w.parent)
    if (Window* p = Find(w.parent)) {
      POINT po = ClientOriginOnScreen(*p);
      OffsetRect(&r, po.x, po.y);
    }
  return r;
}

RECT ClientRectOf(const Window& w) { return RECT{0, 0, w.client.right - w.client.left, w.client.bottom - w.client.top}; }

bool IsVisibleChain(const Window& w) {
  const Window* cur = &w;
  while (cur) {
    if (!(cur->style & WS_VISIBLE)) return false;
    if (!cur->parent) return true;
    cur = Find(cur->parent);
  }
  return false;
}

namespace {

bool Hits(const Window& w, POINT screen) {
  if (!(w.style & WS_VISIBLE) || (w.style & WS_MINIMIZE) || w.messageOnly) return false;
  if ((w.exStyle & WS_EX_LAYERED) && (w.exStyle & WS_EX_TRANSPARENT)) return false;
  if (w.cls->name == L"tooltips_class32") return false;  // tips never take the mouse
  RECT r = WindowRectOnScreen(w);
  if (!PtInRect(&r, screen)) return false;
  if (w.shape && !cairo_region_contains_point(w.shape, screen.x - r.left, screen.y - r.top)) return false;
  return true;
}

HWND Deepest(const Window& w, POINT screen) {
  for (HWND child : w.children)
    if (Window* c = Find(child); c && Hits(*c, screen)) return Deepest(*c, screen);
  return w.handle;
}

}  // namespace

HWND WindowFromPointLocked(POINT screen) {
  for (HWND hwnd : S().topLevels)
    if (Window* w = Find(hwnd); w && Hits(*w, screen)) return Deepest(*w, screen);
  return nullptr;
}

void Wake(ThreadQueue& q) { q.cv.notify_all(); }

MSG MakeMessageLocked(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  MSG m{};
  m.hwnd = hwnd;
  m.message = message;
  m.wParam = wParam;
  m.lParam = lParam;
  m.time = GetTickCount();
  m.pt = S().cursor;
  return m;
}

void PostLocked(ThreadQueue& q, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  q.posted.push_back(MakeMessageLocked(hwnd, message, wParam, lParam));
  Wake(q);
}

RECT FrameInsets(DWORD style, DWORD exStyle) {
  int frame = 0;
  if (style & WS_THICKFRAME)
    frame = 8;
  else if ((style & WS_CAPTION) == WS_CAPTION || (style & WS_DLGFRAME))
    frame = 3;
  else if (style & WS_BORDER)
    frame = 1;
  if (exStyle & WS_EX_CLIENTEDGE) frame += 2;
  int caption = (style & WS_CAPTION) == WS_CAPTION ? 23 : 0;
  if (style & WS_CHILD && !(style & WS_CAPTION)) caption = 0;
  return RECT{frame, frame + caption, frame, frame};
}

LRESULT CallWindow(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  WNDPROC proc = nullptr;
  {
    std::lock_guard<std::mutex> lock(Lock());
    if (Window* w = Find(hwnd)) proc = w->proc;
  }
  return proc ? proc(hwnd, message, wParam, lParam) : 0;
}

WPARAM MouseKeyState() {
  std::lock_guard<std::mutex> lock(Lock());
  return KeyStateLocked();
}

WPARAM KeyStateLocked() {
  const BYTE* k = S().keys;
  WPARAM mk = 0;
  if (k[VK_LBUTTON] & 0x80) mk |= MK_LBUTTON;
  if (k[VK_RBUTTON] & 0x80) mk |= MK_RBUTTON;
  if (k[VK_MBUTTON] & 0x80) mk |= MK_MBUTTON;
  if (k[VK_SHIFT] & 0x80) mk |= MK_SHIFT;
  if (k[VK_CONTROL] & 0x80) mk |= MK_CONTROL;
  return mk;
}

}  // namespace platform::window
