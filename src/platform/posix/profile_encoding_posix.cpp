#include "platform/profile_encoding.h"

// Linux's system text is UTF-8: bytes that are not are kept as they are.
namespace tavlix::platform {

std::string SystemCodePageToUtf8(std::string_view bytes) {
  return std::string(bytes);
}

std::optional<std::string> Utf8ToSystemCodePage(std::string_view text) {
  return std::string(text);
}

}  // namespace tavlix::platform
