// The toolbar window: a frameless 217 x 80 tool window with six image buttons,
// a title strip to drag it by, a progress strip that uncovers itself below the
// body while the board works, and the tray icon with its menu.
//
// A thin Qt view of the toolbar controller (app/toolbar_controller.h), which
// holds all behaviour: the window forwards its events there and draws what the
// controller asks for. Everything runs on the GUI thread. The window's
// notification target (Handle()) hands every board notification to the
// controller, also while the toolbar is hidden. Message boxes, balloons and
// modal dialogs go through the presenter, which must outlive the window.
//
// Life: construct (built, not shown), Form1_Load (the controller's start-up
// and a timer that keeps looking for the board's collector lock every
// kCollectInterval), close (Dispose: the controller's shut-down, the tray icon
// removed, the program ended).
#pragma once

#include <QPoint>
#include <QWidget>
#include <memory>
#include <string>

#include "app/toolbar_controller.h"
#include "app/toolbar_view.h"
#include "app/ui_notify_target.h"
#include "ui_qt/notify_target.h"

class QAction;
class QMenu;
class QSystemTrayIcon;
class QTimer;

namespace tavlix::ui_qt {

class FormSetting;
class ImageButton;
class Presenter;
class SessionWatch;

struct Form1Options {
  // Shows boxes, balloons and dialogs; null: the desktop's own.
  Presenter* presenter = nullptr;
  // Whether the desktop has a system tray. Without one the toolbar is shown at
  // start and Close minimises it to the taskbar, so that it can be reached.
  bool system_tray = true;
  // Follow the logon session's console over D-Bus (off in tests).
  bool watch_session = true;
  // How long the pointer rests over a button before its hover picture shows;
  // negative: the style's tool-tip wake-up delay, the toolkit's hover time.
  int hover_rest_ms = -1;
};

class Form1 final : public QWidget, public tavlix::app::ToolbarView {
  Q_OBJECT
 public:
  explicit Form1(Form1Options options = {});
  ~Form1() override;

  app::UiNotifyTarget* Handle() { return &notify_target_; }
  tavlix::app::ToolbarController& controller() { return *controller_; }

  void Form1_Load();
  // The clean-up of closing: runs once. At the session's end nothing waits
  // for the user: a settings file that cannot be written goes to the log.
  void Dispose(tavlix::app::EndReason reason = tavlix::app::EndReason::exit);
  // The session ends: closes the window as Exit does, with no box.
  void EndSession();
  // A board notification, as the notification target delivers it.
  void WndProc(int wParam, std::intptr_t lParam);
  // A mouse press on the tray icon or its show item.
  void notifyIcon1_MouseDown(Qt::MouseButton button);

  // tavlix::app::ToolbarView.
  void ShowMessageBox(const std::string& text) override;
  void ShowBalloon(tavlix::app::Balloon kind, const std::string& text) override;
  void SetButtonPicture(tavlix::app::ToolbarButton button, int bitmap) override;
  void SetButtonEnabled(tavlix::app::ToolbarButton button, bool enabled) override;
  void SetToolTip(tavlix::app::ToolbarButton button, const std::string& text) override;
  void SetTrayItemText(tavlix::app::TrayItem item, const std::string& text) override;
  void SetSettingsDialogTexts(const tavlix::app::SettingsDialogTexts& texts) override;
  void ShowProgress(const tavlix::app::ProgressStrip& strip) override;
  tavlix::app::Rect DesktopRect() override;
  tavlix::app::Rect ToolbarRect() override;
  void MoveToolbar(tavlix::app::Point top_left) override;
  void ShowToolbar() override;
  void HideToolbar() override;
  int SettingsDialogHeight() override;
  std::optional<tavlix::app::SettingsDialogValues> RunSettingsDialog(
      const tavlix::app::SettingsDialogValues& shown, tavlix::app::Point top_left) override;
  void RunPendingEvents() override;

  // Controls, owned by the window.
  FormSetting* FormSettingObj = nullptr;
  QWidget* pictureBox_progress_bar;
  QWidget* pictureBox_progress_bg;
  QWidget* pictureBox_title;
  ImageButton* button_close;
  ImageButton* button_help;
  ImageButton* button_setting_open;
  ImageButton* button_folder_open;
  ImageButton* button_usb_scan;
  ImageButton* button_usb_feed;
  QSystemTrayIcon* notifyIcon1;
  QMenu* contextMenuStrip1;
  QAction* ToolStripMenuItem_showToolbar;
  QAction* ToolStripMenuItem_help;
  QAction* ToolStripMenuItem_close;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  void InitializeComponent();
  ImageButton* ButtonWidget(tavlix::app::ToolbarButton button) const;
  bool ForwardButtonMouse(QObject* watched, QEvent* event);
  void SetShowInTaskbar(bool shown);

  Form1Options options_;
  std::unique_ptr<Presenter> own_presenter_;
  Presenter& presenter_;
  QtUiThread gui_thread_;
  app::UiNotifyTarget notify_target_;
  std::unique_ptr<tavlix::app::ToolbarController> controller_;
  std::unique_ptr<SessionWatch> session_watch_;
  QTimer* collector_timer_ = nullptr;
  QTimer* hover_timer_ = nullptr;
  ImageButton* hovered_ = nullptr;  // the button the pointer rests over
  bool disposed_ = false;
  tavlix::app::EndReason end_reason_ = tavlix::app::EndReason::exit;
};

// The desktop's rectangle: the primary screen's geometry.
QRect DesktopRect();

}  // namespace tavlix::ui_qt
