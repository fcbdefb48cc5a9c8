#include "imaging/raster.h"

#include <new>

namespace tavlix::imaging {

Result<std::size_t> CheckedPixelBytes(std::uint32_t width, std::uint32_t height, PixelLayout layout,
                                      std::size_t budget) {
  if (width == 0 || height == 0) return Fail("the picture has no pixels", ErrorKind::damaged);
  if (width > kMaxSide || height > kMaxSide)
    return Fail("the picture is " + std::to_string(width) + " x " + std::to_string(height) +
                    " pixels; a side may have at most " + std::to_string(kMaxSide),
                ErrorKind::too_large);
  // Both sides are below 2^16, so the product fits in 64 bits with room.
  const std::uint64_t bytes = std::uint64_t{width} * height * BytesPerPixel(layout);
  if (bytes > budget)
    return Fail("the picture is " + std::to_string(width) + " x " + std::to_string(height) +
                    " pixels, more than the " + std::to_string(budget >> 20) + " MiB a conversion may take",
                ErrorKind::too_large);
  return static_cast<std::size_t>(bytes);
}

Result<Raster> AllocateRaster(std::uint32_t width, std::uint32_t height, std::size_t budget) {
  const auto bytes = CheckedPixelBytes(width, height, PixelLayout::rgb24, budget);
  if (!bytes) return bytes.failure();
  Raster raster;
  raster.width = width;
  raster.height = height;
  try {
    raster.rgb.resize(*bytes);
  } catch (const std::bad_alloc&) {
    return Fail("not enough memory for a " + std::to_string(width) + " x " + std::to_string(height) +
                " picture");
  }
  return raster;
}

bool IsComplete(const RasterView& view) {
  const std::uint64_t need = std::uint64_t{view.width} * view.height * BytesPerPixel(view.layout);
  return view.width > 0 && view.height > 0 && view.pixels.size() >= need;
}

}  // namespace tavlix::imaging
