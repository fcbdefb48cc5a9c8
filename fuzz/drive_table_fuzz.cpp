// The simulated drive table, which tools outside the program write.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/drive_table.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const auto table = tavlix::platform::ParseDriveTable(text, "fuzz");
  // However many bad lines, only a few are named and one line counts the rest.
  if (table.problems.size() > tavlix::platform::kNamedDriveTableProblems + 1) __builtin_trap();
  char last = 0;
  for (const auto& drive : table.drives) {
    // Every drive that passes has one letter, in order, and an absolute root.
    if (drive.name.size() != 1 || drive.name[0] <= last) __builtin_trap();
    if (drive.root.empty() || drive.root.front() != '/' || drive.root.back() != '/') __builtin_trap();
    last = drive.name[0];
    // A parsed drive formats back to a line that parses to the same drive.
    const auto again = tavlix::platform::ParseDriveTable(tavlix::platform::FormatDriveTableLine(drive), "x");
    if (again.drives.size() != 1 || !(again.drives[0] == drive)) __builtin_trap();
  }
  return 0;
}
