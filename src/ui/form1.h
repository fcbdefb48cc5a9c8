// The toolbar window: a frameless 217 x 80 tool window with six image buttons,
// a title strip to drag it by, a progress strip that uncovers itself below the
// body while the board works, and the tray icon with its menu.
//
// Everything runs on the GUI thread. The window is the board link's
// notification target (Handle()): WndProc runs for every notification, also
// while the toolbar is hidden. It owns its settings values, paths and texts
// for its whole life. Message boxes, balloons and modal dialogs go through the
// presenter, which must outlive the window.
//
// Life: construct (built, not shown), Form1_Load (places it, loads settings and
// texts, removes stale temporaries from the save folder, starts the board
// link), close (Dispose: saves the settings, stops the board link, removes the
// tray icon, and ends the program). A settings file that cannot be written is
// reported in a message box naming the file.
//
// One collector a board: the worker runs only while the toolbar holds the
// present board's collector lock (board/collector_lock.h). A timer looks for
// the board and the lock every kCycleAbsent while it does not, and halts the
// worker when the board went away between operations; the user is told once
// when another program holds the board.
#pragma once

#include <QPoint>
#include <QWidget>
#include <memory>
#include <string>

#include "board/collector_lock.h"
#include "board/notify.h"
#include "settings/localised_texts.h"
#include "ui/button_pictures.h"
#include "ui/qt_notify_target.h"

class QAction;
class QMenu;
class QSystemTrayIcon;
class QTimer;

namespace TavlixSoft {

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
};

class Form1 final : public QWidget {
  Q_OBJECT
 public:
  explicit Form1(Form1Options options = {});
  ~Form1() override;

  tavlix::HWND_T Handle() { return &notify_target_; }
  bool has_system_tray() const { return options_.system_tray; }

  // Life cycle.
  void Form1_Load();
  void SystemEvents_SessionSwitch(int reason);
  // Lets the worker collect while this toolbar holds the present board's lock
  // (see above); `tell` shows the busy message even when it was shown before.
  void KeepCollecting(bool tell = false);
  bool collecting() const { return collecting_; }
  // The clean-up of closing: runs once.
  void Dispose();

  // Notifications and the progress strip.
  void WndProc(int wParam, std::intptr_t lParam);
  void RenewProgress();
  void LoadLocSettings();

  // Commands.
  void button_usb_scan_Click();
  void button_usb_feed_Click();
  void button_folder_open_Click();
  void button_setting_open_Click();
  void button_help_Click();
  void button_close_Click();
  void notifyIcon1_MouseDown(Qt::MouseButton button);
  void ToolStripMenuItem_help_Click();
  void ToolStripMenuItem_close_Click();
  void ShowHelp();
  void pictureBox_title_MouseDown(Qt::MouseButton button, QPoint at);
  void pictureBox_title_MouseMove(Qt::MouseButtons buttons, QPoint at);

  // Button pictures under the mouse.
  void button_usb_scan_MouseHover();
  void button_usb_scan_MouseDown();
  void button_usb_scan_MouseUp();
  void button_usb_scan_MouseLeave();
  void button_usb_feed_MouseHover();
  void button_usb_feed_MouseDown();
  void button_usb_feed_MouseUp();
  void button_usb_feed_MouseLeave();
  void button_folder_open_MouseHover();
  void button_folder_open_MouseDown();
  void button_folder_open_MouseUp();
  void button_folder_open_MouseLeave();
  void button_setting_open_MouseHover();
  void button_setting_open_MouseDown();
  void button_setting_open_MouseUp();
  void button_setting_open_MouseLeave();
  void button_help_MouseHover();
  void button_help_MouseDown();
  void button_help_MouseUp();
  void button_help_MouseLeave();
  void button_close_MouseHover();
  void button_close_MouseDown();
  void button_close_MouseUp();
  void button_close_MouseLeave();

  // State.
  int progress_save = 0;
  QPoint mousePoint;
  FormSetting* FormSettingObj = nullptr;
  int Setting_SavePrm = 2;
  std::string Setting_ImgSaveTo_FolderPath;
  std::string Setting_FolderPath;
  std::string Setting_FilePath;
  std::string Loc_FolderPath;
  std::string Loc_FilePath;
  std::string Help_FilePath;
  // loc_flg, the message_ and msg_ texts, and the control texts.
  tavlix::settings::LocalisedTexts Loc;

  // Controls, owned by the window.
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
  void SetDisabledLook();
  void SetReadyLook();
  void ShowBalloon(const std::string& text);
  void ShowErrorBox(const std::string& text);
  void ShowMessage(const std::string& text);
  bool WaitForBoard();
  void AcceptSettings();
  void SaveSettings();
  void SetShowInTaskbar(bool shown);
  void ShowPicture(ImageButton* button, const ButtonBitmaps& bitmaps, ButtonMouse event);
  bool DispatchButtonMouse(QObject* watched, QEvent* event);
  void StopBoardLink();

  Form1Options options_;
  std::unique_ptr<Presenter> own_presenter_;
  Presenter& presenter_;
  QtNotifyTarget notify_target_;
  std::unique_ptr<SessionWatch> session_watch_;
  bool loaded_ = false;
  bool disposed_ = false;
  tavlix::CollectorLock collector_lock_;
  QTimer* collector_timer_ = nullptr;
  bool collecting_ = false;
  bool session_away_ = false;
  bool busy_told_ = false;
  bool board_busy_ = false;  // the last look found another collector on the board
};

// The desktop's rectangle: the primary screen's geometry.
QRect DesktopRect();

}  // namespace TavlixSoft
