// The command line's board commands, run in-process against the simulated
// board on real folders, in compressed time.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <mutex>
#include <sstream>
#include <thread>

#include "board/collector_lock.h"
#include "board/drive_discovery.h"
#include "board/driver_facade.h"
#include "cli/command_line.h"
#include "cli/interrupt.h"
#include "cli_run.h"
#include "platform/clock.h"
#include "platform/drives.h"
#include "platform/environment.h"
#include "platform/known_folders.h"
#include "sim/sim_board.h"
#include "support/odd_files.h"
#include "support/temp_dir.h"
#include "support/time_compression.h"

namespace tavlix::cli {
namespace {

namespace fs = std::filesystem;

class BoardCommands : public ::testing::Test {
 protected:
  void SetUp() override {
    board::ResetDriverForTests();
    ClearInterruptForTests();
    test::WriteFile(table_, "C fixed System " + test::SystemRoot("/") + "\n");
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
    board::ResetDriverForTests();
  }
  void StartBoard() {
    board_->Plug();
    board_->Start(platform::Millis(20));
  }

  static CliRun Tavlix(std::vector<std::string> args) {
    CliRun run = cli::Tavlix(std::move(args));
    board::ResetDriverForTests();  // one link a process; the next command gets a new one
    return run;
  }

  test::TempDir dir_;
  fs::path table_ = dir_ / "drives.txt";
  fs::path save_ = dir_ / "pictures";
  test::ScopedEnv table_env_{platform::kDriveTableVariable, table_.string()};
  test::ScopedEnv profile_env_{"AllUsersProfile", (dir_ / "profile").string()};
  test::ScopedEnv user_data_env_{platform::kUserDataVariable, (dir_ / "profile").string()};
  platform::ScopedClock clock_{std::make_shared<platform::ScaledClock>(test::kTimeCompression)};
  std::unique_ptr<sim::SimBoard> board_;
};

TEST_F(BoardCommands, ScanSavesThePictureAndSaysWhere) {
  StartBoard();
  const CliRun run = Tavlix({"scan", "--format", "jpeg", "--save-to", save_.string()});
  EXPECT_EQ(run.status, kExitOk) << run.out << run.err;
  EXPECT_NE(run.out.find("progress 100%"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("saved " + (save_ / "").string()), std::string::npos) << run.out;
  std::vector<fs::path> files;
  for (const auto& e : fs::directory_iterator(save_)) files.push_back(e.path());
  ASSERT_EQ(files.size(), 1u);
  EXPECT_EQ(files[0].extension(), ".jpg");
}

TEST_F(BoardCommands, ScanWithoutABoardSaysSoAndExitsWithNoBoard) {
  // Also without the program data folder: the built-in text, not silence.
  const test::ScopedEnv no_data{"AllUsersProfile", (dir_ / "missing").string()};
  const test::ScopedEnv no_user_data{platform::kUserDataVariable, (dir_ / "missing").string()};
  const CliRun run = Tavlix({"scan", "--save-to", save_.string()});
  EXPECT_EQ(run.status, kExitNoBoard);
  EXPECT_NE(run.err.find("Obtaining annotated image failed"), std::string::npos) << run.err;
}

TEST_F(BoardCommands, ASaveFolderThatCannotTakePicturesIsRefusedBeforeTheBoardIsTouched) {
  StartBoard();
  test::WriteFile(dir_ / "file", "");
  for (const fs::path& folder :
       {dir_ / "board", dir_ / "board" / "new", dir_ / "file", dir_ / "no" / "new"}) {
    const CliRun run = Tavlix({"watch", "--save-to", folder.string()});
    EXPECT_EQ(run.status, kExitFailure) << folder;
    EXPECT_NE(run.err.find("Couldn't setup selected folder."), std::string::npos) << run.err;
  }
  EXPECT_FALSE(fs::exists(dir_ / "board" / "new"));
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
  EXPECT_NE(run.out.find("Board R-61 on " + (dir_ / "board" / "").string()), std::string::npos) << run.out;
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

class Collectors : public BoardCommands {
 protected:
  std::string BoardRoot() {
    std::string model, root;
    EXPECT_TRUE(board::GetTargetDrive(model, root));
    return root;
  }
  // Polls (for real, briefly) until `done`; false after ten seconds.
  template <typename Done>
  static bool Eventually(Done done) {
    for (int i = 0; i < 1000; ++i) {
      if (done()) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return done();
  }
};

TEST_F(Collectors, StartRemovesOnlyItsOwnStaleTemporaries) {
  fs::create_directories(save_);
  const auto old = fs::file_time_type::clock::now() - std::chrono::hours(1);
  const auto make = [&](const std::string& name, bool stale) {
    test::WriteFile(save_ / name, "partial");
    if (stale) fs::last_write_time(save_ / name, old);
  };
  make(".tavlix-4242-7-123456.part", true);  // a killed save: goes
  make(".tavlix-4243-0-99.part", false);     // another collector is writing it
  make(".tavlix-notes.part", true);          // not the saver's form
  make("scan.part", true);
  make("keep.png", true);
  test::WriteFile(dir_ / "outside.part", "the user's");
  fs::last_write_time(dir_ / "outside.part", old);
  const bool linked = test::MakeSymlink(dir_ / "outside.part", save_ / ".tavlix-1-2-3.part");

  EXPECT_EQ(Tavlix({"feed", "--save-to", save_.string()}).status, kExitNoBoard);
  std::set<std::string> left;
  for (const auto& entry : fs::directory_iterator(save_)) left.insert(entry.path().filename().string());
  std::set<std::string> kept{".tavlix-4243-0-99.part", ".tavlix-notes.part", "scan.part", "keep.png"};
  if (linked) kept.insert(".tavlix-1-2-3.part");  // a link is never followed nor removed
  EXPECT_EQ(left, kept);
  EXPECT_EQ(test::ReadText(dir_ / "outside.part"), "the user's");
}

TEST_F(Collectors, OneCollectorPerBoardEachNamingOnlyItsOwnPictures) {
  StartBoard();
  const std::string root = BoardRoot();
  {
    // The toolbar collects from this board: status says so, watch and scan refuse.
    platform::ProcessLock toolbar =
        platform::ProcessLock::TryTake(board::CollectorLockName(root), "TavlixConnect");
    ASSERT_TRUE(toolbar.held()) << toolbar.error();
    const std::string holder = "TavlixConnect (process " + std::to_string(::getpid()) + ")";
    EXPECT_NE(Tavlix({"status"}).out.find("Collector: " + holder), std::string::npos);
    const CliRun watch = Tavlix({"watch", "--save-to", save_.string()});
    EXPECT_EQ(watch.status, kExitCollectorBusy);
    EXPECT_EQ(watch.out.find("Watching"), std::string::npos) << "refused before it watches";
    EXPECT_NE(watch.err.find("collecting the pictures of the board:\n" + holder), std::string::npos)
        << watch.err;
    EXPECT_EQ(Tavlix({"scan", "--save-to", save_.string()}).status, kExitCollectorBusy);
    EXPECT_EQ(board_->scans_started(), 0);
  }
  EXPECT_NE(Tavlix({"status"}).out.find("Collector: none"), std::string::npos);

  // Alone on the board, watch saves a good picture, a damaged one fails (a
  // plain copy stays) and a file another program puts in the folder is not
  // reported as this one's.
  fs::create_directories(save_);
  // Only finished files: a save in flight shows as a hidden temporary.
  const auto count = [&] {
    return std::count_if(fs::directory_iterator(save_), fs::directory_iterator(),
                         [](const fs::directory_entry& e) { return e.path().filename().string()[0] != '.'; });
  };
  std::thread pictures([&] {
    if (!Eventually([&] { return board::BoardCollector(root).has_value(); })) return;
    test::WriteFile(save_ / "from-another-program.png", "x");
    board_->StorePicture();
    if (!Eventually([&] { return count() == 2; })) return;
    std::vector<std::uint8_t> damaged(4000, 0x55);
    damaged[0] = 0xFF, damaged[1] = 0xD8, damaged[2] = 0xFF, damaged[3] = 0xE0;
    damaged[3998] = 0xFF, damaged[3999] = 0xD9;
    test::WriteBytes(dir_ / "board" / "TV9000.jpg", damaged);
    Eventually([&] { return count() == 3; });
    board_->StorePicture();  // handled only after the failure was reported
    Eventually([&] { return count() == 4; });
    std::raise(SIGINT);
  });
  const CliRun watch = Tavlix({"watch", "--format", "png", "--save-to", save_.string()});
  pictures.join();
  EXPECT_EQ(count(), 4);
  EXPECT_EQ(watch.status, kExitSaveFailed) << watch.out << watch.err;
  EXPECT_NE(watch.out.find("saved " + (save_ / "").string()), std::string::npos) << watch.out;
  EXPECT_EQ(watch.out.find("from-another-program"), std::string::npos) << watch.out;
  EXPECT_NE(watch.out.find("1 failed."), std::string::npos) << watch.out;
}

// What a pipe's reader gets: only what the stream flushed.
class FlushedText : public std::stringbuf {
 public:
  std::string flushed() {
    std::lock_guard lock(mutex_);
    return flushed_;
  }

 protected:
  int sync() override {
    std::lock_guard lock(mutex_);
    flushed_ = str();
    return 0;
  }

 private:
  std::mutex mutex_;
  std::string flushed_;
};

TEST_F(Collectors, APictureSavedAfterItsFailureWasToldCountsAsSavedAndEachLineIsFlushed) {
  StartBoard();
  const std::string root = BoardRoot();
  fs::create_directories(save_);
  FlushedText out_buffer;
  FlushedText err_buffer;
  std::ostream out(&out_buffer), err(&err_buffer);
  std::thread pictures([&] {
    if (!Eventually([&] { return board::BoardCollector(root).has_value(); })) return;
    // The folder is away for a moment when the picture comes.
    fs::rename(save_, dir_ / "away");
    test::WriteFile(save_, "not a folder");
    board_->StorePicture();
    Eventually([&] { return err_buffer.flushed().find("Save failed.") != std::string::npos; });
    fs::remove(save_);
    fs::rename(dir_ / "away", save_);
    Eventually([&] { return out_buffer.flushed().find("saved after all: ") != std::string::npos; });
    std::raise(SIGINT);
  });
  const std::vector<std::string> args{"watch", "--format", "png", "--save-to", save_.string()};
  const int status = RunCommandLine(args, {out, err});
  pictures.join();
  const std::string text = out_buffer.str();
  EXPECT_EQ(status, kExitOk) << text << err_buffer.flushed();
  EXPECT_NE(text.find("saved after all: " + (save_ / "").string()), std::string::npos) << text;
  EXPECT_NE(text.find("1 picture(s) saved."), std::string::npos) << text;
}

}  // namespace
}  // namespace tavlix::cli
