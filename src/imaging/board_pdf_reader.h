// The reader of the board's PDF files: finds each page's image by scanning the
// raw bytes for the keywords of the fixed layout the board writes, and
// inflates it with zlib. It is not a general PDF reader; a file in another
// layout is refused (and then copied unconverted by the caller).
//
// Layout relied on: one image per page, page k described by the k-th
// cross-reference section (incremental updates linked by /Prev), the image's
// entry the third-last before the trailer keyword and the object after it the
// second-last, /Size of the last trailer giving the page count, one picture
// size (the first /Width and /Height) for all pages, /DeviceGray in any image
// making every page grey.
//
// Every offset, keyword comparison and number read is bounded by the bytes
// actually read; offsets that point outside them or backwards, absurd sizes
// and short streams are errors. Pure functions; thread-safe.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

#include "core/result.h"
#include "imaging/raster.h"

namespace tavlix::imaging {

// A board PDF is read whole, up to the size of the largest file a copy takes;
// a larger file is refused rather than read in part, so that no page is lost
// unnoticed.
inline constexpr std::uint64_t kBoardPdfMaxBytes = std::uint64_t{256} << 20;
inline constexpr int kBoardPdfMaxPages = 4;
inline constexpr std::uint32_t kBoardPdfDefaultWidth = 2496;
inline constexpr std::uint32_t kBoardPdfDefaultHeight = 1760;

struct BoardPdfStream {
  std::size_t offset = 0;  // first byte of the compressed data
  std::size_t length = 0;  // up to the endstream keyword
};

struct BoardPdfLayout {
  int pages = 0;
  std::uint32_t width = kBoardPdfDefaultWidth;
  std::uint32_t height = kBoardPdfDefaultHeight;
  bool grey = false;
  std::array<BoardPdfStream, kBoardPdfMaxPages> streams{};

  PixelLayout pixel_layout() const { return grey ? PixelLayout::grey8 : PixelLayout::rgb24; }
};

// The page count a last trailer's /Size gives: up to 7 (also 0 and
// negative) 1, 8-11 2, 12-15 3, 16-19 4; 0 for a refused file (20 and up).
int PagesForSize(std::int64_t size);

// Finds the pages in a whole board PDF.
Result<BoardPdfLayout> ScanBoardPdf(std::span<const std::uint8_t> data);

// Inflates page `page` (0-based) of a scanned file into `pixels`, which is
// resized to exactly width x height x bytes per pixel. The stream must
// inflate completely, to at least that many bytes and at most
// kRasterBudgetBytes (a colour page read as grey inflates to more than it
// needs); data too short to inflate to the page are refused before the
// page's memory is allocated.
Status InflateBoardPdfPage(std::span<const std::uint8_t> data, const BoardPdfLayout& layout, int page,
                           std::vector<std::uint8_t>& pixels);

// A board PDF read into memory and scanned.
struct BoardPdf {
  std::vector<std::uint8_t> bytes;  // the whole file
  BoardPdfLayout layout;
};

// Reads the whole file (at most kBoardPdfMaxBytes) and scans it. A file that
// exists but cannot be opened (in use, access denied) is tried once more
// after 500 ms on the program's clock.
Result<BoardPdf> ReadBoardPdf(const std::filesystem::path& path);

}  // namespace tavlix::imaging
