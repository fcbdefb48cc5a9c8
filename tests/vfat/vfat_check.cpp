// The Linux backend on a real FAT file system: run inside a small virtual
// machine by scripts/run-vfat-tests, against a freshly made FAT volume mounted
// at the path given on the command line (the board drive's root).
//
// On a vfat mount the hidden attribute is the FAT entry's own bit, reached
// through the FAT ioctls; the checks read and write that bit directly as the
// board does, so the program's view and the volume's are compared, not the
// program with itself. The volume also holds the save folder: saving to a FAT
// stick has no hard links and coarse file times.
//
// Two phases: everything but VfatRemount.* first; the script then unmounts
// and mounts the volume again and runs VfatRemount.*, which checks that a bit
// set in the first phase reached the volume.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/msdos_fs.h>
#include <sys/ioctl.h>
#include <sys/vfs.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "board/command_files.h"
#include "board/communication_thread.h"
#include "board/driver_facade.h"
#include "board/link_state.h"
#include "platform/attributes.h"
#include "platform/clock.h"
#include "platform/drives.h"
#include "platform/file_times.h"
#include "platform/posix/unique_fd.h"
#include "platform/shell.h"
#include "support/recording_target.h"
#include "support/temp_dir.h"
#include "support/test_pictures.h"

namespace tavlix::board {
namespace {

namespace fs = std::filesystem;
using test::Note;
using Notes = std::vector<Note>;

fs::path g_root;                              // the FAT volume's mount point
constexpr const char* kKept = "kept-hidden";  // hidden in phase one, checked after the remount
constexpr std::optional<std::uint32_t> kFatDir = ATTR_DIR;
constexpr std::optional<std::uint32_t> kFatHiddenDir = ATTR_DIR | ATTR_HIDDEN;

// The FAT entry's attribute byte, as the board reads and writes it.
std::optional<std::uint32_t> RawAttributes(const fs::path& path) {
  platform::UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  std::uint32_t attributes = 0;
  if (!fd || ::ioctl(fd.get(), FAT_IOCTL_GET_ATTRIBUTES, &attributes) != 0) return std::nullopt;
  return attributes;
}

bool SetRawAttributes(const fs::path& path, std::uint32_t attributes) {
  platform::UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  return fd && ::ioctl(fd.get(), FAT_IOCTL_SET_ATTRIBUTES, &attributes) == 0;
}

// The board drive on the FAT volume, found through a drive table as drive E
// (position 1, model row 3), a notification recorder and a fixed clock.
class OnFat : public ::testing::Test {
 protected:
  void SetUp() override {
    // Every test starts on an empty volume (but for the folder kept for the
    // second phase) and leaves it so.
    for (const auto& entry : fs::directory_iterator(g_root))
      ASSERT_EQ(entry.path().filename(), kKept) << "expects a fresh FAT volume at " << g_root;
    test::WriteFile(table_, "C fixed System /\nE removable R-61 " + g_root.string() + "\n");
    ResetLinkStateForTests();
    Link().hWnd_Form = &target_;
    platform::SetShellOpenHook([this](const fs::path& path) {
      opened_.push_back(path);
      return true;
    });
  }
  void TearDown() override {
    platform::SetShellOpenHook({});
    ResetLinkStateForTests();
    for (const auto& entry : fs::directory_iterator(g_root))
      if (entry.path().filename() != kKept) fs::remove_all(entry.path());
  }

  static constexpr int kBoardFound = 1 * 16 + 3;

  test::ScopedEnv tz_{"TZ", "UTC"};
  test::TempDir dir_;  // off the volume: the drive table
  fs::path table_ = dir_ / "drives.txt";
  test::ScopedEnv table_env_{platform::kDriveTableVariable, table_.string()};
  std::shared_ptr<platform::VirtualClock> clock_ = std::make_shared<platform::VirtualClock>(
      platform::WallTime{} + std::chrono::seconds(1607005501));  // 2020-12-03 14:25:01 UTC
  platform::ScopedClock scoped_clock_{clock_};
  test::RecordingTarget target_;
  std::vector<fs::path> opened_;
};

TEST_F(OnFat, HiddenBitRoundTripsThroughTheFatEntry) {
  const fs::path folder = g_root / kKept;
  fs::remove_all(folder);
  ASSERT_TRUE(fs::create_directory(folder));
  EXPECT_EQ(platform::GetAttributes(folder), platform::kAttrDirectory);
  EXPECT_EQ(RawAttributes(folder), kFatDir);

  ASSERT_TRUE(platform::SetAttributes(folder, platform::kAttrHidden));
  EXPECT_EQ(RawAttributes(folder), kFatHiddenDir) << "the bit is the FAT entry's own";
  EXPECT_EQ(platform::GetAttributes(folder), platform::kAttrDirectory | platform::kAttrHidden);

  ASSERT_TRUE(platform::SetAttributes(folder, platform::kAttrNormal));
  EXPECT_EQ(RawAttributes(folder), kFatDir);
  EXPECT_EQ(platform::GetAttributes(folder), platform::kAttrDirectory);

  // The board hides the folder itself; the program sees it.
  ASSERT_TRUE(SetRawAttributes(folder, ATTR_HIDDEN));
  EXPECT_EQ(platform::GetAttributes(folder), platform::kAttrDirectory | platform::kAttrHidden);
  // Left hidden for the check after the remount.
}

TEST_F(OnFat, ScanCommandRunsThroughTheCommandFolder) {
  const fs::path cmd = g_root / "cmd";
  ASSERT_TRUE(fs::create_directory(cmd));  // the board makes its folder, released
  TCommunicationThread worker(&target_);
  EXPECT_EQ(target_.notes(), (Notes{{BOARD_FOUND, kBoardFound}})) << "the FAT volume is the board";
  const auto cycle = [&](const char* step) {
    SCOPED_TRACE(step);
    target_.clear();
    EXPECT_EQ(worker.RunCycle(), platform::Millis(100));
    EXPECT_EQ(RawAttributes(cmd), kFatHiddenDir) << "handed back to the board";
    return target_.notes();
  };

  worker.SetFlgAppScanTimeout(true);
  worker.SetFlgAppScan(true);
  const std::uint8_t command[] = {0x01, 0x23, 0x45, 0x67, CMD_SCAN};
  ASSERT_EQ(Write(command, 0, false), kWriteHandedOver);
  EXPECT_EQ(cycle("command written"), (Notes{{BOARD_PROGRESS, 0}}));
  EXPECT_EQ(test::ReadBytes(cmd / "boardctrl.bin"),
            std::vector<std::uint8_t>(std::begin(command), std::end(command)));

  // The board takes the command, reports 40 % and releases the folder.
  fs::remove(cmd / "boardctrl.bin");
  test::WriteFile(cmd / "progress.bin", std::string(40, '%'));
  ASSERT_TRUE(SetRawAttributes(cmd, 0));
  EXPECT_EQ(cycle("progress read"), (Notes{{BOARD_PROGRESS, 40}}));

  // Done: full progress and a result record.
  const std::uint8_t record[kResultRecordSize] = {
      0x01, 0x23, 0x45, 0x67, kStatusNothing, 0, 0, 1, 0, 2, 0, 3, 0, 4, 0, 5, 1, 6, 0x55};
  test::WriteFile(cmd / "progress.bin", std::string(100, '%'));
  test::WriteBytes(cmd / "result.bin", record);
  ASSERT_TRUE(SetRawAttributes(cmd, 0));
  EXPECT_EQ(ArgsOf(cycle("result read"), BOARD_PROGRESS), (std::vector<std::intptr_t>{100}));
  TResultFile result;
  GetLastResult(result);
  EXPECT_EQ(result, (TResultFile{0x01234567, kStatusNothing, 0, 1, 2, 3, 4, 5, 0x106, 0x55}));
  EXPECT_FALSE(fs::exists(cmd / "result.bin"));
  EXPECT_FALSE(fs::exists(cmd / "progress.bin"));
  worker.SetFlgAppScan(false);
}

TEST_F(OnFat, NewPicturesAreSavedOnTheVolumeWithoutReplacingAny) {
  const fs::path save = g_root / "Saved";
  test::TempDir scratch;
  test::SavePictureFile(scratch / "p.jpg", test::TestPicture(48, 32), imaging::PictureFormat::jpeg);
  test::WriteFile(g_root / "OLD.JPG", test::ReadText(scratch / "p.jpg"));

  TCommunicationThread worker(&target_);  // notes OLD.JPG as already seen
  worker.ChangeImageFileSetting(settings::OutputFormat::png, save.string());
  // FAT keeps creation times in 10 ms steps: the next picture is newer.
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  test::WriteFile(g_root / "NEW.JPG", test::ReadText(scratch / "p.jpg"));
  ASSERT_GT(platform::FileCreationTime(g_root / "NEW.JPG"), platform::FileCreationTime(g_root / "OLD.JPG"));
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  // Ends like a whole JPEG, so it is taken at once; fails to convert: copied as it is.
  const std::string bad = "not a picture\xFF\xD9";
  test::WriteFile(g_root / "BAD.JPG", bad);

  target_.clear();
  EXPECT_TRUE(worker.CheckImageFile(true));
  EXPECT_TRUE(worker.CheckImageFile(true));
  EXPECT_FALSE(worker.CheckImageFile(true)) << "OLD.JPG was there before";
  EXPECT_EQ(target_.codes(), (std::vector<int>{BOARD_IMAGE_SAVED, BOARD_SAVE_FAILED}));

  // Same clock, same stamp: the second copy takes the next free name.
  std::vector<std::string> saved;
  for (const auto& entry : fs::directory_iterator(save)) saved.push_back(entry.path().filename().string());
  std::sort(saved.begin(), saved.end());
  ASSERT_EQ(saved, (std::vector<std::string>{"20201203_142501-1.jpg", "20201203_142501.png"}));
  const auto png = imaging::LoadPicture(save / saved[1]);
  ASSERT_TRUE(png) << png.error();
  const auto board = imaging::LoadPicture(scratch / "p.jpg");
  ASSERT_TRUE(board) << board.error();
  EXPECT_EQ(test::MaxDifference(*png, *board), 0) << "the board's picture, losslessly";
  EXPECT_EQ(test::ReadText(save / saved[0]), bad);
  EXPECT_EQ(opened_, (std::vector<fs::path>{save / saved[1]}));
}

// Second phase, after the volume was mounted again.
TEST(VfatRemount, HiddenBitWasStoredOnTheVolume) {
  const fs::path folder = g_root / kKept;
  EXPECT_EQ(RawAttributes(folder), kFatHiddenDir);
  EXPECT_EQ(platform::GetAttributes(folder), platform::kAttrDirectory | platform::kAttrHidden);
  EXPECT_TRUE(platform::SetAttributes(folder, platform::kAttrNormal));
  fs::remove_all(folder);
}

}  // namespace
}  // namespace tavlix::board

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  struct statfs info {};
  if (argc != 2 || ::statfs(argv[1], &info) != 0 || info.f_type != MSDOS_SUPER_MAGIC) {
    std::fprintf(stderr, "usage: %s [gtest options] FAT-MOUNT (an empty, freshly made FAT volume)\n",
                 argv[0]);
    return 2;
  }
  tavlix::board::g_root = argv[1];
  return RUN_ALL_TESTS();
}
