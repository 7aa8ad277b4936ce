#include "platform/messages.h"

#include <deque>
#include <map>

namespace platform {

std::size_t detail::messages_en_file = 0;

namespace {

struct Window {
  Handler handler;
};

struct State {
  std::map<WindowHandle, Window> windows;
  std::deque<std::pair<std::uint64_t, Message>> queue;  // every window's messages, in posting order
  std::uint64_t serial = 0;
  WindowHandle next = 1;
  bool dispatch_scheduled = false;
  std::function<void()> wake_up;
};

State& state() {
  static State s;
  return s;
}

}  // namespace

WindowHandle register_window(Handler handler) {
  State& s = state();
  WindowHandle h = s.next++;
  s.windows[h] = Window{std::move(handler)};
  return h;
}

void unregister_window(WindowHandle window) {
  State& s = state();
  s.windows.erase(window);
  std::erase_if(s.queue, [window](const auto& e) { return e.second.window == window; });
  detail::messages_en_file = s.queue.size();
}

bool is_window(WindowHandle window) { return state().windows.count(window) != 0; }

bool post(WindowHandle window, std::uint32_t msg, std::uintptr_t wparam, std::intptr_t lparam) {
  State& s = state();
  if (!s.windows.count(window)) return false;
  s.queue.emplace_back(++s.serial, Message{window, msg, wparam, lparam});
  detail::messages_en_file = s.queue.size();
  if (!s.dispatch_scheduled && s.wake_up) {
    s.dispatch_scheduled = true;
    s.wake_up();
  }
  return true;
}

std::intptr_t send(WindowHandle window, std::uint32_t msg, std::uintptr_t wparam, std::intptr_t lparam) {
  State& s = state();
  auto it = s.windows.find(window);
  if (it == s.windows.end() || !it->second.handler) return 0;
  Handler handler = it->second.handler;  // the handler may unregister its own window
  return handler(Message{window, msg, wparam, lparam});
}

std::optional<Message> peek(WindowHandle window, std::uint32_t first, std::uint32_t last, bool remove) {
  State& s = state();
  for (auto it = s.queue.begin(); it != s.queue.end(); ++it) {
    const Message& q = it->second;
    if (q.window == window && q.msg >= first && q.msg <= last) {
      Message m = q;
      if (remove) {
        s.queue.erase(it);
        detail::messages_en_file = s.queue.size();
      }
      return m;
    }
  }
  return std::nullopt;
}

void dispatch_pending() {
  State& s = state();
  s.dispatch_scheduled = false;
  // Messages stay in the queue until their turn, so that a handler doing long
  // work can still peek them; messages posted meanwhile wait for the next round.
  const std::uint64_t last = s.serial;
  while (!s.queue.empty() && s.queue.front().first <= last) {
    Message m = s.queue.front().second;
    s.queue.pop_front();
    detail::messages_en_file = s.queue.size();
    auto it = s.windows.find(m.window);
    if (it == s.windows.end() || !it->second.handler) continue;
    Handler handler = it->second.handler;
    handler(m);
  }
}

void set_wake_up(std::function<void()> hook) {
  State& s = state();
  s.wake_up = std::move(hook);
  s.dispatch_scheduled = false;
}

}  // namespace platform
