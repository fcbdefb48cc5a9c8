// A board PDF's pages saved as JPEG or PNG pictures, one file a page.
//
// The pages are independent: each is inflated and encoded on a thread of its
// own (as many threads as the machine has cores, at most the page count, and
// only as many as the raster budget holds pages in flight: a page's pixels
// and its encoded file). The files are written by the calling thread in page
// order, each through a temporary file. The first page that fails stops the
// save: the pages before it stay, no later page is written, and nothing
// half-written is left. Thread-safe; returns only when every thread it
// started has ended.
#pragma once

#include <filesystem>
#include <span>
#include <vector>

#include "core/result.h"
#include "imaging/board_pdf_reader.h"
#include "imaging/picture_codec.h"
#include "imaging/save_mode.h"

namespace tavlix::imaging {

// Saves page k of `pdf` to page_paths[k] in `format`. `page_paths` must name
// at least pdf.layout.pages files. `saved` (if given) receives the paths
// written, in page order. `threads` caps the threads used (0: the machine's
// cores).
Status SaveBoardPdfPages(const BoardPdf& pdf, std::span<const std::filesystem::path> page_paths,
                         PictureFormat format, SaveMode mode,
                         std::vector<std::filesystem::path>* saved = nullptr, unsigned threads = 0);

// The threads that convert `pages` pages of `page_bytes` pixel bytes each
// when `requested` (0: the machine's cores) are asked for: at least 1.
unsigned BoardPdfPageThreads(unsigned requested, int pages, std::size_t page_bytes);

}  // namespace tavlix::imaging
