// The toolbar's reactions to the board link's notifications.
#include <gtest/gtest.h>

#include <QSystemTrayIcon>

#include "board/command_files.h"
#include "board/link_state.h"
#include "board/notify.h"
#include "support/temp_dir.h"
#include "ui/form1.h"
#include "ui/image_button.h"
#include "ui_fixture.h"

namespace tavlix::test {
namespace {

using TavlixSoft::Form1;

class Notifications : public ToolbarTest {
 protected:
  void SetUp() override {
    form_ = MakeForm();
    form_->Loc = DefaultTexts();
  }

  // Scan and Feed / Stop: their pictures and whether they are enabled.
  std::vector<int> Looks() const {
    return {form_->button_usb_scan->bitmap(), form_->button_usb_scan->isEnabled() ? 1 : 0,
            form_->button_usb_feed->bitmap(), form_->button_usb_feed->isEnabled() ? 1 : 0};
  }
  static int LastStatus() {
    TResultFile result;
    GetLastResult(result);
    return result.Status;
  }
  bool StripUncovered() const { return form_->pictureBox_progress_bg->autoFillBackground(); }

  std::unique_ptr<Form1> form_;
  const std::vector<int> ready_{113, 1, 117, 1};
  const std::vector<int> disabled_{112, 0, 116, 0};
};

TEST_F(Notifications, ProgressStripUncoversBelowTheBodyAndCoversAgain) {
  form_->RenewProgress();
  EXPECT_EQ(form_->size(), QSize(217, 80));
  EXPECT_FALSE(StripUncovered());
  EXPECT_EQ(form_->pictureBox_progress_bar->geometry(), QRect(2, 80, 0, 5));

  const QPoint where = form_->pos();
  form_->WndProc(BOARD_PROGRESS, 50);
  EXPECT_EQ(form_->size(), QSize(217, 86));
  EXPECT_EQ(form_->pictureBox_progress_bar->geometry(), QRect(2, 80, 105, 5));
  EXPECT_TRUE(StripUncovered());
  EXPECT_EQ(form_->pictureBox_progress_bg->palette().color(QPalette::Window), QColor(Qt::white));
  EXPECT_EQ(form_->pictureBox_progress_bar->palette().color(QPalette::Window), QColor(0, 0, 255));
  EXPECT_EQ(form_->pos(), where);  // grows at its bottom edge

  for (const int covered : {0, -1}) {
    form_->WndProc(BOARD_PROGRESS, 50);
    form_->WndProc(BOARD_PROGRESS, covered);
    EXPECT_EQ(form_->height(), 80) << covered;
    EXPECT_EQ(form_->pictureBox_progress_bar->width(), 0) << covered;
    EXPECT_FALSE(StripUncovered()) << covered;
  }
}

TEST_F(Notifications, FullBarShowsForTwoHundredMillisecondsOfTheClockThenCovers) {
  form_->WndProc(BOARD_PROGRESS, 99);
  EXPECT_EQ(form_->pictureBox_progress_bar->width(), 210);
  const auto slept = sandbox_.clock().TotalSlept();
  // The pause runs on the program's clock.
  form_->WndProc(BOARD_PROGRESS, 100);
  EXPECT_EQ(sandbox_.clock().TotalSlept() - slept, std::chrono::milliseconds(200));
  EXPECT_EQ(form_->progress_save, 0);
  EXPECT_EQ(form_->height(), 80);
  EXPECT_EQ(form_->pictureBox_progress_bar->width(), 0);
  EXPECT_FALSE(StripUncovered());
}

TEST_F(Notifications, JobEndAndProgressEndRestoreTheButtonsOnlyWithTheBoard) {
  SetBoardPresent(true);
  form_->WndProc(BOARD_JOB_BEGIN, 1);
  EXPECT_EQ(Looks(), disabled_);
  form_->WndProc(BOARD_JOB_END, 1);
  EXPECT_EQ(Looks(), ready_);
  EXPECT_EQ(form_->height(), 86);  // argument 1: the strip shows, empty
  EXPECT_EQ(form_->pictureBox_progress_bar->width(), 0);
  form_->WndProc(BOARD_PROGRESS, -1);
  EXPECT_EQ(form_->height(), 80);

  SetBoardPresent(false);
  form_->WndProc(BOARD_JOB_BEGIN, 1);
  form_->WndProc(BOARD_JOB_END, 1);
  EXPECT_EQ(Looks(), disabled_);
}

TEST_F(Notifications, BoardFoundAndLostSwitchTheLookAndNameTheBoard) {
  WriteFile(sandbox_.dir() / "drives", "A removable - /a\nC fixed System /\nE removable R-71 /board\n");
  form_->WndProc(BOARD_LOST, 1);
  EXPECT_EQ(Looks(), disabled_);
  form_->WndProc(BOARD_FOUND, 33);
  EXPECT_EQ(Looks(), ready_);
  EXPECT_EQ(presenter_.balloons, (std::vector<std::string>{"Detect tavlix.\ndevice:R-71\ndrive:E"}));

  // Without the text table: the buttons come back, no balloon.
  form_->Loc = {};
  form_->WndProc(BOARD_LOST, 1);
  form_->WndProc(BOARD_FOUND, 33);
  EXPECT_EQ(Looks(), ready_);
  EXPECT_EQ(presenter_.balloons.size(), 1u);
}

TEST_F(Notifications, SavedAndFailedShowBalloonsAndForgetTheResult) {
  Link().ResultFile.Status = 3;
  form_->WndProc(BOARD_IMAGE_SAVED, 1);
  EXPECT_EQ(LastStatus(), 0);
  Link().ResultFile.Status = 3;
  form_->WndProc(BOARD_SAVE_FAILED, 1);
  EXPECT_EQ(LastStatus(), 0);
  EXPECT_EQ(presenter_.balloons, (std::vector<std::string>{"Image file saved.", "Save failed."}));
  EXPECT_TRUE(presenter_.boxes.empty());

  form_->Loc.loc_flg = false;
  form_->WndProc(BOARD_IMAGE_SAVED, 1);
  EXPECT_EQ(presenter_.balloons.size(), 2u);
}

TEST_F(Notifications, EveryErrorCodeShowsItsTextAndOtherCodesChangeNothing) {
  const std::pair<int, const char*> errors[] = {
      {BOARD_BUSY, "No response from the Pictavon."},
      {BOARD_ERR_E1, "(E1 ERROR)Printer error."},
      {BOARD_ERR_E2, "(E2 ERROR)Cannot recognize the USB memory device."},
      {BOARD_ERR_E3, "(E3 ERROR)Cannot save to the USB memory device."},
      {BOARD_ERR_E4, "(E4 ERROR)Read error."},
      {BOARD_ERR_E5, "(E5 ERROR)Internal error."},
      {BOARD_ERR_E6, "(E6 ERROR)Cannot found page boundary."},
      {BOARD_ERR_US, "(US ERROR)No USB memory device."},
      {BOARD_ERR_FL, "(FL ERROR)The USB memory device is full."},
      {BOARD_ERR_EL, "(EL ERROR)This printer is not supported."},
      {BOARD_TIMEOUT, "Obtaining annotated image failed"},
      {BOARD_DETACHED, "Interrupted data communications."},
      {BOARD_ERR_OTHER, "ERROR"},
  };
  for (const auto& [code, text] : errors) {
    presenter_.boxes.clear();
    Link().ResultFile.Status = 3;
    bool cleared_before_box = false;
    presenter_.on_box = [&] { cleared_before_box = LastStatus() == 0; };
    form_->WndProc(code, 1);
    EXPECT_EQ(presenter_.boxes, (std::vector<std::string>{text})) << BoardNotifyName(code);
    EXPECT_TRUE(cleared_before_box) << BoardNotifyName(code);
  }

  presenter_.boxes.clear();
  SetBoardPresent(true);
  form_->WndProc(BOARD_LOST, 1);
  form_->WndProc(BOARD_PROGRESS, 40);
  for (const int code : {0, 9, 22, 100, -1}) form_->WndProc(code, 1);
  EXPECT_EQ(Looks(), disabled_);
  EXPECT_EQ(form_->height(), 86);
  EXPECT_TRUE(presenter_.boxes.empty());
  EXPECT_TRUE(presenter_.balloons.empty());
}

}  // namespace
}  // namespace tavlix::test
