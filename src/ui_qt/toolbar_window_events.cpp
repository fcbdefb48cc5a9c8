// The toolbar under the mouse: button events, the title drag and the tray
// menu's show item, forwarded to the controller.
#include <QMenu>
#include <QMouseEvent>
#include <QTimer>

#include "ui_qt/image_button.h"
#include "ui_qt/toolbar_window.h"

namespace tavlix::ui_qt {
namespace {

using tavlix::app::ButtonMouse;
using tavlix::app::ToolbarButton;

constexpr ToolbarButton kButtons[] = {ToolbarButton::scan,        ToolbarButton::feed,
                                      ToolbarButton::folder_open, ToolbarButton::setting_open,
                                      ToolbarButton::help,        ToolbarButton::close};

tavlix::app::Point PlainPoint(QPointF at) {
  const QPoint point = at.toPoint();
  return {point.x(), point.y()};
}

}  // namespace

// `event` null: the pointer has rested over the button. Enter starts that
// wait, Leave ends it. A disabled button gets no mouse events from Qt.
bool Form1::ForwardButtonMouse(QObject* watched, QEvent* event) {
  for (const ToolbarButton button : kButtons) {
    ImageButton* widget = ButtonWidget(button);
    if (watched != widget) continue;
    if (event == nullptr) {
      controller_->ButtonMouseEvent(button, ButtonMouse::hover);
      return true;
    }
    switch (event->type()) {
      case QEvent::Enter:
        hovered_ = widget;
        hover_timer_->start();
        break;
      case QEvent::MouseButtonPress: controller_->ButtonMouseEvent(button, ButtonMouse::down); break;
      case QEvent::MouseButtonRelease: controller_->ButtonMouseEvent(button, ButtonMouse::up); break;
      case QEvent::Leave:
        hovered_ = nullptr;
        hover_timer_->stop();
        controller_->ButtonMouseEvent(button, ButtonMouse::leave);
        break;
      default: break;
    }
    return true;
  }
  return false;
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
  if (disposed_) return QWidget::eventFilter(watched, event);
  if (watched == pictureBox_title) {
    if (event->type() == QEvent::MouseButtonPress) {
      const auto* mouse = static_cast<QMouseEvent*>(event);
      controller_->TitleMouseDown(mouse->button() == Qt::LeftButton, PlainPoint(mouse->position()));
    } else if (event->type() == QEvent::MouseMove) {
      const auto* mouse = static_cast<QMouseEvent*>(event);
      controller_->TitleMouseMove((mouse->buttons() & Qt::LeftButton) != 0, PlainPoint(mouse->position()));
    }
  } else if (watched == contextMenuStrip1 && event->type() == QEvent::MouseButtonPress) {
    const auto* mouse = static_cast<QMouseEvent*>(event);
    if (contextMenuStrip1->actionAt(mouse->position().toPoint()) == ToolStripMenuItem_showToolbar)
      notifyIcon1_MouseDown(mouse->button());
  } else {
    ForwardButtonMouse(watched, event);
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace tavlix::ui_qt
