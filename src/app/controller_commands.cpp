// The controller's commands: Scan, Feed / Stop, Open folder, Settings, Help,
// Close, the tray's Show, the title drag and the button pictures.
#include <chrono>
#include <filesystem>

#include "app/help_page.h"
#include "app/toolbar_controller.h"
#include "board/command_files.h"
#include "board/drive_discovery.h"
#include "board/driver_facade.h"
#include "platform/clock.h"
#include "platform/path_text.h"
#include "platform/shell.h"
#include "settings/save_folder_check.h"
#include "settings/settings_file.h"

namespace tavlix::app {
namespace {

using std::chrono::milliseconds;

// How long the UI thread rests after a command was handed over.
constexpr milliseconds kAfterHandOver{500};

int HandOver(std::uint8_t command) {
  return board::WriteCommand(command, static_cast<int>(kHandOverTimeout.count()), true);
}

}  // namespace

// Asks up to five times, 100 ms apart, holding the UI thread. A board that
// another program collects from counts as absent, and the user is told who
// has it.
CommandResult ToolbarController::WaitForBoard() {
  for (int i = 0; i < 5; ++i) {
    switch (KeepCollecting(i == 0)) {
      case Collecting::busy: return CommandResult::collector_busy;
      case Collecting::unavailable: return CommandResult::lock_unavailable;
      case Collecting::yes:
        if (board::IsConnected()) return CommandResult::handed_over;
        break;
      case Collecting::no_board: break;
    }
    platform::SleepFor(milliseconds(100));
  }
  return CommandResult::no_board;
}

// A board that never came leaves the button disabled until it is reported.
// A board another collector holds (or a lock that cannot be made) sends no
// report when it is free again: the button is usable at once, so the user
// can try again.
void ToolbarController::RefusedWithoutBoard(ToolbarButton button, CommandResult waited) {
  if (waited == CommandResult::no_board)
    view_.ShowMessageBox(texts_.msg_usbreturnerr);
  else
    SetEnabled(button, true);
}

CommandResult ToolbarController::Scan() {
  SetEnabled(ToolbarButton::scan, false);
  if (const CommandResult waited = WaitForBoard(); waited != CommandResult::handed_over) {
    board::SetFlgAppScan(false);
    RefusedWithoutBoard(ToolbarButton::scan, waited);
    return waited;
  }
  board::SetFlgAppScanTimeout(true);
  board::SetFlgAppScan(true);
  CommandResult result = CommandResult::failed;
  switch (HandOver(board::CMD_SCAN)) {
    case board::kWriteHandedOver:
      // The operation goes on; its notifications end it.
      platform::SleepFor(kAfterHandOver);
      return CommandResult::handed_over;
    case board::kWriteBusy: result = CommandResult::command_waiting; break;
    case board::kWriteTimedOut:
      view_.ShowMessageBox(texts_.msg_detatcherr);
      result = CommandResult::timed_out;
      break;
    case board::kWriteTooLong: view_.ShowMessageBox(texts_.msg_errore5); break;
    default: view_.ShowMessageBox(texts_.msg_errorother); break;
  }
  board::SetFlgAppScan(false);
  return result;
}

CommandResult ToolbarController::Feed() {
  SetEnabled(ToolbarButton::feed, false);
  if (const CommandResult waited = WaitForBoard(); waited != CommandResult::handed_over) {
    board::SetFlgAppScan(false);
    RefusedWithoutBoard(ToolbarButton::feed, waited);
    view_.RunPendingEvents();
    board::SetFlgAppScan(false);
    return waited;
  }
  board::SetFlgAppScan(true);
  const int handed = HandOver(board::CMD_FEED);
  // The operation lasts only as long as the hand-over.
  board::SetFlgAppScan(false);
  CommandResult result = CommandResult::handed_over;
  if (handed == board::kWriteHandedOver) {
    platform::SleepFor(kAfterHandOver);
  } else if (handed == board::kWriteBusy) {
    view_.RunPendingEvents();
    SetEnabled(ToolbarButton::feed, true);
    board::SetFlgAppScan(false);
    return CommandResult::command_waiting;
  } else {
    view_.ShowMessageBox(texts_.msg_errorother);
    result = handed == board::kWriteTimedOut ? CommandResult::timed_out : CommandResult::failed;
  }
  view_.RunPendingEvents();
  board::SetFlgAppScan(false);
  return result;
}

void ToolbarController::OpenFolder() {
  std::error_code ec;
  const std::filesystem::path folder = platform::PathFromUtf8(settings_.save_folder);
  if (!settings_.save_folder.empty() && std::filesystem::is_directory(folder, ec)) {
    platform::ShellOpen(folder);
    return;
  }
  view_.ShowMessageBox(texts_.message_badfolder);
}

void ToolbarController::OpenSettings() {
  const Point where =
      SettingDialogPlacement(view_.ToolbarRect(), view_.SettingsDialogHeight(), view_.DesktopRect());
  const auto values =
      view_.RunSettingsDialog({settings_.save_folder, settings::DialogChoiceFor(settings_.format)}, where);
  if (values) AcceptSettings(*values);
}

// After OK: a folder that fails any check is refused with one message, and
// then nothing changes, the format included. The board is looked up only
// after the folder's own checks, so a bad folder never raises a board balloon
// before its box.
void ToolbarController::AcceptSettings(const SettingsDialogValues& values) {
  if (settings::CheckSaveFolder(values.folder, board::BoardDriveRoot) !=
      settings::SaveFolderCheck::accepted) {
    view_.ShowMessageBox(texts_.message_badfolder);
    return;
  }
  settings_ = {values.format, values.folder};
  board::OfferSetting(settings_.format, settings_.save_folder);
  SaveSettings();
}

// A missing help page or a desktop that cannot open it shows nothing.
void ToolbarController::ShowHelp() {
  platform::ShellOpen(HelpDocumentPath());
}

void ToolbarController::CloseToolbar() {
  view_.HideToolbar();
}

void ToolbarController::TrayShow(bool left_button) {
  if (!left_button) return;
  view_.ShowToolbar();
  board::SetNewHandle(target_);
}

void ToolbarController::ShowForSecondStart() {
  const Rect desktop = view_.DesktopRect();
  const Rect toolbar = view_.ToolbarRect();
  const bool on_desktop = toolbar.x < desktop.x + desktop.width && toolbar.x + toolbar.width > desktop.x &&
                          toolbar.y < desktop.y + desktop.height && toolbar.y + toolbar.height > desktop.y;
  if (!on_desktop) view_.MoveToolbar(ToolbarPlacement(desktop, toolbar.width));
  TrayShow(true);
}

// A disabled button does not react to the mouse and keeps its picture.
void ToolbarController::ButtonMouseEvent(ToolbarButton button, ButtonMouse event) {
  if (!button_enabled(button)) return;
  view_.SetButtonPicture(button, PictureFor(BitmapsOf(button), event, board::IsConnected()));
}

void ToolbarController::TitleMouseDown(bool left_button, Point at) {
  if (left_button) grab_ = at;
}

// The strip moves with the window, so the grab point stays as it is.
void ToolbarController::TitleMouseMove(bool left_button_held, Point at) {
  if (!left_button_held) return;
  const Rect toolbar = view_.ToolbarRect();
  view_.MoveToolbar(DraggedPosition({toolbar.x, toolbar.y}, grab_, at));
}

}  // namespace tavlix::app
