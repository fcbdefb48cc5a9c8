// The controller's side of the board link's notifications: button looks,
// balloons, error boxes and the progress strip.
#include <chrono>

#include "app/detection_text.h"
#include "app/notification_table.h"
#include "app/toolbar_controller.h"
#include "board/command_files.h"
#include "board/driver_facade.h"
#include "platform/clock.h"
#include "platform/drives.h"

namespace tavlix::app {

void ToolbarController::OnBoardNotify(int code, std::intptr_t arg) {
  if (shut_down_) return;
  switch (code) {
    case board::BOARD_IMAGE_SAVED:
      ++pictures_saved_;
      // Each picture counts once, by how it ended: one told failed and then
      // saved is said to be saved after all.
      if (arg == board::kSavedAfterFailure && pictures_failed_ > 0) --pictures_failed_;
      ShowBalloon(Balloon::picture_saved, arg == board::kSavedAfterFailure
                                              ? std::string(kSavedAfterAllText) + texts_.message_imagesave
                                              : texts_.message_imagesave);
      EndOperation(Outcome::saved);
      break;
    case board::BOARD_LOST:
    case board::BOARD_JOB_BEGIN: SetDisabledLook(); break;
    case board::BOARD_FOUND:
      SetReadyLook();
      if (texts_.loc_flg)
        ShowBalloon(Balloon::board_found, DetectionText(arg, texts_, platform::ListDrives()));
      break;
    case board::BOARD_JOB_END:
      if (board::IsConnected()) SetReadyLook();
      progress_save_ = static_cast<int>(arg);
      RenewProgress();
      break;
    case board::BOARD_PROGRESS:
      progress_save_ = static_cast<int>(arg);
      RenewProgress();
      break;
    case board::BOARD_SAVE_FAILED:
      ++pictures_failed_;
      ShowBalloon(Balloon::save_failed, texts_.message_savefail);
      EndOperation(Outcome::save_failed);
      break;
    default:
      if (const std::string* text = ErrorBoxText(texts_, code)) {
        // The last result is forgotten before the box; the operation ends
        // only when the user has closed it.
        board::CleanResult();
        if (const auto outcome = OutcomeOfCode(code); outcome && outcome_ == Outcome::none)
          outcome_ = *outcome;
        view_.ShowMessageBox(*text);
        board::SetFlgAppScan(false);
      }
      break;
  }
}

void ToolbarController::EndOperation(Outcome outcome) {
  if (outcome_ == Outcome::none) outcome_ = outcome;
  board::CleanResult();
  board::SetFlgAppScan(false);
}

void ToolbarController::RenewProgress() {
  if (progress_save_ >= 100) {
    view_.ShowProgress(ProgressStripFor(progress_save_));
    platform::SleepFor(std::chrono::milliseconds(200));
    progress_save_ = 0;
  }
  view_.ShowProgress(ProgressStripFor(progress_save_));
}

void ToolbarController::SetEnabled(ToolbarButton button, bool enabled) {
  enabled_[static_cast<int>(button)] = enabled;
  view_.SetButtonEnabled(button, enabled);
}

bool ToolbarController::button_enabled(ToolbarButton button) const {
  return enabled_[static_cast<int>(button)];
}

void ToolbarController::SetDisabledLook() {
  for (const ToolbarButton button : {ToolbarButton::scan, ToolbarButton::feed}) {
    view_.SetButtonPicture(button, BitmapsOf(button).disabled);
    SetEnabled(button, false);
  }
}

void ToolbarController::SetReadyLook() {
  for (const ToolbarButton button : {ToolbarButton::scan, ToolbarButton::feed}) {
    view_.SetButtonPicture(button, BitmapsOf(button).normal);
    SetEnabled(button, true);
  }
}

// Balloons use the text table; without it they are not shown.
void ToolbarController::ShowBalloon(Balloon kind, const std::string& text) {
  if (texts_.loc_flg) view_.ShowBalloon(kind, text);
}

}  // namespace tavlix::app
