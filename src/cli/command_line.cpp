#include "cli/command_line.h"

#include <ostream>

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
    "  convert   convert a board PDF or a picture as the copy step does\n"
    "\n"
    "Run 'tavlix COMMAND --help' for a command's options.\n"
    "Set TAVLIX_DRIVE_TABLE to a drive table file to use simulated drives.\n";

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
  const auto rest = args.subspan(1);
  if (command == "drives") return RunDrivesCommand(rest, io);
  if (command == "convert") return RunConvertCommand(rest, io);
  io.err << "tavlix: unknown command '" << command << "'\n"
         << "Run 'tavlix --help' for the list of commands.\n";
  return kExitUsage;
}

}  // namespace tavlix::cli
