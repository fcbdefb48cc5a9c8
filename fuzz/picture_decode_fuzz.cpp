// JPEG and PNG decoding of any bytes: no crash, no leak, no read outside the
// data, and a decoded picture always within the raster budget.
#include <cstddef>
#include <cstdint>
#include <span>

#include "imaging/jpeg_codec.h"
#include "imaging/picture_codec.h"
#include "imaging/png_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);
  // Both decoders see every input, whatever its first bytes say.
  for (const auto& decoded : {tavlix::imaging::DecodeJpeg(bytes), tavlix::imaging::DecodePng(bytes)}) {
    if (!decoded) continue;
    if (decoded->rgb.size() != std::size_t{decoded->width} * decoded->height * 3) __builtin_trap();
    if (decoded->rgb.size() > tavlix::imaging::kRasterBudgetBytes) __builtin_trap();
  }
  (void)tavlix::imaging::DecodePicture(bytes);
  return 0;
}
