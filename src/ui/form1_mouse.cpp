// The toolbar under the mouse: button pictures, the title drag and the tray
// menu's show item.
#include <QAction>
#include <QMenu>
#include <QMouseEvent>

#include "board/driver_facade.h"
#include "ui/form1.h"
#include "ui/image_button.h"
#include "ui/toolbar_geometry.h"

namespace TavlixSoft {

void Form1::ShowPicture(ImageButton* button, const ButtonBitmaps& bitmaps, ButtonMouse event) {
  button->SetBitmap(PictureFor(bitmaps, event, tavlix::IsConnected()));
}

void Form1::button_usb_scan_MouseHover() {
  ShowPicture(button_usb_scan, kScanBitmaps, ButtonMouse::hover);
}
void Form1::button_usb_scan_MouseDown() {
  ShowPicture(button_usb_scan, kScanBitmaps, ButtonMouse::down);
}
void Form1::button_usb_scan_MouseUp() {
  ShowPicture(button_usb_scan, kScanBitmaps, ButtonMouse::up);
}
void Form1::button_usb_scan_MouseLeave() {
  ShowPicture(button_usb_scan, kScanBitmaps, ButtonMouse::leave);
}
void Form1::button_usb_feed_MouseHover() {
  ShowPicture(button_usb_feed, kFeedBitmaps, ButtonMouse::hover);
}
void Form1::button_usb_feed_MouseDown() {
  ShowPicture(button_usb_feed, kFeedBitmaps, ButtonMouse::down);
}
void Form1::button_usb_feed_MouseUp() {
  ShowPicture(button_usb_feed, kFeedBitmaps, ButtonMouse::up);
}
void Form1::button_usb_feed_MouseLeave() {
  ShowPicture(button_usb_feed, kFeedBitmaps, ButtonMouse::leave);
}
void Form1::button_folder_open_MouseHover() {
  ShowPicture(button_folder_open, kFolderBitmaps, ButtonMouse::hover);
}
void Form1::button_folder_open_MouseDown() {
  ShowPicture(button_folder_open, kFolderBitmaps, ButtonMouse::down);
}
void Form1::button_folder_open_MouseUp() {
  ShowPicture(button_folder_open, kFolderBitmaps, ButtonMouse::up);
}
void Form1::button_folder_open_MouseLeave() {
  ShowPicture(button_folder_open, kFolderBitmaps, ButtonMouse::leave);
}
void Form1::button_setting_open_MouseHover() {
  ShowPicture(button_setting_open, kSettingBitmaps, ButtonMouse::hover);
}
void Form1::button_setting_open_MouseDown() {
  ShowPicture(button_setting_open, kSettingBitmaps, ButtonMouse::down);
}
void Form1::button_setting_open_MouseUp() {
  ShowPicture(button_setting_open, kSettingBitmaps, ButtonMouse::up);
}
void Form1::button_setting_open_MouseLeave() {
  ShowPicture(button_setting_open, kSettingBitmaps, ButtonMouse::leave);
}
void Form1::button_help_MouseHover() {
  ShowPicture(button_help, kHelpBitmaps, ButtonMouse::hover);
}
void Form1::button_help_MouseDown() {
  ShowPicture(button_help, kHelpBitmaps, ButtonMouse::down);
}
void Form1::button_help_MouseUp() {
  ShowPicture(button_help, kHelpBitmaps, ButtonMouse::up);
}
void Form1::button_help_MouseLeave() {
  ShowPicture(button_help, kHelpBitmaps, ButtonMouse::leave);
}
void Form1::button_close_MouseHover() {
  ShowPicture(button_close, kCloseBitmaps, ButtonMouse::hover);
}
void Form1::button_close_MouseDown() {
  ShowPicture(button_close, kCloseBitmaps, ButtonMouse::down);
}
void Form1::button_close_MouseUp() {
  ShowPicture(button_close, kCloseBitmaps, ButtonMouse::up);
}
void Form1::button_close_MouseLeave() {
  ShowPicture(button_close, kCloseBitmaps, ButtonMouse::leave);
}

void Form1::pictureBox_title_MouseDown(Qt::MouseButton button, QPoint at) {
  if (button == Qt::LeftButton) mousePoint = at;
}

void Form1::pictureBox_title_MouseMove(Qt::MouseButtons buttons, QPoint at) {
  // The strip moves with the window, so the grab point stays as it is.
  if (buttons & Qt::LeftButton) move(DraggedPosition(pos(), mousePoint, at));
}

namespace {

struct ButtonWiring {
  ImageButton* Form1::*button;
  void (Form1::*hover)();
  void (Form1::*down)();
  void (Form1::*up)();
  void (Form1::*leave)();
};

constexpr ButtonWiring kWiring[] = {
    {&Form1::button_usb_scan, &Form1::button_usb_scan_MouseHover, &Form1::button_usb_scan_MouseDown,
     &Form1::button_usb_scan_MouseUp, &Form1::button_usb_scan_MouseLeave},
    {&Form1::button_usb_feed, &Form1::button_usb_feed_MouseHover, &Form1::button_usb_feed_MouseDown,
     &Form1::button_usb_feed_MouseUp, &Form1::button_usb_feed_MouseLeave},
    {&Form1::button_folder_open, &Form1::button_folder_open_MouseHover, &Form1::button_folder_open_MouseDown,
     &Form1::button_folder_open_MouseUp, &Form1::button_folder_open_MouseLeave},
    {&Form1::button_setting_open, &Form1::button_setting_open_MouseHover,
     &Form1::button_setting_open_MouseDown, &Form1::button_setting_open_MouseUp,
     &Form1::button_setting_open_MouseLeave},
    {&Form1::button_help, &Form1::button_help_MouseHover, &Form1::button_help_MouseDown,
     &Form1::button_help_MouseUp, &Form1::button_help_MouseLeave},
    {&Form1::button_close, &Form1::button_close_MouseHover, &Form1::button_close_MouseDown,
     &Form1::button_close_MouseUp, &Form1::button_close_MouseLeave},
};

}  // namespace

// A disabled button does not react to the mouse and keeps its picture.
bool Form1::DispatchButtonMouse(QObject* watched, QEvent* event) {
  for (const ButtonWiring& wiring : kWiring) {
    ImageButton* button = this->*wiring.button;
    if (watched != button) continue;
    if (!button->isEnabled()) return true;
    switch (event->type()) {
      case QEvent::Enter: (this->*wiring.hover)(); break;
      case QEvent::MouseButtonPress: (this->*wiring.down)(); break;
      case QEvent::MouseButtonRelease: (this->*wiring.up)(); break;
      case QEvent::Leave: (this->*wiring.leave)(); break;
      default: break;
    }
    return true;
  }
  return false;
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
  if (watched == pictureBox_title) {
    if (event->type() == QEvent::MouseButtonPress) {
      const auto* mouse = static_cast<QMouseEvent*>(event);
      pictureBox_title_MouseDown(mouse->button(), mouse->position().toPoint());
    } else if (event->type() == QEvent::MouseMove) {
      const auto* mouse = static_cast<QMouseEvent*>(event);
      pictureBox_title_MouseMove(mouse->buttons(), mouse->position().toPoint());
    }
  } else if (watched == contextMenuStrip1 && event->type() == QEvent::MouseButtonPress) {
    const auto* mouse = static_cast<QMouseEvent*>(event);
    if (contextMenuStrip1->actionAt(mouse->position().toPoint()) == ToolStripMenuItem_showToolbar)
      notifyIcon1_MouseDown(mouse->button());
  } else {
    DispatchButtonMouse(watched, event);
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace TavlixSoft
