// One-page PDFs around a JPEG or PNG picture, written with libharu: A4
// landscape, the picture scaled by a whole percentage to fit and centred.
//
// A JPEG is embedded as it is. A PNG is first checked with our own decoder
// (libharu's PNG loader aborts the process on a damaged file); an 8-bit grey
// or colour, non-interlaced PNG then keeps its own compressed data (PDF's PNG
// predictors read it as it is), so nothing is deflated again. Thread-safe:
// one libharu document per call.
#pragma once

#include <cstdint>
#include <filesystem>

#include "imaging/picture_codec.h"
#include "imaging/save_mode.h"
#include "platform/result.h"

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

// Writes the one-page PDF `target` around the picture `source` of the given
// kind, through a temporary file. Errors: libharu cannot start, load or save
// (its reports also go through error_handler), a damaged PNG, a name taken.
Status PackagePictureAsPdf(const std::filesystem::path& source, PictureFormat kind,
                           const std::filesystem::path& target, SaveMode mode = SaveMode::never_replace);

}  // namespace tavlix::imaging
