// A board PDF's pages saved as JPEG or PNG pictures, one file a page.
// Thread-safe; pictures of pages saved before a failure stay.
#pragma once

#include <filesystem>
#include <span>
#include <vector>

#include "imaging/board_pdf_reader.h"
#include "imaging/picture_codec.h"
#include "imaging/save_mode.h"
#include "platform/result.h"

namespace tavlix::imaging {

// Inflates each page of `pdf` in turn and saves it to page_paths[k] in
// `format`, through a temporary file. `page_paths` must name at least
// pdf.layout.pages files. `saved` (if given) receives the paths written.
Status SaveBoardPdfPages(const BoardPdf& pdf, std::span<const std::filesystem::path> page_paths,
                         PictureFormat format, SaveMode mode,
                         std::vector<std::filesystem::path>* saved = nullptr);

}  // namespace tavlix::imaging
