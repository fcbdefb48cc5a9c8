#include "board/notify.h"

#include <gtest/gtest.h>

#include <atomic>
#include <set>
#include <string>
#include <thread>

#include "support/recording_target.h"

namespace tavlix::board {
namespace {

using test::Note;

class Notify : public ::testing::Test {
 protected:
  void TearDown() override { SetNotifyDeliveryBound(kNotifyDeliveryBound); }
};

TEST_F(Notify, SameThreadRunsTheHandlerAtOnceNested) {
  test::RecordingTarget target;
  int depth = 0;
  target.on_note = [&](const Note& n) {
    ++depth;
    if (n.code == BOARD_JOB_BEGIN) SendBoardNotify(&target, BOARD_PROGRESS, 5);
  };
  SendBoardNotify(&target, BOARD_JOB_BEGIN, 1);
  EXPECT_EQ(depth, 2);
  EXPECT_EQ(target.notes(), (std::vector<Note>{{BOARD_JOB_BEGIN, 1}, {BOARD_PROGRESS, 5}}));
}

TEST_F(Notify, OtherThreadWaitsUntilTheTargetThreadHasHandledIt) {
  test::RecordingTarget target;
  std::atomic<bool> sent{false};
  std::thread worker([&] {
    SendBoardNotify(&target, BOARD_PROGRESS, 40);
    // The handler has run on the target's thread before the send returns.
    EXPECT_EQ(target.notes().size(), 1u);
    SendBoardNotify(&target, BOARD_PROGRESS, 41);
    sent = true;
  });
  std::thread::id handled_on;
  target.on_note = [&](const Note&) { handled_on = std::this_thread::get_id(); };
  while (!sent) target.WaitAndPump(std::chrono::milliseconds(10));
  worker.join();
  EXPECT_EQ(handled_on, std::this_thread::get_id());
  EXPECT_EQ(ArgsOf(target.notes(), BOARD_PROGRESS), (std::vector<std::intptr_t>{40, 41}));
}

TEST_F(Notify, UnresponsiveTargetReleasesTheSenderAfterTheBound) {
  SetNotifyDeliveryBound(std::chrono::milliseconds(50));
  test::RecordingTarget target;  // never pumped while the worker sends
  const auto start = std::chrono::steady_clock::now();
  std::thread worker([&] {
    SendBoardNotify(&target, BOARD_LOST, 1);
    SendBoardNotify(&target, BOARD_FOUND, 35);
  });
  worker.join();
  const auto waited = std::chrono::steady_clock::now() - start;
  EXPECT_GE(waited, std::chrono::milliseconds(100));
  EXPECT_LT(waited, std::chrono::seconds(4));
  EXPECT_TRUE(target.notes().empty());
  // Late delivery still happens in order once the window pumps again.
  target.Pump();
  EXPECT_EQ(target.notes(), (std::vector<Note>{{BOARD_LOST, 1}, {BOARD_FOUND, 35}}));
}

TEST(NotifyNames, EveryCodeHasItsOwnName) {
  std::set<std::string> names;
  for (int code = BOARD_IMAGE_SAVED; code <= BOARD_ERR_OTHER; ++code) {
    if (code == 9) continue;  // no notification has this code
    const std::string name = BoardNotifyName(code);
    EXPECT_EQ(name.rfind("BOARD_", 0), 0u) << code << ": " << name;
    names.insert(name);
  }
  EXPECT_EQ(names.size(), 20u) << "two codes share a name";
  EXPECT_STREQ(BoardNotifyName(BOARD_FOUND), "BOARD_FOUND");
  EXPECT_STREQ(BoardNotifyName(BOARD_ERR_E4), "BOARD_ERR_E4");
  for (const int code : {0, 9, 22, -1}) EXPECT_STREQ(BoardNotifyName(code), "unknown code") << code;
}

}  // namespace
}  // namespace tavlix::board
