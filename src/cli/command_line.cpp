#include "cli/command_line.h"

#include "cli/options.h"

namespace tavlix::cli {

int RunCommandLine(std::span<const std::string> args, CommandIo io) {
  CommandLine line(
      "tavlix works with a scanning whiteboard attached by USB, which shows up as a\n"
      "removable drive labelled with its model code.\n",
      "Run 'tavlix COMMAND --help' for a command's options.\n"
      "Set TAVLIX_DRIVE_TABLE to a drive table file to use simulated drives.\n"
      "\n"
      "Exit status: 0 success, 1 failure, 2 bad usage; scan, feed and watch also\n"
      "3 no board, 4 time-out, 5 board detached, 6 board error, 7 save failed\n"
      "(watch: some picture failed), 8 another collector is collecting from the\n"
      "board, 130 interrupted.");
  AddDrivesCommand(line);
  AddBoardCommands(line);
  AddSimulateCommand(line);
  AddDemoCommand(line);
  AddSettingsCommand(line);
  AddConvertCommand(line);
  return line.Run(args, io);
}

}  // namespace tavlix::cli
