// The `tavlix` command line: dispatch of sub-commands.
//
// Each command writes its report to `out`, its complaints to `err`, and
// returns the process exit status: 0 success, 1 failure, 2 bad usage.
#pragma once

#include <iosfwd>
#include <span>
#include <string>

namespace tavlix::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitNoBoard = 3;
inline constexpr int kExitTimeout = 4;
inline constexpr int kExitDetached = 5;
inline constexpr int kExitBoardError = 6;
inline constexpr int kExitSaveFailed = 7;
inline constexpr int kExitCollectorBusy = 8;  // another collector holds the board
inline constexpr int kExitInterrupted = 130;

struct CommandIo {
  std::ostream& out;
  std::ostream& err;
};

// Runs the command line (without the program name).
int RunCommandLine(std::span<const std::string> args, CommandIo io);

class CommandLine;

// Each command adds itself, its options and its help to the command line.
void AddDrivesCommand(CommandLine& line);
void AddBoardCommands(CommandLine& line);  // status, scan, feed, watch
void AddSimulateCommand(CommandLine& line);
void AddDemoCommand(CommandLine& line);
void AddSettingsCommand(CommandLine& line);
void AddConvertCommand(CommandLine& line);

}  // namespace tavlix::cli
