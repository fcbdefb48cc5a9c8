// The toolbar's end of the board link's notification channel: the GUI
// thread as app::UiThread. A notification from the worker thread is queued
// onto the GUI thread's event loop (the worker waits for it, up to the
// delivery bound); one sent on the GUI thread runs at once, nested.
//
// Lives on the thread that creates it (the GUI thread). After Close() nothing
// more is queued, so a sender stops waiting at once. Replace the target that
// uses it in the board link (the controller's Shutdown) before destroying it.
#pragma once

#include <QObject>
#include <atomic>
#include <functional>

#include "app/ui_thread.h"

namespace tavlix::ui_qt {

class QtUiThread final : public QObject, public app::UiThread {
  Q_OBJECT
 public:
  bool IsOwnThread() const override;
  bool PostToOwnThread(std::function<void()> task) override;
  void Close() { closed_ = true; }

 private:
  std::atomic<bool> closed_{false};
};

}  // namespace tavlix::ui_qt
