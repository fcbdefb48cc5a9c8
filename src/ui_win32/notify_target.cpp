#include "ui_win32/notify_target.h"

namespace tavlix::ui_win32 {

WindowUiThread::WindowUiThread() : thread_(::GetCurrentThreadId()) {}

bool WindowUiThread::IsOwnThread() const {
  return ::GetCurrentThreadId() == thread_;
}

bool WindowUiThread::PostToOwnThread(std::function<void()> task) {
  HWND window = window_.load();
  if (closed_ || window == nullptr) return false;
  {
    std::lock_guard lock(mutex_);
    queued_.push_back(std::move(task));
  }
  DWORD_PTR answer = 0;
  const auto bound = static_cast<UINT>(app::NotifyDeliveryWait().count());
  if (::SendMessageTimeoutW(window, kBoardNotifyMessage, 0, 0, SMTO_NORMAL, bound, &answer) != 0) return true;
  // Not answered in time: the system withdraws the sent message, so the
  // window is woken by a posted one and handles the notification late.
  ::PostMessageW(window, kBoardNotifyMessage, 0, 0);
  return false;
}

void WindowUiThread::RunQueued() {
  for (;;) {
    std::function<void()> task;
    {
      std::lock_guard lock(mutex_);
      if (queued_.empty()) return;
      task = std::move(queued_.front());
      queued_.pop_front();
    }
    task();  // no lock held: the handler may run a message loop
  }
}

}  // namespace tavlix::ui_win32
