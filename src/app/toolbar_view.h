// What a front end implements so that the toolbar controller can drive it:
// the Qt toolbar, the Win32 toolbar, the command line's terminal, a test's
// recorder. Everything that waits for the user (message boxes, the settings
// dialog) goes through here, so tests read what would be shown instead of
// entering a modal loop.
//
// Called only on the front end's UI thread, by the controller. A call may run
// the front end's message loop (a message box, the settings dialog,
// RunPendingEvents); board notifications then reach the controller nested
// inside it. The view is not owned by the controller and must outlive it.
#pragma once

#include <optional>
#include <string>

#include "app/button_pictures.h"
#include "app/toolbar_geometry.h"
#include "settings/output_format.h"

namespace tavlix::app {

// Why a balloon is shown (a terminal prints them differently).
enum class Balloon { picture_saved, save_failed, board_found, collector_busy };

// The tray menu's items that carry a text.
enum class TrayItem { show, help, exit };

// The settings dialog's texts from the localised table.
struct SettingsDialogTexts {
  std::string caption;
  std::string folder_label;
  std::string format_label;
  std::string board_format_choice;  // the choice that is never visible
  std::string browse_description;   // the folder browser's description
};

// The values the settings dialog shows and gives back.
struct SettingsDialogValues {
  std::string folder;  // UTF-8
  settings::OutputFormat format = settings::kDefaultOutputFormat;
};

class ToolbarView {
 public:
  virtual ~ToolbarView() = default;

  // A message box with `text` (UTF-8), an empty caption,
  // one OK button, no icon and no owner window; returns when the user has
  // closed it.
  virtual void ShowMessageBox(const std::string& text) = 0;
  // A tray balloon with `text` for 3000 ms, no title, no icon. A front end
  // that cannot show an empty text may drop it.
  virtual void ShowBalloon(Balloon kind, const std::string& text) = 0;

  virtual void SetButtonPicture(ToolbarButton button, int bitmap) = 0;
  // A disabled button takes no clicks and no mouse events.
  virtual void SetButtonEnabled(ToolbarButton button, bool enabled) = 0;
  virtual void SetToolTip(ToolbarButton button, const std::string& text) = 0;
  virtual void SetTrayItemText(TrayItem item, const std::string& text) = 0;
  virtual void SetSettingsDialogTexts(const SettingsDialogTexts& texts) = 0;

  // Resizes the window to strip.window_height (growing at its bottom edge)
  // and draws the strip; painted before it returns, since a full bar is held
  // on screen by a pause of the controller.
  virtual void ShowProgress(const ProgressStrip& strip) = 0;

  // The desktop's rectangle and the toolbar's own (its outer frame).
  virtual Rect DesktopRect() = 0;
  virtual Rect ToolbarRect() = 0;
  virtual void MoveToolbar(Point top_left) = 0;
  // The tray's show: a taskbar button, above other windows once, restored
  // from minimised.
  virtual void ShowToolbar() = 0;
  // Close: no taskbar button, hidden (where nothing could bring a hidden
  // toolbar back, the front end may minimise it instead).
  virtual void HideToolbar() = 0;

  // The settings dialog's height, for placing it.
  virtual int SettingsDialogHeight() = 0;
  // Fills the dialog with `shown` (the format is one of the four choices),
  // places it at `top_left` and shows it modally. The values on OK (the
  // first checked choice in the order board, JPEG, PNG, PDF; none checked
  // gives board), nullopt on Cancel or the close box. Esc does nothing.
  virtual std::optional<SettingsDialogValues> RunSettingsDialog(const SettingsDialogValues& shown,
                                                                Point top_left) = 0;

  // Lets the window events that are waiting run once, notifications
  // included; the board link's message pump.
  virtual void RunPendingEvents() = 0;
};

}  // namespace tavlix::app
