#include "settings/save_folder_check.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/path_text.h"
#include "support/odd_files.h"
#include "support/temp_dir.h"

namespace tavlix::settings {
namespace {

namespace fs = std::filesystem;

bool IsEmptyFolder(const fs::path& folder) {
  return fs::directory_iterator(folder) == fs::directory_iterator();
}

std::optional<std::string> NoBoard() {
  return std::nullopt;
}
BoardRootLookup Board(const std::string& root) {
  return [root] { return std::optional<std::string>(root); };
}

TEST(SaveFolderCheck, AcceptsAWritableFolderAndLeavesItAsItWas) {
  test::TempDir dir;
  fs::create_directory(dir / "pictures");
  const std::string folder = (dir / "pictures").string();
  EXPECT_EQ(CheckSaveFolder(folder, NoBoard), SaveFolderCheck::accepted);
  EXPECT_EQ(CheckSaveFolder(folder + "/", Board((dir / "board" / "").string())), SaveFolderCheck::accepted);
  EXPECT_TRUE(IsEmptyFolder(dir / "pictures")) << "the probe file is gone";

  // The program's text is UTF-8 whatever the system's code page.
  const fs::path own = dir.path() / fs::path(u8"J\u00fcrgen \u5199\u771f");
  fs::create_directory(own);
  EXPECT_EQ(CheckSaveFolder(platform::PathToUtf8(own), NoBoard), SaveFolderCheck::accepted);
}

TEST(SaveFolderCheck, RefusesWhatCannotHoldPictures) {
  if (!test::kHasPermissionBits) GTEST_SKIP() << "Linux folders: /proc and a line break in a name";
  test::TempDir dir;
  test::WriteFile(dir / "file", "x");
  fs::create_directory(dir / "line\nbreak");
  EXPECT_EQ(CheckSaveFolder("", NoBoard), SaveFolderCheck::empty);
  EXPECT_EQ(CheckSaveFolder((dir / "missing").string(), NoBoard), SaveFolderCheck::not_a_folder);
  EXPECT_EQ(CheckSaveFolder((dir / "file").string(), NoBoard), SaveFolderCheck::not_a_folder);
  // procfs refuses new files even to root, unlike a folder without write rights.
  EXPECT_EQ(CheckSaveFolder("/proc", NoBoard), SaveFolderCheck::not_writable);
  EXPECT_EQ(CheckSaveFolder((dir / "line\nbreak").string(), NoBoard), SaveFolderCheck::cannot_be_stored);
  std::string deep = dir.path().string();
  while (deep.size() < 1024) deep += "/d";
  EXPECT_EQ(CheckSaveFolder(deep, NoBoard), SaveFolderCheck::cannot_be_stored)
      << "would come back cut to 1023 characters";
}

TEST(SaveFolderCheck, RefusesEveryFolderOnTheBoardsDrive) {
  test::TempDir dir;
  const fs::path board = dir / "media" / "R-61";
  fs::create_directories(board / "DCIM" / "scans");
  fs::create_directories(dir / "media" / "R-61x");
  fs::create_directories(dir / "elsewhere");
  const bool linked = test::MakeSymlink(board / "DCIM", dir / "elsewhere" / "link");
  const std::string root = (board / "").string();

  EXPECT_EQ(CheckSaveFolder(board.string(), Board(root)), SaveFolderCheck::on_board_drive);
  EXPECT_EQ(CheckSaveFolder(root, Board(root)), SaveFolderCheck::on_board_drive);
  EXPECT_EQ(CheckSaveFolder((board / "DCIM" / "scans").string(), Board(root)),
            SaveFolderCheck::on_board_drive);
  if (linked) {
    EXPECT_EQ(CheckSaveFolder((dir / "elsewhere" / "link").string(), Board(root)),
              SaveFolderCheck::on_board_drive)
        << "through a symbolic link";
  }
  EXPECT_EQ(CheckSaveFolder((dir / "elsewhere" / ".." / "media" / "R-61" / ".").string(), Board(root)),
            SaveFolderCheck::on_board_drive);
  EXPECT_EQ(CheckSaveFolder((dir / "media" / "R-61x").string(), Board(root)), SaveFolderCheck::accepted)
      << "a shared prefix of the name is not the same folder";
  EXPECT_EQ(CheckSaveFolder((dir / "media").string(), Board(root)), SaveFolderCheck::accepted)
      << "the board's parent";
  EXPECT_TRUE(IsEmptyFolder(board / "DCIM" / "scans")) << "nothing was written on the board";
}

TEST(SaveFolderCheck, LooksTheBoardUpOnlyForAFolderThatPassedItsOwnChecks) {
  test::TempDir dir;
  test::WriteFile(dir / "file", "x");
  int lookups = 0;
  const BoardRootLookup counted = [&] {
    ++lookups;
    return std::optional<std::string>();
  };
  for (const std::string& bad : {std::string(), (dir / "missing").string(), (dir / "file").string()})
    EXPECT_NE(CheckSaveFolder(bad, counted), SaveFolderCheck::accepted) << bad;
  EXPECT_EQ(lookups, 0);
  EXPECT_EQ(CheckSaveFolder(dir.path().string(), counted), SaveFolderCheck::accepted);
  EXPECT_EQ(lookups, 1);
}

}  // namespace
}  // namespace tavlix::settings
