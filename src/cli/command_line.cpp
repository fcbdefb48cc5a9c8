#include "cli/command_line.h"

#include <ostream>

#include "tavlix_version.h"

namespace tavlix::cli {
namespace {

constexpr std::string_view kUsage =
    "Usage: tavlix COMMAND [OPTIONS]\n"
    "\n"
    "Works with a scanning whiteboard attached by USB, which shows up as a\n"
    "removable drive labelled with its model code.\n"
    "\n"
    "Commands:\n"
    "  drives    list the present drives and say which one holds the board\n"
    "  status    tell whether a board is present and whose turn its folder shows\n"
    "  scan      scan the board and save the picture\n"
    "  feed      send the board the sheet-feed (stop) command\n"
    "  watch     collect every new picture from the board until Ctrl-C\n"
    "  simulate  play a simulated board on a folder, for trying without hardware\n"
    "  demo      run a whole scan against a simulated board and clean up\n"
    "  settings  show or change the output format and the save folder\n"
    "  convert   convert a board PDF or a picture as the copy step does\n"
    "\n"
    "Run 'tavlix COMMAND --help' for a command's options, 'tavlix --version'\n"
    "for the version.\n"
    "Set TAVLIX_DRIVE_TABLE to a drive table file to use simulated drives.\n"
    "\n"
    "Exit status: 0 success, 1 failure, 2 bad usage; scan, feed and watch also\n"
    "3 no board, 4 time-out, 5 board detached, 6 board error, 7 save failed\n"
    "(watch: some picture failed), 8 another collector is collecting from the\n"
    "board, 130 interrupted.\n";

}  // namespace

bool IsHelpFlag(std::string_view arg) {
  return arg == "--help" || arg == "-h";
}

int RunCommandLine(std::span<const std::string> args, CommandIo io) {
  if (args.empty()) {
    io.err << kUsage;
    return kExitUsage;
  }
  const std::string& command = args.front();
  if (IsHelpFlag(command) || command == "help") {
    io.out << kUsage;
    return kExitOk;
  }
  if (command == "--version") {
    io.out << "tavlix " << kVersion << '\n';
    return kExitOk;
  }
  const auto rest = args.subspan(1);
  if (command == "drives") return RunDrivesCommand(rest, io);
  if (command == "status") return RunStatusCommand(rest, io);
  if (command == "scan") return RunScanCommand(rest, io);
  if (command == "feed") return RunFeedCommand(rest, io);
  if (command == "watch") return RunWatchCommand(rest, io);
  if (command == "simulate") return RunSimulateCommand(rest, io);
  if (command == "demo") return RunDemoCommand(rest, io);
  if (command == "settings") return RunSettingsCommand(rest, io);
  if (command == "convert") return RunConvertCommand(rest, io);
  io.err << "tavlix: unknown command '" << command << "'\n"
         << "Run 'tavlix --help' for the list of commands.\n";
  return kExitUsage;
}

}  // namespace tavlix::cli
