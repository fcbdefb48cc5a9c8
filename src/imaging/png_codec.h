// PNG through libpng: decode to a 24-bit raster, encode a raster.
//
// Grey, palette, 1- to 16-bit and interlaced files decode to 24-bit colour;
// transparency is laid over white, the colour of the board's paper. A picture
// whose pixels (and, for an interlaced one with alpha, its staging copy)
// would not fit the raster budget (raster.h) is refused from its header,
// before any pixel memory is taken; a damaged or truncated file is an error.
// libpng's errors never unwind C++ frames. Thread-safe.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "core/result.h"
#include "imaging/raster.h"
#include "platform/byte_sink.h"

namespace tavlix::imaging {

Result<Raster> DecodePng(std::span<const std::uint8_t> bytes, std::size_t budget = kRasterBudgetBytes);

// How the encoder compresses: the row filter and zlib's level and strategy.
// The defaults are what the program writes, chosen by benchmark for
// whiteboard pictures (bench/imaging_bench.cpp): on white paper with strokes
// and sparse sensor noise, rows without a filter at zlib level 3 come out
// smaller than libpng's defaults (adaptive filters, level 6) and about four
// times faster; the filters only spread the noise.
struct PngEncoding {
  enum class Filter { none, sub, up, average, paeth, adaptive };
  enum class Strategy { standard, filtered, rle, huffman_only };
  Filter filter = Filter::none;
  int level = 3;  // zlib level 0..9
  Strategy strategy = Strategy::standard;
};

PngEncoding WhiteboardPngEncoding();
// libpng's own defaults (adaptive filter, level 6), for comparison.
PngEncoding LibpngDefaultEncoding();

// Writes the picture as a 24-bit colour PNG file to the descriptor.
Status EncodePng(const RasterView& picture, platform::ByteSink& out,
                 const PngEncoding& encoding = WhiteboardPngEncoding());

}  // namespace tavlix::imaging
