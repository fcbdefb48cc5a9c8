// Rasters: decoded pictures in memory, and the raster budget that keeps a
// hostile file from exhausting memory.
//
// A Raster owns 24-bit colour pixels (red, green, blue), rows from top to
// bottom, no padding. A RasterView borrows pixels of either layout for the
// encoders, which always write 24-bit colour files.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "core/result.h"

namespace tavlix::imaging {

// The pixel memory one conversion may hold at once (decoded rasters and the
// decoders' own whole-picture buffers): room for a 24-bit picture of about
// 13,000 x 13,000, so camera pictures convert while a header that declares
// more is refused before anything large is allocated. No side may exceed
// kMaxSide pixels.
inline constexpr std::size_t kRasterBudgetBytes = std::size_t{512} << 20;
inline constexpr std::uint32_t kMaxSide = 65'535;

enum class PixelLayout { rgb24, grey8 };

inline constexpr std::size_t BytesPerPixel(PixelLayout layout) {
  return layout == PixelLayout::rgb24 ? 3 : 1;
}

struct Raster {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  std::vector<std::uint8_t> rgb;  // width * height * 3 bytes
};

struct RasterView {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  PixelLayout layout = PixelLayout::rgb24;
  std::span<const std::uint8_t> pixels;  // at least width * height * BytesPerPixel
};

inline RasterView ViewOf(const Raster& raster) {
  return {raster.width, raster.height, PixelLayout::rgb24, raster.rgb};
}

// The bytes a width x height picture needs in `layout`, or an error when a
// side is zero or above kMaxSide, or the total is above `budget`.
Result<std::size_t> CheckedPixelBytes(std::uint32_t width, std::uint32_t height, PixelLayout layout,
                                      std::size_t budget = kRasterBudgetBytes);

// Allocates the pixels of a 24-bit raster after the budget check; an error
// instead of an exception when memory is short.
Result<Raster> AllocateRaster(std::uint32_t width, std::uint32_t height,
                              std::size_t budget = kRasterBudgetBytes);

// A view's pixels are large enough for its size and layout.
bool IsComplete(const RasterView& view);

}  // namespace tavlix::imaging
