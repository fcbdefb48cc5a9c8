#include "platform/drive_table.h"

#include <algorithm>
#include <system_error>

#include "platform/files.h"
#include "platform/path_text.h"

namespace tavlix::platform {
namespace {

constexpr std::string_view kBlanks = " \t";

std::string_view TrimRight(std::string_view s) {
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

// Splits off the next blank-separated field; returns empty when none is left.
std::string_view NextField(std::string_view& rest) {
  const auto start = rest.find_first_not_of(kBlanks);
  if (start == std::string_view::npos) {
    rest = {};
    return {};
  }
  rest.remove_prefix(start);
  const auto end = std::min(rest.find_first_of(kBlanks), rest.size());
  const std::string_view field = rest.substr(0, end);
  rest.remove_prefix(end);
  return field;
}

// The system's separator: '/', or '\\' on Windows, where '/' separates too.
constexpr char kSeparator = static_cast<char>(std::filesystem::path::preferred_separator);

bool IsSeparator(char c) {
  // NOLINTNEXTLINE(misc-redundant-expression): one test on Linux, two on Windows.
  return c == '/' || c == kSeparator;
}

// The root ends with the system's separator, whichever closed it in the table.
std::string WithSeparator(std::string_view root) {
  std::string result(root);
  if (IsSeparator(result.back())) result.pop_back();
  result.push_back(kSeparator);
  return result;
}

}  // namespace

std::string_view DriveTypeName(DriveType type) {
  switch (type) {
    case DriveType::removable: return "removable";
    case DriveType::fixed: return "fixed";
    case DriveType::remote: return "remote";
    case DriveType::cdrom: return "cdrom";
    case DriveType::ramdisk: return "ramdisk";
    case DriveType::unknown: break;
  }
  return "unknown";
}

std::optional<DriveType> ParseDriveType(std::string_view name) {
  for (DriveType t :
       {DriveType::removable, DriveType::fixed, DriveType::remote, DriveType::cdrom, DriveType::ramdisk}) {
    if (DriveTypeName(t) == name) return t;
  }
  return std::nullopt;
}

DriveTable ParseDriveTable(std::string_view text, std::string_view source) {
  DriveTable table;
  bool seen[26] = {};
  std::size_t line_number = 0;
  std::size_t unnamed = 0;
  while (!text.empty()) {
    const auto newline = std::min(text.find('\n'), text.size());
    std::string_view line = TrimRight(text.substr(0, newline));
    text.remove_prefix(std::min(newline + 1, text.size()));
    ++line_number;

    // `what` is only built for a problem that is named.
    auto problem = [&](auto what) {
      if (table.problems.size() == kNamedDriveTableProblems) {
        ++unnamed;
        return;
      }
      table.problems.push_back(std::string(source) + ":" + std::to_string(line_number) + ": " + what());
    };
    const auto first = line.find_first_not_of(kBlanks);
    if (first == std::string_view::npos || line[first] == '#') continue;

    std::string_view rest = line;
    const std::string_view letter = NextField(rest);
    const std::string_view type_name = NextField(rest);
    const std::string_view label = NextField(rest);
    const auto root_start = rest.find_first_not_of(kBlanks);
    const std::string_view root =
        root_start == std::string_view::npos ? std::string_view{} : rest.substr(root_start);

    if (letter.size() != 1 || letter[0] < 'A' || letter[0] > 'Z') {
      problem([&] {
        return "the drive letter must be one upper-case letter A-Z, not \"" + std::string(letter) + "\"";
      });
      continue;
    }
    const auto type = ParseDriveType(type_name);
    if (!type) {
      problem([&] {
        return "unknown drive type \"" + std::string(type_name) +
               "\" (removable, fixed, remote, cdrom or ramdisk)";
      });
      continue;
    }
    if (label.empty() || root.empty()) {
      problem([] { return std::string("expected LETTER TYPE LABEL ROOT"); });
      continue;
    }
    // "/media/e" on Linux; "E:\\" or "C:\\boards\\e" on Windows.
    if (!PathFromUtf8(root).is_absolute()) {
      problem([&] { return "the root folder must be an absolute path, not \"" + std::string(root) + "\""; });
      continue;
    }
    const auto index = static_cast<std::size_t>(letter[0] - 'A');
    if (seen[index]) {
      problem([&] { return "drive " + std::string(letter) + " is listed twice; the first line stands"; });
      continue;
    }
    seen[index] = true;

    DriveInfo drive;
    drive.name = std::string(letter);
    drive.root = WithSeparator(root);
    drive.type = *type;
    if (label != "-") drive.label = std::string(label);
    table.drives.push_back(std::move(drive));
  }
  if (unnamed > 0)
    table.problems.push_back(std::string(source) + ": " + std::to_string(unnamed) +
                             " more bad lines not listed");
  std::stable_sort(table.drives.begin(), table.drives.end(),
                   [](const DriveInfo& a, const DriveInfo& b) { return a.name < b.name; });
  return table;
}

DriveTable LoadDriveTable(const std::string& file) {
  std::error_code ec;
  if (!std::filesystem::exists(std::filesystem::symlink_status(PathFromUtf8(file), ec))) return {};
  // A regular file only, never through a link, never blocking, never above
  // the ceiling: a FIFO or a link to a device in the table's place is refused.
  const auto bytes = ReadFileBytes(PathFromUtf8(file), kMaxDriveTableBytes);
  if (!bytes) {
    return DriveTable{{},
                      {bytes.error() + " (the drive table must be a regular file of at most " +
                       std::to_string(kMaxDriveTableBytes >> 10) + " KiB; no drives read from it)"},
                      true};
  }
  return ParseDriveTable(std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()), file);
}

std::string FormatDriveTableLine(const DriveInfo& drive) {
  std::string root = drive.root;
  // The closing separator is left off where reading the line back adds it
  // again: not after another separator, nor after a blank (trimmed on reading).
  if (root.size() > 1 && IsSeparator(root.back())) {
    const char before = root[root.size() - 2];
    if (!IsSeparator(before) && before != ':' && TrimRight(std::string(1, before)).size() == 1)
      root.pop_back();
  }
  return drive.name + " " + std::string(DriveTypeName(drive.type)) + " " +
         (drive.label ? *drive.label : std::string("-")) + " " + root;
}

}  // namespace tavlix::platform
