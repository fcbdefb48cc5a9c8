#include "platform/process_lock.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "platform/portable/lock_holder_text.h"
#include "platform/process.h"
#include "support/temp_dir.h"

namespace tavlix::platform {
namespace {

TEST(ProcessLock, ASecondTakerLearnsWhoHoldsTheLockUntilItIsReleased) {
  test::TempDir dir;
  std::optional<ProcessLock> first = ProcessLock::TryTake(dir.path(), "watch.lock", "tavlix watch");
  ASSERT_TRUE(first->held()) << first->error();
  const ProcessLock second = ProcessLock::TryTake(dir.path(), "watch.lock", "tavlix copy");
  ASSERT_EQ(second.state(), ProcessLock::State::taken) << second.error();
  EXPECT_EQ(second.holder().pid, static_cast<long long>(ProcessId()));
  EXPECT_EQ(second.holder().program, "tavlix watch");
  const auto holder = ProcessLock::Holder(dir.path(), "watch.lock");
  ASSERT_TRUE(holder.has_value());
  EXPECT_EQ(DescribeHolder(*holder), "tavlix watch (process " + std::to_string(ProcessId()) + ")");
  first.reset();
  EXPECT_FALSE(ProcessLock::Holder(dir.path(), "watch.lock").has_value());
  EXPECT_TRUE(ProcessLock::TryTake(dir.path(), "watch.lock", "tavlix copy").held());
}

TEST(ProcessLock, AHolderLineFromAnotherWriterIsReadOrIgnored) {
  const LockHolder crlf = ParseHolderLine("4242 TavlixConnect\r\n");
  EXPECT_EQ(crlf.pid, 4242);
  EXPECT_EQ(crlf.program, "TavlixConnect");
  const LockHolder garbage = ParseHolderLine("no-space-here");
  EXPECT_EQ(garbage.pid, 0);
  EXPECT_EQ(DescribeHolder(garbage), "another program");
  EXPECT_EQ(ParseHolderLine(HolderLine(std::string(300, 'p'))).program, std::string(200, 'p'));
}

}  // namespace
}  // namespace tavlix::platform
