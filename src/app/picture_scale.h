// Resizes a toolbar picture for the screen's scale, once, when the pictures
// are loaded. Each new pixel is the average of the old pixels it covers,
// weighted by how much of each it covers: a picture grown by 1.5 keeps its
// flat areas and hard edges exact and mixes only the pixels an edge falls
// into, so it is neither blocky nor blurred.
// Pure; any thread.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace tavlix::app {

// Pixels as 32-bit values with four 8-bit channels (any order: each channel
// is averaged on its own), rows from top to bottom, no padding.
struct PicturePixels {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;  // width * height
};

// `from` resized to `width` x `height`. Empty (0 x 0) when either picture has
// no pixels or `from.pixels` does not hold width * height of them.
PicturePixels ScalePicture(const PicturePixels& from, int width, int height);

}  // namespace tavlix::app
