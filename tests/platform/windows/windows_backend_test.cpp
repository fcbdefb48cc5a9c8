// The Windows backend against the real file system (run under Wine in CI).
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/atomic_file.h"
#include "platform/attributes.h"
#include "platform/environment.h"
#include "platform/file_times.h"
#include "platform/files.h"
#include "platform/folder_listing.h"
#include "platform/folder_nesting.h"
#include "platform/path_text.h"
#include "platform/pending_file.h"
#include "platform/windows/file_time_conversion.h"
#include "platform/windows/windows_drives.h"
#include "support/temp_dir.h"

namespace tavlix::platform {
namespace {

namespace fs = std::filesystem;

bool Has(const std::string& text, std::string_view part) {
  return text.find(part) != std::string::npos;
}

// Opens a file the way the board holds one it is writing: for writing,
// sharing only with readers (`share`), or with nobody.
UniqueHandle Hold(const fs::path& path, DWORD share) {
  UniqueHandle file(::CreateFileW(path.c_str(), GENERIC_WRITE, share, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
  EXPECT_TRUE(file) << "cannot hold " << path;
  return file;
}

TEST(WindowsBackend, HiddenAttributeRoundTrip) {
  test::TempDir dir;
  const fs::path folder = dir / "Tavlix";
  ASSERT_TRUE(MakeDirectory(folder));
  EXPECT_EQ(GetAttributes(folder), kAttrDirectory);
  ASSERT_TRUE(SetAttributes(folder, kAttrHidden));
  EXPECT_EQ(GetAttributes(folder), kAttrHidden | kAttrDirectory);
  ASSERT_TRUE(SetAttributes(folder, kAttrNormal));
  EXPECT_EQ(GetAttributes(folder), kAttrDirectory);

  // A file may keep its archive bit (Wine always reports it).
  const fs::path file = dir / "file.bin";
  test::WriteFile(file, "x");
  ASSERT_TRUE(SetAttributes(file, kAttrHidden | kAttrReadOnly));
  EXPECT_EQ(GetAttributes(file) & ~kAttrArchive, kAttrHidden | kAttrReadOnly);
  ASSERT_TRUE(SetAttributes(file, kAttrNormal));
  EXPECT_EQ(GetAttributes(file) & (kAttrHidden | kAttrReadOnly | kAttrDirectory), 0u);
  EXPECT_EQ(GetAttributes(dir / "missing"), kInvalidAttributes);
  EXPECT_FALSE(SetAttributes(dir / "missing", kAttrHidden));
}

TEST(WindowsBackend, HeldFileReadsAsInUse) {
  test::TempDir dir;
  const fs::path file = dir / "result.bin";
  test::WriteFile(file, "data");
  const std::uint8_t bytes[] = {1};
  for (const DWORD share : {DWORD{0}, DWORD{FILE_SHARE_READ}}) {
    SCOPED_TRACE(share);
    {
      const UniqueHandle held = Hold(file, share);
      const auto read = ReadFileBytes(file);
      ASSERT_FALSE(read.ok());
      EXPECT_TRUE(Has(read.error(), "in use")) << read.error();
      EXPECT_FALSE(ReadFileHead(file, 2).ok());
      EXPECT_FALSE(ReadFileLength(file).ok());
      EXPECT_EQ(WriteAtStartWriteThrough(file, bytes), WriteOutcome::cannot_open);
    }
    EXPECT_EQ(ReadFileBytes(file).value(), (std::vector<std::uint8_t>{'d', 'a', 't', 'a'}));
  }
  // Once released the command goes out at the start, longer old bytes kept.
  ASSERT_EQ(WriteAtStartWriteThrough(file, bytes), WriteOutcome::written);
  EXPECT_EQ(test::ReadText(file),
            "\x01"
            "ata");
  EXPECT_FALSE(ReadFileBytes(file, 3).ok()) << "above the limit";
  const auto folder = ReadFileBytes(dir.path());
  ASSERT_FALSE(folder.ok());
  EXPECT_TRUE(Has(folder.error(), "folder")) << folder.error();
}

TEST(WindowsBackend, FileTimesConvertExactly) {
  const FILETIME unix_epoch = ToFileTime(WallTime{});
  EXPECT_EQ((std::uint64_t{unix_epoch.dwHighDateTime} << 32) | unix_epoch.dwLowDateTime,
            116'444'736'000'000'000u);
  const WallTime time = WallTime{} + std::chrono::microseconds(1'614'834'367'089'123);  // 2021-03-04
  EXPECT_EQ(FromFileTime(ToFileTime(time)), time);
  const WallTime year_1700 = WallTime{} - std::chrono::hours(24 * 365 * 270);
  EXPECT_EQ(FromFileTime(ToFileTime(year_1700)), year_1700);
  EXPECT_EQ(FromFileTime(FILETIME{0xFFFFFFFFu, 0x7FFFFFFFu}), WallTime::max()) << "a year-30828 file";
}

// Pictures are ordered by the file system's creation time; both ways of
// reading it agree, and it is the time of now, not of 1601 or 1970.
TEST(WindowsBackend, CreationTimesOrderTheFiles) {
  test::TempDir dir;
  const WallTime start = std::chrono::time_point_cast<WallTime::duration>(std::chrono::system_clock::now());
  test::WriteFile(dir / "b.jpg", "x");
  const auto first = FileCreationTime(dir / "b.jpg");
  ASSERT_TRUE(first.has_value());
  EXPECT_LT(std::chrono::abs(*first - start), std::chrono::minutes(1));
  // The file system's clock ticks coarsely: make the second file as soon as
  // its time differs.
  std::optional<WallTime> second;
  for (int attempt = 0; attempt < 1000 && (!second || *second == *first); ++attempt) {
    ::Sleep(1);
    test::WriteFile(dir / "a.jpg", "x");
    second = FileCreationTime(dir / "a.jpg");
    if (second == first) {
      ASSERT_TRUE(RemoveFile(dir / "a.jpg").value());
    }
  }
  ASSERT_TRUE(second.has_value());
  EXPECT_GT(*second, *first);
  EXPECT_EQ(FileCreationTime(dir / "missing.jpg"), std::nullopt);
  auto listed = ListFolderFiles(dir.path());
  ASSERT_TRUE(listed.ok()) << listed.error();
  std::sort(listed->begin(), listed->end(),
            [](const auto& a, const auto& b) { return a.created < b.created; });
  ASSERT_EQ(listed->size(), 2u);
  EXPECT_EQ((*listed)[0].name, "b.jpg");
  EXPECT_EQ((*listed)[0].created, *first);
  EXPECT_EQ((*listed)[1].created, *second);
}

TEST(WindowsBackend, ListingGivesEveryFileNameAndNoFolders) {
  test::TempDir dir;
  for (const char* name : {"a.jpg", "b.PNG", "c.jpeg", "d.txt"}) test::WriteFile(dir / name, "x");
  ASSERT_TRUE(MakeDirectory(dir / "e.jpg"));
  const fs::path wide_name = dir.path() / L"\u00e9t\u00e9.jpg";
  test::WriteFile(wide_name, "x");
  auto listed = ListFolderFiles(dir.path());
  ASSERT_TRUE(listed.ok()) << listed.error();
  std::vector<std::string> names;
  for (const auto& file : *listed) names.push_back(file.name);
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"a.jpg", "b.PNG", "c.jpeg", "d.txt", "\xC3\xA9t\xC3\xA9.jpg"}));
  EXPECT_FALSE(ListFolderFiles(dir / "missing").ok());
}

TEST(WindowsBackend, ANameWithoutUtf8FormBecomesTextWithoutAThrow) {
  // An unpaired surrogate: the file system takes it, UTF-8 cannot hold it.
  EXPECT_EQ(PathToUtf8(fs::path(std::wstring(L"C:\\x\xD800\xDC00\xD800.png"))),
            "C:\\x\xF0\x90\x80\x80\xEF\xBF\xBD.png");
}

TEST(WindowsBackend, NeverReplaceCommitRefusesAnExistingName) {
  test::TempDir dir;
  const fs::path target = dir / "picture.png";
  test::WriteFile(target, "old");
  const std::uint8_t bytes[] = {'n', 'e', 'w'};
  fs::path temp;
  {
    auto pending = PendingFile::Create(dir.path());
    ASSERT_TRUE(pending.ok()) << pending.error();
    temp = pending->temp_path();
    ASSERT_TRUE(pending->Write(bytes).ok());
    const Status committed = pending->CommitAs(target, CommitMode::never_replace);
    ASSERT_FALSE(committed.ok());
    EXPECT_TRUE(Has(committed.error(), "exists")) << committed.error();
  }
  EXPECT_EQ(test::ReadText(target), "old");
  EXPECT_FALSE(FileExists(temp)) << "the pending file is removed";

  auto pending = PendingFile::Create(dir.path());
  ASSERT_TRUE(pending.ok() && pending->Write(bytes).ok());
  ASSERT_TRUE(pending->CommitAs(target, CommitMode::replace).ok());
  EXPECT_EQ(test::ReadText(target), "new");

  // Replacing a file's contents keeps its attributes.
  ASSERT_TRUE(SetAttributes(target, kAttrHidden));
  ASSERT_TRUE(ReplaceFileContents(target, "newer").ok());
  EXPECT_EQ(test::ReadText(target), "newer");
  EXPECT_EQ(GetAttributes(target) & (kAttrHidden | kAttrReadOnly), kAttrHidden);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
}

TEST(WindowsBackend, ReparsePointsAreNeitherReadNorListed) {
  test::TempDir dir;
  const fs::path target = dir / "real.jpg";
  test::WriteFile(target, "secret");
  const fs::path link = dir / "link.jpg";
  // Wine 8 reports success but makes no link.
  if (!::CreateSymbolicLinkW(link.c_str(), target.c_str(), SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE) ||
      (::GetFileAttributesW(link.c_str()) & FILE_ATTRIBUTE_REPARSE_POINT) == 0 ||
      ::GetFileAttributesW(link.c_str()) == INVALID_FILE_ATTRIBUTES)
    GTEST_SKIP() << "this system makes no symbolic links";
  const auto read = ReadFileBytes(link);
  ASSERT_FALSE(read.ok());
  EXPECT_TRUE(Has(read.error(), "link")) << read.error();
  EXPECT_FALSE(ReadFileHead(link, 4).ok());
  EXPECT_FALSE(ReadFileLength(link).ok());
  EXPECT_TRUE(ReadFileBytes(link, 64, Links::follow).ok()) << "the user's own files may be links";
  auto listed = ListFolderFiles(dir.path());
  ASSERT_TRUE(listed.ok());
  ASSERT_EQ(listed->size(), 1u);
  EXPECT_EQ(listed->front().name, "real.jpg");
}

// A save folder on a network share (\\server\share\folder): compared with
// the board's drive and with other shares by whole names, without case, in
// either separator. Path arithmetic only: no share needs to exist.
TEST(WindowsBackend, NetworkShareFoldersNestByWholeNamesWithoutCase) {
  EXPECT_TRUE(IsInsideFolder(L"\\\\srv\\scans\\room12", L"\\\\SRV\\Scans"));
  EXPECT_TRUE(IsInsideFolder(L"//srv/scans/room12/", L"\\\\srv\\scans\\Room12"));
  EXPECT_FALSE(IsInsideFolder(L"\\\\srv\\scans2\\x", L"\\\\srv\\scans"));
  EXPECT_FALSE(IsInsideFolder(L"\\\\other\\scans\\x", L"\\\\srv\\scans"));
  EXPECT_FALSE(IsInsideFolder(L"\\\\srv\\scans", L"E:\\"));
  EXPECT_FALSE(IsInsideFolder(L"E:\\scans", L"\\\\srv\\scans"));
  EXPECT_TRUE(IsInsideFolder(L"e:\\Pictures", L"E:\\")) << "a drive's names without case too";
}

TEST(WindowsBackend, DrivesAndEnvironmentSpeakUtf8) {
  const auto drives = ListWindowsDrives();
  const auto c = std::find_if(drives.begin(), drives.end(), [](const DriveInfo& d) { return d.name == "C"; });
  ASSERT_NE(c, drives.end());
  EXPECT_EQ(c->root, "C:\\");
  EXPECT_EQ(c->type, DriveType::fixed);
  EXPECT_EQ(c->device, fs::path(L"\\\\.\\C:"));
  EXPECT_EQ(c->label, std::nullopt) << "only a removable drive is asked for its label";
  QuietDriveErrors();
  EXPECT_NE(::GetErrorMode() & SEM_FAILCRITICALERRORS, 0u) << "no \"no disk\" box for any thread";
  EXPECT_TRUE(std::is_sorted(drives.begin(), drives.end(),
                             [](const DriveInfo& a, const DriveInfo& b) { return a.name < b.name; }));

  ASSERT_TRUE(::SetEnvironmentVariableW(L"TAVLIX_TEST_VALUE", L"Bilder \u00c4\u20ac"));
  EXPECT_EQ(GetEnv("tavlix_test_value"), "Bilder \xC3\x84\xE2\x82\xAC");
  ASSERT_TRUE(::SetEnvironmentVariableW(L"TAVLIX_TEST_VALUE", L""));
  EXPECT_EQ(GetEnv("TAVLIX_TEST_VALUE"), "");
  ASSERT_TRUE(::SetEnvironmentVariableW(L"TAVLIX_TEST_VALUE", nullptr));
  EXPECT_EQ(GetEnv("TAVLIX_TEST_VALUE"), std::nullopt);
}

}  // namespace
}  // namespace tavlix::platform
