#include "platform/drive_table.h"

#include <gtest/gtest.h>

#include "platform/drives.h"
#include "support/odd_files.h"
#include "support/temp_dir.h"

namespace tavlix::platform {
namespace {

TEST(DriveTable, ParsesDrivesInLetterOrderWithSpacesInRoot) {
  const auto table = ParseDriveTable(
      "# simulated machine\n"
      "\n"
      "E removable R-61 " +
          test::SystemRoot("/media/sim board/E") + "\n" + "C fixed System " + test::SystemRoot("/") + "\n" +
          "  D   cdrom   -   " + test::SystemRoot("/mnt/cd") + "  \r\n",
      "t.txt");
  EXPECT_TRUE(table.problems.empty());
  ASSERT_EQ(table.drives.size(), 3u);
  EXPECT_EQ(table.drives[0].name, "C");
  EXPECT_EQ(table.drives[0].root, test::SystemRoot("/"));
  EXPECT_EQ(table.drives[1].name, "D");
  EXPECT_EQ(table.drives[1].type, DriveType::cdrom);
  EXPECT_FALSE(table.drives[1].label.has_value()) << "'-' means the volume cannot be read";
  EXPECT_EQ(table.drives[1].root, test::SystemRoot("/mnt/cd/"));
  EXPECT_EQ(table.drives[2].type, DriveType::removable);
  EXPECT_EQ(table.drives[2].label, "R-61");
  EXPECT_EQ(table.drives[2].root, test::SystemRoot("/media/sim board/E/"));
  EXPECT_TRUE(table.drives[2].device.empty());
}

TEST(DriveTable, BadLinesAreReportedWithLineNumberAndSkipped) {
  const auto table =
      ParseDriveTable("e removable R-61 " + test::SystemRoot("/a") + "\n" +      // 1: lower-case letter
                          "AB fixed X " + test::SystemRoot("/b") + "\n" +        // 2: two letters
                          "F floppy X " + test::SystemRoot("/f") + "\n" +        // 3: unknown type
                          "G removable R-61\n" +                                 // 4: no root
                          "H removable R-61 relative\n" +                        // 5: relative root
                          "I removable R-61 " + test::SystemRoot("/i") + "\n" +  // 6: good
                          "I fixed Other " + test::SystemRoot("/i2") + "\n" +    // 7: duplicate letter
                          "J unknown X " + test::SystemRoot("/j") + "\n",  // 8: 'unknown' is not a table type
                      "/tmp/table");
  ASSERT_EQ(table.drives.size(), 1u);
  EXPECT_EQ(table.drives[0].name, "I");
  EXPECT_EQ(table.drives[0].root, test::SystemRoot("/i/"));
  ASSERT_EQ(table.problems.size(), 7u);
  const int lines[] = {1, 2, 3, 4, 5, 7, 8};
  for (std::size_t i = 0; i < 7; ++i)
    EXPECT_EQ(table.problems[i].rfind("/tmp/table:" + std::to_string(lines[i]) + ": ", 0), 0u)
        << table.problems[i];
}

TEST(DriveTable, FormattedLinesParseBack) {
  DriveInfo drive{"E", test::SystemRoot("/media/a b/"), DriveType::removable, "R-714", {}};
  DriveInfo unreadable{"F", test::SystemRoot("/mnt/x/"), DriveType::remote, std::nullopt, {}};
  const auto table =
      ParseDriveTable(FormatDriveTableLine(drive) + "\n" + FormatDriveTableLine(unreadable) + "\n", "t");
  ASSERT_EQ(table.drives.size(), 2u);
  EXPECT_EQ(table.drives[0], drive);
  EXPECT_EQ(table.drives[1], unreadable);
}

TEST(DriveTable, ListDrivesReadsTheNamedTableAfreshEachTime) {
  test::TempDir dir;
  const auto file = dir / "drives.txt";
  test::ScopedEnv env(kDriveTableVariable, file.string());
  EXPECT_TRUE(ListDrives().empty()) << "a missing table means no drives";

  test::WriteFile(file, "C fixed Sys " + test::SystemRoot("/") + "\n");
  ASSERT_EQ(ListDrives().size(), 1u);

  // Renaming a new table over the old one plugs a drive in.
  test::WriteFile(dir / "next.txt", "C fixed Sys " + test::SystemRoot("/") + "\nE removable R-61 " +
                                        dir.path().string() + "\n");
  std::filesystem::rename(dir / "next.txt", file);
  const auto drives = ListDrives();
  ASSERT_EQ(drives.size(), 2u);
  EXPECT_EQ(drives[1].label, "R-61");
}

TEST(DriveTable, UnreadableTableIsOneProblemAndNoDrives) {
  test::TempDir dir;
  const auto table = LoadDriveTable(dir.path().string());  // a folder, not a file
  EXPECT_TRUE(table.drives.empty());
  EXPECT_EQ(table.problems.size(), 1u);
}

}  // namespace
}  // namespace tavlix::platform
