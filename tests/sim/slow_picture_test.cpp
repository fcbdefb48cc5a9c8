// Pictures the board writes slowly in pieces, or keeps in use for a while,
// reach the save folder whole and exactly once.
#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

#include "end_to_end_fixture.h"
#include "support/test_pictures.h"

namespace tavlix::board {
namespace {

using sim::FaultKind;
using sim::PictureKind;

class SlowPicture : public test::EndToEnd {
 protected:
  // One scan spoiled by `fault`, pumped until its picture is saved; then a
  // while longer, so a second copy would show. Returns the one new file.
  std::filesystem::path ScanSaved(const sim::Fault& fault) {
    const auto before = SavedNames();
    const auto codes = ScanWithFault(fault, BOARD_IMAGE_SAVED);
    // 7.5 s on the board's clock.
    std::this_thread::sleep_for(std::chrono::milliseconds(7500 / test::kTimeCompression));
    target_.Pump();
    EXPECT_EQ(std::count(codes.begin(), codes.end(), BOARD_IMAGE_SAVED), 1) << sim::DescribeFault(fault);
    const auto all = CodesFrom(from_before_);
    EXPECT_EQ(std::count(all.begin(), all.end(), BOARD_SAVE_FAILED), 0);
    std::vector<std::string> added;
    for (const auto& name : SavedNames())
      if (!before.count(name)) added.push_back(name);
    EXPECT_EQ(added.size(), 1u) << sim::DescribeFault(fault) << ": " << testing::PrintToString(added);
    from_before_ = target_.notes().size();
    return added.empty() ? std::filesystem::path() : save_ / added[0];
  }
  std::size_t from_before_ = 0;
};

TEST_F(SlowPicture, ASlowlyWrittenOrHeldPictureIsSavedWholeOnce) {
  auto options = BoardOptions();
  options.picture = {PictureKind::png, 1, false, 320, 200};
  StartBoard(options);
  StartLink(settings::OutputFormat::png);

  const auto png = ScanSaved({FaultKind::slow_write, 4000, {}});
  ASSERT_FALSE(png.empty());
  EXPECT_EQ(test::Decoded(png).rgb, test::Decoded(board_->pictures().back()).rgb);

  // PDF output embeds a JPEG unchanged: all of the board's bytes are in it.
  board_->SetPicture({PictureKind::jpeg, 1, false, 320, 200});
  OfferSetting(settings::OutputFormat::pdf, save_.string());
  const auto pdf = ScanSaved({FaultKind::slow_write, 4000, {}});
  ASSERT_FALSE(pdf.empty());
  EXPECT_NE(test::ReadText(pdf).find(test::ReadText(board_->pictures().back())), std::string::npos);

  board_->SetPicture({PictureKind::png, 1, false, 320, 200});
  OfferSetting(settings::OutputFormat::png, save_.string());
  const auto held = ScanSaved({FaultKind::hold, 3000, {}});
  ASSERT_FALSE(held.empty());
  EXPECT_EQ(test::Decoded(held).rgb, test::Decoded(board_->pictures().back()).rgb);
}

}  // namespace
}  // namespace tavlix::board
