#include "platform/profile_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

#include "platform/attributes.h"
#include "platform/held_file.h"
#include "platform/path_text.h"
#include "support/odd_files.h"
#include "support/temp_dir.h"

namespace tavlix::platform {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> FolderEntries(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

TEST(ProfileFile, ReadsIntoASizedBufferWithDefaults) {
  test::TempDir dir;
  const auto file = dir / "a.ini";
  EXPECT_EQ(ProfileReadString("s", "k", "dflt", 1024, file), "dflt") << "no file";
  test::WriteFile(file, "[s]\nk=12345\nempty=\nlong=" + std::string(1100, 'x') + "\n");
  EXPECT_EQ(ProfileReadString("s", "k", "2", 4, file), "123");
  EXPECT_EQ(ProfileReadString("s", "k", "2", 1, file), "");
  EXPECT_EQ(ProfileReadString("s", "k", "2", 0, file), "");
  EXPECT_EQ(ProfileReadString("s", "empty", "dflt", 1024, file), "") << "present but empty";
  EXPECT_EQ(ProfileReadString("s", "long", "", 1024, file), std::string(1023, 'x'));
  EXPECT_EQ(ProfileReadString("s", "absent", "dflt", 1024, file), "dflt");
  EXPECT_EQ(ProfileReadString("t", "k", "dflt", 1024, file), "dflt");
  EXPECT_EQ(ProfileReadString("s", "absent", "long default", 5, file), "long") << "the default is cut too";
  EXPECT_EQ(ProfileReadString("s", "k", "dflt", 1024, dir.path()), "dflt") << "a folder is no file";
}

TEST(ProfileFile, WriteKeepsEveryOtherByteAndTheLineEnds) {
  test::TempDir dir;
  const auto file = dir / "TavlixConnect_setup.ini";
  const std::string before =
      "\xEF\xBB\xBF; written by hand\r\n[Window]\r\nleft=10\r\n\r\n[setting]\r\nsaveprm=2\r\n"
      "; the folder below\r\nsavepath=C:\\old\r\nsavepath=C:\\shadowed\r\n[Other]\r\nx = \"y\"\r\n";
  test::WriteFile(file, before);
  ASSERT_TRUE(ProfileWriteString("setting", "savepath", "/home/u/Pictures", file).ok());
  ASSERT_TRUE(ProfileWriteString("setting", "extra", "1", file).ok());
  ASSERT_TRUE(ProfileWriteString("New", "k", "v", file).ok());
  EXPECT_EQ(test::ReadText(file),
            "\xEF\xBB\xBF; written by hand\r\n[Window]\r\nleft=10\r\n\r\n[setting]\r\nsaveprm=2\r\n"
            "; the folder below\r\nsavepath=/home/u/Pictures\r\nsavepath=C:\\shadowed\r\nextra=1\r\n"
            "[Other]\r\nx = \"y\"\r\n\r\n[New]\r\nk=v\r\n");
  EXPECT_EQ(ProfileReadString("setting", "savepath", "", 1024, file), "/home/u/Pictures");
  EXPECT_EQ(FolderEntries(dir.path()), std::vector<std::string>{"TavlixConnect_setup.ini"})
      << "no temporary file left behind";
}

TEST(ProfileFile, WriteCreatesTheFileButNotItsFolder) {
  test::TempDir dir;
  ASSERT_TRUE(ProfileWriteString("setting", "saveprm", "3", dir / "new.ini").ok());
  EXPECT_EQ(test::ReadText(dir / "new.ini"), "[setting]\nsaveprm=3\n");

  const auto missing = ProfileWriteString("setting", "saveprm", "3", dir / "missing" / "a.ini");
  ASSERT_FALSE(missing.ok());
  EXPECT_NE(missing.error().find(PathToUtf8(dir / "missing")), std::string::npos) << missing.error();
  EXPECT_FALSE(fs::exists(dir / "missing"));
  test::WriteFile(dir / "plainfile", "x");
  EXPECT_FALSE(ProfileWriteString("setting", "saveprm", "3", dir / "plainfile" / "a.ini").ok())
      << "parent is a file";
  fs::create_directory(dir / "folder.ini");
  EXPECT_FALSE(ProfileWriteString("setting", "saveprm", "3", dir / "folder.ini").ok());
  EXPECT_TRUE(fs::is_directory(dir / "folder.ini"));
}

TEST(ProfileFile, WriteKeepsModeAndFollowsLinks) {
  test::TempDir dir;
  fs::create_directory(dir / "real");
  const auto target = dir / "real" / "a.ini";
  test::WriteFile(target, "[s]\nk=1\n");
  const auto mode = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
  fs::permissions(target, mode);
  if (!test::MakeSymlink(target, dir / "link.ini"))
    GTEST_SKIP() << "this system makes no symbolic links here";
  ASSERT_TRUE(ProfileWriteString("s", "k", "2", dir / "link.ini").ok());
  EXPECT_TRUE(fs::is_symlink(dir / "link.ini"));
  EXPECT_EQ(test::ReadText(target), "[s]\nk=2\n");
  if (test::kHasPermissionBits) {
    EXPECT_EQ(fs::status(target).permissions() & fs::perms::all, mode);
  }
}

// A read-only settings file (the Windows attribute, or no write bit) is
// replaced and stays read-only; no temporary file is left behind.
TEST(ProfileFile, AReadOnlyFileIsWrittenAndStaysReadOnly) {
  test::TempDir dir;
  const auto file = dir / "a.ini";
  test::WriteFile(file, "[s]\nk=1\n");
  if (test::kHasPermissionBits)
    fs::permissions(file, fs::perms::owner_read | fs::perms::group_read);
  else
    ASSERT_TRUE(SetAttributes(file, kAttrReadOnly));
  for (const char* value : {"2", "3"}) ASSERT_TRUE(ProfileWriteString("s", "k", value, file).ok()) << value;
  EXPECT_EQ(test::ReadText(file), "[s]\nk=3\n");
  EXPECT_EQ(FolderEntries(dir.path()), std::vector<std::string>{"a.ini"});
  if (test::kHasPermissionBits)
    EXPECT_EQ(fs::status(file).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::group_read);
  else
    EXPECT_EQ(GetAttributes(file) & kAttrReadOnly, kAttrReadOnly);
  if (!test::kHasPermissionBits) SetAttributes(file, kAttrNormal);  // so that the folder can go
}

TEST(ProfileFile, AFileThatCannotBeReadIsNeitherTrustedNorReplaced) {
  test::TempDir dir;
  const auto file = dir / "a.ini";
  test::WriteFile(file, "[s]\nk=1\nother=keep\n");
  {
    // Another program holds the file: its contents are unknown, so writing
    // must not replace them with a file holding only the new key.
    const auto holder = HeldFile::Hold(file);
    ASSERT_TRUE(holder.ok()) << holder.error();
    EXPECT_EQ(ProfileReadString("s", "k", "dflt", 1024, file), "dflt");
    EXPECT_FALSE(ProfileWriteString("s", "k", "2", file).ok());
  }
  EXPECT_EQ(test::ReadText(file), "[s]\nk=1\nother=keep\n");

  // A named pipe in the file's place must not hang the program.
  const auto pipe = dir / "pipe.ini";
  if (!test::kHasFifos) return;
  ASSERT_TRUE(test::MakeFifo(pipe));
  EXPECT_EQ(ProfileReadString("s", "k", "dflt", 1024, pipe), "dflt");
  EXPECT_FALSE(ProfileWriteString("s", "k", "2", pipe).ok());
  EXPECT_TRUE(fs::is_fifo(pipe));
}

TEST(ProfileFile, ConcurrentWritersLoseNoKey) {
  test::TempDir dir;
  const auto file = dir / "a.ini";
  constexpr int kRounds = 20;
  auto writer = [&](const char* key) {
    for (int i = 1; i <= kRounds; ++i)
      EXPECT_TRUE(ProfileWriteString("s", key, std::to_string(i), file).ok());
  };
  std::thread a(writer, "first");
  std::thread b(writer, "second");
  a.join();
  b.join();
  EXPECT_EQ(ProfileReadString("s", "first", "", 16, file), std::to_string(kRounds));
  EXPECT_EQ(ProfileReadString("s", "second", "", 16, file), std::to_string(kRounds));
}

}  // namespace
}  // namespace tavlix::platform
