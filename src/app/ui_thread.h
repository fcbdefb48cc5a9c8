// The front end's UI thread, as the board link's notifications reach it: the
// small part a view implements so that the controller's notification target
// (app/ui_notify_target.h) can hand a notification from the worker thread to
// the UI thread and wait for it there.
//
// Implemented by each toolbar on its UI thread; not owned by the target that
// uses it, and must outlive it.
#pragma once

#include <chrono>
#include <functional>

namespace tavlix::app {

// The message number a window receives board notifications by (WM_APP + 1).
inline constexpr unsigned kUiNotifyMessage = 0x8001;

class UiThread {
 public:
  virtual ~UiThread() = default;
  // True when the calling thread is the UI thread. Any thread.
  virtual bool IsOwnThread() const = 0;
  // Queues `task` to run on the UI thread; called from another thread, which
  // waits for it up to NotifyDeliveryWait(). false tells the sender not to
  // wait for it: it could not be queued (the view is shutting down, the task
  // is dropped), or the view already waited that long for it (the task then
  // runs late).
  virtual bool PostToOwnThread(std::function<void()> task) = 0;
};

// How long a sender waits for the UI thread to run a notification (5000 ms
// unless a test shortened it). Thread-safe.
std::chrono::milliseconds NotifyDeliveryWait();

}  // namespace tavlix::app
