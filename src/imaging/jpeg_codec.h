// JPEG through libjpeg-turbo: decode to a 24-bit raster, encode a raster.
//
// Colour, grey, CMYK / YCCK (converted to colour) and progressive files
// decode; a picture above the size ceiling (raster.h) is refused from its
// header, before any pixel memory is taken; a damaged or truncated file is an
// error. Encoding uses the library's defaults (quality 75) and writes 24-bit
// colour. libjpeg's errors never unwind C++ frames. Thread-safe.
#pragma once

#include <cstdint>
#include <span>

#include "imaging/raster.h"
#include "platform/byte_sink.h"
#include "platform/result.h"

namespace tavlix::imaging {

Result<Raster> DecodeJpeg(std::span<const std::uint8_t> bytes);

// Writes the picture as a JPEG file to the descriptor.
Status EncodeJpeg(const RasterView& picture, platform::ByteSink& out);

}  // namespace tavlix::imaging
