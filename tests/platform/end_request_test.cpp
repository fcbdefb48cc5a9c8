#include "platform/end_request.h"

#include <gtest/gtest.h>

#include <atomic>

#ifndef _WIN32
#include <poll.h>

#include <csignal>
#endif

namespace tavlix::platform {
namespace {

// Requests come out once each, in order, and one watch a process.
TEST(EndRequestWatch, PostedRequestsComeOutOnceInOrder) {
  auto watch = EndRequestWatch::Start();
  ASSERT_TRUE(watch) << watch.error();
  EXPECT_FALSE(EndRequestWatch::Start());
  EXPECT_EQ((*watch)->Take(), EndRequest::none);
  (*watch)->Post(EndRequest::session_end);
  (*watch)->Post(EndRequest::terminate);
  EXPECT_EQ((*watch)->Take(), EndRequest::session_end);
  EXPECT_EQ((*watch)->Take(), EndRequest::terminate);
  EXPECT_EQ((*watch)->Take(), EndRequest::none);
  watch->reset();
  EXPECT_TRUE(EndRequestWatch::Start());
}

#ifndef _WIN32
std::atomic<int> g_old_handler_calls{0};
extern "C" void OldHandler(int) {
  g_old_handler_calls.fetch_add(1);
}

bool Readable(int fd) {
  pollfd entry{fd, POLLIN, 0};
  return ::poll(&entry, 1, 0) == 1 && (entry.revents & POLLIN) != 0;
}

// A signal becomes a request on the descriptor (also when it was blocked
// before), and the handler in place before the watch is put back after it.
TEST(EndRequestWatch, SignalsBecomeRequestsAndTheOldHandlerComesBack) {
  struct sigaction old {};
  old.sa_handler = OldHandler;
  sigemptyset(&old.sa_mask);
  struct sigaction saved_term {
  }, saved_hup{};
  ASSERT_EQ(::sigaction(SIGTERM, &old, &saved_term), 0);
  ASSERT_EQ(::sigaction(SIGHUP, &old, &saved_hup), 0);
  sigset_t term;
  sigemptyset(&term);
  sigaddset(&term, SIGTERM);
  ::pthread_sigmask(SIG_BLOCK, &term, nullptr);
  ::raise(SIGTERM);  // pending until the watch unblocks it
  {
    auto watch = EndRequestWatch::Start();
    ASSERT_TRUE(watch) << watch.error();
    ASSERT_TRUE(Readable((*watch)->descriptor()));
    ::raise(SIGHUP);
    EXPECT_EQ((*watch)->Take(), EndRequest::terminate);
    EXPECT_EQ((*watch)->Take(), EndRequest::hang_up);
    EXPECT_EQ((*watch)->Take(), EndRequest::none);
    EXPECT_FALSE(Readable((*watch)->descriptor()));
  }
  EXPECT_EQ(g_old_handler_calls.load(), 0);
  ::raise(SIGTERM);
  EXPECT_EQ(g_old_handler_calls.load(), 1);
  ::sigaction(SIGTERM, &saved_term, nullptr);
  ::sigaction(SIGHUP, &saved_hup, nullptr);
}
#endif

}  // namespace
}  // namespace tavlix::platform
