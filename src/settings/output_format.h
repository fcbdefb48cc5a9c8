// Names of the output format codes kept in the settings file ("saveprm"):
// 0 the board's own format, 1 JPEG, 2 PNG (the default), 3 PDF. Any other
// code is kept as it is, and the copy step treats it as PDF.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tavlix::settings {

inline constexpr int kDefaultSavePrm = 2;

// "board", "jpeg", "png" or "pdf" to its code; nullopt for anything else.
std::optional<int> FormatCodeFromName(std::string_view name);

// The code as the user reads it: "2 (PNG)", "0 (the board's own format)",
// "7 (not a known format; pictures are saved as PDF)".
std::string DescribeFormatCode(int code);

}  // namespace tavlix::settings
