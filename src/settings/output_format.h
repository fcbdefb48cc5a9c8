// The output format: one type for the settings file ("saveprm"), the settings
// dialog, the board link's picture functions and every front end. Its value is
// the signed 32-bit code the settings file keeps: 0 the board's own format,
// 1 JPEG, 2 PNG (the default), 3 PDF. Any other code is kept as it is (a
// hand-edited file may hold one), and the copy step treats it as PDF.
//
// The type and its constexpr helpers are header-only; the names live in the
// .cpp. The board link takes the type in its picture functions and links this
// library for it (src/board/CMakeLists.txt).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tavlix::settings {

enum class OutputFormat : std::int32_t { board = 0, jpeg = 1, png = 2, pdf = 3 };

inline constexpr OutputFormat kDefaultOutputFormat = OutputFormat::png;

constexpr std::int32_t FormatCode(OutputFormat format) {
  return static_cast<std::int32_t>(format);
}
constexpr OutputFormat FormatFromCode(std::int32_t code) {
  return static_cast<OutputFormat>(code);
}

// The choice the settings dialog shows checked for `format`: one of the four
// known formats; an unknown code shows PNG.
constexpr OutputFormat DialogChoiceFor(OutputFormat format) {
  switch (format) {
    case OutputFormat::board:
    case OutputFormat::jpeg:
    case OutputFormat::png:
    case OutputFormat::pdf: return format;
  }
  return OutputFormat::png;
}

// "board", "jpeg", "png" or "pdf" to its format; nullopt for anything else.
std::optional<OutputFormat> FormatFromName(std::string_view name);

// The format as the user reads it: "2 (PNG)", "0 (the board's own format)",
// "7 (not a known format; pictures are saved as PDF)".
std::string DescribeFormat(OutputFormat format);

}  // namespace tavlix::settings
