// Paths as UTF-8 text. The program keeps names in UTF-8 (drive tables,
// settings, picture names); std::filesystem converts a narrow string through
// the system's code page, which on Windows is not UTF-8. These go through
// char8_t instead, the same on every system. Thread-safe; never throw.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace tavlix::platform {

inline std::filesystem::path PathFromUtf8(std::string_view text) {
  return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

// Where the system's names are UTF-16, a name that is no valid UTF-16 (a lone
// surrogate) has no UTF-8 form: such a unit becomes U+FFFD, where
// path::u8string() would throw. Elsewhere the name's bytes as they are.
std::string PathToUtf8(const std::filesystem::path& path);

}  // namespace tavlix::platform
