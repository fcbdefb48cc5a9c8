#include <gtest/gtest.h>

#include <stdexcept>

#include "worker_loop_fixture.h"

namespace tavlix::board {
namespace {

using platform::Millis;
using test::Note;
using Notes = std::vector<Note>;

class WorkerLoop : public test::WorkerFixture {
 protected:
  // Runs n cycles, with the board releasing the folder before each.
  void CyclesReleased(int n) {
    for (int i = 0; i < n; ++i) {
      Release();
      worker_->RunCycle();
    }
  }
};

TEST_F(WorkerLoop, CommandIsHandedOverWithinOneCycleAndTheFolderHidden) {
  StartScan();
  EXPECT_EQ(worker_->RunCycle(), Millis(100));
  EXPECT_EQ(test::ReadBytes(Cmd() / "boardctrl.bin"), (std::vector<std::uint8_t>{1, 0x23, 0x45, 0x67, 0x12}));
  EXPECT_EQ(Link().WriteRequest.load(), kMailboxEmpty);
  EXPECT_EQ(target_.notes(), (Notes{{BOARD_PROGRESS, 0}}));
  EXPECT_TRUE(Hidden());
  // Next cycle the board still holds the folder: no exchange, no note.
  target_.clear();
  worker_->RunCycle();
  EXPECT_TRUE(target_.notes().empty());
}

TEST_F(WorkerLoop, FolderNeverReleasedTimesOutOnThe300thCycle) {
  StartScan(CMD_FEED);  // stall time-out not armed: only the folder counts
  Hide();
  for (int i = 0; i < 299; ++i) worker_->RunCycle();
  EXPECT_TRUE(target_.notes().empty());
  EXPECT_EQ(worker_->HiddenWaitCountValue(), 29900);
  worker_->RunCycle();
  EXPECT_EQ(target_.notes(), (Notes{{BOARD_JOB_END, 1}, {BOARD_PROGRESS, -1}, {BOARD_TIMEOUT, 1}}));
  EXPECT_FALSE(worker_->GetFlgAppScan());
  EXPECT_EQ(worker_->HiddenWaitCountValue(), 0);
  EXPECT_TRUE(std::filesystem::exists(Cmd())) << "the command stays queued; nothing was written";
}

TEST_F(WorkerLoop, MovingProgressNeverStallsButStandingProgressEndsAScan) {
  StartScan();
  for (int i = 1; i <= 400; ++i) {
    Progress(static_cast<std::size_t>(i % 90 + 1));
    CyclesReleased(1);
  }
  EXPECT_TRUE(ArgsOf(target_.notes(), BOARD_TIMEOUT).empty());
  EXPECT_EQ(worker_->StallCountValue(), 0);

  // The progress file now stays at one length. The first cycle still sees a
  // change (the last read moved it); then 300 standing cycles fire.
  target_.clear();
  CyclesReleased(300);
  EXPECT_TRUE(ArgsOf(target_.notes(), BOARD_TIMEOUT).empty());
  target_.clear();
  CyclesReleased(1);
  EXPECT_EQ(target_.notes(), (Notes{{BOARD_JOB_END, 1}, {BOARD_PROGRESS, -1}, {BOARD_TIMEOUT, 1}}))
      << "the cycle ends at the time-out: no progress note reopens the strip";
  EXPECT_FALSE(Hidden()) << "no exchange ran after the time-out";
}

TEST_F(WorkerLoop, StallTimeoutWinsATieWithTheHiddenFolder) {
  StartScan();
  Hide();
  for (int i = 0; i < 299; ++i) worker_->RunCycle();
  target_.clear();
  worker_->RunCycle();
  EXPECT_EQ(ArgsOf(target_.notes(), BOARD_TIMEOUT).size(), 1u) << "one time-out, not two";
}

TEST_F(WorkerLoop, NewScanStartsWithAFreshStallCount) {
  StartScan();
  Progress(5);
  CyclesReleased(250);
  worker_->SetFlgAppScan(false);
  StartScan();
  CyclesReleased(250);
  EXPECT_TRUE(ArgsOf(target_.notes(), BOARD_TIMEOUT).empty());
}

TEST_F(WorkerLoop, BoardVanishingAtHalfProgressEndsTheOperationAtOnce) {
  StartScan();
  Progress(50);
  CyclesReleased(2);
  target_.clear();
  Unplug();
  EXPECT_EQ(worker_->RunCycle(), Millis(3000));
  EXPECT_EQ(target_.notes(),
            (Notes{{BOARD_LOST, 1}, {BOARD_DETACHED, 1}, {BOARD_JOB_END, 1}, {BOARD_PROGRESS, -1}}));
}

TEST_F(WorkerLoop, BoardVanishingLateIsToldAtTheSecondCycleWithoutItAndEachAbsenceHasItsOwnGrace) {
  StartScan();
  Progress(80);
  CyclesReleased(2);
  Unplug();
  target_.clear();
  EXPECT_EQ(worker_->RunCycle(), Millis(100));
  EXPECT_EQ(target_.notes(), (Notes{{BOARD_LOST, 1}}));
  Plug();  // back at once: the scan goes on
  CyclesReleased(1);
  EXPECT_TRUE(worker_->GetFlgAppScan());
  EXPECT_EQ(worker_->LostCountValue(), 0);
  Unplug();
  target_.clear();
  worker_->RunCycle();
  EXPECT_TRUE(ArgsOf(target_.notes(), BOARD_DETACHED).empty());
  EXPECT_EQ(worker_->RunCycle(), Millis(3000));
  EXPECT_EQ(target_.notes(),
            (Notes{{BOARD_LOST, 1}, {BOARD_DETACHED, 1}, {BOARD_JOB_END, 1}, {BOARD_PROGRESS, -1}}));
  EXPECT_EQ(worker_->LostCountValue(), 0);
}

TEST_F(WorkerLoop, SixtyPercentIsNotEnoughForGrace) {
  StartScan();
  Progress(60);
  CyclesReleased(2);
  Unplug();
  target_.clear();
  worker_->RunCycle();
  EXPECT_EQ(ArgsOf(target_.notes(), BOARD_DETACHED).size(), 1u);
}

TEST_F(WorkerLoop, UnpluggedWhileIdleOnlyReportsTheLossAndSlowsDown) {
  worker_->RunCycle();
  Unplug();
  EXPECT_EQ(worker_->RunCycle(), Millis(3000));
  EXPECT_EQ(worker_->RunCycle(), Millis(3000));
  EXPECT_EQ(target_.notes(), (Notes{{BOARD_LOST, 1}}));
  Plug();
  EXPECT_EQ(worker_->RunCycle(), Millis(100));
  EXPECT_EQ(target_.notes(), (Notes{{BOARD_LOST, 1}, {BOARD_FOUND, kBoardFound}}));
}

TEST_F(WorkerLoop, MissingCommandFolderIsCreatedThenUsedNextCycle) {
  std::filesystem::remove_all(Cmd());
  StartScan();
  EXPECT_EQ(worker_->RunCycle(), Millis(1000));
  EXPECT_TRUE(std::filesystem::is_directory(Cmd()));
  EXPECT_TRUE(target_.notes().empty());
  worker_->RunCycle();
  EXPECT_TRUE(std::filesystem::exists(Cmd() / "boardctrl.bin"));
}

TEST_F(WorkerLoop, CommandFileThatCannotBeOpenedIsReportedAndTheMailboxCleared) {
  std::filesystem::create_directory(Cmd() / "boardctrl.bin");  // a folder in its place
  StartScan();
  worker_->RunCycle();
  EXPECT_EQ(target_.codes(), (std::vector<int>{BOARD_ERR_OTHER, BOARD_PROGRESS}));
  EXPECT_EQ(Link().WriteRequest.load(), kMailboxEmpty);
}

TEST_F(WorkerLoop, AFailingStepIsReportedOnceUntilACycleCompletes) {
  int failures = 3;
  worker_->exchange_probe = [&] {
    if (failures > 0) {
      --failures;
      throw std::runtime_error("device went away");
    }
  };
  StartScan();
  for (int i = 0; i < 3; ++i) EXPECT_EQ(worker_->RunGuardedCycle(), Millis(100));
  EXPECT_EQ(target_.codes(), (std::vector<int>{BOARD_ERR_OTHER}));
  EXPECT_EQ(Link().WriteRequest.load(), kMailboxWaiting) << "the command was not lost";
  worker_->RunGuardedCycle();  // clean
  failures = 1;
  worker_->RunGuardedCycle();
  EXPECT_EQ(ArgsOf(target_.notes(), BOARD_ERR_OTHER).size(), 2u);
}

TEST_F(WorkerLoop, ResultErrorIsReportedAfterProgressAndTheFilesRemoved) {
  StartScan();
  CyclesReleased(1);
  Progress(30);
  test::WriteBytes(Cmd() / "result.bin", std::vector<std::uint8_t>{1, 0x23, 0x45, 0x67, 3, 3});
  target_.clear();
  CyclesReleased(1);
  EXPECT_EQ(target_.notes(), (Notes{{BOARD_PROGRESS, 30}, {BOARD_ERR_FL, 1}}));
  EXPECT_FALSE(std::filesystem::exists(Cmd() / "result.bin"));
  EXPECT_FALSE(std::filesystem::exists(Cmd() / "progress.bin"));
}

TEST_F(WorkerLoop, SetFlgAppScanSendsOnlyOnChanges) {
  worker_->SetFlgAppScan(false);
  worker_->SetFlgAppScan(true);
  worker_->SetFlgAppScan(true);
  worker_->SetFlgAppScanTimeout(true);
  worker_->SetFlgAppScan(false);
  worker_->SetFlgAppScan(false);
  EXPECT_EQ(target_.notes(), (Notes{{BOARD_JOB_BEGIN, 1}, {BOARD_JOB_END, 1}, {BOARD_PROGRESS, -1}}));

  // A handler that ends the operation again while the end is being announced
  // does not announce it twice.
  target_.clear();
  worker_->SetFlgAppScan(true);
  target_.on_note = [&](const Note& n) {
    if (n.code == BOARD_JOB_END) worker_->SetFlgAppScan(false);
  };
  worker_->SetFlgAppScan(false);
  EXPECT_EQ(target_.notes(), (Notes{{BOARD_JOB_BEGIN, 1}, {BOARD_JOB_END, 1}, {BOARD_PROGRESS, -1}}));
}

TEST_F(WorkerLoop, PictureStoredWhileIdleIsCopiedAtTheNextCycle) {
  worker_->RunCycle();
  // Not really a PNG, but it ends as a whole one does, so it is taken at once.
  test::WriteFile(board_ / "scan0001.png", std::string("not really a png\0\0\0\0IEND\xAE\x42\x60\x82", 28));
  worker_->RunCycle();
  const auto codes = target_.codes();
  ASSERT_EQ(codes.size(), 1u);
  EXPECT_TRUE(codes[0] == BOARD_IMAGE_SAVED || codes[0] == BOARD_SAVE_FAILED);
  target_.clear();
  worker_->RunCycle();
  EXPECT_TRUE(target_.notes().empty()) << "a picture is taken once";
}

}  // namespace
}  // namespace tavlix::board
