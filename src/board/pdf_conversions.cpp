// The two conversions of the copy step: a board PDF into pictures, and a
// picture into a one-page PDF. Both leave a plain copy of the source when the
// conversion fails, and return 1 on success, 0 on failure.
#include <array>

#include "board/communication_thread.h"
#include "board/picture_listing.h"
#include "imaging/board_pdf_pictures.h"
#include "imaging/board_pdf_reader.h"
#include "imaging/pdf_packaging.h"
#include "imaging/picture_names.h"
#include "imaging/safe_save.h"

namespace tavlix::board {

int TCommunicationThread::SaveFromPDFimg(const std::filesystem::path& source,
                                         const std::filesystem::path& target, settings::OutputFormat ext) {
  if (ext != settings::OutputFormat::jpeg && ext != settings::OutputFormat::png) {
    // The board's own format: the file goes over unchanged.
    return imaging::CopyFileNoReplace(source, target) ? 1 : 0;
  }
  const auto format =
      ext == settings::OutputFormat::jpeg ? imaging::PictureFormat::jpeg : imaging::PictureFormat::png;
  std::array<std::filesystem::path, imaging::kBoardPdfMaxPages> pages;
  for (int k = 0; k < imaging::kBoardPdfMaxPages; ++k)
    pages[static_cast<std::size_t>(k)] = imaging::PagePath(target, k + 1);

  const auto pdf = imaging::ReadBoardPdf(source);
  if (pdf && imaging::SaveBoardPdfPages(*pdf, pages, format, imaging::SaveMode::never_replace)) return 1;
  // Pages saved before the failure stay; the whole PDF goes beside them.
  (void)imaging::CopyFileNoReplace(source, imaging::WithLastFourCharactersReplaced(target, ".pdf"));
  return 0;
}

int TCommunicationThread::SaveToPDFimg(const std::filesystem::path& target,
                                       const std::filesystem::path& source) {
  const int kind = ImageType;
  if (kind == kImageJpeg || kind == kImagePng) {
    const auto format = kind == kImageJpeg ? imaging::PictureFormat::jpeg : imaging::PictureFormat::png;
    if (imaging::PackagePictureAsPdf(source, format, target)) return 1;
  }
  (void)imaging::CopyFileNoReplace(
      source, imaging::WithLastFourCharactersReplaced(target, kind == kImageJpeg ? ".jpg" : ".png"));
  return 0;
}

}  // namespace tavlix::board
