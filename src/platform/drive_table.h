// The simulated drive table: a text file that stands in for the machine's
// drives, so the whole program runs without a board.
//
// One drive a line: `LETTER TYPE LABEL ROOT`
//   LETTER  one upper-case letter A-Z
//   TYPE    removable | fixed | remote | cdrom | ramdisk
//   LABEL   the volume label, or `-` when the volume cannot be read
//   ROOT    an absolute folder: the rest of the line, spaces allowed
// Lines starting with `#` and blank lines are ignored. Drives come out ordered
// by letter. A bad line is reported and skipped; it never hides other drives.
// The file must be a regular file (not a link) of at most kMaxDriveTableBytes.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/drives.h"

namespace tavlix::platform {

// The largest table read. A table lists at most 26 drives; even with roots
// as long as a path may be (4096 bytes) that is about 107 KiB, so 256 KiB
// leaves room for comments and still parses in a few milliseconds at every
// cycle. A larger file is refused whole.
inline constexpr std::size_t kMaxDriveTableBytes = 256u << 10;

// Bad lines named one by one; the rest are only counted, so a flood of bad
// lines costs no more memory than a few.
inline constexpr std::size_t kNamedDriveTableProblems = 8;

struct DriveTable {
  std::vector<DriveInfo> drives;
  // One message for each of the first kNamedDriveTableProblems bad lines,
  // "<file>:<line>: <what is wrong>", then one that counts the others.
  std::vector<std::string> problems;
  // The file is there but could not be read at all (problems says why).
  bool unreadable = false;
};

// Parses table text; `source` names the file in problem messages.
DriveTable ParseDriveTable(std::string_view text, std::string_view source);

// Reads and parses the table file. A missing file is a table with no drives
// (the simulated board is unplugged); an unreadable one is one problem.
DriveTable LoadDriveTable(const std::string& file);

// Formats one drive as a table line (the inverse of parsing).
std::string FormatDriveTableLine(const DriveInfo& drive);

}  // namespace tavlix::platform
