// The controller's reactions to the board link's notifications.
#include <gtest/gtest.h>

#include "board/command_files.h"
#include "board/notify.h"
#include "controller_fixture.h"
#include "support/odd_files.h"

namespace tavlix::test {
namespace {

using app::ProgressStrip;

class Notifications : public ControllerTest {
 protected:
  static int LastStatus() {
    board::TResultFile result;
    board::GetLastResult(result);
    return result.Status;
  }
};

TEST_F(Notifications, ProgressUncoversTheStripBelowTheBodyAndCoversItAgain) {
  EXPECT_EQ(view_.strips, (std::vector<ProgressStrip>{{0, 80, 0, false}})) << "covered at start-up";
  Notify(board::BOARD_PROGRESS, 50);
  EXPECT_EQ(view_.strips.back(), (ProgressStrip{50, 86, 105, true}));
  for (const int covered : {0, -1}) {
    Notify(board::BOARD_PROGRESS, 50);
    Notify(board::BOARD_PROGRESS, covered);
    EXPECT_EQ(view_.strips.back(), (ProgressStrip{covered, 80, 0, false})) << covered;
  }
}

TEST_F(Notifications, FullBarShowsForTwoHundredMillisecondsOfTheClockThenCovers) {
  Notify(board::BOARD_PROGRESS, 99);
  EXPECT_EQ(view_.strips.back().bar_width, 210);
  const auto slept = sandbox_.clock().TotalSlept();
  view_.strips.clear();
  Notify(board::BOARD_PROGRESS, 100);
  EXPECT_EQ(sandbox_.clock().TotalSlept() - slept, std::chrono::milliseconds(200));
  EXPECT_EQ(view_.strips, (std::vector<ProgressStrip>{{100, 86, 213, true}, {0, 80, 0, false}}));
  EXPECT_EQ(controller_.progress(), 0);
}

TEST_F(Notifications, JobEndRestoresTheButtonsOnlyWithTheBoard) {
  SetBoardPresent(true);
  Notify(board::BOARD_JOB_BEGIN);
  EXPECT_EQ(view_.Looks(), kDisabledLooks);
  Notify(board::BOARD_JOB_END);
  EXPECT_EQ(view_.Looks(), kReadyLooks);
  EXPECT_EQ(view_.strips.back(), (ProgressStrip{1, 86, 0, true}));  // argument 1: the strip shows, empty
  Notify(board::BOARD_PROGRESS, -1);
  EXPECT_EQ(view_.strips.back().window_height, 80);

  SetBoardPresent(false);
  Notify(board::BOARD_JOB_BEGIN);
  Notify(board::BOARD_JOB_END);
  EXPECT_EQ(view_.Looks(), kDisabledLooks);
}

TEST_F(Notifications, BoardFoundAndLostSwitchTheLookAndNameTheBoard) {
  WriteFile(sandbox_.dir() / "drives", "A removable - " + SystemRoot("/a") + "\nC fixed System " +
                                           SystemRoot("/") + "\nE removable R-71 " + SystemRoot("/board") +
                                           "\n");
  Notify(board::BOARD_LOST);
  EXPECT_EQ(view_.Looks(), kDisabledLooks);
  Notify(board::BOARD_FOUND, 33);
  EXPECT_EQ(view_.Looks(), kReadyLooks);
  EXPECT_EQ(view_.balloons, (std::vector<std::string>{"Detect tavlix.\ndevice:R-71\ndrive:E"}));
}

TEST_F(Notifications, SavedAndFailedShowBalloonsForgetTheResultAndEndTheOperation) {
  board::Link().ResultFile.Status = 3;
  Notify(board::BOARD_IMAGE_SAVED);
  EXPECT_EQ(LastStatus(), 0);
  EXPECT_EQ(controller_.outcome(), app::Outcome::saved);
  controller_.ResetOutcome();
  board::Link().ResultFile.Status = 3;
  Notify(board::BOARD_SAVE_FAILED);
  EXPECT_EQ(LastStatus(), 0);
  EXPECT_EQ(controller_.outcome(), app::Outcome::save_failed);
  // The failed picture is saved after all: it counts once, as saved.
  Notify(board::BOARD_IMAGE_SAVED, board::kSavedAfterFailure);
  EXPECT_EQ(view_.balloons, (std::vector<std::string>{"Image file saved.", "Save failed.",
                                                      "Saved after all: Image file saved."}));
  EXPECT_TRUE(view_.boxes.empty());
  EXPECT_EQ(controller_.pictures_saved(), 2);
  EXPECT_EQ(controller_.pictures_failed(), 0);
}

TEST_F(Notifications, EveryErrorCodeShowsItsTextAndOtherCodesChangeNothing) {
  const std::pair<int, const char*> errors[] = {
      {board::BOARD_BUSY, "No response from the Pictavon."},
      {board::BOARD_ERR_E1, "(E1 ERROR)Printer error."},
      {board::BOARD_ERR_E2, "(E2 ERROR)Cannot recognize the USB memory device."},
      {board::BOARD_ERR_E3, "(E3 ERROR)Cannot save to the USB memory device."},
      {board::BOARD_ERR_E4, "(E4 ERROR)Read error."},
      {board::BOARD_ERR_E5, "(E5 ERROR)Internal error."},
      {board::BOARD_ERR_E6, "(E6 ERROR)Cannot found page boundary."},
      {board::BOARD_ERR_US, "(US ERROR)No USB memory device."},
      {board::BOARD_ERR_FL, "(FL ERROR)The USB memory device is full."},
      {board::BOARD_ERR_EL, "(EL ERROR)This printer is not supported."},
      {board::BOARD_TIMEOUT, "Obtaining annotated image failed"},
      {board::BOARD_DETACHED, "Interrupted data communications."},
      {board::BOARD_ERR_OTHER, "ERROR"},
  };
  for (const auto& [code, text] : errors) {
    view_.boxes.clear();
    board::Link().ResultFile.Status = 3;
    bool cleared_before_box = false;
    view_.on_box = [&] { cleared_before_box = LastStatus() == 0; };
    Notify(code);
    EXPECT_EQ(view_.boxes, (std::vector<std::string>{text})) << board::BoardNotifyName(code);
    EXPECT_TRUE(cleared_before_box) << board::BoardNotifyName(code);
  }
  view_.on_box = nullptr;

  view_.boxes.clear();
  SetBoardPresent(true);
  Notify(board::BOARD_LOST);
  Notify(board::BOARD_PROGRESS, 40);
  const auto strips = view_.strips.size();
  for (const int code : {0, 9, 22, 100, -1}) Notify(code);
  EXPECT_EQ(view_.Looks(), kDisabledLooks);
  EXPECT_EQ(view_.strips.size(), strips);
  EXPECT_TRUE(view_.boxes.empty());
  EXPECT_TRUE(view_.balloons.empty());
}

TEST(OutcomeOfCode, EveryCodeThatEndsAnOperationSaysHow) {
  using app::Outcome;
  EXPECT_EQ(app::OutcomeOfCode(board::BOARD_IMAGE_SAVED), Outcome::saved);
  EXPECT_EQ(app::OutcomeOfCode(board::BOARD_SAVE_FAILED), Outcome::save_failed);
  EXPECT_EQ(app::OutcomeOfCode(board::BOARD_TIMEOUT), Outcome::timed_out);
  EXPECT_EQ(app::OutcomeOfCode(board::BOARD_DETACHED), Outcome::detached);
  for (const int code : {board::BOARD_BUSY, board::BOARD_ERR_E1, board::BOARD_ERR_EL, board::BOARD_ERR_OTHER})
    EXPECT_EQ(app::OutcomeOfCode(code), Outcome::board_error) << code;
  for (const int code : {0, board::BOARD_LOST, board::BOARD_FOUND, board::BOARD_JOB_BEGIN,
                         board::BOARD_JOB_END, board::BOARD_PROGRESS, 9, 22})
    EXPECT_EQ(app::OutcomeOfCode(code), std::nullopt) << code;
}

class WithoutTextTable : public ControllerTest {
 protected:
  WithoutTextTable() : ControllerTest(false) {}
};

TEST_F(WithoutTextTable, LayoutTextsStayAndNoBalloonIsShown) {
  EXPECT_FALSE(controller_.texts().loc_flg);
  EXPECT_TRUE(view_.tool_tips.empty());
  EXPECT_TRUE(view_.tray_texts.empty());
  Notify(board::BOARD_FOUND, 1);
  Notify(board::BOARD_IMAGE_SAVED);
  EXPECT_TRUE(view_.balloons.empty());
  EXPECT_EQ(view_.Looks(), kReadyLooks);
}

}  // namespace
}  // namespace tavlix::test
