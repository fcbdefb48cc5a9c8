// Hostile files among the board's pictures: links, FIFOs, oversized files,
// pictures still being written or in use. Each case ends in a sound outcome:
// no hang, nothing from outside the board, every whole picture saved once.
#include <gtest/gtest.h>

#include <fstream>

#include "imaging/safe_save.h"
#include "picture_fixture.h"
#include "platform/held_file.h"
#include "support/odd_files.h"

namespace tavlix::board {
namespace {

using imaging::PictureFormat;
namespace fs = std::filesystem;

class HostileCollect : public test::PictureTest {
 protected:
  std::string PngBytes(unsigned seed) {
    test::SavePictureFile(dir_ / "scratch.png", test::TestPicture(48, 32, seed), PictureFormat::png);
    return test::ReadText(dir_ / "scratch.png");
  }
  // Every new picture the worker takes within `cycles` cycles.
  void Cycles(int cycles) {
    for (int i = 0; i < cycles; ++i) worker_.CheckImageFile(true);
  }
};

TEST_F(HostileCollect, LinksFifosAndFoldersOnTheBoardAreNeitherListedNorRead) {
  const fs::path secret = dir_ / "secret.png";  // outside the board, and a valid picture
  test::WriteFile(secret, PngBytes(3));
  test::MakeSymlink(secret, board_ / "s.png");  // where the system makes links
  if (test::kHasFifos) {
    ASSERT_TRUE(test::MakeFifo(board_ / "f.png"));
  }
  fs::create_directory(board_ / "d.png");
  const auto real = PutPictureOnBoard("real.png", PictureFormat::png, 5);
  fs::permissions(real, fs::perms::owner_read | fs::perms::owner_write);

  Cycles(4);
  EXPECT_EQ(Saved(), std::vector<std::string>{"20201203_142501.png"});
  EXPECT_EQ(Codes(), std::vector<int>{BOARD_IMAGE_SAVED});
  EXPECT_EQ(test::Decoded(save_ / "20201203_142501.png").rgb, test::Decoded(real).rgb);
  // A new file of the user's, whatever the source's mode.
  if (test::kHasPermissionBits) {
    EXPECT_EQ(fs::status(save_ / "20201203_142501.png").permissions(), test::NewFilePermissions());
  }

  // Named directly, a link or a FIFO is a failed save that copies nothing.
  target_.clear();
  for (const char* name : {"s.png", "f.png"}) EXPECT_FALSE(worker_.CopyImageFile(name)) << name;
  EXPECT_EQ(Codes(), std::vector<int>(2, BOARD_SAVE_FAILED));
  EXPECT_FALSE(imaging::CopyFileNoReplace(board_ / "s.png", dir_ / "copy.png"));
  EXPECT_FALSE(imaging::CopyFileNoReplace(board_ / "f.png", dir_ / "copy.png"));
  EXPECT_EQ(Saved().size(), 1u);
  EXPECT_FALSE(fs::exists(dir_ / "copy.png"));
}

TEST_F(HostileCollect, ABoardFileAboveTheCeilingIsAFailedSaveLeftOnTheBoard) {
  worker_.ChangeImageFileSetting(settings::OutputFormat::board, save_.string());
  const auto big = PutOnBoard("big.pdf", "%PDF-1.4\n");
  fs::resize_file(big, imaging::kMaxCopyBytes + 1);  // sparse: costs no disk
  Cycles(3);
  EXPECT_EQ(Codes(), std::vector<int>{BOARD_SAVE_FAILED});
  EXPECT_TRUE(Saved().empty());
  EXPECT_EQ(fs::file_size(big), imaging::kMaxCopyBytes + 1);
}

TEST_F(HostileCollect, APictureIsTakenWholeOnceAndTriedAgainAfterAPassingFault) {
  // Half written: left for later, and a picture stored after it is taken.
  const std::string whole = PngBytes(7);
  const auto slow = PutOnBoard("slow.png", whole.substr(0, whole.size() / 2));
  PutPdfOnBoard("later.pdf", 1);
  Cycles(3);
  EXPECT_EQ(Saved(), std::vector<std::string>{"20201203_142501.png"});
  EXPECT_EQ(test::Decoded(save_ / "20201203_142501.png").rgb, test::TestPicture(40, 24, 1).rgb);
  std::ofstream(slow, std::ios::binary | std::ios::app) << whole.substr(whole.size() / 2);
  clock_->Advance(std::chrono::seconds(1));
  Cycles(3);
  EXPECT_EQ(Saved().size(), 2u);
  EXPECT_EQ(test::Decoded(save_ / "20201203_142502.png").rgb, test::TestPicture(48, 32, 7).rgb);
  EXPECT_EQ(Codes(), std::vector<int>(2, BOARD_IMAGE_SAVED));

  // In use: taken once the board lets go of it.
  const auto held = PutPictureOnBoard("held.png", PictureFormat::png);
  auto lock = platform::HeldFile::Hold(held);
  ASSERT_TRUE(lock.ok()) << lock.error();
  Cycles(3);
  EXPECT_EQ(Saved().size(), 2u);
  lock = Error{};
  Cycles(1);
  EXPECT_EQ(Saved().size(), 3u);

  // Whole or not, a file whose structure cannot tell is taken once it has
  // stayed the same for the settle time.
  target_.clear();
  PutOnBoard("odd.jpg", "\xFF\xD8 no end marker");
  Cycles(2);
  clock_->Advance(kPictureSettleTime - platform::Millis(1));
  Cycles(2);
  EXPECT_TRUE(Codes().empty());
  clock_->Advance(platform::Millis(1));
  Cycles(2);
  EXPECT_EQ(Codes(), std::vector<int>{BOARD_SAVE_FAILED});  // kept as a plain copy
  EXPECT_EQ(Saved().size(), 4u);

  // No save folder: said at once (an operation ends with it, not with a
  // time-out), tried again meanwhile, saved once the folder is back.
  target_.clear();
  worker_.ChangeImageFileSetting(settings::OutputFormat::png, (dir_ / "x" / "y").string());
  PutPictureOnBoard("late.png", PictureFormat::png);
  Cycles(3);
  EXPECT_EQ(Codes(), std::vector<int>{BOARD_SAVE_FAILED});
  worker_.ChangeImageFileSetting(settings::OutputFormat::png, save_.string());
  Cycles(1);
  EXPECT_EQ(Codes(), (std::vector<int>{BOARD_SAVE_FAILED, BOARD_IMAGE_SAVED}));
  EXPECT_EQ(test::ArgsOf(target_.notes(), BOARD_IMAGE_SAVED), std::vector<std::intptr_t>{kSavedAfterFailure});
  EXPECT_TRUE(worker_.TakeSavedFiles().back().after_failure);
  EXPECT_EQ(Saved().size(), 5u);

  // Still no folder when the retry time has run out: given up without a
  // second word, for good.
  target_.clear();
  worker_.ChangeImageFileSetting(settings::OutputFormat::png, (dir_ / "x" / "y").string());
  PutPictureOnBoard("later.png", PictureFormat::png);
  Cycles(2);
  clock_->Advance(kPictureRetryTime);
  Cycles(3);
  worker_.ChangeImageFileSetting(settings::OutputFormat::png, save_.string());
  Cycles(2);
  EXPECT_EQ(Codes(), std::vector<int>{BOARD_SAVE_FAILED});
  EXPECT_EQ(Saved().size(), 5u);
}

}  // namespace
}  // namespace tavlix::board
