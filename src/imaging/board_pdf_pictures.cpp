#include "imaging/board_pdf_pictures.h"

namespace tavlix::imaging {

Status SaveBoardPdfPages(const BoardPdf& pdf, std::span<const std::filesystem::path> page_paths,
                         PictureFormat format, SaveMode mode, std::vector<std::filesystem::path>* saved) {
  const BoardPdfLayout& layout = pdf.layout;
  if (page_paths.size() < static_cast<std::size_t>(layout.pages))
    return Fail("a name for every page is needed");
  // One page buffer serves every page in turn.
  std::vector<std::uint8_t> pixels;
  for (int page = 0; page < layout.pages; ++page) {
    if (Status inflated = InflateBoardPdfPage(pdf.head, layout, page, pixels); !inflated) return inflated;
    const RasterView view{layout.width, layout.height, layout.pixel_layout(), pixels};
    const std::filesystem::path& target = page_paths[static_cast<std::size_t>(page)];
    if (Status written = SavePicture(view, format, target, mode); !written) return written;
    if (saved != nullptr) saved->push_back(target);
  }
  return Success();
}

}  // namespace tavlix::imaging
