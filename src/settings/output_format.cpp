#include "settings/output_format.h"

#include <array>

namespace tavlix::settings {
namespace {

struct FormatName {
  int code;
  std::string_view name;         // as typed on the command line
  std::string_view description;  // as shown
};

constexpr std::array<FormatName, 4> kFormats{{
    {0, "board", "the board's own format"},
    {1, "jpeg", "JPEG"},
    {2, "png", "PNG"},
    {3, "pdf", "PDF"},
}};

}  // namespace

std::optional<int> FormatCodeFromName(std::string_view name) {
  for (const auto& format : kFormats)
    if (format.name == name) return format.code;
  return std::nullopt;
}

std::string DescribeFormatCode(int code) {
  for (const auto& format : kFormats)
    if (format.code == code) return std::to_string(code) + " (" + std::string(format.description) + ")";
  return std::to_string(code) + " (not a known format; pictures are saved as PDF)";
}

}  // namespace tavlix::settings
