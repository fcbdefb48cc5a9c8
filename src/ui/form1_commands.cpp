// The toolbar's commands: Scan, Feed / Stop, Open folder, Settings, Help,
// Close, and the tray's Show and Exit.
#include <QCoreApplication>
#include <QLineEdit>
#include <QSystemTrayIcon>
#include <chrono>
#include <filesystem>
#include <optional>

#include "board/command_files.h"
#include "board/drive_discovery.h"
#include "board/driver_facade.h"
#include "platform/clock.h"
#include "platform/shell.h"
#include "settings/save_folder_check.h"
#include "settings/settings_file.h"
#include "ui/form1.h"
#include "ui/form_setting.h"
#include "ui/help_page.h"
#include "ui/image_button.h"
#include "ui/local_text.h"
#include "ui/presenter.h"
#include "ui/toolbar_geometry.h"

namespace TavlixSoft {
namespace {

using std::chrono::milliseconds;
constexpr int kHandOverTimeout = 2000;

// The board drive's root as the drive lookup finds it (which notifies a change
// of presence like any look-up); nullopt without a board.
std::optional<std::string> BoardDriveRoot() {
  std::string model;
  std::string root;
  if (!tavlix::GetTargetDrive(model, root)) return std::nullopt;
  return root;
}

// Lets the events that are waiting run, notifications included.
void RunPendingEvents() {
  QCoreApplication::processEvents();
}

}  // namespace

// Holds the GUI thread: the wait does not handle events. A board that another
// program collects from counts as absent, and the user is told who has it.
bool Form1::WaitForBoard() {
  for (int i = 0; i < 5; ++i) {
    KeepCollecting(i == 0);
    if (board_busy_) return false;
    if (collecting_ && tavlix::IsConnected()) return true;
    tavlix::platform::SleepFor(milliseconds(100));
  }
  return false;
}

void Form1::button_usb_scan_Click() {
  button_usb_scan->setEnabled(false);
  if (!WaitForBoard()) {
    tavlix::SetFlgAppScan(false);
    if (!board_busy_) ShowMessage(Loc.msg_usbreturnerr);
    return;
  }
  tavlix::SetFlgAppScanTimeout(true);
  tavlix::SetFlgAppScan(true);
  switch (tavlix::WriteCommand(tavlix::CMD_SCAN, kHandOverTimeout, true)) {
    case tavlix::kWriteHandedOver:
      // The operation goes on; its notifications end it.
      tavlix::platform::SleepFor(milliseconds(500));
      return;
    case tavlix::kWriteBusy: break;
    case tavlix::kWriteTimedOut: ShowMessage(Loc.msg_detatcherr); break;
    case tavlix::kWriteTooLong: ShowMessage(Loc.msg_errore5); break;
    default: ShowMessage(Loc.msg_errorother); break;
  }
  tavlix::SetFlgAppScan(false);
}

void Form1::button_usb_feed_Click() {
  button_usb_feed->setEnabled(false);
  if (!WaitForBoard()) {
    tavlix::SetFlgAppScan(false);
    if (!board_busy_) ShowMessage(Loc.msg_usbreturnerr);
    RunPendingEvents();
    tavlix::SetFlgAppScan(false);
    return;
  }
  tavlix::SetFlgAppScan(true);
  const int result = tavlix::WriteCommand(tavlix::CMD_FEED, kHandOverTimeout, true);
  // The operation lasts only as long as the hand-over.
  tavlix::SetFlgAppScan(false);
  if (result == tavlix::kWriteHandedOver) {
    tavlix::platform::SleepFor(milliseconds(500));
  } else if (result == tavlix::kWriteBusy) {
    RunPendingEvents();
    button_usb_feed->setEnabled(true);
    tavlix::SetFlgAppScan(false);
    return;
  } else {
    ShowMessage(Loc.msg_errorother);
  }
  RunPendingEvents();
  tavlix::SetFlgAppScan(false);
}

void Form1::button_folder_open_Click() {
  std::error_code ec;
  if (!Setting_ImgSaveTo_FolderPath.empty() &&
      std::filesystem::is_directory(Setting_ImgSaveTo_FolderPath, ec)) {
    tavlix::platform::ShellOpen(Setting_ImgSaveTo_FolderPath);
    return;
  }
  ShowMessage(Loc.message_badfolder);
}

void Form1::button_setting_open_Click() {
  FormSettingObj->textBox_FilePath_SaveTo->setText(FromLocal(Setting_ImgSaveTo_FolderPath));
  FormSettingObj->SetChoice(ChoiceForFormatCode(Setting_SavePrm));
  const QRect desktop = DesktopRect();
  FormSettingObj->move(SettingDialogPlacement(frameGeometry(), FormSettingObj->frameGeometry().height(),
                                              desktop.y() + desktop.height()));
  if (presenter_.RunModal(*FormSettingObj) != QDialog::Accepted) return;
  AcceptSettings();
}

// After OK: a folder that fails any check is refused with one message, and
// then nothing changes, the format included.
void Form1::AcceptSettings() {
  const std::string folder = ToLocal(FormSettingObj->textBox_FilePath_SaveTo->text());
  if (tavlix::settings::CheckSaveFolder(folder, BoardDriveRoot()) !=
      tavlix::settings::SaveFolderCheck::accepted) {
    ShowMessage(Loc.message_badfolder);
    return;
  }
  Setting_ImgSaveTo_FolderPath = folder;
  Setting_SavePrm = FormatCodeFromChoice(FormSettingObj->Choice());
  tavlix::OfferSetting(Setting_SavePrm, Setting_ImgSaveTo_FolderPath);
  SaveSettings();
}

void Form1::button_help_Click() {
  ShowHelp();
}

void Form1::ToolStripMenuItem_help_Click() {
  ShowHelp();
}

// A missing help page or a desktop that cannot open it shows nothing.
void Form1::ShowHelp() {
  Help_FilePath = HelpDocumentPath().string();
  tavlix::platform::ShellOpen(Help_FilePath);
}

void Form1::button_close_Click() {
  if (!options_.system_tray) {
    // Without a tray a hidden toolbar could not be brought back.
    showMinimized();
    return;
  }
  SetShowInTaskbar(false);
  hide();
}

void Form1::notifyIcon1_MouseDown(Qt::MouseButton button) {
  if (button != Qt::LeftButton) return;
  SetShowInTaskbar(true);
  hide();
  showNormal();
  raise();
  activateWindow();
  tavlix::SetNewHandle(Handle());
}

void Form1::ToolStripMenuItem_close_Click() {
  close();
}

// A tool window has no taskbar button; an ordinary one has.
void Form1::SetShowInTaskbar(bool shown) {
  if (!options_.system_tray) return;  // always in the taskbar
  if (windowFlags().testFlag(Qt::Tool) == !shown) return;
  setWindowFlag(Qt::Tool, !shown);
}

}  // namespace TavlixSoft
