#include "settings/output_format.h"

#include <array>

namespace tavlix::settings {
namespace {

struct FormatName {
  OutputFormat format;
  std::string_view name;         // as typed on the command line
  std::string_view description;  // as shown
};

constexpr std::array<FormatName, 4> kFormats{{
    {OutputFormat::board, "board", "the board's own format"},
    {OutputFormat::jpeg, "jpeg", "JPEG"},
    {OutputFormat::png, "png", "PNG"},
    {OutputFormat::pdf, "pdf", "PDF"},
}};

}  // namespace

std::optional<OutputFormat> FormatFromName(std::string_view name) {
  for (const auto& format : kFormats)
    if (format.name == name) return format.format;
  return std::nullopt;
}

std::string DescribeFormat(OutputFormat format) {
  const std::string code = std::to_string(FormatCode(format));
  for (const auto& known : kFormats)
    if (known.format == format) return code + " (" + std::string(known.description) + ")";
  return code + " (not a known format; pictures are saved as PDF)";
}

}  // namespace tavlix::settings
