#include "app/ui_notify_target.h"

#include <utility>

namespace tavlix::app {

static_assert(kUiNotifyMessage == board::WM_BOARD_NOTIFY);

std::chrono::milliseconds NotifyDeliveryWait() {
  return board::NotifyDeliveryBound();
}

UiNotifyTarget::UiNotifyTarget(UiThread& thread, Handler handler)
    : thread_(thread), handler_(std::move(handler)) {}

void UiNotifyTarget::HandleBoardNotify(int code, std::intptr_t arg) {
  handler_(code, arg);
}

bool UiNotifyTarget::IsOwnThread() const {
  return thread_.IsOwnThread();
}

bool UiNotifyTarget::PostToOwnThread(std::function<void()> task) {
  return thread_.PostToOwnThread(std::move(task));
}

}  // namespace tavlix::app
