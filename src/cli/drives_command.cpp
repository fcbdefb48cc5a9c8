// `tavlix drives`: the present drives as the board link sees them.
#include <iomanip>
#include <ostream>

#include "board/drive_discovery.h"
#include "board/model_table.h"
#include "cli/command_line.h"
#include "cli/options.h"
#include "platform/drives.h"

namespace tavlix::cli {
namespace {

constexpr const char* kDrivesHelp =
    "Lists the present drives in the order the board link counts them: the\n"
    "position, the name, the type and the volume label, with the board model\n"
    "where the label is a model code. Then says which drive holds the board and\n"
    "the BOARD_FOUND argument (position * 16 + model row) it would report.\n"
    "Only a removable drive whose label is exactly a model code is a board.\n"
    "\n"
    "With TAVLIX_DRIVE_TABLE set, the drives come from that table file.\n"
    "Exit status: 0 when the drives could be listed, 1 when the drive table\n"
    "cannot be read, 2 on bad usage.";

int ShowDrives(CommandIo io) {
  // A script must not take an unreadable table for "no drives".
  const auto listed = platform::TryListDrives();
  if (!listed) {
    io.err << "tavlix: " << listed.error() << '\n';
    return kExitFailure;
  }
  const std::vector<platform::DriveInfo>& drives = *listed;
  if (drives.empty()) io.out << "No drives are present.\n";
  for (std::size_t i = 0; i < drives.size(); ++i) {
    const auto& d = drives[i];
    io.out << std::setw(3) << i << "  " << std::left << std::setw(10) << d.name << ' ' << std::setw(10)
           << platform::DriveTypeName(d.type) << ' ';
    if (d.label) {
      io.out << '"' << *d.label << '"';
      if (const auto row = board::ModelRow(*d.label))
        io.out << "  model " << *d.label << " (row " << *row << ")";
    } else {
      io.out << "(label cannot be read)";
    }
    io.out << std::right << '\n';
  }

  const auto match = board::FindBoardDrive(drives);
  if (!match) {
    io.out << "No board found.\n";
    return kExitOk;
  }
  const auto& board = drives[static_cast<std::size_t>(match->position)];
  io.out << "Board " << board::ModelCode(match->row) << " on drive " << board.name << " (" << board.root
         << "), position " << match->position << ", row " << match->row << ": BOARD_FOUND "
         << board::BoardFoundArgument(*match) << '\n';
  return kExitOk;
}

}  // namespace

void AddDrivesCommand(CommandLine& line) {
  line.Add("drives", "list the present drives and say which one holds the board", kDrivesHelp, ShowDrives);
}

}  // namespace tavlix::cli
