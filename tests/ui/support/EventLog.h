// A control that writes down every event it receives, and a notifier that
// writes down every notification, in one shared log of short lines such as
// "A:enter" or "notify:click:B".
#pragma once

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "controls/CControlUI.h"
#include "core/UIDefines.h"

namespace SkinUI::test {

// The type under which notifications are logged.
constexpr int kNotification = UIEVENT__LAST;

inline const char* EventName(int type) {
  switch (type) {
    case UIEVENT_KEYDOWN: return "keydown";
    case UIEVENT_KEYUP: return "keyup";
    case UIEVENT_CHAR: return "char";
    case UIEVENT_SYSKEY: return "syskey";
    case UIEVENT_MOUSEMOVE: return "move";
    case UIEVENT_MOUSELEAVE: return "leave";
    case UIEVENT_MOUSEENTER: return "enter";
    case UIEVENT_MOUSEHOVER: return "hover";
    case UIEVENT_BUTTONDOWN: return "down";
    case UIEVENT_BUTTONUP: return "up";
    case UIEVENT_RBUTTONDOWN: return "rdown";
    case UIEVENT_DBLCLICK: return "dblclick";
    case UIEVENT_CONTEXTMENU: return "menu";
    case UIEVENT_SCROLLWHEEL: return "wheel";
    case UIEVENT_KILLFOCUS: return "killfocus";
    case UIEVENT_SETFOCUS: return "setfocus";
    case UIEVENT_WINDOWSIZE: return "size";
    case UIEVENT_SETCURSOR: return "cursor";
    case UIEVENT_TIMER: return "timer";
    default: return "?";
  }
}

inline std::string Narrow(LPCWSTR text) {
  std::string out;
  for (; text != nullptr && *text != 0; ++text) out += static_cast<char>(*text < 128 ? *text : '?');
  return out;
}

struct EventLog {
  struct Entry {
    std::string line;
    TEventUI event;
  };
  std::vector<Entry> entries;

  void Clear() { entries.clear(); }
  // The lines whose event types are listed (all of them without a list),
  // joined by blanks.
  std::string Lines(std::initializer_list<int> types = {}) const {
    std::string out;
    for (const Entry& e : entries) {
      bool wanted = types.size() == 0;
      for (int t : types) wanted = wanted || e.event.Type == t;
      if (!wanted) continue;
      if (!out.empty()) out += ' ';
      out += e.line;
    }
    return out;
  }
  int Count(const std::string& line) const {
    int n = 0;
    for (const Entry& e : entries) n += e.line == line;
    return n;
  }
  const TEventUI* Last(const std::string& line) const {
    for (auto it = entries.rbegin(); it != entries.rend(); ++it)
      if (it->line == line) return &it->event;
    return nullptr;
  }
};

class LogControl : public CControlUI {
 public:
  LogControl(EventLog* log, LPCWSTR name, UINT flags = 0) : m_log(log), m_uFlags(flags) { SetName(name); }

  UINT GetControlFlags() const override { return m_uFlags; }

  void DoEvent(TEventUI& event) override {
    m_log->entries.push_back({Narrow(GetName()) + ":" + EventName(event.Type), event});
    // A copy: the hook may delete this control, and with it the member.
    auto hook = onEvent;
    if (hook && hook(this, event)) return;
    CControlUI::DoEvent(event);
  }

  // Runs before the base handling; true ends the handling (the control
  // may be gone by then).
  std::function<bool(LogControl*, TEventUI&)> onEvent;

 private:
  EventLog* m_log;
  UINT m_uFlags;
};

class LogNotifier : public INotifyUI {
 public:
  explicit LogNotifier(EventLog* log) : m_log(log) {}
  void Notify(TNotifyUI& msg) override {
    TEventUI event;
    event.Type = kNotification;
    event.pSender = msg.pSender;
    event.wParam = msg.wParam;
    event.lParam = msg.lParam;
    m_log->entries.push_back(
        {"notify:" + Narrow(msg.sType) + ":" + (msg.pSender ? Narrow(msg.pSender->GetName()) : "null"), event});
    if (onNotify) onNotify(msg);
  }
  std::function<void(TNotifyUI&)> onNotify;

 private:
  EventLog* m_log;
};

}  // namespace SkinUI::test
