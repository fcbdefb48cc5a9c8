// The `tavlix` command line: dispatch of sub-commands.
//
// Each command writes its report to `out`, its complaints to `err`, and
// returns the process exit status: 0 success, 1 failure, 2 bad usage.
#pragma once

#include <iosfwd>
#include <span>
#include <string>
#include <string_view>

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

// Sub-commands.
int RunDrivesCommand(std::span<const std::string> args, CommandIo io);
int RunScanCommand(std::span<const std::string> args, CommandIo io);
int RunFeedCommand(std::span<const std::string> args, CommandIo io);
int RunWatchCommand(std::span<const std::string> args, CommandIo io);
int RunStatusCommand(std::span<const std::string> args, CommandIo io);
int RunDemoCommand(std::span<const std::string> args, CommandIo io);
int RunSimulateCommand(std::span<const std::string> args, CommandIo io);
int RunSettingsCommand(std::span<const std::string> args, CommandIo io);
int RunConvertCommand(std::span<const std::string> args, CommandIo io);

bool IsHelpFlag(std::string_view arg);

}  // namespace tavlix::cli
