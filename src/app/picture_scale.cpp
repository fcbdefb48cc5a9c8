#include "app/picture_scale.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace tavlix::app {
namespace {

// One new pixel along an axis: the old pixels it covers and their weights, in
// units of 1/`to` of an old pixel, so that every weight is a whole number and
// the weights of a new pixel add up to `from`.
struct Cover {
  int first = 0;
  std::vector<std::int64_t> weights;
};

std::vector<Cover> Covers(int from, int to) {
  std::vector<Cover> covers(static_cast<std::size_t>(to));
  for (int i = 0; i < to; ++i) {
    // The new pixel spans [i * from, (i + 1) * from) in those units; old
    // pixel s spans [s * to, (s + 1) * to).
    const std::int64_t begin = std::int64_t{i} * from;
    const std::int64_t end = begin + from;
    Cover& cover = covers[static_cast<std::size_t>(i)];
    cover.first = static_cast<int>(begin / to);
    for (std::int64_t s = cover.first; s * to < end && s < from; ++s) {
      const std::int64_t low = std::max(begin, s * to);
      const std::int64_t high = std::min(end, (s + 1) * to);
      cover.weights.push_back(high - low);
    }
  }
  return covers;
}

}  // namespace

PicturePixels ScalePicture(const PicturePixels& from, int width, int height) {
  if (from.width <= 0 || from.height <= 0 || width <= 0 || height <= 0) return {};
  const auto old_width = static_cast<std::size_t>(from.width);
  if (from.pixels.size() != old_width * static_cast<std::size_t>(from.height)) return {};
  const std::vector<Cover> across = Covers(from.width, width);
  const std::vector<Cover> down = Covers(from.height, height);
  // The weights of one new pixel add up to from.width * from.height.
  const double total = static_cast<double>(from.width) * from.height;

  PicturePixels to{
      width, height,
      std::vector<std::uint32_t>(static_cast<std::size_t>(width) * static_cast<std::size_t>(height))};
  for (int y = 0; y < height; ++y) {
    const Cover& rows = down[static_cast<std::size_t>(y)];
    for (int x = 0; x < width; ++x) {
      const Cover& columns = across[static_cast<std::size_t>(x)];
      std::int64_t sums[4] = {0, 0, 0, 0};
      for (std::size_t r = 0; r < rows.weights.size(); ++r) {
        const std::size_t row = static_cast<std::size_t>(rows.first) + r;
        for (std::size_t c = 0; c < columns.weights.size(); ++c) {
          const std::uint32_t pixel =
              from.pixels[row * old_width + static_cast<std::size_t>(columns.first) + c];
          const std::int64_t weight = rows.weights[r] * columns.weights[c];
          for (int channel = 0; channel < 4; ++channel)
            sums[channel] += weight * ((pixel >> (8 * channel)) & 0xFFu);
        }
      }
      std::uint32_t pixel = 0;
      for (int channel = 0; channel < 4; ++channel) {
        const auto value =
            static_cast<std::uint32_t>(std::lround(static_cast<double>(sums[channel]) / total));
        pixel |= value << (8 * channel);
      }
      to.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)] =
          pixel;
    }
  }
  return to;
}

}  // namespace tavlix::app
