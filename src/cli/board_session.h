// What `tavlix scan`, `feed`, `watch` and `demo` share: the settings in force
// (the settings file, overridden by --format and --save-to), and a running
// board link with the command line's window as its notification target.
//
// A BoardSession sets the link up on construction and stops it on
// destruction; one a process (the link is set up once). The command line
// never opens saved pictures in a viewer: the session replaces the shell's
// "open" while it lives. It removes stale temporaries of interrupted saves
// from the save folder when it starts.
//
// Only one collector may collect from a board: the worker runs only while the
// session holds the board drive's collector lock (see board/collector_lock.h).
// It stays halted until a board is present and its lock taken, and halts again
// when the board goes away between operations.
#pragma once

#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "board/collector_lock.h"
#include "cli/cli_window.h"
#include "cli/command_line.h"
#include "cli/options.h"
#include "platform/clock.h"
#include "platform/result.h"
#include "settings/localised_texts.h"

namespace tavlix::cli {

struct SessionSettings {
  int format = 2;
  std::string save_folder;
  settings::LocalisedTexts texts;
};

// Reads the settings file and the texts, then applies --format and --save-to.
Result<SessionSettings> LoadSessionSettings(const ParsedOptions& options);

// The options every board command takes.
inline const std::set<std::string> kSessionOptions = {"--format", "--save-to"};
inline constexpr std::string_view kSessionOptionsHelp =
    "  --format FORMAT   png, jpeg, pdf or board (default: the settings file's)\n"
    "  --save-to DIR     the folder pictures go to (default: the settings file's)\n";

class BoardSession {
 public:
  // `program` names this collector to a refused one ("tavlix watch").
  BoardSession(CommandIo io, const SessionSettings& settings, bool terminal, std::string program);
  ~BoardSession();
  BoardSession(const BoardSession&) = delete;
  BoardSession& operator=(const BoardSession&) = delete;

  CliWindow& window() { return window_; }
  bool started() const { return started_; }

  // Looks up to five times, 100 ms apart, for a board whose lock this
  // session can hold, and lets the worker collect. kExitOk; kExitNoBoard
  // (after ending the operation and showing the no-board text);
  // kExitCollectorBusy (after saying who collects) or kExitFailure (no lock
  // can be made).
  int AwaitBoard();
  // One step of a long collection: keeps the worker running while the board
  // is present and locked, halts it when the board went away between
  // operations, and takes the lock of a board that came (at most once a
  // second). kExitOk while collecting, kExitNoBoard while there is no board,
  // or the failures of AwaitBoard.
  int KeepCollecting();
  // Pumps the window until the operation ends or Ctrl-C; false on Ctrl-C.
  bool WaitForOutcome();
  // The files this process saved since the last call.
  std::vector<std::filesystem::path> TakeSavedFiles();

 private:
  CommandIo io_;
  const SessionSettings& settings_;
  int ClaimBoard();

  CliWindow window_;
  CollectorLock lock_;
  bool started_ = false;
  bool collecting_ = false;
  std::optional<platform::Millis> last_look_;
};

bool IsTerminal(std::ostream& out);

}  // namespace tavlix::cli
