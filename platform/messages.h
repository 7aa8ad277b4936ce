// Window messages for the GUI thread: per-window queues with post, send and
// peek, as the cancel and request protocols use them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>

namespace platform {

using WindowHandle = std::uint32_t;  // 0 means none; handles are never reused

constexpr std::uint32_t WM_KEYDOWN = 0x0100;
constexpr std::uint32_t WM_LBUTTONDOWN = 0x0201;
constexpr std::uint32_t WM_LBUTTONUP = 0x0202;
constexpr std::uint32_t WM_LBUTTONDBLCLK = 0x0203;
constexpr std::uint32_t WM_USER = 0x0400;
constexpr std::uint32_t WM_CANCEL = WM_USER + 1;  // the progress window's cancel message

struct Message {
  WindowHandle window = 0;
  std::uint32_t msg = 0;
  std::uintptr_t wparam = 0;
  std::intptr_t lparam = 0;
};

using Handler = std::function<std::intptr_t(const Message&)>;

WindowHandle register_window(Handler handler);
void unregister_window(WindowHandle window);
bool is_window(WindowHandle window);

// Appends the message to the window's queue; false (message dropped) for an unknown handle.
bool post(WindowHandle window, std::uint32_t msg, std::uintptr_t wparam = 0, std::intptr_t lparam = 0);

// Calls the window's handler at once; 0 for an unknown handle.
std::intptr_t send(WindowHandle window, std::uint32_t msg, std::uintptr_t wparam = 0, std::intptr_t lparam = 0);

namespace detail {
extern std::size_t messages_en_file;  // messages queued for all windows
}
// True when no window has a queued message: a test cheap enough for every node of a worker.
inline bool queue_empty() { return detail::messages_en_file == 0; }

// The oldest queued message of that window whose number lies in first..last.
std::optional<Message> peek(WindowHandle window, std::uint32_t first, std::uint32_t last, bool remove);

// Delivers every queued message, oldest first, to its window's handler.
void dispatch_pending();

// Called by post when no dispatch is pending yet, so that the GUI side can schedule one.
void set_wake_up(std::function<void()> hook);

}  // namespace platform
