// The controller's life: start-up, the session switch, collecting and
// shut-down.
#include "app/toolbar_controller.h"

#include "board/communication_thread.h"
#include "board/driver_facade.h"
#include "imaging/stale_temporaries.h"
#include "platform/clock.h"
#include "platform/path_text.h"
#include "settings/settings_file.h"
#include "settings/settings_paths.h"

namespace tavlix::app {

static_assert(kCollectInterval == board::kCycleAbsent);

namespace {

// Reasons, numbered as the platform's session-switch notification numbers them.
constexpr int kConsoleConnect = 1;
constexpr int kConsoleDisconnect = 2;

}  // namespace

ToolbarController::ToolbarController(ToolbarView& view, std::string program)
    : view_(view), collector_lock_(std::move(program)) {}

ToolbarController::~ToolbarController() {
  if (!shut_down_) StopBoardLink();
}

bool ToolbarController::Start(board::NotifyTarget* target, const StartOptions& options) {
  progress_save_ = 0;
  RenewProgress();
  if (options.place_toolbar)
    view_.MoveToolbar(ToolbarPlacement(view_.DesktopRect(), view_.ToolbarRect().width));
  if (options.settings) {
    settings_ = *options.settings;
  } else {
    const settings::IniSettings ini = settings::LoadIniSettings();
    settings_ = {ini.Setting_SavePrm, ini.Setting_ImgSaveTo_FolderPath};
    settings_read_ = settings_;
    settings_polled_ = platform::Clock()->Now();
  }
  save_settings_at_exit_ = options.save_settings_at_exit;
  texts_ = settings::LoadLocalisedTexts();
  if (!texts_.loc_flg && options.default_texts_without_table) texts_ = settings::DefaultLocalisedTexts();
  ApplyTexts();

  // While a command waits for the worker, the window keeps handling events,
  // notifications included.
  board::SetMessagePump([this] { view_.RunPendingEvents(); });
  imaging::RemoveStaleTemporaries(platform::PathFromUtf8(settings_.save_folder),
                                  platform::Clock()->WallNow());
  target_ = target;
  // The worker is made halted; it runs once the board's lock is held.
  if (!DriverInit(target_)) return false;
  board::OfferSetting(settings_.format, settings_.save_folder);
  started_ = true;
  if (options.collect_at_start) KeepCollecting();
  return true;
}

// Without a loaded table the layout's texts stay.
void ToolbarController::ApplyTexts() {
  if (!texts_.loc_flg) return;
  view_.SetSettingsDialogTexts({texts_.caption_FormSetting, texts_.text_label_FilePath_SaveTo,
                                texts_.text_label_FileExt_SaveAs, texts_.text_radioButton_FileExt_notcare,
                                texts_.text_label_Browse_Description});
  view_.SetToolTip(ToolbarButton::scan, texts_.tooltip_button_usb_scan);
  view_.SetToolTip(ToolbarButton::feed, texts_.tooltip_button_usb_feed);
  view_.SetToolTip(ToolbarButton::folder_open, texts_.tooltip_button_folder_open);
  view_.SetToolTip(ToolbarButton::help, texts_.text_help);
  view_.SetTrayItemText(TrayItem::help, texts_.text_help);
  view_.SetTrayItemText(TrayItem::show, texts_.text_ToolStripMenuItem_showToolbar);
  view_.SetToolTip(ToolbarButton::setting_open, texts_.tooltip_button_setting_open);
  view_.SetTrayItemText(TrayItem::exit, texts_.text_ToolStripMenuItem_close);
  view_.SetToolTip(ToolbarButton::close, texts_.tooltip_button_close);
}

void ToolbarController::OnSessionSwitch(int reason) {
  if (reason == kConsoleConnect) {
    session_away_ = false;
    if (collecting_) board::DriverOpen();
  }
  if (reason == kConsoleDisconnect) {
    session_away_ = true;
    board::DriverClose();
  }
}

Collecting ToolbarController::KeepCollecting(bool tell) {
  if (!started_ || shut_down_ || session_away_) return Collecting::no_board;
  TakeOutsideSettings();
  if (collecting_) {
    if (board::IsConnected() || board::GetFlgAppScan()) return Collecting::yes;
    // Gone between operations: a board that comes must be locked first.
    board::DriverClose();
    collecting_ = false;
  }
  switch (collector_lock_.ClaimPresentBoard()) {
    case board::CollectorLock::Claim::held:
      collecting_ = true;
      busy_told_ = false;
      // The worker goes on from where the board's last collector stopped.
      board::DriverSetPictureRecord(board::PictureRecordPath(collector_lock_.root()));
      board::DriverOpen();
      return Collecting::yes;
    case board::CollectorLock::Claim::taken:
      if (!busy_told_ || tell) {
        busy_told_ = true;
        // Shown without the text table too: the holder's name says enough.
        view_.ShowBalloon(Balloon::collector_busy, texts_.msg_collectorbusy + "\n" +
                                                       platform::DescribeHolder(collector_lock_.holder()));
      }
      return Collecting::busy;
    case board::CollectorLock::Claim::unavailable: return Collecting::unavailable;
    case board::CollectorLock::Claim::no_board:
      busy_told_ = false;  // a board plugged in again is a new refusal
      break;
  }
  return Collecting::no_board;
}

std::string ToolbarController::Shutdown(EndReason reason) {
  if (shut_down_) return {};
  shut_down_ = true;  // from here on notifications are ignored
  std::string unsaid;
  if (save_settings_at_exit_) {
    std::string failure = SaveSettings(reason == EndReason::exit);
    if (reason == EndReason::session_end) unsaid = std::move(failure);
  }
  StopBoardLink();
  return unsaid;
}

bool ToolbarController::TakeOutsideSettings() {
  if (!settings_read_ || shut_down_) return false;
  const auto now = platform::Clock()->Now();
  if (now - settings_polled_ < kSettingsPoll) return false;
  settings_polled_ = now;
  const settings::IniSettings ini = settings::ReadLayeredSettings().values;
  const ControllerSettings fresh{ini.Setting_SavePrm, ini.Setting_ImgSaveTo_FolderPath};
  if (fresh == *settings_read_) return false;
  // Only what the other program changed: a value this process changed and
  // has not written yet stays.
  if (fresh.format != settings_read_->format) settings_.format = fresh.format;
  if (fresh.save_folder != settings_read_->save_folder) settings_.save_folder = fresh.save_folder;
  settings_read_ = fresh;
  if (started_) board::OfferSetting(settings_.format, settings_.save_folder);
  return true;
}

std::string ToolbarController::SaveSettings(bool show_failure) {
  // The values are in force for this run whether or not the file could be
  // written; the user must know they will be lost at the next start.
  const ControllerSettings before = settings_read_.value_or(settings_);
  if (!settings::SaveChangedSettings({settings_.format, settings_.save_folder},
                                     {before.format, before.save_folder})) {
    std::string failure = texts_.msg_settingsaveerr + "\n" + settings::SettingFilePath();
    if (show_failure) view_.ShowMessageBox(failure);
    return failure;
  }
  if (settings_read_) settings_read_ = settings_;
  return {};
}

void ToolbarController::StopBoardLink() {
  if (!started_) return;
  started_ = false;
  board::DriverClose();
  // A notification the worker queued before the close waits for this thread;
  // let it run (it is ignored now) so the worker is not held up.
  view_.RunPendingEvents();
  board::DriverUninit();
  board::SetNewHandle(nullptr);
  board::SetMessagePump(nullptr);
}

}  // namespace tavlix::app
