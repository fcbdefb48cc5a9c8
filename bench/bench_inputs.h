// The benchmark inputs: a 2496 x 1760 whiteboard picture as PNG and JPEG, and
// a 4-page colour board PDF of four such pictures.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "imaging/board_pdf_writer.h"
#include "imaging/picture_codec.h"
#include "imaging/safe_save.h"
#include "whiteboard_picture.h"

namespace tavlix::bench {

struct Inputs {
  std::filesystem::path png, jpeg, board_pdf;
};

// Writes the inputs into `folder` (replacing earlier ones); empty paths on
// failure, with the reason in `error`.
inline Inputs WriteInputs(const std::filesystem::path& folder, std::string& error) {
  std::filesystem::create_directories(folder);
  Inputs in{folder / "whiteboard.png", folder / "whiteboard.jpg", folder / "board4.pdf"};
  std::vector<imaging::Raster> pages;
  std::vector<imaging::RasterView> views;
  pages.reserve(4);
  views.reserve(4);
  for (std::uint32_t seed = 1; seed <= 4; ++seed) pages.push_back(WhiteboardPicture(2496, 1760, seed));
  for (const auto& page : pages) views.push_back(imaging::ViewOf(page));
  const auto mode = imaging::SaveMode::replace;
  Status saved = imaging::SavePicture(views[0], imaging::PictureFormat::png, in.png, mode);
  if (saved) saved = imaging::SavePicture(views[0], imaging::PictureFormat::jpeg, in.jpeg, mode);
  const auto pdf = imaging::WriteBoardPdf(views);
  if (saved && pdf) {
    saved = imaging::WriteNewFile(
        in.board_pdf, [&](imaging::PendingFile& file) { return file.Write(*pdf); }, mode);
  }
  if (!saved || !pdf) {
    error = !saved ? saved.error() : pdf.error();
    return {};
  }
  return in;
}

}  // namespace tavlix::bench
