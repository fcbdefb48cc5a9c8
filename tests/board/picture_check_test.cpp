#include <gtest/gtest.h>

#include "board/picture_listing.h"
#include "picture_fixture.h"

namespace tavlix::board {
namespace {

using imaging::PictureFormat;
namespace fs = std::filesystem;

class PictureCheck : public test::PictureTest {};

TEST_F(PictureCheck, PrimingRemembersTheNewestSoOnlyLaterPicturesAreCopied) {
  PutPictureOnBoard("old1.jpg", PictureFormat::jpeg);
  const auto newest = PutPictureOnBoard("old2.png", PictureFormat::png);
  EXPECT_FALSE(worker_.CheckImageFile(false));
  EXPECT_EQ(worker_.LatestImageTime.time(), platform::FileCreationTime(newest));
  EXPECT_FALSE(worker_.CheckImageFile(true));
  EXPECT_TRUE(Saved().empty());

  PutPictureOnBoard("scan.png", PictureFormat::png);
  EXPECT_TRUE(worker_.CheckImageFile(true));
  EXPECT_EQ(Saved(), std::vector<std::string>{"20201203_142501.png"});
  EXPECT_EQ(Codes(), std::vector<int>{BOARD_IMAGE_SAVED});
  EXPECT_FALSE(worker_.CheckImageFile(true)) << "a picture is taken once";
  EXPECT_EQ(Saved().size(), 1u);
}

TEST_F(PictureCheck, NamesBeyondAsciiAreTakenAndNamesWithoutUtf8AreSkipped) {
  EXPECT_FALSE(worker_.CheckImageFile(false));
  const auto unpaired = test::MakeFileNamedWithoutUtf8(board_);
  const auto picture = PutPictureOnBoard("Skizze \u00e4\u5199.png", PictureFormat::png);
  EXPECT_TRUE(worker_.CheckImageFile(true));
  EXPECT_FALSE(worker_.CheckImageFile(true));
  EXPECT_EQ(Codes(), std::vector<int>{BOARD_IMAGE_SAVED});
  EXPECT_EQ(test::Decoded(save_ / "20201203_142501.png").rgb, test::Decoded(picture).rgb);
  EXPECT_TRUE(!unpaired || fs::exists(*unpaired)) << "left alone";
}

TEST_F(PictureCheck, AnEmptyBoardLeavesTheTimeAtZeroAndTheFirstPictureIsTaken) {
  EXPECT_FALSE(worker_.CheckImageFile(false));
  EXPECT_FALSE(worker_.LatestImageTime.time());
  PutPictureOnBoard("first.jpg", PictureFormat::jpeg);
  EXPECT_TRUE(worker_.CheckImageFile(true));
  EXPECT_EQ(Saved(), std::vector<std::string>{"20201203_142501.png"});
}

TEST_F(PictureCheck, ABoardAttachedLaterHasItsPicturesCopiedOneACallInPatternOrder) {
  UnplugBoard();
  Link().Connected = false;
  EXPECT_FALSE(worker_.CheckImageFile(false));
  EXPECT_FALSE(Link().Connected.load());
  EXPECT_FALSE(worker_.CheckImageFile(true));

  PutPictureOnBoard("b.jpg", PictureFormat::jpeg);  // older, but "*.jpg" is listed first
  PutPictureOnBoard("a.png", PictureFormat::png);
  PlugBoard();
  EXPECT_TRUE(worker_.CheckImageFile(true));
  EXPECT_TRUE(Link().Connected.load());
  EXPECT_EQ(Codes(), (std::vector<int>{BOARD_FOUND, BOARD_IMAGE_SAVED}));
  clock_->Advance(std::chrono::seconds(1));
  EXPECT_TRUE(worker_.CheckImageFile(true));
  EXPECT_FALSE(worker_.CheckImageFile(true));
  EXPECT_EQ(Saved(), (std::vector<std::string>{"20201203_142501.png", "20201203_142502.png"}));
  EXPECT_EQ(test::Decoded(save_ / "20201203_142502.png").rgb,
            test::Decoded(board_ / "a.png").rgb);  // the newer one came second
}

TEST_F(PictureCheck, PicturesArrivingTogetherAreEachTakenOnceOldestFirst) {
  EXPECT_FALSE(worker_.CheckImageFile(false));
  // The PNGs are older, but "*.jpg" is listed first.
  std::vector<fs::path> burst;
  for (unsigned seed = 1; seed <= 4; ++seed)
    burst.push_back(PutPictureOnBoard("p" + std::to_string(5 - seed) + (seed <= 2 ? ".png" : ".jpg"),
                                      seed <= 2 ? PictureFormat::png : PictureFormat::jpeg, seed));
  for (int i = 0; i < 8 && worker_.CheckImageFile(true); ++i) clock_->Advance(std::chrono::seconds(1));
  const std::vector<std::string> saved = Saved();
  ASSERT_EQ(saved.size(), burst.size());
  for (std::size_t k = 0; k < burst.size(); ++k)
    EXPECT_EQ(test::Decoded(save_ / saved[k]).rgb, test::Decoded(burst[k]).rgb) << "oldest first: " << k;
}

TEST_F(PictureCheck, ListingIgnoresCaseButClassificationDoesNot) {
  EXPECT_FALSE(worker_.CheckImageFile(false));
  fs::create_directory(board_ / "folder.jpg");
  PutOnBoard("notes.txt", "not a picture");
  PutPictureOnBoard("Mixed.Png", PictureFormat::png);
  // Listed under "*.png", refused by the classification, and not retried.
  EXPECT_TRUE(worker_.CheckImageFile(true));
  EXPECT_EQ(Codes(), std::vector<int>{BOARD_SAVE_FAILED});
  EXPECT_FALSE(worker_.CheckImageFile(true));
  EXPECT_TRUE(Saved().empty());
  EXPECT_TRUE(opened_.empty());

  PutPictureOnBoard("photo.JPEG", PictureFormat::jpeg);  // listed under "*.jpg"
  EXPECT_TRUE(worker_.CheckImageFile(true));
  EXPECT_EQ(Saved(), std::vector<std::string>{"20201203_142501.png"});
  EXPECT_TRUE(MatchesPicturePattern("aJpEg", "*.jpg"));
  EXPECT_FALSE(MatchesPicturePattern("a.jpeg", "*.png"));
  EXPECT_EQ(ClassifyPictureName("C.PDF"), kImagePdf);
  EXPECT_EQ(ClassifyPictureName("x.Jpeg"), kImageNone);
}

}  // namespace
}  // namespace tavlix::board
