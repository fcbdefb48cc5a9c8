#include "board/drive_discovery.h"

#include <gtest/gtest.h>

#include "board/link_state.h"
#include "board/model_table.h"
#include "support/odd_files.h"
#include "support/recording_target.h"
#include "support/temp_dir.h"

namespace tavlix::board {
namespace {

using test::Note;

class DriveDiscovery : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetLinkStateForTests();
    Link().hWnd_Form = &target_;
  }
  void TearDown() override { ResetLinkStateForTests(); }

  // Writes the table, each root ("/e") in the system's form.
  void Table(const std::string& text) {
    std::string table;
    std::size_t start = 0;
    while (start < text.size()) {
      const std::size_t end = std::min(text.find('\n', start), text.size());
      std::string line = text.substr(start, end - start);
      if (const auto root = line.rfind(" /"); root != std::string::npos)
        line = line.substr(0, root + 1) + test::SystemRoot(line.substr(root + 1));
      table += line + "\n";
      start = end + 1;
    }
    test::WriteFile(table_, table);
  }

  test::TempDir dir_;
  std::filesystem::path table_ = dir_ / "drives.txt";
  test::ScopedEnv env_{platform::kDriveTableVariable, table_.string()};
  test::RecordingTarget target_;
  std::string model_ = "untouched";
  std::string drive_ = "D:/";
};

TEST_F(DriveDiscovery, FindsBoardAndReportsPositionTimesSixteenPlusRow) {
  Table("C fixed Sys /c\nD fixed Data /d\nE removable R-61 /e\n");
  ASSERT_TRUE(GetTargetDrive(model_, drive_));
  EXPECT_EQ(model_, "R-61 ");
  EXPECT_EQ(drive_, test::SystemRoot("/e/"));
  EXPECT_EQ(target_.notes(), (std::vector<Note>{{BOARD_FOUND, 2 * 16 + 3}}));
}

TEST_F(DriveDiscovery, PositionCountsEveryPresentDriveWhateverItsType) {
  Table("A remote Net /a\nC cdrom - /c\nD removable R-724 /d\n");
  ASSERT_TRUE(GetTargetDrive(model_, drive_));
  EXPECT_EQ(model_, "R-724 ") << "the longest code fills six characters";
  EXPECT_EQ(target_.notes(), (std::vector<Note>{{BOARD_FOUND, 2 * 16 + 12}}));
}

TEST_F(DriveDiscovery, OnlyRemovableDrivesWithAnExactLabelQualify) {
  Table(
      "C fixed R-61 /c\n"  // right label, wrong type
      "D remote R-61 /d\n"
      "E removable r-61 /e\n"    // case differs
      "F removable R-6 /f\n"     // prefix
      "G removable R-614X /g\n"  // extension
      "H removable - /h\n"       // label unreadable
      "I ramdisk R-71 /i\n");
  EXPECT_FALSE(GetTargetDrive(model_, drive_));
  EXPECT_EQ(model_, "untouched");
  EXPECT_EQ(drive_, "D:/");
  EXPECT_TRUE(target_.notes().empty());
}

TEST_F(DriveDiscovery, LowestDriveWinsWhenTwoBoardsArePresent) {
  Table("F removable W-57 /f\nE removable R-71 /e\n");
  ASSERT_TRUE(GetTargetDrive(model_, drive_));
  EXPECT_EQ(model_, "R-71 ");
  EXPECT_EQ(drive_, test::SystemRoot("/e/"));
  EXPECT_EQ(ArgsOf(target_.notes(), BOARD_FOUND), (std::vector<std::intptr_t>{0 * 16 + 1}));
}

TEST_F(DriveDiscovery, NotificationsFollowTheConnectedFlagEdges) {
  Table("E removable R-60 /e\n");
  Link().Connected = true;
  EXPECT_TRUE(GetTargetDrive(model_, drive_));
  EXPECT_TRUE(target_.notes().empty()) << "already connected: no BOARD_FOUND";

  Table("");
  Link().Connected = false;
  EXPECT_FALSE(GetTargetDrive(model_, drive_));
  EXPECT_TRUE(target_.notes().empty()) << "already disconnected: no BOARD_LOST";

  Link().Connected = true;
  EXPECT_FALSE(GetTargetDrive(model_, drive_));
  EXPECT_EQ(target_.notes(), (std::vector<Note>{{BOARD_LOST, 1}}));
  EXPECT_TRUE(Link().Connected.load()) << "GetTargetDrive never writes Connected";
}

TEST_F(DriveDiscovery, WithoutWindowTheNotificationIsLost) {
  Link().hWnd_Form = nullptr;
  Table("E removable R-60 /e\n");
  EXPECT_TRUE(GetTargetDrive(model_, drive_));
  EXPECT_TRUE(target_.notes().empty());
}

TEST_F(DriveDiscovery, BadTableLineDoesNotHideTheBoard) {
  Table("C fixed Sys /c\nthis is not a drive\nE removable R-61 /e\n");
  ASSERT_TRUE(GetTargetDrive(model_, drive_));
  EXPECT_EQ(ArgsOf(target_.notes(), BOARD_FOUND), (std::vector<std::intptr_t>{1 * 16 + 3}));
}

TEST(ModelTable, RowsAndCodesRoundTrip) {
  for (int row = 1; row <= 12; ++row) EXPECT_EQ(ModelRow(ModelCode(row)), row);
  EXPECT_EQ(ModelRow("RT-60"), 8);
  EXPECT_EQ(ModelCode(0), "");
  EXPECT_EQ(ModelCode(13), "");
  EXPECT_FALSE(ModelRow(""));
}

}  // namespace
}  // namespace tavlix::board
