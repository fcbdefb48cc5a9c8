// A board drive that holds links and FIFOs where the command files belong:
// nothing outside the drive is read, written or deleted, and nothing blocks.
#include <gtest/gtest.h>

#include "support/fifo_watchdog.h"
#include "worker_loop_fixture.h"

namespace tavlix::board {
namespace {

namespace fs = std::filesystem;
using Codes = std::vector<int>;

using HostileBoard = test::WorkerFixture;

TEST_F(HostileBoard, CommandFileThatIsALinkIsNeverWrittenThrough) {
  const fs::path letter = dir_ / "letter.txt";
  const fs::path absent = dir_ / "absent.txt";
  test::WriteFile(letter, "Dear Sir");
  if (!test::MakeSymlink(letter, Cmd() / "boardctrl.bin"))
    GTEST_SKIP() << "this system makes no symbolic links here";
  StartScan();
  worker_->RunCycle();
  EXPECT_EQ(test::ReadText(letter), "Dear Sir");
  EXPECT_EQ(target_.codes().front(), BOARD_ERR_OTHER);
  EXPECT_EQ(Link().WriteRequest.load(), kMailboxEmpty);

  // A link to nothing must not create its target either.
  fs::remove(Cmd() / "boardctrl.bin");
  ASSERT_TRUE(test::MakeSymlink(absent, Cmd() / "boardctrl.bin"));
  Release();
  StartScan();
  worker_->RunCycle();
  EXPECT_FALSE(fs::exists(absent));
  EXPECT_EQ(target_.codes().front(), BOARD_ERR_OTHER);
}

TEST_F(HostileBoard, CommandFolderThatIsALinkIsNeverUsed) {
  const fs::path elsewhere = dir_ / "elsewhere";
  fs::create_directory(elsewhere);
  test::WriteFile(elsewhere / "progress.bin", std::string(100, '%'));
  test::WriteBytes(elsewhere / "result.bin", std::vector<std::uint8_t>{0x01, 0x23, 0x45, 0x67, 3, 5, 0, 0, 0,
                                                                       0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
  fs::remove_all(Cmd());
  if (!test::MakeSymlink(elsewhere, Cmd())) GTEST_SKIP() << "this system makes no symbolic links here";
  const auto untouched = [&] {
    EXPECT_TRUE(fs::exists(elsewhere / "progress.bin"));
    EXPECT_TRUE(fs::exists(elsewhere / "result.bin"));
    EXPECT_FALSE(fs::exists(elsewhere / "boardctrl.bin"));
    EXPECT_EQ(platform::GetAttributes(elsewhere) & platform::kAttrHidden, 0u);
  };

  StartScan();
  worker_->RunCycle();
  EXPECT_EQ(target_.codes(), Codes{BOARD_ERR_OTHER}) << "as for a file named cmd";
  EXPECT_EQ(Link().WriteRequest.load(), kMailboxEmpty);
  untouched();

  // Neither the facade's deletions nor an attribute change act through it.
  EXPECT_FALSE(DeleteProgressFile(board_.string()));
  EXPECT_FALSE(DeleteResultFile(board_.string()));
  EXPECT_FALSE(platform::SetAttributes(Cmd(), platform::kAttrHidden));
  EXPECT_NE(platform::GetAttributes(Cmd()), platform::GetAttributes(elsewhere));
  untouched();
}

TEST_F(HostileBoard, FifosInTheCommandFolderNeverBlockTheWorker) {
  const fs::path command = Cmd() / "boardctrl.bin";
  const fs::path progress = Cmd() / "progress.bin";
  const fs::path result = Cmd() / "result.bin";
  if (!test::kHasFifos) GTEST_SKIP() << "the file system has no named pipes here";
  ASSERT_TRUE(test::MakeFifo(command));
  ASSERT_TRUE(test::MakeFifo(result));
  const auto pump = [&] { target_.Pump(); };
  StartScan();
  EXPECT_TRUE(test::EndsWithoutBlocking([&] { worker_->RunCycle(); }, {command, result}, pump));
  EXPECT_EQ(target_.codes(), (Codes{BOARD_ERR_OTHER, BOARD_PROGRESS, BOARD_ERR_OTHER}));

  ASSERT_TRUE(test::MakeFifo(progress));
  Release();
  target_.clear();
  EXPECT_TRUE(test::EndsWithoutBlocking([&] { worker_->RunCycle(); }, {command, progress, result}, pump));
  EXPECT_EQ(target_.codes(), Codes{BOARD_ERR_OTHER});
  EXPECT_TRUE(fs::exists(fs::symlink_status(progress)));
  EXPECT_TRUE(fs::exists(fs::symlink_status(result)));
}

}  // namespace
}  // namespace tavlix::board
