#include "board/picture_complete.h"

#include <algorithm>
#include <string_view>

#include "board/picture_listing.h"

namespace tavlix::board {
namespace {

bool EndsWith(std::span<const std::uint8_t> bytes, std::string_view ending) {
  return bytes.size() >= ending.size() &&
         std::equal(ending.begin(), ending.end(), bytes.end() - static_cast<std::ptrdiff_t>(ending.size()),
                    [](char a, std::uint8_t b) { return static_cast<std::uint8_t>(a) == b; });
}

}  // namespace

bool EndsComplete(int kind, std::span<const std::uint8_t> bytes) {
  using namespace std::string_view_literals;
  switch (kind) {
    case kImagePng: return EndsWith(bytes, "\0\0\0\0IEND\xAE\x42\x60\x82"sv);
    case kImageJpeg: return EndsWith(bytes, "\xFF\xD9"sv);
    case kImagePdf: {
      std::size_t end = bytes.size();
      while (end > 0 && (bytes[end - 1] == '\n' || bytes[end - 1] == '\r')) --end;
      return EndsWith(bytes.first(end), "%%EOF"sv);
    }
    default: return false;
  }
}

}  // namespace tavlix::board
