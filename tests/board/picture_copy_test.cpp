#include <gtest/gtest.h>

#include <cstdlib>

#include "picture_fixture.h"
#include "support/odd_files.h"

namespace tavlix::board {
namespace {

using imaging::PictureFormat;
namespace fs = std::filesystem;

// A mount made for one test with the system's mount command, where the test
// may make one (as root on Linux); undone with the guard.
class ScopedMount {
 public:
  ScopedMount(const std::string& options, const fs::path& what, const fs::path& where) : where_(where) {
    fs::create_directories(where);
    const std::string command =
        "mount " + options + " '" + what.string() + "' '" + where.string() + "' 2>/dev/null";
    mounted_ = std::system(command.c_str()) == 0;  // NOLINT(concurrency-mt-unsafe)
  }
  ~ScopedMount() {
    if (mounted_)
      (void)std::system(("umount '" + where_.string() + "'").c_str());  // NOLINT(concurrency-mt-unsafe)
  }
  ScopedMount(const ScopedMount&) = delete;
  ScopedMount& operator=(const ScopedMount&) = delete;
  bool mounted() const { return mounted_; }

 private:
  fs::path where_;
  bool mounted_ = false;
};

class PictureCopy : public test::PictureTest {
 protected:
  bool Copy(const std::string& name, settings::OutputFormat format) {
    worker_.ChangeImageFileSetting(format, save_.string());
    return worker_.CopyImageFile(name);
  }
};

TEST_F(PictureCopy, PicturesGoOverInTheChosenFormat) {
  struct Case {
    const char* source;
    PictureFormat kind;
    settings::OutputFormat format;
    const char* saved;
  };
  const Case cases[] = {
      {"a.jpg", PictureFormat::jpeg, settings::OutputFormat::board, "20201203_142501.jpg"},
      {"b.jpg", PictureFormat::jpeg, settings::OutputFormat::jpeg, "20201203_142501.jpg"},
      {"c.jpg", PictureFormat::jpeg, settings::OutputFormat::png, "20201203_142501.png"},
      {"d.png", PictureFormat::png, settings::OutputFormat::board, "20201203_142501.png"},
      {"e.png", PictureFormat::png, settings::OutputFormat::jpeg, "20201203_142501.jpg"},
      {"f.png", PictureFormat::png, settings::OutputFormat::png, "20201203_142501.png"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.source) + " in format " + std::to_string(settings::FormatCode(c.format)));
    fs::remove_all(save_);
    target_.clear();
    opened_.clear();
    const auto source = PutPictureOnBoard(c.source, c.kind);
    ASSERT_TRUE(Copy(c.source, c.format));
    EXPECT_EQ(Saved(), std::vector<std::string>{c.saved});
    EXPECT_EQ(Codes(), std::vector<int>{BOARD_IMAGE_SAVED});
    EXPECT_EQ(opened_, std::vector<fs::path>{save_ / c.saved});
    const imaging::Raster original = test::Decoded(source), copy = test::Decoded(save_ / c.saved);
    const bool lossless = std::string(c.saved).ends_with(".png");
    if (lossless)
      EXPECT_EQ(copy.rgb, original.rgb);
    else
      EXPECT_LT(test::MeanDifference(copy, original), 6.0);
    EXPECT_EQ(worker_.ImageType, c.kind == PictureFormat::jpeg ? 1 : 2);
  }
}

TEST_F(PictureCopy, PicturesBecomePdfsInFormatThreeAndAnyOther) {
  for (const settings::OutputFormat format :
       {settings::OutputFormat::pdf, settings::FormatFromCode(9), settings::FormatFromCode(-1)}) {
    fs::remove_all(save_);
    PutPictureOnBoard("p.png", PictureFormat::png);
    ASSERT_TRUE(Copy("p.png", format));
    EXPECT_EQ(Saved(), std::vector<std::string>{"20201203_142501.pdf"});
    EXPECT_EQ(test::ReadText(save_ / "20201203_142501.pdf").substr(0, 5), "%PDF-");
  }
  EXPECT_EQ(opened_.size(), 3u);
}

TEST_F(PictureCopy, BoardPdfsBecomePagesOrStayAsTheyAre) {
  const auto pdf = PutPdfOnBoard("scan.pdf", 2);
  ASSERT_TRUE(Copy("scan.pdf", settings::OutputFormat::png));
  EXPECT_EQ(Saved(), (std::vector<std::string>{"20201203_142501.png", "20201203_142501_2.png"}));
  EXPECT_EQ(test::Decoded(save_ / "20201203_142501_2.png").rgb, test::TestPicture(40, 24, 2).rgb);
  EXPECT_EQ(opened_, std::vector<fs::path>{save_ / "20201203_142501.png"});

  fs::remove_all(save_);
  ASSERT_TRUE(Copy("scan.pdf", settings::OutputFormat::jpeg));
  EXPECT_EQ(Saved(), (std::vector<std::string>{"20201203_142501.jpg", "20201203_142501_2.jpg"}));

  for (const settings::OutputFormat format : {settings::OutputFormat::board, settings::OutputFormat::pdf}) {
    fs::remove_all(save_);
    ASSERT_TRUE(Copy("scan.pdf", format));
    EXPECT_EQ(Saved(), std::vector<std::string>{"20201203_142501.pdf"});
    EXPECT_EQ(test::ReadText(save_ / "20201203_142501.pdf"), test::ReadText(pdf));
  }
  PutPdfOnBoard("UPPER.PDF", 1);
  fs::remove_all(save_);
  ASSERT_TRUE(Copy("UPPER.PDF", settings::OutputFormat::png));
  EXPECT_EQ(Saved(), std::vector<std::string>{"20201203_142501.png"});
}

TEST_F(PictureCopy, NamesThatAreNotPicturesAndMissingSourcesFail) {
  PutPictureOnBoard("x.Png", PictureFormat::png);
  PutPictureOnBoard("photo.jpeg", PictureFormat::jpeg);
  EXPECT_FALSE(Copy("x.Png", settings::OutputFormat::png));
  EXPECT_FALSE(Copy("gone.png", settings::OutputFormat::png));
  EXPECT_EQ(Codes(), (std::vector<int>{BOARD_SAVE_FAILED, BOARD_SAVE_FAILED}));
  EXPECT_TRUE(Saved().empty());
  EXPECT_TRUE(opened_.empty());
  EXPECT_TRUE(Copy("photo.jpeg", settings::OutputFormat::board));
  EXPECT_EQ(Saved(), std::vector<std::string>{"20201203_142501.jpg"});
}

TEST_F(PictureCopy, ANameTakenGetsACounterAfterTheStamp) {
  fs::create_directories(save_);
  test::WriteFile(save_ / "20201203_142501.png", "older picture");
  PutPictureOnBoard("a.png", PictureFormat::png);
  ASSERT_TRUE(Copy("a.png", settings::OutputFormat::png));
  ASSERT_TRUE(Copy("a.png", settings::OutputFormat::png));  // again within the same second
  EXPECT_EQ(test::ReadText(save_ / "20201203_142501.png"), "older picture");
  EXPECT_EQ(Saved(), (std::vector<std::string>{"20201203_142501-1.png", "20201203_142501-2.png",
                                               "20201203_142501.png"}));
  EXPECT_EQ(opened_.back(), save_ / "20201203_142501-2.png");

  // Every page of one copy shares the counter, also when only a later
  // page's name was taken.
  fs::remove_all(save_);
  fs::create_directories(save_);
  test::WriteFile(save_ / "20201203_142501_2.png", "someone's page");
  PutPdfOnBoard("b.pdf", 2);
  ASSERT_TRUE(Copy("b.pdf", settings::OutputFormat::png));
  EXPECT_EQ(Saved(), (std::vector<std::string>{"20201203_142501-1.png", "20201203_142501-1_2.png",
                                               "20201203_142501_2.png"}));
}

TEST_F(PictureCopy, APictureThatCannotBeDecodedIsReportedAndCopiedPlain) {
  const auto damaged = PutOnBoard("broken.jpg", "\xFF\xD8\xFF\xE0 not really a JPEG");
  EXPECT_FALSE(Copy("broken.jpg", settings::OutputFormat::png));
  EXPECT_EQ(Codes(), std::vector<int>{BOARD_SAVE_FAILED});
  EXPECT_TRUE(opened_.empty());
  EXPECT_EQ(Saved(), std::vector<std::string>{"20201203_142501.jpg"});
  EXPECT_EQ(test::ReadText(save_ / "20201203_142501.jpg"), test::ReadText(damaged));

  // Also when the plain copy keeps the name the conversion would have had.
  fs::remove_all(save_);
  EXPECT_FALSE(Copy("broken.jpg", settings::OutputFormat::jpeg));
  EXPECT_EQ(Saved(), std::vector<std::string>{"20201203_142501.jpg"});
}

TEST_F(PictureCopy, TheSaveFolderIsMadeOneLevelDeepAndAFailureIsReported) {
  PutPictureOnBoard("a.png", PictureFormat::png);
  ASSERT_FALSE(fs::exists(save_));
  ASSERT_TRUE(Copy("a.png", settings::OutputFormat::png));
  EXPECT_EQ(Saved(), std::vector<std::string>{"20201203_142501.png"});

  worker_.ChangeImageFileSetting(settings::OutputFormat::png, (save_ / "deeper" / "").string());
  EXPECT_TRUE(worker_.CopyImageFile("a.png"));
  EXPECT_TRUE(fs::exists(save_ / "deeper" / "20201203_142501.png"));

  worker_.ChangeImageFileSetting(settings::OutputFormat::png, (dir_ / "x" / "y").string());
  EXPECT_FALSE(worker_.CopyImageFile("a.png"));
  EXPECT_FALSE(fs::exists(dir_ / "x"));
  EXPECT_EQ(Codes(), (std::vector<int>{BOARD_IMAGE_SAVED, BOARD_IMAGE_SAVED, BOARD_SAVE_FAILED}));
}

TEST_F(PictureCopy, TheBoardsRootIsNoSaveFolderAndIsLeftAsItWas) {
  PutPictureOnBoard("a.png", PictureFormat::png);
  for (const fs::path& folder : {board_, board_ / "sub" / ".."}) {
    worker_.ChangeImageFileSetting(settings::OutputFormat::png, folder.string());
    EXPECT_FALSE(worker_.CopyImageFile("a.png"));
  }
  EXPECT_EQ(test::FilesIn(board_), std::vector<std::string>{"a.png"});
  EXPECT_EQ(Codes(), std::vector<int>(2, BOARD_SAVE_FAILED));
}

TEST_F(PictureCopy, TheBoardsRootMountedElsewhereIsNoSaveFolder) {
  PutPictureOnBoard("a.png", PictureFormat::png);
  const ScopedMount second("--bind", board_, save_);
  if (!second.mounted()) GTEST_SKIP() << "no second mount can be made here";
  EXPECT_FALSE(Copy("a.png", settings::OutputFormat::png));
  EXPECT_EQ(test::FilesIn(board_), std::vector<std::string>{"a.png"});
  EXPECT_EQ(Codes(), std::vector<int>{BOARD_SAVE_FAILED});
}

TEST_F(PictureCopy, AFolderWithRoomForOneCopyGetsThePicture) {
  // About 3 MB whatever the encoder: noise does not compress.
  imaging::Raster noise = test::TestPicture(1000, 1000, 7);
  std::uint32_t state = 12345;
  for (auto& byte : noise.rgb)
    byte = static_cast<std::uint8_t>((state = state * 1664525u + 1013904223u) >> 24);
  test::TempDir scratch;
  test::SavePictureFile(scratch / "p.png", noise, PictureFormat::png);
  PutOnBoard("a.png", test::ReadText(scratch / "p.png"));
  PutOnBoard("b.pdf", std::string(3u << 20, 'x'));
  for (const auto& [name, format] :
       {std::pair{"a.png", settings::OutputFormat::png}, {"b.pdf", settings::OutputFormat::board}}) {
    SCOPED_TRACE(name);
    const ScopedMount small("-t tmpfs -o size=4m", "tmpfs", save_);
    if (!small.mounted()) GTEST_SKIP() << "no size-limited folder can be made here";
    EXPECT_TRUE(Copy(name, format));
    EXPECT_EQ(test::FilesIn(save_).size(), 1u);
  }
}

TEST_F(PictureCopy, ASaveFolderNamedBeyondAsciiIsMadeAndFilled) {
  PutPictureOnBoard("a.png", PictureFormat::png);
  const fs::path own = dir_.path() / fs::path(u8"J\u00fcrgen \u5199\u771f");
  worker_.ChangeImageFileSetting(settings::OutputFormat::jpeg, platform::PathToUtf8(own));
  ASSERT_TRUE(worker_.CopyImageFile("a.png"));
  EXPECT_EQ(test::FilesIn(own), std::vector<std::string>{"20201203_142501.jpg"});
  EXPECT_EQ(worker_.TakeSavedFiles(), std::vector<SavedFile>{{own / "20201203_142501.jpg"}});
}

TEST_F(PictureCopy, AReadOnlySaveFolderIsAFailureAndLeavesNothing) {
  if (!test::kHasPermissionBits) GTEST_SKIP() << "a folder's rights are access lists here, not mode bits";
  // Root may write anywhere a mode allows; /proc/self takes no files at all.
  fs::path folder = "/proc/self";
  if (!test::IgnoresPermissions()) {
    folder = dir_ / "locked";
    fs::create_directory(folder);
    fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
  }
  PutPictureOnBoard("a.jpg", PictureFormat::jpeg);
  for (const settings::OutputFormat format :
       {settings::OutputFormat::png, settings::OutputFormat::jpeg, settings::OutputFormat::pdf}) {
    worker_.ChangeImageFileSetting(format, folder.string());
    EXPECT_FALSE(worker_.CopyImageFile("a.jpg")) << settings::FormatCode(format);
  }
  PutPdfOnBoard("b.pdf", 1);
  worker_.ChangeImageFileSetting(settings::OutputFormat::board, folder.string());
  EXPECT_FALSE(worker_.CopyImageFile("b.pdf"));
  EXPECT_EQ(Codes(), std::vector<int>(4, BOARD_SAVE_FAILED));
  EXPECT_TRUE(opened_.empty());
  if (!test::IgnoresPermissions()) {
    EXPECT_TRUE(fs::is_empty(folder));
  }
}

TEST_F(PictureCopy, ASourceThatVanishesDuringTheCopyIsAFailure) {
  const auto source = PutPictureOnBoard("a.png", PictureFormat::png);
  Link().Connected = false;  // so the copy's drive look-up reports the board
  target_.on_note = [&](const test::Note& note) {
    if (note.code == BOARD_FOUND) fs::remove(source);
  };
  EXPECT_FALSE(Copy("a.png", settings::OutputFormat::png));
  EXPECT_EQ(Codes(), (std::vector<int>{BOARD_FOUND, BOARD_SAVE_FAILED}));
  EXPECT_TRUE(Saved().empty());
}

TEST_F(PictureCopy, SettingsChangedDuringACopyApplyToTheNextOne) {
  PutPictureOnBoard("a.png", PictureFormat::png);
  worker_.ChangeImageFileSetting(settings::OutputFormat::png, save_.string());
  Link().Connected = false;
  target_.on_note = [&](const test::Note& note) {
    if (note.code == BOARD_FOUND)
      worker_.ChangeImageFileSetting(settings::OutputFormat::jpeg, (dir_ / "elsewhere").string());
  };
  ASSERT_TRUE(worker_.CopyImageFile("a.png"));
  EXPECT_EQ(Saved(), std::vector<std::string>{"20201203_142501.png"});
  EXPECT_FALSE(fs::exists(dir_ / "elsewhere"));
}

TEST_F(PictureCopy, TheWorkerNamesOnlyItsOwnFilesAndTellsWhichAFailedSaveKept) {
  fs::create_directories(save_);
  test::WriteFile(save_ / "other.png", "another program's file");
  PutPictureOnBoard("a.png", PictureFormat::png);
  PutOnBoard("broken.jpg", "\xFF\xD8 not a JPEG\xFF\xD9");
  PutPdfOnBoard("b.pdf", 2);
  ASSERT_TRUE(Copy("a.png", settings::OutputFormat::png));
  EXPECT_FALSE(Copy("broken.jpg", settings::OutputFormat::png));  // kept as a plain copy
  ASSERT_TRUE(Copy("b.pdf", settings::OutputFormat::png));
  EXPECT_EQ(worker_.TakeSavedFiles(), (std::vector<SavedFile>{{save_ / "20201203_142501.png"},
                                                              {save_ / "20201203_142501-1.jpg", false},
                                                              {save_ / "20201203_142501-1.png"},
                                                              {save_ / "20201203_142501-1_2.png"}}));
  EXPECT_TRUE(worker_.TakeSavedFiles().empty());
}

TEST_F(PictureCopy, NothingIsOpenedWhenTheUserDoesNotWantIt) {
  PutPictureOnBoard("a.png", PictureFormat::png);
  worker_.FlgOpenSavedFile = false;
  ASSERT_TRUE(Copy("a.png", settings::OutputFormat::png));
  EXPECT_EQ(Codes(), std::vector<int>{BOARD_IMAGE_SAVED});
  EXPECT_TRUE(opened_.empty());
}

}  // namespace
}  // namespace tavlix::board
