// The board link against real drives of the system: under Wine, the Windows
// stage makes removable drives with model labels (scripts/wine-make-board-drive)
// and names them in TAVLIX_WINE_TEST_DRIVES ("M:R-61,P:R-71"); without it the
// test is skipped.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "board/drive_discovery.h"
#include "board/link_state.h"
#include "platform/drives.h"
#include "platform/environment.h"
#include "support/recording_target.h"
#include "support/temp_dir.h"

namespace tavlix::board {
namespace {

// The zero-based place of `letter` among the present drives, A to Z.
int PositionOf(char letter) {
  const DWORD mask = ::GetLogicalDrives();
  int position = 0;
  for (char c = 'A'; c < letter; ++c)
    if ((mask & (1u << (c - 'A'))) != 0) ++position;
  return position;
}

TEST(RealDrives, TheLowestLetteredBoardIsFoundAtItsPositionAmongEveryPresentDrive) {
  const auto drives = platform::GetEnv("TAVLIX_WINE_TEST_DRIVES");
  if (!drives) GTEST_SKIP() << "no test drives made (scripts/run-windows-tests makes them)";
  const std::string& first = *drives;
  ASSERT_GE(first.size(), 3u);
  const char letter = first[0];
  if (platform::GetEnv(platform::kDriveTableVariable)) GTEST_SKIP() << "a drive table is in force";
  ResetLinkStateForTests();
  test::RecordingTarget target;
  Link().hWnd_Form = &target;
  std::string model, root;
  ASSERT_TRUE(GetTargetDrive(model, root));
  EXPECT_EQ(model, "R-61 ");
  EXPECT_EQ(root, std::string(1, letter) + ":\\");
  // R-61 is the third model code; a second board on a higher letter is not
  // reported, and a label that only starts with a code matches nothing.
  EXPECT_EQ(target.notes(), (std::vector<test::Note>{{BOARD_FOUND, PositionOf(letter) * 16 + 3}}));
  ResetLinkStateForTests();
}

}  // namespace
}  // namespace tavlix::board
