#include "imaging/adler32.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <random>
#include <vector>

namespace tavlix::imaging {
namespace {

TEST(Adler32, MatchesZlibAcrossBlockAndChunkEdgesAndExtremeBytes) {
  std::mt19937 random(7);
  for (const std::uint8_t fill : {std::uint8_t{0}, std::uint8_t{0xFF}, std::uint8_t{1}}) {
    for (const std::size_t size : {0u, 1u, 15u, 16u, 17u, 5535u, 5536u, 5553u, 100'003u}) {
      std::vector<std::uint8_t> bytes(size, fill);
      if (fill == 1)
        for (auto& b : bytes) b = static_cast<std::uint8_t>(random());
      // Continued from a start near the top of both sums, and from 1.
      for (const std::uint32_t start : {1u, 65520u << 16 | 65500u}) {
        // (zlib answers 1 for no buffer at all, whatever the start.)
        const auto expected =
            size == 0 ? start : static_cast<std::uint32_t>(adler32_z(start, bytes.data(), bytes.size()));
        EXPECT_EQ(Adler32(start, bytes), expected) << size << " bytes of " << int{fill};
      }
    }
  }
}

}  // namespace
}  // namespace tavlix::imaging
