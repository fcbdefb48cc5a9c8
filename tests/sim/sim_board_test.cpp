#include "sim/sim_board.h"

#include <gtest/gtest.h>

#include "board/command_files.h"
#include "platform/attributes.h"
#include "platform/drive_table.h"
#include "platform/file_times.h"
#include "support/odd_files.h"
#include "support/temp_dir.h"

namespace tavlix::sim {
namespace {

namespace fs = std::filesystem;
using platform::Millis;

class SimBoardTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::WriteFile(table_, "C fixed System " + test::SystemRoot("/") + "\nE removable R-61 " +
                                test::SystemRoot("/old/place") + "\n");
    options_.root = dir_ / "board";
    options_.drive_table = table_;
    options_.progress_steps = 4;
    options_.step_pace = Millis(100);
    options_.picture.width = 64;
    options_.picture.height = 32;
    board_ = std::make_unique<SimBoard>(options_);
    board_->Plug();
    fs::create_directories(Cmd());
  }

  fs::path Cmd() const { return options_.root / "cmd"; }
  bool Hidden() const { return (platform::GetAttributes(Cmd()) & platform::kAttrHidden) != 0; }
  // The computer's side of one exchange: optionally a command, then hand over.
  void HandOver(std::optional<std::uint8_t> command = std::nullopt) {
    if (command)
      test::WriteBytes(Cmd() / "boardctrl.bin", std::vector<std::uint8_t>{1, 0x23, 0x45, 0x67, *command});
    ASSERT_TRUE(platform::SetAttributes(Cmd(), platform::kAttrHidden));
  }
  // Runs one exchange after `pace` of virtual time; returns the progress file length.
  std::optional<std::uintmax_t> Turn(std::optional<std::uint8_t> command = std::nullopt) {
    HandOver(command);
    clock_->Advance(Millis(100));
    board_->Step();
    std::error_code ec;
    const auto size = fs::file_size(Cmd() / "progress.bin", ec);
    return ec ? std::nullopt : std::optional<std::uintmax_t>(size);
  }
  std::vector<std::uint8_t> Result() { return test::ReadBytes(Cmd() / "result.bin"); }

  test::TempDir dir_;
  fs::path table_ = dir_ / "drives.txt";
  std::shared_ptr<platform::VirtualClock> clock_ = std::make_shared<platform::VirtualClock>();
  platform::ScopedClock scoped_{clock_};
  SimBoardOptions options_;
  std::unique_ptr<SimBoard> board_;
};

TEST_F(SimBoardTest, PlugReplacesItsOwnLineAndUnplugKeepsTheRest) {
  auto table = platform::LoadDriveTable(table_.string());
  ASSERT_EQ(table.drives.size(), 2u);
  EXPECT_EQ(table.drives[1].label, "R-61");
  EXPECT_EQ(table.drives[1].root, (options_.root / "").string());
  board_->Unplug();
  table = platform::LoadDriveTable(table_.string());
  ASSERT_EQ(table.drives.size(), 1u);
  EXPECT_EQ(table.drives[0].name, "C");
}

TEST_F(SimBoardTest, TakesItsTurnOnlyWhenTheFolderIsHandedOver) {
  test::WriteBytes(Cmd() / "boardctrl.bin", std::vector<std::uint8_t>{1, 0x23, 0x45, 0x67, board::CMD_SCAN});
  board_->Step();
  EXPECT_EQ(board_->scans_started(), 0) << "visible folder: the computer's turn";
  HandOver();
  board_->Step();
  EXPECT_EQ(board_->scans_started(), 1);
}

TEST_F(SimBoardTest, ScanGrowsProgressThenWritesResultAndStoresOnePicture) {
  EXPECT_FALSE(Turn(board::CMD_SCAN).has_value())
      << "the command is taken; the first step comes after the pace";
  EXPECT_FALSE(fs::exists(Cmd() / "boardctrl.bin"));
  EXPECT_FALSE(Hidden()) << "released for the next exchange";
  EXPECT_EQ(Turn(), 25u);
  EXPECT_EQ(Turn(), 50u);
  EXPECT_EQ(Turn(), 75u);
  EXPECT_TRUE(board_->pictures().empty());
  EXPECT_EQ(Turn(), 100u);
  const auto result = Result();
  ASSERT_EQ(result.size(), 19u);
  EXPECT_EQ(result[4], 0) << "status 0";
  ASSERT_EQ(board_->pictures().size(), 1u);
  EXPECT_TRUE(fs::exists(board_->pictures()[0]));
  EXPECT_EQ(board_->pictures()[0].extension(), ".png");
  EXPECT_EQ(board_->scans_finished(), 1);
  EXPECT_FALSE(board_->scanning());
}

TEST_F(SimBoardTest, FeedIsCountedAndNothingElseHappens) {
  Turn(board::CMD_FEED);
  EXPECT_EQ(board_->feeds(), 1);
  EXPECT_FALSE(board_->scanning());
}

TEST_F(SimBoardTest, ResultFaultsAnswerWithTheirStatusAndStoreNoPicture) {
  const struct {
    Fault fault;
    std::uint8_t b0, status, detail;
  } cases[] = {
      {{FaultKind::busy, 0, {}}, 0x01, 2, 0},
      {{FaultKind::error, 5, {}}, 0x01, 3, 5},
      {{FaultKind::unknown_status, 9, {}}, 0x01, 9, 0},
      {{FaultKind::bad_magic, 0, {}}, 0x76, 0, 0},
  };
  for (const auto& c : cases) {
    board_->SetNextFault(c.fault);
    Turn(board::CMD_SCAN);
    for (int i = 0; i < 4; ++i) Turn();
    const auto result = Result();
    ASSERT_EQ(result.size(), 19u) << DescribeFault(c.fault);
    EXPECT_EQ(result[0], c.b0);
    EXPECT_EQ(result[4], c.status);
    EXPECT_EQ(result[5], c.detail);
    fs::remove(Cmd() / "result.bin");
  }
  EXPECT_TRUE(board_->pictures().empty());
  // The fault was for one scan only.
  Turn(board::CMD_SCAN);
  for (int i = 0; i < 4; ++i) Turn();
  EXPECT_EQ(board_->pictures().size(), 1u);
}

TEST_F(SimBoardTest, NeverReleaseAndStallMisbehaveAsTold) {
  board_->SetNextFault({FaultKind::never_release, 0, {}});
  Turn(board::CMD_SCAN);
  EXPECT_TRUE(Hidden());

  board_ = std::make_unique<SimBoard>(options_);
  platform::SetAttributes(Cmd(), platform::kAttrNormal);
  board_->SetNextFault({FaultKind::stall, 30, {}});
  Turn(board::CMD_SCAN);
  EXPECT_EQ(Turn(), 25u);
  EXPECT_EQ(Turn(), 30u);
  EXPECT_EQ(Turn(), 30u);
  EXPECT_EQ(Turn(), 30u);
  EXPECT_TRUE(board_->scanning());
}

TEST_F(SimBoardTest, VanishingUnplugsAndComesBackAfterItsTime) {
  board_->SetNextFault({FaultKind::vanish, 50, Millis(1000)});
  Turn(board::CMD_SCAN);
  Turn();
  EXPECT_EQ(Turn(), 50u);  // reports 50 and stays for two more exchanges
  Turn();
  EXPECT_EQ(platform::LoadDriveTable(table_.string()).drives.size(), 2u);
  Turn();
  EXPECT_EQ(platform::LoadDriveTable(table_.string()).drives.size(), 1u);
  clock_->Advance(Millis(500));
  board_->Step();
  EXPECT_EQ(platform::LoadDriveTable(table_.string()).drives.size(), 1u);
  clock_->Advance(Millis(600));
  board_->Step();
  EXPECT_EQ(platform::LoadDriveTable(table_.string()).drives.size(), 2u);
}

TEST_F(SimBoardTest, BlockedCommandFolderIsMissingAndCannotBeMade) {
  if (!test::MakesLinksIn(dir_.path()))
    GTEST_SKIP() << "the board blocks the folder with a link; this system makes none";
  board_->SetNextFault({FaultKind::no_cmd_folder, 0, {}});
  EXPECT_FALSE(fs::exists(Cmd()));
  std::error_code ec;
  EXPECT_FALSE(fs::create_directory(Cmd(), ec));
  board_->ClearCommandFolderBlock();
  EXPECT_TRUE(fs::create_directory(Cmd(), ec));
}

TEST_F(SimBoardTest, PicturesAreCreatedEachStrictlyAfterTheLast) {
  std::optional<platform::WallTime> last;
  for (int i = 0; i < 5; ++i) {
    const fs::path picture = board_->StorePicture();
    ASSERT_FALSE(picture.empty());
    const auto created = platform::FileCreationTime(picture);
    ASSERT_TRUE(created);
    if (last) {
      EXPECT_GT(*created, *last);
    }
    last = created;
  }
  EXPECT_EQ(board_->pictures().size(), 5u);
}

TEST(SimFaults, ParseAndDescribeRoundTrip) {
  for (const char* text : {"none", "busy", "error:3", "status:7", "bad-magic", "never-release", "stall:40",
                           "vanish:80", "vanish:80:2500", "no-cmd-folder"}) {
    const auto fault = ParseFault(text);
    ASSERT_TRUE(fault) << text;
    EXPECT_EQ(DescribeFault(*fault), text);
  }
  for (const char* bad :
       {"", "bogus", "error", "error:x", "error:-1", "error:256", "stall:1:2", "vanish:1:-5", "busy:1"})
    EXPECT_FALSE(ParseFault(bad)) << bad;
}

}  // namespace
}  // namespace tavlix::sim
