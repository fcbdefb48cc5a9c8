// One-page PDFs around a JPEG or PNG picture, written with libharu: A4
// landscape, the picture scaled by a whole percentage to fit and centred.
//
// The picture file is read once into memory and libharu only ever sees data
// we have checked, from memory. A JPEG is read through its end-of-image
// marker first (jpeg_codec.h: budget, damage, scan limit) and then embedded
// as it is, without the bytes after that marker. A PNG never reaches
// libharu's PNG loader (it aborts on damaged files and frees twice on
// interlaced ones): our decoder reads it, and an 8-bit grey or colour,
// non-interlaced PNG without transparency keeps its own compressed data (PDF's
// PNG predictors read it as it is); any other PNG goes in as our decoded
// pixels (grey when the PNG is grey, transparency laid over white), deflated
// by libharu. Thread-safe: one libharu document per call.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

#include "core/result.h"
#include "imaging/picture_codec.h"
#include "imaging/save_mode.h"

namespace tavlix::imaging {

// Where the picture goes on the 842 x 595 point page: s = min(84200 / W,
// 59500 / H) in whole percent; the drawn size W x s / 100 by H x s / 100
// truncated; the lower-left corner centring it (integer halves).
struct PdfPlacement {
  std::uint32_t scale = 0;
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};
PdfPlacement PlaceOnA4Landscape(std::uint32_t width, std::uint32_t height);

// libharu's error callback: prints "ERROR: error_no=%04X, detail_no=%u\n" to
// the standard output and returns, so the failing call returns its error.
// (The parameter types are libharu's HPDF_STATUS.)
void error_handler(unsigned long error_no, unsigned long detail_no, void* user_data);

// The one-page PDF around a whole picture file held in memory. Errors: a
// picture that is damaged, not of the kind given or above the budget;
// libharu cannot start, load or save (its reports also go through
// error_handler).
Result<std::vector<std::uint8_t>> PictureToPdf(std::span<const std::uint8_t> picture, PictureFormat kind,
                                               std::size_t budget = kRasterBudgetBytes);

// Writes the one-page PDF `target` around the picture `source` of the given
// kind, through a temporary file. Errors: those of PictureToPdf, a source
// that cannot be read (at most 64 MiB, a regular file), a name taken.
Status PackagePictureAsPdf(const std::filesystem::path& source, PictureFormat kind,
                           const std::filesystem::path& target, SaveMode mode = SaveMode::never_replace);

}  // namespace tavlix::imaging
