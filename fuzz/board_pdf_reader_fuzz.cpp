// The board PDF reader on any bytes: the scan and every page's inflation
// must stay inside the data, and whatever they accept must be consistent.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "imaging/board_pdf_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);
  const auto layout = tavlix::imaging::ScanBoardPdf(bytes);
  if (!layout) return 0;
  if (layout->pages < 1 || layout->pages > tavlix::imaging::kBoardPdfMaxPages) __builtin_trap();
  std::vector<std::uint8_t> pixels;
  for (int page = 0; page < layout->pages; ++page) {
    const auto& stream = layout->streams[static_cast<std::size_t>(page)];
    if (stream.offset + stream.length > size) __builtin_trap();
    if (tavlix::imaging::InflateBoardPdfPage(bytes, *layout, page, pixels) &&
        pixels.size() != std::size_t{layout->width} * layout->height * (layout->grey ? 1 : 3))
      __builtin_trap();
  }
  return 0;
}
