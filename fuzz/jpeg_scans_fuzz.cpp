// JPEG decoding and checking of any bytes, progressive files with many scans
// among them: no crash, no leak, no read outside the data, a decoded picture
// of the size it declares within the budget, and the check (used before a
// JPEG is embedded unchanged) never accepting what decoding refuses.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "imaging/jpeg_codec.h"

namespace {
// A smaller budget than the program's keeps every input fast.
constexpr std::size_t kFuzzBudget = 32u << 20;
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);
  const auto decoded = tavlix::imaging::DecodeJpeg(bytes, kFuzzBudget);
  const auto checked = tavlix::imaging::CheckJpeg(bytes, kFuzzBudget);
  if (decoded) {
    if (decoded->rgb.size() != std::size_t{decoded->width} * decoded->height * 3) __builtin_trap();
    if (decoded->rgb.size() > kFuzzBudget) __builtin_trap();
  }
  if (checked) {
    if (checked->length > size) __builtin_trap();
    // Decoding holds the pixels too, so only memory may refuse it.
    if (!decoded && decoded.error().find("Backing store") == std::string::npos) __builtin_trap();
    if (decoded && (checked->width != decoded->width || checked->height != decoded->height)) __builtin_trap();
  }
  return 0;
}
