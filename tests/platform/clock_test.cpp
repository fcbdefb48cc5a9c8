#include "platform/clock.h"

#include <gtest/gtest.h>

namespace tavlix::platform {
namespace {

TEST(Clock, VirtualClockRunsLongWaitsWithoutRealTime) {
  auto clock = std::make_shared<VirtualClock>();
  ScopedClock scoped(clock);
  const auto real_start = std::chrono::steady_clock::now();
  const Millis start = Clock()->Now();
  for (int i = 0; i < 300; ++i) SleepFor(Millis(100));  // a 30-second time-out
  EXPECT_EQ(Clock()->Now() - start, Millis(30000));
  EXPECT_EQ(clock->SleepCount(), 300u);
  EXPECT_LT(std::chrono::steady_clock::now() - real_start, std::chrono::seconds(5));
  clock->Advance(Millis(5));
  EXPECT_EQ(clock->Now(), Millis(30005));
  EXPECT_EQ(clock->TotalSlept(), Millis(30000));
}

TEST(Clock, WallTimeMovesWithVirtualTimeAndRealClockIsRestored) {
  const WallTime origin = WallTime{} + std::chrono::hours(24 * 365 * 50);
  auto clock = std::make_shared<VirtualClock>(origin);
  {
    ScopedClock scoped(clock);
    SleepFor(Millis(1500));
    EXPECT_EQ(Clock()->WallNow(), origin + Millis(1500));
  }
  EXPECT_NE(Clock().get(), clock.get());
}

}  // namespace
}  // namespace tavlix::platform
