#include "board/queued_target.h"

namespace tavlix::board {

QueuedNotifyTarget::QueuedNotifyTarget(Handler handler)
    : handler_(std::move(handler)), owner_(std::this_thread::get_id()) {}

QueuedNotifyTarget::~QueuedNotifyTarget() {
  std::lock_guard lock(mutex_);
  closed_ = true;
  tasks_.clear();
}

void QueuedNotifyTarget::HandleBoardNotify(int code, std::intptr_t arg) {
  if (handler_) handler_(code, arg);
}

bool QueuedNotifyTarget::IsOwnThread() const {
  return std::this_thread::get_id() == owner_;
}

bool QueuedNotifyTarget::PostToOwnThread(std::function<void()> task) {
  {
    std::lock_guard lock(mutex_);
    if (closed_) return false;
    tasks_.push_back(std::move(task));
  }
  arrived_.notify_all();
  return true;
}

int QueuedNotifyTarget::Pump() {
  int ran = 0;
  for (;;) {
    std::function<void()> task;
    {
      std::lock_guard lock(mutex_);
      if (tasks_.empty()) return ran;
      task = std::move(tasks_.front());
      tasks_.pop_front();
    }
    task();  // no lock held while the handler runs
    ++ran;
  }
}

int QueuedNotifyTarget::WaitAndPump(std::chrono::milliseconds timeout) {
  {
    std::unique_lock lock(mutex_);
    arrived_.wait_for(lock, timeout, [&] { return !tasks_.empty(); });
  }
  return Pump();
}

}  // namespace tavlix::board
