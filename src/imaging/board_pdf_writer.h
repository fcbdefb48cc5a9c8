// A writer of PDF files in the board's layout (what board_pdf_reader.h relies
// on): 1 to 4 pages, one image a page, the first page in the file's first
// cross-reference section and each further page in an incremental update
// whose image entry is the third-last before its trailer. The files are real
// PDFs that any viewer opens. Used by the tests, the benchmarks and the
// simulated board. Pure; thread-safe.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "core/result.h"
#include "imaging/raster.h"

namespace tavlix::imaging {

// `zlib_level` 0..9 (or -1, zlib's default) for the image streams. Pages may
// be colour or grey (a grey page is marked /DeviceGray).
Result<std::vector<std::uint8_t>> WriteBoardPdf(std::span<const RasterView> pages, int zlib_level = -1);

}  // namespace tavlix::imaging
