// A drive table that is not an ordinary small file: refused at once, cheaply,
// and reported once however often it is read.
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/drive_table.h"
#include "support/fifo_watchdog.h"
#include "support/odd_files.h"
#include "support/temp_dir.h"

namespace tavlix::platform {
namespace {

TEST(HostileDriveTable, FifoOrLinkInTheTablesPlaceIsRefusedAtOnce) {
  test::TempDir dir;
  const auto real = dir / "real.txt";
  const auto link = dir / "link.txt";
  const auto fifo = dir / "fifo.txt";
  test::WriteFile(real, "E removable R-61 /media/e\n");
  std::vector<std::filesystem::path> files;
  if (test::MakeSymlink(real, link)) files.push_back(link);
  if (test::kHasFifos) {
    ASSERT_TRUE(test::MakeFifo(fifo));
    files.push_back(fifo);
  }
  for (const auto& file : files) {
    DriveTable table;
    EXPECT_TRUE(test::EndsWithoutBlocking([&] { table = LoadDriveTable(file.string()); }, {fifo})) << file;
    EXPECT_TRUE(table.drives.empty()) << file;
    ASSERT_EQ(table.problems.size(), 1u) << file;
    EXPECT_NE(table.problems[0].find(file.string()), std::string::npos);
  }
}

TEST(HostileDriveTable, OversizedOrFloodedTableIsBoundedAndReportedOnce) {
  test::TempDir dir;
  const auto file = dir / "drives.txt";
  const std::string board = "E removable R-61 " + test::SystemRoot("/media/e") + "\n";

  // A flood of bad lines within the ceiling: a few are named, the rest counted.
  constexpr int kBadLines = 50000;
  std::string flood = board;
  for (int i = 0; i < kBadLines; ++i) flood += "x\n";
  ASSERT_LT(flood.size(), kMaxDriveTableBytes);
  test::WriteFile(file, flood);
  const DriveTable flooded = LoadDriveTable(file.string());
  EXPECT_EQ(flooded.drives.size(), 1u);
  ASSERT_LE(flooded.problems.size(), 10u);
  const auto named = static_cast<int>(flooded.problems.size()) - 1;
  EXPECT_NE(flooded.problems.back().find(std::to_string(kBadLines - named)), std::string::npos)
      << flooded.problems.back();

  // Above the ceiling nothing is read from it, and the reader says so once.
  test::WriteFile(file, board + std::string(kMaxDriveTableBytes, '#'));
  test::ScopedEnv env(kDriveTableVariable, file.string());
  testing::internal::CaptureStderr();
  EXPECT_TRUE(ListDrives().empty());
  EXPECT_TRUE(ListDrives().empty());
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
  EXPECT_NE(said.find(file.string()), std::string::npos);
}

}  // namespace
}  // namespace tavlix::platform
