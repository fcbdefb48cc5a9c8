#include "ui_qt/notify_target.h"

#include <QThread>

namespace tavlix::ui_qt {

bool QtUiThread::IsOwnThread() const {
  return QThread::currentThread() == thread();
}

bool QtUiThread::PostToOwnThread(std::function<void()> task) {
  if (closed_) return false;
  return QMetaObject::invokeMethod(this, std::move(task), Qt::QueuedConnection);
}

}  // namespace tavlix::ui_qt
