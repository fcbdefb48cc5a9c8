#include "platform/profile_encoding.h"

#include <cstdint>

namespace tavlix::platform {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

}  // namespace

bool IsValidUtf8(std::string_view bytes) {
  std::size_t i = 0;
  while (i < bytes.size()) {
    const auto lead = static_cast<std::uint8_t>(bytes[i]);
    std::size_t length = 0;
    std::uint32_t code = 0;
    std::uint32_t least = 0;
    if (lead < 0x80) {
      ++i;
      continue;
    }
    if ((lead & 0xE0) == 0xC0) {
      length = 2, code = lead & 0x1F, least = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
      length = 3, code = lead & 0x0F, least = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
      length = 4, code = lead & 0x07, least = 0x10000;
    } else {
      return false;
    }
    if (bytes.size() - i < length) return false;
    for (std::size_t k = 1; k < length; ++k) {
      const auto next = static_cast<std::uint8_t>(bytes[i + k]);
      if ((next & 0xC0) != 0x80) return false;
      code = (code << 6) | (next & 0x3F);
    }
    if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
    i += length;
  }
  return true;
}

ProfileEncoding DetectProfileEncoding(std::string_view bytes) {
  return bytes.starts_with(kUtf8Bom) || IsValidUtf8(bytes) ? ProfileEncoding::utf8
                                                           : ProfileEncoding::system_code_page;
}

std::string ProfileBytesToText(std::string_view bytes) {
  if (DetectProfileEncoding(bytes) == ProfileEncoding::utf8) return std::string(bytes);
  return SystemCodePageToUtf8(bytes);
}

std::string ProfileTextToBytes(std::string_view text, std::string_view was) {
  if (was.starts_with(kUtf8Bom) || text.starts_with(kUtf8Bom)) return std::string(text);
  if (auto in_code_page = Utf8ToSystemCodePage(text)) return std::move(*in_code_page);
  return std::string(text);
}

}  // namespace tavlix::platform
