#include <gtest/gtest.h>

#include "app/dpi_scale.h"
#include "app/picture_scale.h"

namespace tavlix::app {
namespace {

TEST(DpiScale, LayoutGrowsByItsEdgesAndRoundsToNearest) {
  const DpiScale half_again(144);
  EXPECT_EQ(half_again.Of(Rect{0, 0, kToolbarWidth, kToolbarHeight}), (Rect{0, 0, 326, 120}));
  // Help and close lie one pixel apart at 96 DPI and still do at 144 DPI.
  const Rect help = half_again.Of(Rect{164, 2, 25, 13});
  const Rect close = half_again.Of(Rect{190, 2, 25, 13});
  EXPECT_EQ(help, (Rect{246, 3, 38, 20}));
  EXPECT_EQ(close.x - help.right(), 1);
  // Left of the main screen halves round up as well.
  EXPECT_EQ(half_again.Of(-3), -4);
  EXPECT_EQ(half_again.Of(-1), -1);
  EXPECT_EQ(DpiScale(120).Of(kToolbarWidth), 271);
  EXPECT_EQ(DpiScale(0).Of(Rect{5, 27, 48, 48}), (Rect{5, 27, 48, 48}));

  const ProgressStripPlaces strip = ProgressStripPlacesFor(ProgressStripFor(50), half_again);
  EXPECT_EQ(strip.window_height, 129);
  EXPECT_EQ(strip.background, (Rect{3, 120, 320, 8}));
  EXPECT_EQ(strip.bar, (Rect{3, 120, 158, 8}));
}

TEST(ScalePicture, KeepsFlatAreasAndMixesOnlyWhereAnEdgeFalls) {
  // Black | white, grown by 1.5 across: the middle pixel covers half of each.
  const PicturePixels edge{2, 1, {0xFF000000u, 0xFFFFFFFFu}};
  EXPECT_EQ(ScalePicture(edge, 3, 1).pixels,
            (std::vector<std::uint32_t>{0xFF000000u, 0xFF808080u, 0xFFFFFFFFu}));
  // Shrunk to one pixel: the mean of all four, channel by channel.
  const PicturePixels square{2, 2, {0x00000000u, 0x04080C10u, 0x04080C10u, 0x0C182430u}};
  EXPECT_EQ(ScalePicture(square, 1, 1).pixels, (std::vector<std::uint32_t>{0x050A0F14u}));
  // Pixels that do not fill the stated size are refused.
  EXPECT_EQ(ScalePicture({3, 3, {1u, 2u}}, 4, 4).width, 0);
  EXPECT_TRUE(ScalePicture(edge, 0, 5).pixels.empty());
}

}  // namespace
}  // namespace tavlix::app
