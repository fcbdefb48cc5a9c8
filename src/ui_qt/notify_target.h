// The toolbar's end of the board link's notification channel: a notification
// from the worker thread is queued onto the GUI thread's event loop (the worker
// waits for it, up to the delivery bound); one sent on the GUI thread runs the
// handler at once, nested.
//
// Lives on the thread that creates it (the GUI thread). After Close() nothing
// more is queued, so a sender stops waiting at once. Replace it in the board
// link (SetNewHandle, DriverUninit) before destroying it.
#pragma once

#include <QObject>
#include <atomic>
#include <functional>

#include "board/notify.h"

namespace tavlix::ui_qt {

class QtNotifyTarget final : public QObject, public tavlix::NotifyTarget {
  Q_OBJECT
 public:
  using Handler = std::function<void(int code, std::intptr_t arg)>;
  explicit QtNotifyTarget(Handler handler);

  void HandleBoardNotify(int code, std::intptr_t arg) override;
  bool IsOwnThread() const override;
  bool PostToOwnThread(std::function<void()> task) override;
  void Close() { closed_ = true; }

 private:
  Handler handler_;
  std::atomic<bool> closed_{false};
};

}  // namespace tavlix::ui_qt
