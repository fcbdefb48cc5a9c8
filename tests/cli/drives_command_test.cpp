#include <gtest/gtest.h>

#include "cli/cli_run.h"
#include "cli/command_line.h"
#include "platform/drives.h"
#include "support/odd_files.h"
#include "support/temp_dir.h"

namespace tavlix::cli {
namespace {

TEST(DrivesCommand, ReportsTheBoardOnASimulatedDrive) {
  test::TempDir dir;
  test::WriteFile(dir / "t", "C fixed Sys " + test::SystemRoot("/") + "\nD cdrom - " +
                                 test::SystemRoot("/mnt/cd") + "\nE removable R-61 " +
                                 test::SystemRoot("/media/board") + "\n");
  test::ScopedEnv env(platform::kDriveTableVariable, (dir / "t").string());
  const CliRun run = Tavlix({"drives"});
  EXPECT_EQ(run.status, kExitOk);
  EXPECT_NE(run.out.find("(label cannot be read)"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("model R-61 (row 3)"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("Board R-61 on drive E (" + test::SystemRoot("/media/board/") +
                         "), position 2, row 3: BOARD_FOUND 35"),
            std::string::npos)
      << run.out;
}

TEST(DrivesCommand, SaysSoWhenNoBoardIsPresent) {
  test::TempDir dir;
  test::WriteFile(dir / "t", "C fixed R-61 " + test::SystemRoot("/") + "\n");
  test::ScopedEnv env(platform::kDriveTableVariable, (dir / "t").string());
  const CliRun run = Tavlix({"drives"});
  EXPECT_EQ(run.status, kExitOk);
  EXPECT_NE(run.out.find("No board found."), std::string::npos) << run.out;
}

TEST(DrivesCommand, ATableThatCannotBeReadFailsRatherThanListingNoDrives) {
  test::TempDir dir;
  std::filesystem::create_directory(dir / "t");  // not a regular file
  test::ScopedEnv env(platform::kDriveTableVariable, (dir / "t").string());
  const CliRun run = Tavlix({"drives"});
  EXPECT_EQ(run.status, kExitFailure);
  EXPECT_NE(run.err.find("the drive table must be a regular file"), std::string::npos) << run.err;
}

TEST(CommandLine, HelpAndUsageErrors) {
  EXPECT_EQ(Tavlix({"--help"}).status, kExitOk);
  EXPECT_NE(Tavlix({"--help"}).out.find("drives"), std::string::npos);
  EXPECT_EQ(Tavlix({"drives", "--help"}).status, kExitOk);
  EXPECT_NE(Tavlix({"drives", "--help"}).out.find("BOARD_FOUND"), std::string::npos);
  EXPECT_NE(Tavlix({"scan", "--help"}).out.find("--save-to DIR"), std::string::npos);
  EXPECT_NE(Tavlix({"simulate", "--help"}).out.find("--fault F"), std::string::npos);
  EXPECT_TRUE(Tavlix({"--version"}).out.starts_with("tavlix ")) << "help2man reads the version from it";

  const CliRun unknown = Tavlix({"frobnicate"});
  EXPECT_EQ(unknown.status, kExitUsage);
  EXPECT_NE(unknown.err.find("unknown command 'frobnicate'"), std::string::npos);
  EXPECT_EQ(Tavlix({}).status, kExitUsage);
  EXPECT_EQ(Tavlix({"drives", "extra"}).status, kExitUsage);
}

}  // namespace
}  // namespace tavlix::cli
