#include "platform/clock.h"

#include <thread>

namespace tavlix::platform {
namespace {

class RealClock final : public ClockSource {
 public:
  Millis Now() override {
    return std::chrono::duration_cast<Millis>(std::chrono::steady_clock::now().time_since_epoch());
  }
  WallTime WallNow() override { return std::chrono::system_clock::now(); }
  void Sleep(Millis duration) override { std::this_thread::sleep_for(duration); }
};

std::mutex& ClockMutex() {
  static std::mutex mutex;
  return mutex;
}

std::shared_ptr<ClockSource>& Installed() {
  static std::shared_ptr<ClockSource> clock = std::make_shared<RealClock>();
  return clock;
}

}  // namespace

std::shared_ptr<ClockSource> Clock() {
  std::lock_guard lock(ClockMutex());
  return Installed();
}

void SetClock(std::shared_ptr<ClockSource> clock) {
  std::lock_guard lock(ClockMutex());
  Installed() = clock ? std::move(clock) : std::make_shared<RealClock>();
}

VirtualClock::VirtualClock(WallTime wall_origin) : wall_origin_(wall_origin) {}

Millis VirtualClock::Now() {
  std::lock_guard lock(mutex_);
  return now_;
}

WallTime VirtualClock::WallNow() {
  std::lock_guard lock(mutex_);
  return wall_origin_ + now_;
}

void VirtualClock::Sleep(Millis duration) {
  {
    std::lock_guard lock(mutex_);
    now_ += duration;
    slept_ += duration;
    ++sleeps_;
  }
  std::this_thread::yield();
}

void VirtualClock::Advance(Millis duration) {
  std::lock_guard lock(mutex_);
  now_ += duration;
}

Millis VirtualClock::TotalSlept() {
  std::lock_guard lock(mutex_);
  return slept_;
}

std::uint64_t VirtualClock::SleepCount() {
  std::lock_guard lock(mutex_);
  return sleeps_;
}

ScaledClock::ScaledClock(int factor)
    : factor_(factor < 1 ? 1 : factor),
      start_(std::chrono::steady_clock::now()),
      wall_start_(std::chrono::system_clock::now()) {}

Millis ScaledClock::Now() {
  return std::chrono::duration_cast<Millis>((std::chrono::steady_clock::now() - start_) * factor_);
}

WallTime ScaledClock::WallNow() {
  return wall_start_ + Now();
}

void ScaledClock::Sleep(Millis duration) {
  // Some systems end a sleep shorter than their timer tick at once (MinGW's
  // threads on Windows and Wine); sleeping until a deadline keeps scaled time
  // from running ahead of the sleeper.
  const auto until = std::chrono::steady_clock::now() +
                     std::chrono::duration_cast<std::chrono::microseconds>(duration) / factor_;
  while (std::chrono::steady_clock::now() < until) {
    std::this_thread::sleep_until(until);
    std::this_thread::yield();
  }
}

}  // namespace tavlix::platform
