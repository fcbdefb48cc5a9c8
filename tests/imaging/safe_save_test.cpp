#include "imaging/safe_save.h"

#include <gtest/gtest.h>

#include "imaging/picture_names.h"
#include "imaging/staged_save.h"
#include "imaging/stale_temporaries.h"
#include "support/odd_files.h"
#include "support/temp_dir.h"
#include "support/test_pictures.h"

namespace tavlix::imaging {
namespace {

Status WriteText(PendingFile& file, std::string_view text) {
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
  return file.Write(std::span(bytes, text.size()));
}

std::vector<std::uint8_t> AsBytes(std::string_view text) {
  return {text.begin(), text.end()};
}

TEST(SafeSave, NewFilesAppearWholeAndNeverReplaceOthers) {
  test::TempDir dir;
  ASSERT_TRUE(WriteNewFile(dir / "a.png", [](PendingFile& f) { return WriteText(f, "first"); }));
  EXPECT_EQ(test::ReadText(dir / "a.png"), "first");
  const Status again = WriteNewFile(dir / "a.png", [](PendingFile& f) { return WriteText(f, "second"); });
  ASSERT_FALSE(again);
  EXPECT_NE(again.error().find("exists"), std::string::npos);
  EXPECT_EQ(test::ReadText(dir / "a.png"), "first");
  // A writer that fails half-way leaves nothing, not even its temporary file.
  EXPECT_FALSE(WriteNewFile(dir / "b.png", [](PendingFile& f) -> Status {
    (void)WriteText(f, "half");
    return Fail("encoder gave up");
  }));
  EXPECT_TRUE(WriteNewFile(
      dir / "a.png", [](PendingFile& f) { return WriteText(f, "forced"); }, SaveMode::replace));
  EXPECT_EQ(test::ReadText(dir / "a.png"), "forced");
  EXPECT_EQ(test::FilesIn(dir.path()), std::vector<std::string>{"a.png"});
}

TEST(SafeSave, ANameTakenWhileWritingIsNotReplaced) {
  test::TempDir dir;
  const Status raced = WriteNewFile(dir / "x.jpg", [&](PendingFile& f) {
    test::WriteFile(dir / "x.jpg", "someone else's");
    return WriteText(f, "ours");
  });
  EXPECT_FALSE(raced);
  EXPECT_EQ(test::ReadText(dir / "x.jpg"), "someone else's");
  EXPECT_EQ(test::FilesIn(dir.path()), std::vector<std::string>{"x.jpg"});
}

TEST(SafeSave, PlainCopies) {
  test::TempDir dir;
  std::string big(3 << 20, 'x');
  big[12345] = 'y';
  test::WriteFile(dir / "src.pdf", big);
  ASSERT_TRUE(CopyFileNoReplace(dir / "src.pdf", dir / "copy.pdf"));
  EXPECT_EQ(test::ReadText(dir / "copy.pdf"), big);
  test::WriteFile(dir / "taken.pdf", "old");
  EXPECT_FALSE(CopyFileNoReplace(dir / "src.pdf", dir / "taken.pdf"));
  EXPECT_EQ(test::ReadText(dir / "taken.pdf"), "old");
  EXPECT_FALSE(CopyFileNoReplace(dir / "gone.pdf", dir / "new.pdf"));
  EXPECT_FALSE(CopyFileNoReplace(dir.path(), dir / "folder.pdf"));
  EXPECT_FALSE(CopyFileNoReplace(dir / "src.pdf", dir / "no" / "such" / "folder.pdf"));
  EXPECT_EQ(test::FilesIn(dir.path()), (std::vector<std::string>{"copy.pdf", "src.pdf", "taken.pdf"}));
}

TEST(PictureNames, StampPagesAndExtensions) {
  EXPECT_EQ(TimeStampName({2020, 12, 3, 14, 25, 1, 999}), "20201203_142501");
  EXPECT_EQ(TimeStampName({987, 1, 2, 3, 4, 5, 0}), "09870102_030405");
  EXPECT_EQ(PagePath("/s/20201203_142501-1.png", 1), "/s/20201203_142501-1.png");
  EXPECT_EQ(PagePath("/s/20201203_142501-1.png", 2), "/s/20201203_142501-1_2.png");
  EXPECT_EQ(PagePath("/s/20201203_142501.jpg", 4), "/s/20201203_142501_4.jpg");
  EXPECT_EQ(WithLastFourCharactersReplaced("/s/20201203_142501.png", ".pdf"), "/s/20201203_142501.pdf");
}

TEST(PictureNames, FreeBaseCoversEveryFileOfTheCopy) {
  test::TempDir dir;
  const std::vector<std::string> pages{".png", "_2.png", "_3.png", "_4.png", ".pdf"};
  EXPECT_EQ(*ChooseFreeBase(dir.path(), "20201203_142501", pages), "20201203_142501");
  // Any one of the names taken moves the whole copy on.
  test::WriteFile(dir / "20201203_142501_3.png", "");
  EXPECT_EQ(*ChooseFreeBase(dir.path(), "20201203_142501", pages), "20201203_142501-1");
  test::WriteFile(dir / "20201203_142501-1.pdf", "");
  EXPECT_EQ(*ChooseFreeBase(dir.path(), "20201203_142501", pages), "20201203_142501-2");
  // A dangling link is taken too: a rename would not replace it.
  if (test::MakeSymlink(dir / "nowhere", dir / "20201203_142501-2.png")) {
    EXPECT_EQ(*ChooseFreeBase(dir.path(), "20201203_142501", pages), "20201203_142501-3");
  }
  // Names of other kinds do not matter.
  EXPECT_EQ(*ChooseFreeBase(dir.path(), "20201203_142501", std::vector<std::string>{".jpg"}),
            "20201203_142501");
}

TEST(StagedSave, ANameTakenBeforeTheCommitMovesOnlyOurFilesOn) {
  test::TempDir dir;
  const std::vector<std::string> suffixes{".png", "_2.png", ".pdf"};
  auto stage = StagedSave::Create(dir.path(), "20201203_142501", suffixes);
  ASSERT_TRUE(stage.ok()) << stage.error();
  ASSERT_TRUE(WriteNewFileBytes(stage->Path(".png"), AsBytes("page one")));
  ASSERT_TRUE(WriteNewFileBytes(stage->Path("_2.png"), AsBytes("page two")));
  // Another program takes a name of the copy while it is being written.
  test::WriteFile(dir / "20201203_142501_2.png", "theirs");
  ASSERT_TRUE(stage->Commit());
  EXPECT_EQ(stage->committed(), (std::vector<std::filesystem::path>{dir / "20201203_142501-1.png",
                                                                    dir / "20201203_142501-1_2.png"}));
  EXPECT_EQ(test::ReadText(dir / "20201203_142501_2.png"), "theirs");
  EXPECT_EQ(test::ReadText(dir / "20201203_142501-1_2.png"), "page two");
  EXPECT_EQ(test::FilesIn(dir.path()).size(), 3u) << "the staging folder is gone";
}

TEST(StagedSave, AKilledSavesFolderGoesWithTheStaleTemporaries) {
  test::TempDir dir;
  auto stage = StagedSave::Create(dir.path(), "20201203_142501", {".png"});
  ASSERT_TRUE(stage.ok());
  ASSERT_TRUE(WriteNewFileBytes(stage->Path(".png"), AsBytes("half a save")));
  const auto now = std::chrono::system_clock::now();
  EXPECT_TRUE(RemoveStaleTemporaries(dir.path(), now).empty()) << "a save in progress stays";
  EXPECT_EQ(RemoveStaleTemporaries(dir.path(), now + kStaleTemporaryAge * 2).size(), 1u);
  EXPECT_TRUE(test::FilesIn(dir.path()).empty());
}

}  // namespace
}  // namespace tavlix::imaging
