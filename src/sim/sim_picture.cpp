#include "sim/sim_picture.h"

#include <fstream>
#include <vector>

#include "imaging/board_pdf_writer.h"
#include "imaging/picture_codec.h"

namespace tavlix::sim {
namespace {

// A sheet of whiteboard: white, a frame, and strokes whose places depend on
// the picture's serial and page, so that no two pictures are alike.
std::vector<std::uint8_t> Pattern(const PictureSpec& look, int serial, int page) {
  const std::size_t channels = look.grey ? 1 : 3;
  const std::size_t w = look.width;
  const std::size_t h = look.height;
  std::vector<std::uint8_t> pixels(w * h * channels, 255);
  auto ink = [&](std::size_t x, std::size_t y, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    if (x >= w || y >= h) return;
    std::uint8_t* p = &pixels[(y * w + x) * channels];
    if (look.grey) {
      p[0] = static_cast<std::uint8_t>((r * 30 + g * 59 + b * 11) / 100);
    } else {
      p[0] = r;
      p[1] = g;
      p[2] = b;
    }
  };
  for (std::size_t x = 0; x < w; ++x) {
    ink(x, 0, 40, 40, 40);
    ink(x, h - 1, 40, 40, 40);
  }
  for (std::size_t y = 0; y < h; ++y) {
    ink(0, y, 40, 40, 40);
    ink(w - 1, y, 40, 40, 40);
  }
  // A few strokes: one line a bit of the serial number.
  const auto key = static_cast<unsigned>(serial * 7 + page * 131);
  for (unsigned bit = 0; bit < 12; ++bit) {
    const std::size_t y = h * (bit + 1) / 14;
    const std::size_t length = (key >> bit) & 1u ? w * 3 / 4 : w / 3;
    const std::uint8_t blue = static_cast<std::uint8_t>((key * 37 + bit * 11) & 0xFF);
    for (std::size_t x = w / 10; x < w / 10 + length; ++x) {
      ink(x, y, 20, 30, blue);
      ink(x, y + 1, 20, 30, blue);
    }
  }
  return pixels;
}

imaging::RasterView View(const PictureSpec& look, const std::vector<std::uint8_t>& pixels) {
  return {look.width, look.height, look.grey ? imaging::PixelLayout::grey8 : imaging::PixelLayout::rgb24,
          pixels};
}

}  // namespace

std::optional<PictureKind> ParsePictureKind(std::string_view text) {
  if (text == "png") return PictureKind::png;
  if (text == "jpeg" || text == "jpg") return PictureKind::jpeg;
  if (text == "pdf") return PictureKind::pdf;
  return std::nullopt;
}

std::string_view PictureExtension(PictureKind kind) {
  switch (kind) {
    case PictureKind::png: return ".png";
    case PictureKind::jpeg: return ".jpg";
    case PictureKind::pdf: return ".pdf";
  }
  return ".png";
}

Status WriteSimPicture(const PictureSpec& look, const std::filesystem::path& path, int serial) {
  if (look.kind != PictureKind::pdf) {
    const auto pixels = Pattern(look, serial, 1);
    return imaging::SavePicture(
        View(look, pixels),
        look.kind == PictureKind::png ? imaging::PictureFormat::png : imaging::PictureFormat::jpeg, path);
  }
  const int pages = look.pages < 1 ? 1 : (look.pages > 4 ? 4 : look.pages);
  std::vector<std::vector<std::uint8_t>> pixels;
  std::vector<imaging::RasterView> views;
  pixels.reserve(static_cast<std::size_t>(pages));
  views.reserve(static_cast<std::size_t>(pages));
  for (int page = 1; page <= pages; ++page) pixels.push_back(Pattern(look, serial, page));
  for (const auto& p : pixels) views.push_back(View(look, p));
  auto pdf = imaging::WriteBoardPdf(views);
  if (!pdf) return pdf.failure();
  if (std::filesystem::exists(path)) return Fail(path.string() + " exists already");
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(pdf->data()), static_cast<std::streamsize>(pdf->size()));
  out.close();
  if (!out) return Fail("cannot write " + path.string());
  return Success();
}

}  // namespace tavlix::sim
