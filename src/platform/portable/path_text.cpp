#include "platform/path_text.h"

#include <type_traits>

namespace tavlix::platform {
namespace {

void AppendUtf8(std::string& text, char32_t c) {
  auto unit = [&text](char32_t bits) { text.push_back(static_cast<char>(bits)); };
  if (c < 0x80) {
    unit(c);
  } else if (c < 0x800) {
    unit(0xC0 | (c >> 6));
    unit(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    unit(0xE0 | (c >> 12));
    unit(0x80 | ((c >> 6) & 0x3F));
    unit(0x80 | (c & 0x3F));
  } else {
    unit(0xF0 | (c >> 18));
    unit(0x80 | ((c >> 12) & 0x3F));
    unit(0x80 | ((c >> 6) & 0x3F));
    unit(0x80 | (c & 0x3F));
  }
}

bool IsHighSurrogate(char32_t unit) {
  return unit >= 0xD800 && unit <= 0xDBFF;
}

bool IsLowSurrogate(char32_t unit) {
  return unit >= 0xDC00 && unit <= 0xDFFF;
}

// The system's names in UTF-16 (Windows).
[[maybe_unused]] std::string FromNative(std::wstring_view wide) {
  std::string text;
  text.reserve(wide.size());
  for (std::size_t i = 0; i < wide.size(); ++i) {
    const auto unit = static_cast<char32_t>(static_cast<std::make_unsigned_t<wchar_t>>(wide[i]));
    const auto next = i + 1 < wide.size()
                          ? static_cast<char32_t>(static_cast<std::make_unsigned_t<wchar_t>>(wide[i + 1]))
                          : 0;
    if (IsHighSurrogate(unit) && IsLowSurrogate(next)) {
      AppendUtf8(text, 0x10000 + ((unit - 0xD800) << 10) + (next - 0xDC00));
      ++i;
    } else {
      AppendUtf8(text, IsHighSurrogate(unit) || IsLowSurrogate(unit) ? char32_t{0xFFFD} : unit);
    }
  }
  return text;
}

// The system's names as bytes, UTF-8 by convention.
[[maybe_unused]] std::string FromNative(std::string_view bytes) {
  return std::string(bytes);
}

}  // namespace

std::string PathToUtf8(const std::filesystem::path& path) {
  return FromNative(path.native());
}

}  // namespace tavlix::platform
