// The toolbar's side of the board link's notifications: button looks,
// balloons, error boxes and the progress strip.
#include <QSystemTrayIcon>
#include <array>
#include <chrono>

#include "board/command_files.h"
#include "board/driver_facade.h"
#include "platform/clock.h"
#include "platform/drives.h"
#include "ui/detection_text.h"
#include "ui/form1.h"
#include "ui/image_button.h"
#include "ui/local_text.h"
#include "ui/presenter.h"
#include "ui/toolbar_geometry.h"

namespace TavlixSoft {
namespace {

using Text = std::string tavlix::settings::LocalisedTexts::*;
using tavlix::settings::LocalisedTexts;

// The error box text of each code from BOARD_BUSY (8) on; null: no box.
constexpr std::array<Text, 14> kErrorBoxTexts = {
    &LocalisedTexts::msg_statusbusy,  // 8 BOARD_BUSY
    nullptr,                          // 9
    &LocalisedTexts::msg_errore1,
    &LocalisedTexts::msg_errore2,
    &LocalisedTexts::msg_errore3,
    &LocalisedTexts::msg_errore4,
    &LocalisedTexts::msg_errore5,
    &LocalisedTexts::msg_errore6,
    &LocalisedTexts::msg_errorus,
    &LocalisedTexts::msg_errorfl,
    &LocalisedTexts::msg_errorel,
    &LocalisedTexts::msg_usbreturnerr,  // 19 BOARD_TIMEOUT
    &LocalisedTexts::msg_detatcherr,    // 20 BOARD_DETACHED
    &LocalisedTexts::msg_errorother,    // 21 BOARD_ERR_OTHER
};

Text ErrorBoxText(int code) {
  if (code < tavlix::BOARD_BUSY || code > tavlix::BOARD_ERR_OTHER) return nullptr;
  return kErrorBoxTexts[static_cast<std::size_t>(code - tavlix::BOARD_BUSY)];
}

void SetStripColour(QWidget* strip, bool white) {
  strip->setAutoFillBackground(white);
  strip->update();
}

}  // namespace

void Form1::WndProc(int wParam, std::intptr_t lParam) {
  if (disposed_) return;
  switch (wParam) {
    case tavlix::BOARD_IMAGE_SAVED:
      ShowBalloon(Loc.message_imagesave);
      tavlix::CleanResult();
      tavlix::SetFlgAppScan(false);
      break;
    case tavlix::BOARD_LOST:
    case tavlix::BOARD_JOB_BEGIN: SetDisabledLook(); break;
    case tavlix::BOARD_FOUND:
      SetReadyLook();
      if (Loc.loc_flg) ShowBalloon(DetectionText(lParam, Loc, tavlix::platform::ListDrives()));
      break;
    case tavlix::BOARD_JOB_END:
      if (tavlix::IsConnected()) SetReadyLook();
      progress_save = static_cast<int>(lParam);
      RenewProgress();
      break;
    case tavlix::BOARD_PROGRESS:
      progress_save = static_cast<int>(lParam);
      RenewProgress();
      break;
    case tavlix::BOARD_SAVE_FAILED:
      ShowBalloon(Loc.message_savefail);
      tavlix::CleanResult();
      tavlix::SetFlgAppScan(false);
      break;
    default:
      if (const Text text = ErrorBoxText(wParam)) ShowErrorBox(Loc.*text);
      break;
  }
}

void Form1::RenewProgress() {
  if (progress_save >= 100) {
    pictureBox_progress_bar->resize(kProgressStripWidth, pictureBox_progress_bar->height());
    pictureBox_progress_bar->repaint();
    tavlix::platform::SleepFor(std::chrono::milliseconds(200));
    progress_save = 0;
  }
  const int p = progress_save;
  SetStripColour(pictureBox_progress_bg, p > 0);
  setFixedSize(kToolbarWidth, ToolbarHeightFor(p));
  pictureBox_progress_bar->resize(ProgressBarWidth(p), pictureBox_progress_bar->height());
}

void Form1::SetDisabledLook() {
  button_usb_scan->SetBitmap(kScanBitmaps.disabled);
  button_usb_scan->setEnabled(false);
  button_usb_feed->SetBitmap(kFeedBitmaps.disabled);
  button_usb_feed->setEnabled(false);
}

void Form1::SetReadyLook() {
  button_usb_scan->SetBitmap(kScanBitmaps.normal);
  button_usb_scan->setEnabled(true);
  button_usb_feed->SetBitmap(kFeedBitmaps.normal);
  button_usb_feed->setEnabled(true);
}

void Form1::ShowBalloon(const std::string& text) {
  if (!Loc.loc_flg) return;
  presenter_.ShowBalloon(*notifyIcon1, FromLocal(text));
}

void Form1::ShowErrorBox(const std::string& text) {
  tavlix::CleanResult();
  ShowMessage(text);
  tavlix::SetFlgAppScan(false);
}

void Form1::ShowMessage(const std::string& text) {
  presenter_.ShowMessageBox(FromLocal(text));
}

}  // namespace TavlixSoft
