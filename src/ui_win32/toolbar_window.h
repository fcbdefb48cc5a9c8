// The Win32 toolbar: a borderless 217 x 80 popup with the background picture,
// the six image buttons, the title strip to drag it by and the progress strip
// below the body, plus the tray icon and the settings dialog. The program
// declares itself aware of the system's DPI: the layout and its pictures are
// scaled by dpi / 96 once, at start (326 x 120 at 150 %), so that nothing is
// stretched as a blurred bitmap. Tab moves over the buttons, Space or Enter
// presses the focused one. It is a view of
// the toolbar controller: it forwards every event there and does what the
// controller asks through ToolbarView; the behaviour is the controller's.
//
// The window is the board link's notification target (WM_BOARD_NOTIFY), also
// while it is hidden, and follows the session's console through
// WTSRegisterSessionNotification. It starts hidden, without a taskbar button,
// with its tray icon showing (shown instead when the taskbar keeps refusing
// the icon); a second start of the program shows it (ShowRequestMessage). The
// tray menu's Exit, the session's end (WM_ENDSESSION at logout or shut-down,
// which it never refuses, and during which it raises no box), the installer's
// registered "TavlixConnect.EndRequest" message (sent before an upgrade or
// uninstall, answered as the session's end) or any other close destroys it,
// which shuts the controller down (the settings saved, the worker stopped) and
// ends the message loop.
//
// UI thread only (a single-threaded COM apartment).
#pragma once

#include <array>
#include <memory>
#include <optional>
#include <string>

#include "app/dpi_scale.h"
#include "app/toolbar_controller.h"
#include "app/toolbar_view.h"
#include "app/ui_notify_target.h"
#include "ui_win32/bitmap_set.h"
#include "ui_win32/image_button.h"
#include "ui_win32/notify_target.h"
#include "ui_win32/session_notification.h"
#include "ui_win32/setting_dialog.h"
#include "ui_win32/tray_icon.h"
#include "ui_win32/win32.h"

namespace tavlix::ui_win32 {

class ToolbarWindow final : public app::ToolbarView {
 public:
  explicit ToolbarWindow(HINSTANCE module);
  ~ToolbarWindow() override;
  ToolbarWindow(const ToolbarWindow&) = delete;
  ToolbarWindow& operator=(const ToolbarWindow&) = delete;

  // Makes the windows (toolbar, buttons, tray icon, settings dialog) at the
  // system's DPI without starting the controller; Run does it first. false
  // when the window could not be made.
  bool Create();
  // Starts the controller and runs the message loop until the window is
  // closed. false when the window could not be made.
  bool Run();
  HWND hwnd() const { return hwnd_; }

  // ToolbarView.
  void ShowMessageBox(const std::string& text) override;
  void ShowBalloon(app::Balloon kind, const std::string& text) override;
  void SetButtonPicture(app::ToolbarButton button, int bitmap) override;
  void SetButtonEnabled(app::ToolbarButton button, bool enabled) override;
  void SetToolTip(app::ToolbarButton button, const std::string& text) override;
  void SetTrayItemText(app::TrayItem item, const std::string& text) override;
  void SetSettingsDialogTexts(const app::SettingsDialogTexts& texts) override;
  void ShowProgress(const app::ProgressStrip& strip) override;
  app::Rect DesktopRect() override;
  app::Rect ToolbarRect() override;
  void MoveToolbar(app::Point top_left) override;
  void ShowToolbar() override;
  void HideToolbar() override;
  int SettingsDialogHeight() override;
  std::optional<app::SettingsDialogValues> RunSettingsDialog(const app::SettingsDialogValues& shown,
                                                             app::Point top_left) override;
  void RunPendingEvents() override;

 private:
  static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT Handle(UINT message, WPARAM wparam, LPARAM lparam);
  void MakeButtons();
  void Paint();
  void TitleMouse(UINT message, WPARAM wparam, LPARAM lparam);
  void SetTaskbarButton(bool shown);
  // The session ends: closed as Exit does, with no box.
  void EndSession();
  void Destroyed();
  ImageButton& ButtonOf(app::ToolbarButton button);

  HINSTANCE module_;
  HWND hwnd_ = nullptr;
  HICON icon_ = nullptr;
  HICON small_icon_ = nullptr;
  app::DpiScale scale_;
  BitmapSet pictures_;
  std::array<std::unique_ptr<ImageButton>, app::kToolbarButtonCount> buttons_;
  std::array<bool, app::kToolbarButtonCount> has_tip_{};
  HWND tips_ = nullptr;
  std::unique_ptr<TrayIcon> tray_;
  std::unique_ptr<SettingDialog> dialog_;
  WindowUiThread window_thread_;
  app::UiNotifyTarget target_;
  app::ToolbarController controller_;
  app::ProgressStrip strip_;
  bool dragging_ = false;
  SessionNotification session_;
  bool shut_down_ = false;
  app::EndReason end_reason_ = app::EndReason::exit;
};

}  // namespace tavlix::ui_win32
