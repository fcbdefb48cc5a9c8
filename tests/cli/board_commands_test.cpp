// The command line's board commands, run in-process against the simulated
// board on real folders, in compressed time.
#include <gtest/gtest.h>


#include "board/driver_facade.h"
#include "cli/command_line.h"
#include "cli_run.h"
#include "cli/interrupt.h"
#include "platform/clock.h"
#include "platform/drives.h"
#include "platform/environment.h"
#include "sim/sim_board.h"
#include "support/temp_dir.h"

namespace tavlix::cli {
namespace {

namespace fs = std::filesystem;

class BoardCommands : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetDriverForTests();
    ClearInterruptForTests();
    test::WriteFile(table_, "C fixed System /\n");
    fs::create_directories(dir_ / "profile");
    sim::SimBoardOptions o;
    o.root = dir_ / "board";
    o.drive_table = table_;
    o.progress_steps = 3;
    o.step_pace = platform::Millis(100);
    o.picture.width = 80;
    o.picture.height = 40;
    board_ = std::make_unique<sim::SimBoard>(o);
  }
  void TearDown() override {
    board_->Stop();
    ResetDriverForTests();
  }
  void StartBoard() {
    board_->Plug();
    board_->Start(platform::Millis(20));
  }

  static CliRun Tavlix(std::vector<std::string> args) {
    CliRun run = cli::Tavlix(std::move(args));
    ResetDriverForTests();  // one link a process; the next command gets a new one
    return run;
  }

  test::TempDir dir_;
  fs::path table_ = dir_ / "drives.txt";
  fs::path save_ = dir_ / "pictures";
  test::ScopedEnv table_env_{platform::kDriveTableVariable, table_.string()};
  test::ScopedEnv profile_env_{"AllUsersProfile", (dir_ / "profile").string()};
  platform::ScopedClock clock_{std::make_shared<platform::ScaledClock>(20)};
  std::unique_ptr<sim::SimBoard> board_;
};

TEST_F(BoardCommands, ScanSavesThePictureAndSaysWhere) {
  StartBoard();
  const CliRun run = Tavlix({"scan", "--format", "jpeg", "--save-to", save_.string()});
  EXPECT_EQ(run.status, kExitOk) << run.out << run.err;
  EXPECT_NE(run.out.find("progress 100%"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("saved " + save_.string() + "/"), std::string::npos) << run.out;
  std::vector<fs::path> files;
  for (const auto& e : fs::directory_iterator(save_)) files.push_back(e.path());
  ASSERT_EQ(files.size(), 1u);
  EXPECT_EQ(files[0].extension(), ".jpg");
}

TEST_F(BoardCommands, ScanWithoutABoardSaysSoAndExitsWithNoBoard) {
  const CliRun run = Tavlix({"scan", "--save-to", save_.string()});
  EXPECT_EQ(run.status, kExitNoBoard);
  EXPECT_FALSE(run.err.empty());
}

TEST_F(BoardCommands, BoardErrorsAndTimeOutsHaveTheirExitStatusAndText) {
  StartBoard();
  board_->SetNextFault({sim::FaultKind::error, 3, {}});
  CliRun run = Tavlix({"scan", "--save-to", save_.string()});
  EXPECT_EQ(run.status, 6);
  EXPECT_NE(run.err.find("(FL ERROR)The USB memory device is full."), std::string::npos) << run.err;

  board_->SetNextFault({sim::FaultKind::never_release, 0, {}});
  run = Tavlix({"scan", "--save-to", save_.string()});
  EXPECT_EQ(run.status, kExitTimeout) << run.err;
}

TEST_F(BoardCommands, FeedHandsTheCommandOver) {
  StartBoard();
  const CliRun run = Tavlix({"feed"});
  EXPECT_EQ(run.status, kExitOk) << run.err;
  for (int i = 0; i < 200 && board_->feeds() == 0; ++i) platform::SleepFor(platform::Millis(20));
  EXPECT_EQ(board_->feeds(), 1);
}

TEST_F(BoardCommands, StatusTellsModelDriveAndTurn) {
  EXPECT_EQ(Tavlix({"status"}).status, kExitNoBoard);
  board_->Plug();
  fs::create_directories(dir_ / "board" / "cmd");
  const CliRun run = Tavlix({"status"});
  EXPECT_EQ(run.status, kExitOk);
  EXPECT_NE(run.out.find("Board R-61 on " + (dir_ / "board").string() + "/"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("visible (the computer's turn)"), std::string::npos) << run.out;
}

TEST_F(BoardCommands, BadOptionsAreUsageErrors) {
  EXPECT_EQ(Tavlix({"scan", "--format", "gif"}).status, kExitUsage);
  EXPECT_EQ(Tavlix({"scan", "--bogus"}).status, kExitUsage);
  EXPECT_EQ(Tavlix({"simulate", "--root", "/x"}).status, kExitUsage);
  EXPECT_EQ(Tavlix({"demo", "--fault", "wobble"}).status, kExitUsage);
  EXPECT_EQ(Tavlix({"scan", "--help"}).status, kExitOk);
}

TEST_F(BoardCommands, DemoRunsAWholeScanAndCleansUp) {
  const CliRun run = Tavlix({"demo", "--save-to", save_.string(), "--steps", "2", "--pace", "50"});
  EXPECT_EQ(run.status, kExitOk) << run.out << run.err;
  EXPECT_NE(run.out.find("board: scan command received"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("Demo finished: the picture is in " + save_.string()), std::string::npos);
  EXPECT_EQ(std::distance(fs::directory_iterator(save_), fs::directory_iterator()), 1);
  EXPECT_EQ(platform::GetEnv(platform::kDriveTableVariable), table_.string()) << "environment restored";
}

}  // namespace
}  // namespace tavlix::cli
