#include "platform/messages.h"

#include <gtest/gtest.h>

#include <vector>

using namespace platform;

namespace {

struct Recorder {
  std::vector<Message> got;
  WindowHandle h = register_window([this](const Message& m) -> std::intptr_t {
    got.push_back(m);
    return 7;
  });
  ~Recorder() { unregister_window(h); }
};

}  // namespace

TEST(Messages, QueuesArePerWindowAndPerRange) {
  Recorder a, b;
  ASSERT_NE(a.h, b.h);
  EXPECT_TRUE(post(a.h, WM_KEYDOWN, 1));
  EXPECT_TRUE(post(b.h, WM_CANCEL, 2));
  EXPECT_TRUE(post(a.h, WM_CANCEL, 3));

  // Only a's queue is looked at, and only the range asked for.
  auto m = peek(a.h, WM_CANCEL, WM_CANCEL, true);
  ASSERT_TRUE(m);
  EXPECT_EQ(m->wparam, 3u);
  EXPECT_FALSE(peek(a.h, WM_CANCEL, WM_CANCEL, true));
  // A peek without removal leaves the message in place.
  m = peek(b.h, WM_USER, WM_CANCEL, false);
  ASSERT_TRUE(m);
  EXPECT_EQ(m->wparam, 2u);
  EXPECT_TRUE(peek(b.h, WM_CANCEL, WM_CANCEL, false));
  EXPECT_TRUE(peek(a.h, 0, 0xFFFFFFFF, false));

  dispatch_pending();
  ASSERT_EQ(a.got.size(), 1u);
  EXPECT_EQ(a.got[0].msg, WM_KEYDOWN);
  ASSERT_EQ(b.got.size(), 1u);
  EXPECT_FALSE(peek(a.h, 0, 0xFFFFFFFF, false));
  EXPECT_FALSE(peek(b.h, 0, 0xFFFFFFFF, false));
}

TEST(Messages, SendReturnsHandlerValueAndNests) {
  Recorder inner;
  WindowHandle outer = register_window([&](const Message& m) -> std::intptr_t {
    return send(inner.h, m.msg) + 1;
  });
  EXPECT_EQ(send(outer, WM_USER), 8);
  EXPECT_EQ(inner.got.size(), 1u);
  unregister_window(outer);
  EXPECT_EQ(send(outer, WM_USER), 0);
}

TEST(Messages, UnknownHandlesAreRefusedAndHandlesNotReused) {
  WindowHandle h = register_window([](const Message&) -> std::intptr_t { return 0; });
  EXPECT_TRUE(post(h, WM_USER));
  unregister_window(h);
  EXPECT_FALSE(post(h, WM_USER));
  EXPECT_FALSE(post(0, WM_USER));
  EXPECT_FALSE(peek(h, 0, 0xFFFFFFFF, false));  // the queue went with the window
  WindowHandle h2 = register_window([](const Message&) -> std::intptr_t { return 0; });
  EXPECT_NE(h, h2);
  unregister_window(h2);
}

TEST(Messages, DispatchDeliversInPostingOrderAndWakesOnce) {
  int wakes = 0;
  set_wake_up([&] { ++wakes; });
  std::vector<std::pair<int, std::uintptr_t>> order;
  WindowHandle a = register_window([&](const Message& m) -> std::intptr_t {
    order.push_back({1, m.wparam});
    return 0;
  });
  WindowHandle b = register_window([&](const Message& m) -> std::intptr_t {
    order.push_back({2, m.wparam});
    if (m.wparam == 2) post(a, WM_USER, 99);  // waits for the next round
    return 0;
  });
  post(a, WM_USER, 1);
  post(b, WM_USER, 2);
  post(a, WM_USER, 3);
  EXPECT_EQ(wakes, 1);
  dispatch_pending();
  std::vector<std::pair<int, std::uintptr_t>> want{{1, 1}, {2, 2}, {1, 3}};
  EXPECT_EQ(order, want);
  EXPECT_EQ(wakes, 2);  // the post from inside the handler asked for another round
  dispatch_pending();
  EXPECT_EQ(order.size(), 4u);
  EXPECT_FALSE(peek(a, 0, 0xFFFFFFFF, false));
  set_wake_up({});
  unregister_window(a);
  unregister_window(b);
}

TEST(Messages, LongHandlerCanPeekLaterMessages) {
  // A handler doing long work polls its queue for the cancel message posted behind it.
  bool saw_cancel = false;
  WindowHandle w = 0;
  w = register_window([&](const Message& m) -> std::intptr_t {
    if (m.msg == WM_LBUTTONDBLCLK) saw_cancel = peek(w, WM_CANCEL, WM_CANCEL, true).has_value();
    return 0;
  });
  post(w, WM_LBUTTONDBLCLK);
  post(w, WM_CANCEL);
  dispatch_pending();
  EXPECT_TRUE(saw_cancel);
  unregister_window(w);
}
