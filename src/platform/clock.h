// The clock every wait and time-out of the program runs on.
//
// Production code sleeps and reads time only through Clock(), so tests can
// install a VirtualClock and run a 30-second time-out in microseconds.
// Thread-safe: the installed clock may be used from any thread; installing one
// while other threads sleep on the old one is safe (they keep a reference).
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>

namespace tavlix::platform {

using Millis = std::chrono::milliseconds;
using WallTime = std::chrono::system_clock::time_point;

class ClockSource {
 public:
  virtual ~ClockSource() = default;
  // Monotonic time since an arbitrary origin.
  virtual Millis Now() = 0;
  // Wall-clock time, used to name saved pictures.
  virtual WallTime WallNow() = 0;
  virtual void Sleep(Millis duration) = 0;
};

// The clock in force; the real one unless a test installed another.
std::shared_ptr<ClockSource> Clock();
// Installs a clock; nullptr restores the real one.
void SetClock(std::shared_ptr<ClockSource> clock);

inline void SleepFor(Millis duration) {
  Clock()->Sleep(duration);
}

// A clock whose time moves only when somebody sleeps on it or calls Advance.
// Sleep(d) moves the time forward by d at once, then yields the processor so
// that a peer thread polling a flag gets to run. Suitable for one sleeping
// thread at a time, or for several when each only needs "time has passed".
class VirtualClock final : public ClockSource {
 public:
  explicit VirtualClock(WallTime wall_origin = WallTime{});
  Millis Now() override;
  WallTime WallNow() override;
  void Sleep(Millis duration) override;
  void Advance(Millis duration);
  // Total time slept through Sleep() by all threads.
  Millis TotalSlept();
  std::uint64_t SleepCount();

 private:
  std::mutex mutex_;
  Millis now_{0};
  Millis slept_{0};
  std::uint64_t sleeps_ = 0;
  WallTime wall_origin_;
};

// Real time, compressed: every sleep takes 1/factor of its length, and the
// clock reads `factor` times the real time that has passed. Several threads
// keep their relative pace, as they would in real time. For end-to-end runs
// of long time-outs.
class ScaledClock final : public ClockSource {
 public:
  explicit ScaledClock(int factor);
  Millis Now() override;
  WallTime WallNow() override;
  void Sleep(Millis duration) override;

 private:
  const int factor_;
  const std::chrono::steady_clock::time_point start_;
  const WallTime wall_start_;
};

// Installs a clock for the life of the guard and restores the real one.
class ScopedClock {
 public:
  explicit ScopedClock(std::shared_ptr<ClockSource> clock) { SetClock(std::move(clock)); }
  ~ScopedClock() { SetClock(nullptr); }
  ScopedClock(const ScopedClock&) = delete;
  ScopedClock& operator=(const ScopedClock&) = delete;
};

}  // namespace tavlix::platform
