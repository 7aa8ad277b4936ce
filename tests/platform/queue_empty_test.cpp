#include <gtest/gtest.h>

#include "platform/messages.h"

TEST(QueueEmpty, FollowsPostsPeeksDispatchAndUnregistering) {
  using namespace platform;
  WindowHandle a = register_window([](const Message&) -> std::intptr_t { return 0; });
  WindowHandle b = register_window([](const Message&) -> std::intptr_t { return 0; });
  ASSERT_TRUE(queue_empty());
  post(a, WM_CANCEL);
  post(b, WM_CANCEL);
  EXPECT_FALSE(queue_empty());
  EXPECT_TRUE(peek(a, WM_CANCEL, WM_CANCEL, true).has_value());
  EXPECT_FALSE(queue_empty());
  unregister_window(b);
  EXPECT_TRUE(queue_empty());
  post(a, WM_USER);
  dispatch_pending();
  EXPECT_TRUE(queue_empty());
  post(a, WM_USER);
  EXPECT_TRUE(peek(a, WM_USER, WM_USER, false).has_value());
  EXPECT_FALSE(queue_empty());
  unregister_window(a);
  EXPECT_TRUE(queue_empty());
}
