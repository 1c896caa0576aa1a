// Message queues, one per thread: posting, sending (also across threads),
// getting and peeking, dispatching, timers.
//
// Retrieval order, as Win32 documents it: sent messages, posted messages
// (WM_QUIT once they are gone), input, WM_PAINT, WM_TIMER. Sent messages
// are also handled while a thread waits for its own cross-thread send, so
// two threads sending to each other do not deadlock.
#include <algorithm>

#include "win32/Errors.h"
#include "win32/System.h"
#include "window/Input.h"
#include "window/Paint.h"
#include "window/State.h"

namespace platform::window {
namespace {

bool IsChildLocked(HWND parent, HWND hwnd) {
  Window* w = Find(hwnd);
  while (w && w->parent) {
    if (w->parent == parent) return true;
    w = Find(w->parent);
  }
  return false;
}

bool Matches(HWND filter, UINT min, UINT max, HWND hwnd, UINT message) {
  if (filter == reinterpret_cast<HWND>(-1)) {
    if (hwnd) return false;
  } else if (filter && hwnd != filter && !IsChildLocked(filter, hwnd)) {
    return false;
  }
  return (min == 0 && max == 0) || (message >= min && message <= max);
}

// Handles one incoming sent message; lock held on entry and exit.
void HandleSent(ThreadQueue& q, std::unique_lock<std::mutex>& lock) {
  auto sent = q.incoming.front();
  q.incoming.pop_front();
  ++q.inSend;
  lock.unlock();
  LRESULT result = CallWindow(sent->hwnd, sent->message, sent->wParam, sent->lParam);
  lock.lock();
  --q.inSend;
  sent->result = result;
  sent->done = true;
  if (sent->sender) sent->sender->cv.notify_all();
}

bool TakeFrom(std::deque<MSG>& list, MSG* out, HWND filter, UINT min, UINT max, UINT remove) {
  for (auto it = list.begin(); it != list.end();) {
    if (it->hwnd && !Find(it->hwnd)) {  // its window is gone
      it = list.erase(it);
      continue;
    }
    if (Matches(filter, min, max, it->hwnd, it->message)) {
      *out = *it;
      if (remove & PM_REMOVE) list.erase(it);
      return true;
    }
    ++it;
  }
  return false;
}

bool TakePaint(ThreadQueue& q, MSG* out, HWND filter, UINT min, UINT max) {
  for (auto& [hwnd, w] : S().windows) {
    if (w->queue.get() != &q || !w->update || cairo_region_is_empty(w->update)) continue;
    if (!IsVisibleChain(*w) || !Matches(filter, min, max, hwnd, WM_PAINT)) continue;
    *out = MakeMessageLocked(hwnd, WM_PAINT, 0, 0);
    return true;
  }
  return false;
}

bool TakeTimer(ThreadQueue& q, MSG* out, HWND filter, UINT min, UINT max, UINT remove, uint64_t now) {
  for (Timer& t : q.timers) {
    if (t.due > now || !Matches(filter, min, max, t.hwnd, WM_TIMER)) continue;
    *out = MakeMessageLocked(t.hwnd, WM_TIMER, t.id, reinterpret_cast<LPARAM>(t.proc));
    if (remove & PM_REMOVE) t.due = now + t.interval;
    return true;
  }
  return false;
}

// The core of GetMessageW and PeekMessageW.
bool Retrieve(MSG* out, HWND filter, UINT min, UINT max, UINT remove, bool wait) {
  auto queue = CurrentQueue();
  ThreadQueue& q = *queue;
  std::unique_lock<std::mutex> lock(Lock());
  for (;;) {
    while (!q.incoming.empty()) HandleSent(q, lock);
    if (TakeFrom(q.posted, out, filter, min, max, remove)) break;
    if (q.quit) {
      *out = MakeMessageLocked(nullptr, WM_QUIT, static_cast<WPARAM>(q.quitCode), 0);
      if (remove & PM_REMOVE) q.quit = false;
      break;
    }
    if (TakeFrom(q.input, out, filter, min, max, remove)) break;
    if (!q.raw.empty()) {
      InputEvent event = q.raw.front();
      q.raw.pop_front();
      input::Cook(q, event, lock);
      continue;
    }
    size_t posted = q.posted.size();
    uint64_t hoverDue = input::CheckHover(q);
    if (q.posted.size() != posted) continue;  // a WM_MOUSEHOVER was posted
    if (TakePaint(q, out, filter, min, max)) break;
    uint64_t now = NowMs();
    if (TakeTimer(q, out, filter, min, max, remove, now)) break;
    if (!wait) return false;
    uint64_t due = hoverDue;
    for (const Timer& t : q.timers) due = due ? std::min(due, t.due) : t.due;
    if (due)
      q.cv.wait_for(lock, std::chrono::milliseconds(due > now ? due - now : 0));
    else
      q.cv.wait(lock);
  }
  q.last = *out;
  return true;
}

// The queue a timer lives on: its window's thread's, or the caller's for a
// thread timer. Null, with the error set, for a window that does not exist.
// Called with the lock held.
std::shared_ptr<ThreadQueue> TimerQueueLocked(HWND hWnd, std::shared_ptr<ThreadQueue> me) {
  if (!hWnd) return me;
  Window* w = Find(hWnd);
  if (!w) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  return w->queue;
}

}  // namespace

void PostQuitLocked(ThreadQueue& q, int code) {
  q.quit = true;
  q.quitCode = code;
  Wake(q);
}

}  // namespace platform::window

using namespace platform::window;

LRESULT WINAPI SendMessageW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  auto me = CurrentQueue();
  std::unique_lock<std::mutex> lock(Lock());
  Window* w = Find(hWnd);
  if (!w) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  if (w->queue == me) {
    WNDPROC proc = w->proc;
    lock.unlock();
    return proc ? proc(hWnd, Msg, wParam, lParam) : 0;
  }
  auto target = w->queue;
  if (!target->alive) return 0;
  auto sent = std::make_shared<SentMessage>(SentMessage{hWnd, Msg, wParam, lParam, 0, false, me});
  target->incoming.push_back(sent);
  Wake(*target);
  while (!sent->done) {
    if (!me->incoming.empty())
      HandleSent(*me, lock);  // a message sent to us meanwhile, maybe by the target itself
    else
      me->cv.wait(lock);
  }
  return sent->result;
}

BOOL WINAPI PostMessageW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  if (!hWnd) return PostThreadMessageW(GetCurrentThreadId(), Msg, wParam, lParam);
  std::lock_guard<std::mutex> lock(Lock());
  Window* w = Find(hWnd);
  if (!w || !w->queue->alive) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  PostLocked(*w->queue, hWnd, Msg, wParam, lParam);
  return TRUE;
}

BOOL WINAPI PostThreadMessageW(DWORD idThread, UINT Msg, WPARAM wParam, LPARAM lParam) {
  if (idThread == GetCurrentThreadId()) CurrentQueue();
  std::lock_guard<std::mutex> lock(Lock());
  auto it = S().queues.find(idThread);
  auto q = it == S().queues.end() ? nullptr : it->second.lock();
  if (!q || !q->alive) {
    SetLastError(ERROR_INVALID_THREAD_ID);
    return FALSE;
  }
  PostLocked(*q, nullptr, Msg, wParam, lParam);
  return TRUE;
}

void WINAPI PostQuitMessage(int nExitCode) {
  auto q = CurrentQueue();
  std::lock_guard<std::mutex> lock(Lock());
  PostQuitLocked(*q, nExitCode);
}

BOOL WINAPI GetMessageW(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax) {
  if (!lpMsg) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return -1;
  }
  Retrieve(lpMsg, hWnd, wMsgFilterMin, wMsgFilterMax, PM_REMOVE, true);
  return lpMsg->message != WM_QUIT;
}

BOOL WINAPI PeekMessageW(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax, UINT wRemoveMsg) {
  MSG scratch;
  return Retrieve(lpMsg ? lpMsg : &scratch, hWnd, wMsgFilterMin, wMsgFilterMax, wRemoveMsg, false);
}

BOOL WINAPI WaitMessage() {
  auto q = CurrentQueue();
  std::unique_lock<std::mutex> lock(Lock());
  if (q->posted.empty() && q->raw.empty() && q->input.empty() && q->incoming.empty() && !q->quit)
    q->cv.wait_for(lock, std::chrono::milliseconds(q->timers.empty() ? 1000 : 10));
  return TRUE;
}

LRESULT WINAPI DispatchMessageW(const MSG* lpMsg) {
  if (!lpMsg) return 0;
  if (lpMsg->message == WM_TIMER && lpMsg->lParam) {
    auto proc = reinterpret_cast<TIMERPROC>(lpMsg->lParam);
    proc(lpMsg->hwnd, WM_TIMER, lpMsg->wParam, GetTickCount());
    return 0;
  }
  if (!lpMsg->hwnd) return 0;
  return CallWindow(lpMsg->hwnd, lpMsg->message, lpMsg->wParam, lpMsg->lParam);
}

BOOL WINAPI InSendMessage() {
  auto q = CurrentQueue();
  std::lock_guard<std::mutex> lock(Lock());
  return q->inSend > 0;
}

DWORD WINAPI GetMessageTime() {
  auto q = CurrentQueue();
  std::lock_guard<std::mutex> lock(Lock());
  return q->last.time;
}

DWORD WINAPI GetMessagePos() {
  auto q = CurrentQueue();
  std::lock_guard<std::mutex> lock(Lock());
  return static_cast<DWORD>(MAKELONG(q->last.pt.x, q->last.pt.y));
}

UINT_PTR WINAPI SetTimer(HWND hWnd, UINT_PTR nIDEvent, UINT uElapse, TIMERPROC lpTimerFunc) {
  auto me = CurrentQueue();
  std::lock_guard<std::mutex> lock(Lock());
  std::shared_ptr<ThreadQueue> q = TimerQueueLocked(hWnd, me);
  if (!q) return 0;
  if (!hWnd) nIDEvent = ++S().nextThreadTimer;
  uElapse = std::clamp<UINT>(uElapse, USER_TIMER_MINIMUM, USER_TIMER_MAXIMUM);
  uint64_t due = NowMs() + uElapse;
  auto it = std::find_if(q->timers.begin(), q->timers.end(),
                         [&](const Timer& t) { return t.hwnd == hWnd && t.id == nIDEvent; });
  if (it != q->timers.end())
    *it = Timer{hWnd, nIDEvent, uElapse, lpTimerFunc, due};
  else
    q->timers.push_back(Timer{hWnd, nIDEvent, uElapse, lpTimerFunc, due});
  Wake(*q);
  return nIDEvent ? nIDEvent : 1;
}

BOOL WINAPI KillTimer(HWND hWnd, UINT_PTR uIDEvent) {
  auto me = CurrentQueue();
  std::lock_guard<std::mutex> lock(Lock());
  std::shared_ptr<ThreadQueue> q = TimerQueueLocked(hWnd, me);
  if (!q) return FALSE;
  size_t removed = std::erase_if(q->timers, [&](const Timer& t) { return t.hwnd == hWnd && t.id == uIDEvent; });
  if (!removed) SetLastError(ERROR_INVALID_PARAMETER);
  return removed > 0;
}
