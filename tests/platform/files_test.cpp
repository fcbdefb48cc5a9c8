#include "platform/files.h"

#include <gtest/gtest.h>

#include "platform/file_times.h"
#include "platform/held_file.h"
#include "platform/pending_file.h"
#include "support/temp_dir.h"

namespace tavlix::platform {
namespace {

TEST(Files, WriteAtStartKeepsLongerOldContent) {
  test::TempDir dir;
  const auto file = dir / "boardctrl.bin";
  test::WriteFile(file, "ABCDEFGH");
  const std::uint8_t bytes[] = {1, 2, 3, 4, 5};
  ASSERT_EQ(WriteAtStartWriteThrough(file, bytes), WriteOutcome::written);
  EXPECT_EQ(test::ReadBytes(file), (std::vector<std::uint8_t>{1, 2, 3, 4, 5, 'F', 'G', 'H'}));
  ASSERT_EQ(WriteAtStartWriteThrough(dir / "new.bin", bytes), WriteOutcome::written);
  EXPECT_EQ(test::ReadBytes(dir / "new.bin").size(), 5u);
  EXPECT_EQ(WriteAtStartWriteThrough(dir / "missing" / "x.bin", bytes), WriteOutcome::cannot_open);
}

TEST(Files, LockedFilesAreInUseForReadersAndWriters) {
  test::TempDir dir;
  const auto file = dir / "result.bin";
  test::WriteFile(file, "data");
  {
    const auto lock = HeldFile::Hold(file);  // as the board does while writing it
    ASSERT_TRUE(lock.ok()) << lock.error();
    const auto read = ReadFileBytes(file);
    ASSERT_FALSE(read.ok());
    EXPECT_NE(read.error().find("in use"), std::string::npos) << read.error();
    EXPECT_EQ(read.kind(), ErrorKind::in_use);
    EXPECT_FALSE(ReadFileLength(file).ok());
    EXPECT_FALSE(ReadFileHead(file, 4).ok());
    const std::uint8_t bytes[] = {1};
    EXPECT_EQ(WriteAtStartWriteThrough(file, bytes), WriteOutcome::cannot_open);
  }
  EXPECT_EQ(test::ReadText(file), "data");
}

TEST(Files, ReadsWholeHeadAndLength) {
  test::TempDir dir;
  const auto file = dir / "f";
  test::WriteFile(file, std::string(150, 'x'));
  EXPECT_EQ(*ReadFileLength(file), 150u);
  EXPECT_EQ(ReadFileBytes(file)->size(), 150u);
  EXPECT_EQ(ReadFileHead(file, 10)->size(), 10u);
  // Each refusal says of what kind it is, for callers that decide whether to
  // try again.
  EXPECT_EQ(ReadFileBytes(file, 100).kind(), ErrorKind::too_large);
  EXPECT_EQ(ReadFileBytes(dir.path()).kind(), ErrorKind::not_a_file);
  EXPECT_EQ(ReadFileBytes(dir / "absent").kind(), ErrorKind::not_found);
  test::WriteFile(dir / "g", "taken");
  EXPECT_EQ(RenameNoReplace(file, dir / "g").kind(), ErrorKind::name_taken);
  EXPECT_EQ(test::ReadText(dir / "g"), "taken");
}

TEST(Files, RemoveTellsDeletedFromAbsentFromFailed) {
  test::TempDir dir;
  test::WriteFile(dir / "f", "x");
  EXPECT_TRUE(*RemoveFile(dir / "f"));
  EXPECT_FALSE(*RemoveFile(dir / "f"));
  std::filesystem::create_directories(dir / "d" / "inner");
  EXPECT_FALSE(RemoveFile(dir / "d").ok()) << "a folder is not a file";
}

TEST(Files, ExistenceAndFolderCreation) {
  test::TempDir dir;
  EXPECT_TRUE(DirectoryExists(dir.path()));
  EXPECT_FALSE(FileExists(dir.path()));
  EXPECT_TRUE(MakeDirectory(dir / "cmd"));
  EXPECT_FALSE(MakeDirectory(dir / "cmd")) << "already there";
  EXPECT_FALSE(MakeDirectory(dir / "a" / "b")) << "one level only";
}

TEST(FileTimes, CreationTimeIsNearNowAndConvertsToLocalTime) {
  test::TempDir dir;
  test::WriteFile(dir / "p.jpg", "x");
  const auto created = FileCreationTime(dir / "p.jpg");
  ASSERT_TRUE(created);
  const auto delta = std::chrono::system_clock::now() - *created;
  EXPECT_LT(std::chrono::abs(delta), std::chrono::minutes(1));
  EXPECT_FALSE(FileCreationTime(dir / "absent"));

  const LocalTime t = ToLocalTime(*created);
  EXPECT_GE(t.year, 2020);
  EXPECT_TRUE(t.month >= 1 && t.month <= 12);
  EXPECT_TRUE(t.millisecond >= 0 && t.millisecond < 1000);
}

}  // namespace
}  // namespace tavlix::platform
