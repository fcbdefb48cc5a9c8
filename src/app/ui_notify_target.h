// The board link's notification target for a toolbar: a notification is
// handed to `handler` on the view's UI thread (at once, nested, when sent on
// that thread; queued through the UiThread and waited for otherwise, by the
// board link's delivery rule in board/notify.h).
//
// Owned by the view next to its UiThread, which it does not own and which
// must outlive it; replace it in the board link (the controller's Shutdown)
// before destroying it.
#pragma once

#include <cstdint>
#include <functional>

#include "app/ui_thread.h"
#include "board/notify.h"

namespace tavlix::app {

class UiNotifyTarget final : public board::NotifyTarget {
 public:
  using Handler = std::function<void(int code, std::intptr_t arg)>;
  UiNotifyTarget(UiThread& thread, Handler handler);

  void HandleBoardNotify(int code, std::intptr_t arg) override;
  bool IsOwnThread() const override;
  bool PostToOwnThread(std::function<void()> task) override;

 private:
  UiThread& thread_;
  Handler handler_;
};

}  // namespace tavlix::app
