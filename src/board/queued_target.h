// A notification target for front ends without a toolkit (the command line,
// tests): notifications from other threads wait in a queue until the owning
// thread pumps it. The owner is the thread that constructs the object.
//
// Thread-safe: PostToOwnThread from any thread; Pump and WaitAndPump only on
// the owner's thread. Destroy it only after no sender can still see it.
#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

#include "board/notify.h"

namespace tavlix::board {

class QueuedNotifyTarget : public NotifyTarget {
 public:
  using Handler = std::function<void(int code, std::intptr_t arg)>;

  explicit QueuedNotifyTarget(Handler handler);
  ~QueuedNotifyTarget() override;
  QueuedNotifyTarget(const QueuedNotifyTarget&) = delete;
  QueuedNotifyTarget& operator=(const QueuedNotifyTarget&) = delete;

  void HandleBoardNotify(int code, std::intptr_t arg) override;
  bool IsOwnThread() const override;
  bool PostToOwnThread(std::function<void()> task) override;

  // Runs every queued task; returns how many ran.
  int Pump();
  // Waits up to `timeout` (real time) for a task to arrive, then pumps.
  int WaitAndPump(std::chrono::milliseconds timeout);

 private:
  Handler handler_;
  const std::thread::id owner_;
  std::mutex mutex_;
  std::condition_variable arrived_;
  std::deque<std::function<void()>> tasks_;
  bool closed_ = false;
};

}  // namespace tavlix::board
