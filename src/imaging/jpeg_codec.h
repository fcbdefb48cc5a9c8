// JPEG through libjpeg-turbo: decode to a 24-bit raster, check a file
// without decoding its pixels, encode a raster.
//
// Colour, grey, CMYK / YCCK (converted to colour) and progressive files
// decode. A picture whose pixels would not fit the raster budget (raster.h)
// is refused from its header, before any pixel memory is taken; the
// library's own whole-picture buffers count against the same budget. Damage
// is an error: a file that ends early, and every warning libjpeg gives about
// corrupt data (a marker inside the data, extraneous bytes, bad codes); so is
// a file of more than kMaxJpegScans scans, which would keep a worker busy for
// minutes. Encoding uses the library's defaults (quality 75) and writes
// 24-bit colour. libjpeg's errors never unwind C++ frames. Thread-safe.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "core/result.h"
#include "imaging/raster.h"
#include "platform/byte_sink.h"

namespace tavlix::imaging {

inline constexpr int kMaxJpegScans = 500;

Result<Raster> DecodeJpeg(std::span<const std::uint8_t> bytes, std::size_t budget = kRasterBudgetBytes);

// What checking a JPEG found.
struct JpegFacts {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  int components = 0;
  bool arithmetic = false;  // arithmetic rather than Huffman coding
  std::size_t length = 0;   // bytes through the end-of-image marker
};

// Reads the whole file as decoding would, through its end-of-image marker,
// without producing pixels; the same budget and the same damage rules apply.
Result<JpegFacts> CheckJpeg(std::span<const std::uint8_t> bytes, std::size_t budget = kRasterBudgetBytes);

// Writes the picture as a JPEG file to the descriptor.
Status EncodeJpeg(const RasterView& picture, platform::ByteSink& out);

}  // namespace tavlix::imaging
