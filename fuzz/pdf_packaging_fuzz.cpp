// One-page PDF packaging of any bytes, taken as a JPEG and as a PNG, through
// libharu: no crash, no leak, no double free on libharu's error paths, and
// whatever is accepted comes out as a PDF.
#include <cstddef>
#include <cstdint>
#include <span>

#include "imaging/pdf_packaging.h"

namespace {
// A smaller budget than the program's keeps every input fast.
constexpr std::size_t kFuzzBudget = 32u << 20;
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);
  for (const auto kind : {tavlix::imaging::PictureFormat::jpeg, tavlix::imaging::PictureFormat::png}) {
    const auto pdf = tavlix::imaging::PictureToPdf(bytes, kind, kFuzzBudget);
    if (pdf && (pdf->size() < 5 || (*pdf)[0] != '%' || (*pdf)[1] != 'P' || (*pdf)[4] != '-'))
      __builtin_trap();
  }
  return 0;
}
