// Many scans against a board that misbehaves at random: afterwards every
// picture the board stored is in the save folder exactly once, nothing was
// overwritten, and the link still answers.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <random>

#include "end_to_end_fixture.h"
#include "imaging/picture_codec.h"
#include "platform/environment.h"

namespace tavlix::board {
namespace {

using sim::Fault;
using sim::FaultKind;

std::string PixelsOf(const std::filesystem::path& file) {
  auto raster = imaging::LoadPicture(file);
  if (!raster) return "undecodable: " + raster.error();
  return std::to_string(raster->width) + "x" + std::to_string(raster->height) + ":" +
         std::string(raster->rgb.begin(), raster->rgb.end());
}

class Soak : public test::EndToEnd {
 protected:
  // The note that ended the scan whose notes start at `from`.
  int EndingCode(std::size_t from) const {
    for (const int code : CodesFrom(from))
      if (EndsOperation(code)) return code;
    return 0;
  }
};

TEST_F(Soak, RandomFaultsLoseNoPictureAndSaveNoneTwice) {
  // TAVLIX_SOAK_SCANS shortens (or lengthens) the run by hand.
  const auto wanted = platform::GetEnv("TAVLIX_SOAK_SCANS");
  const int scans = wanted ? std::max(1, std::atoi(wanted->c_str())) : TAVLIX_SOAK_SCANS;
  std::mt19937 random(20261208);
  auto options = BoardOptions();
  options.progress_steps = 3;
  options.step_pace = platform::Millis(100);
  StartBoard(options);
  StartLink(settings::OutputFormat::png);

  std::map<std::string, int> outcomes;
  for (int i = 0; i < scans; ++i) {
    const int roll = static_cast<int>(random() % 100);
    Fault fault;
    if (roll < 8) {
      fault = {FaultKind::busy, 0, {}};
    } else if (roll < 16) {
      const int details[] = {1, 2, 3, 4, 5, 6};
      fault = {FaultKind::error, details[random() % 6], {}};
    } else if (roll < 20) {
      fault = {FaultKind::stall, 34, {}};
    } else if (roll < 26) {
      fault = {FaultKind::vanish, 30, {}};
    } else if (roll < 32) {
      fault = {FaultKind::vanish, 66, platform::Millis(1500)};
    } else if (roll < 40) {
      // Stored on the board while no scan runs: collected on its own.
      const std::size_t idle_from = target_.notes().size();
      board_->StorePicture();
      ASSERT_TRUE(PumpUntilNote(idle_from, BOARD_IMAGE_SAVED));
    }
    board_->SetNextFault(fault);
    const std::size_t from = Scan();
    const auto t0 = std::chrono::steady_clock::now();
    ASSERT_TRUE(PumpUntilNote(from, 0)) << "scan " << i << " with " << sim::DescribeFault(fault);
    if (platform::GetEnv("TAVLIX_SOAK_TRACE"))
      std::fprintf(stderr, "scan %d %s %s %lld ms\n", i, sim::DescribeFault(fault).c_str(),
                   BoardNotifyName(EndingCode(from)),
                   static_cast<long long>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                              std::chrono::steady_clock::now() - t0)
                                              .count()));
    outcomes[BoardNotifyName(EndingCode(from))]++;
    if (fault.kind == FaultKind::vanish && !fault.return_after) board_->Plug();
  }

  // The last pictures may still be on their way; then compare.
  const auto stored = board_->pictures();
  const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (SavedNames().size() < stored.size() && std::chrono::steady_clock::now() < give_up)
    target_.WaitAndPump(std::chrono::milliseconds(5));

  std::multiset<std::string> saved_pixels;
  for (const auto& name : SavedNames()) saved_pixels.insert(PixelsOf(save_ / name));
  EXPECT_EQ(saved_pixels.size(), stored.size()) << "one saved file per stored picture";
  for (const auto& picture : stored)
    EXPECT_EQ(saved_pixels.count(PixelsOf(picture)), 1u) << picture.filename() << " saved exactly once";

  // Still alive: one more clean scan goes through.
  board_->SetNextFault({});
  const std::size_t from = Scan();
  ASSERT_TRUE(PumpUntilNote(from, BOARD_IMAGE_SAVED));
  std::string summary;
  for (const auto& [name, count] : outcomes) summary += name + "=" + std::to_string(count) + " ";
  RecordProperty("outcomes", summary);
  EXPECT_GE(outcomes["BOARD_IMAGE_SAVED"], scans / 2) << summary;
  EXPECT_EQ(outcomes["unknown code"], 0) << summary;
}

}  // namespace
}  // namespace tavlix::board
