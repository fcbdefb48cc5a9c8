// Runs a step that might block on a FIFO without letting the test hang.
//
// The step runs on a thread of its own while the caller's thread calls `pump`
// (to deliver the notifications the step sends). A step still running after
// two seconds is blocked: each FIFO is then opened at both ends for a moment,
// which lets a blocked open or read go, and the step is waited for. Returns
// whether the step ended by itself.
#pragma once

#include <atomic>
#include <chrono>
#include <filesystem>
#include <functional>
#include <initializer_list>
#include <thread>

#include "support/odd_files.h"

namespace tavlix::test {

inline bool EndsWithoutBlocking(
    const std::function<void()>& step, std::initializer_list<std::filesystem::path> fifos,
    const std::function<void()>& pump = [] {}) {
  std::atomic<bool> done{false};
  std::thread runner([&] {
    step();
    done = true;
  });
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
  while (!done && std::chrono::steady_clock::now() < deadline) {
    pump();
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  const bool ended = done;
  while (!done) {
    for (const auto& fifo : fifos) ReleaseFifo(fifo);
    pump();
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  runner.join();
  pump();
  return ended;
}

}  // namespace tavlix::test
