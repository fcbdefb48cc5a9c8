#include <gtest/gtest.h>

#include "board/command_files.h"
#include "board/communication_thread.h"
#include "board/link_state.h"
#include "platform/clock.h"
#include "platform/held_file.h"
#include "support/recording_target.h"
#include "support/temp_dir.h"

namespace tavlix::board {
namespace {

using test::Note;
using Bytes = std::vector<std::uint8_t>;
namespace fs = std::filesystem;

class Exchange : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetLinkStateForTests();
    Link().hWnd_Form = &target_;  // the parser reports to the link's window
    fs::create_directory(cmd_);
  }
  void TearDown() override { ResetLinkStateForTests(); }

  void Progress(std::size_t length) { test::WriteFile(cmd_ / "progress.bin", std::string(length, 'p')); }
  void ResultFile(Bytes bytes) { test::WriteBytes(cmd_ / "result.bin", bytes); }
  static Bytes ResultBytes(std::uint8_t status, std::uint8_t detail) {
    return {0x01, 0x23, 0x45, 0x67, status, detail, 0xFF, 0xFE, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x80};
  }
  TResultFile Last() {
    TResultFile r;
    GetLastResult(r);
    return r;
  }
  void Queue(Bytes command) {
    std::copy(command.begin(), command.end(), Link().WriteBuffer.begin());
    Link().WriteBufferSize = static_cast<int>(command.size());
  }

  test::TempDir dir_;
  fs::path cmd_ = dir_ / "cmd";
  std::shared_ptr<platform::VirtualClock> clock_ = std::make_shared<platform::VirtualClock>();
  platform::ScopedClock scoped_clock_{clock_};
  test::RecordingTarget target_;
  TCommunicationThread worker_{&target_};
};

TEST_F(Exchange, ProgressAloneIsReportedAndLeftOnTheDrive) {
  Progress(42);
  EXPECT_TRUE(worker_.ReadCommandFile(cmd_));
  EXPECT_EQ(target_.notes(), (std::vector<Note>{{BOARD_PROGRESS, 42}}));
  EXPECT_EQ(worker_.ScanProgressValue(), 42);
  EXPECT_EQ(Link().ReadBufferSize, 0) << "no result file: nothing offered to Read";
  EXPECT_TRUE(fs::exists(cmd_ / "progress.bin"));
}

TEST_F(Exchange, ProgressLengthsAreReportedAsTheyAre) {
  Progress(150);
  worker_.ReadCommandFile(cmd_);
  EXPECT_EQ(worker_.ScanProgressValue(), 150) << "nothing caps the progress";
  Progress(0);
  worker_.ReadCommandFile(cmd_);
  EXPECT_EQ(worker_.ScanProgressValue(), 0);
  fs::remove(cmd_ / "progress.bin");
  Progress(30);
  worker_.ReadCommandFile(cmd_);
  fs::remove(cmd_ / "progress.bin");
  worker_.ReadCommandFile(cmd_);
  EXPECT_EQ(ArgsOf(target_.notes(), BOARD_PROGRESS), (std::vector<std::intptr_t>{150, 0, 30, 0}));
  EXPECT_EQ(worker_.ScanProgressValue(), 30) << "a missing progress file keeps the stored progress";
}

TEST_F(Exchange, ProgressAndResultTogetherAreReadParsedAndBothDeleted) {
  Progress(100);
  ResultFile(ResultBytes(3, 5));
  EXPECT_TRUE(worker_.ReadCommandFile(cmd_));
  EXPECT_EQ(target_.notes(), (std::vector<Note>{{BOARD_PROGRESS, 100}, {BOARD_ERR_E3, 1}}));
  EXPECT_FALSE(fs::exists(cmd_ / "progress.bin"));
  EXPECT_FALSE(fs::exists(cmd_ / "result.bin"));
  EXPECT_EQ(Last().Detail, 5);
}

TEST_F(Exchange, ResultBytesAboveSevenBitsReachTheParserUnchanged) {
  ResultFile(ResultBytes(0, 0));
  EXPECT_TRUE(worker_.ReadCommandFile(cmd_));
  EXPECT_EQ(target_.notes(), (std::vector<Note>{{BOARD_PROGRESS, 0}})) << "status 0 reports nothing";
  EXPECT_EQ(Last().Value1, 0xFFFE);
  EXPECT_EQ(Last().Tail, 0x80);
  EXPECT_FALSE(fs::exists(cmd_ / "result.bin"));
}

TEST_F(Exchange, LeadingByteOrderMarkIsDropped) {
  Bytes bytes = {0xEF, 0xBB, 0xBF};
  const Bytes result = ResultBytes(2, 0);
  bytes.insert(bytes.end(), result.begin(), result.end());
  ResultFile(bytes);
  worker_.ReadCommandFile(cmd_);
  EXPECT_EQ(ArgsOf(target_.notes(), BOARD_BUSY).size(), 1u);
  EXPECT_EQ(Last().Value1, 0xFFFE);
}

TEST_F(Exchange, ResultWithoutMagicIsDeletedAndOnlyItsSizeKept) {
  ResultFile({0x09, 0x08, 0x07, 0x06, 0x05});
  worker_.ReadCommandFile(cmd_);
  EXPECT_EQ(GetProgress(), 5);
  EXPECT_EQ(target_.codes(), (std::vector<int>{BOARD_PROGRESS}));
  EXPECT_FALSE(fs::exists(cmd_ / "result.bin"));
}

TEST_F(Exchange, LongResultIsCutTo256Bytes) {
  Bytes bytes(1000, 0x55);
  ResultFile(bytes);
  worker_.ReadCommandFile(cmd_);
  EXPECT_EQ(GetProgress(), 256);
}

TEST_F(Exchange, EmptyOrInUseResultIsAnErrorAndStaysOnTheDrive) {
  ResultFile({});
  EXPECT_FALSE(worker_.ReadCommandFile(cmd_));
  EXPECT_EQ(target_.codes(), (std::vector<int>{BOARD_PROGRESS, BOARD_ERR_OTHER}));
  EXPECT_TRUE(fs::exists(cmd_ / "result.bin"));

  ResultFile({0xEF, 0xBB, 0xBF});
  target_.clear();
  EXPECT_FALSE(worker_.ReadCommandFile(cmd_)) << "a mark alone is an empty result";
  EXPECT_EQ(target_.codes(), (std::vector<int>{BOARD_PROGRESS, BOARD_ERR_OTHER}));

  ResultFile(ResultBytes(3, 1));
  auto held = platform::HeldFile::Hold(cmd_ / "result.bin");
  ASSERT_TRUE(held.ok()) << held.error();
  target_.clear();
  EXPECT_FALSE(worker_.ReadCommandFile(cmd_));
  held = Error{};
  EXPECT_EQ(target_.codes(), (std::vector<int>{BOARD_PROGRESS, BOARD_ERR_OTHER}));
  EXPECT_TRUE(fs::exists(cmd_ / "result.bin"));
  EXPECT_EQ(Last(), TResultFile{}) << "nothing parsed";
}

TEST_F(Exchange, ProgressInUseStopsTheReadBeforeTheResult) {
  Progress(10);
  ResultFile(ResultBytes(3, 1));
  auto held = platform::HeldFile::Hold(cmd_ / "progress.bin");
  ASSERT_TRUE(held.ok()) << held.error();
  EXPECT_FALSE(worker_.ReadCommandFile(cmd_));
  held = Error{};
  EXPECT_EQ(target_.codes(), (std::vector<int>{BOARD_ERR_OTHER}));
  EXPECT_TRUE(fs::exists(cmd_ / "progress.bin"));
  EXPECT_TRUE(fs::exists(cmd_ / "result.bin"));
}

TEST_F(Exchange, CommandOverwritesTheStartOfAnOldLongerFile) {
  test::WriteFile(cmd_ / "boardctrl.bin", "ABCDEFGH");
  Queue({0x01, 0x23, 0x45, 0x67, CMD_SCAN});
  EXPECT_TRUE(worker_.WriteCommandFile(cmd_));
  EXPECT_EQ(test::ReadBytes(cmd_ / "boardctrl.bin"), (Bytes{0x01, 0x23, 0x45, 0x67, 0x12, 'F', 'G', 'H'}));
  Queue({0x01, 0x23, 0x45, 0x67, CMD_FEED});
  fs::remove(cmd_ / "boardctrl.bin");
  EXPECT_TRUE(worker_.WriteCommandFile(cmd_));
  EXPECT_EQ(test::ReadBytes(cmd_ / "boardctrl.bin"), (Bytes{0x01, 0x23, 0x45, 0x67, 0x11}));
  EXPECT_TRUE(target_.notes().empty());
}

TEST_F(Exchange, CommandFileThatCannotBeOpenedIsReported) {
  Queue({0x01, 0x23, 0x45, 0x67, CMD_SCAN});
  EXPECT_FALSE(worker_.WriteCommandFile(dir_ / "no-such-folder"));
  EXPECT_EQ(target_.codes(), (std::vector<int>{BOARD_ERR_OTHER}));
}

}  // namespace
}  // namespace tavlix::board
