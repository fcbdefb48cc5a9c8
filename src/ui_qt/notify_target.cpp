#include "ui_qt/notify_target.h"

#include <QThread>

namespace tavlix::ui_qt {

QtNotifyTarget::QtNotifyTarget(Handler handler) : handler_(std::move(handler)) {}

void QtNotifyTarget::HandleBoardNotify(int code, std::intptr_t arg) {
  handler_(code, arg);
}

bool QtNotifyTarget::IsOwnThread() const {
  return QThread::currentThread() == thread();
}

bool QtNotifyTarget::PostToOwnThread(std::function<void()> task) {
  if (closed_) return false;
  return QMetaObject::invokeMethod(this, std::move(task), Qt::QueuedConnection);
}

}  // namespace tavlix::ui_qt
