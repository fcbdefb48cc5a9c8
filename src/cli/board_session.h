// What `tavlix scan`, `feed`, `watch` and `demo` share: the settings in force
// (the settings file, overridden by --format and --save-to), and the toolbar
// controller running on the command line's thread with a terminal view and a
// queued notification target.
//
// A BoardSession starts the controller on construction and shuts it down on
// destruction (never writing the settings file); one a process (the board
// link is set up once). The command line never opens saved pictures in a
// viewer: the session replaces the shell's "open" while it lives.
//
// Only one collector may collect from a board: the worker runs only while the
// controller holds the board drive's collector lock (board/collector_lock.h).
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/toolbar_controller.h"
#include "board/queued_target.h"
#include "cli/command_line.h"
#include "cli/terminal_view.h"
#include "core/result.h"
#include "platform/clock.h"
#include "settings/output_format.h"

namespace CLI {
class App;
}

namespace tavlix::cli {

// The options every board command takes.
struct SessionOptions {
  std::optional<settings::OutputFormat> format;  // --format
  std::optional<std::string> save_to;            // --save-to
};
// Declares --format and --save-to; the defaults are named in their help.
void AddSessionOptions(CLI::App& command, SessionOptions& options, const std::string& format_default,
                       const std::string& folder_default);
// Reads the settings file, then applies the options.
app::ControllerSettings LoadSessionSettings(const SessionOptions& options);
// `tavlix scan` with these options (also run by `tavlix demo`).
int RunScan(const SessionOptions& options, CommandIo io);

// The exit status of a command that did not hand its command over (the user
// has been told why, or is told here).
int ExitStatusOf(app::CommandResult result, const app::ToolbarController& controller, CommandIo io);
// The exit status of an operation that ended with `outcome`.
int ExitStatusOf(app::Outcome outcome);

class BoardSession {
 public:
  // `program` names this collector to a refused one ("tavlix watch").
  BoardSession(CommandIo io, const app::ControllerSettings& settings, bool terminal, std::string program);
  ~BoardSession();
  BoardSession(const BoardSession&) = delete;
  BoardSession& operator=(const BoardSession&) = delete;

  app::ToolbarController& controller() { return controller_; }
  bool started() const { return started_; }

  // One step of a long collection: keeps the worker running while the board
  // is present and locked, and looks for a board (at most once a second)
  // while there is none. kExitOk while collecting, kExitNoBoard while there
  // is no board, kExitCollectorBusy or kExitFailure when it cannot collect.
  int KeepCollecting();
  // Pumps notifications for up to `timeout`.
  void WaitAndPump(std::chrono::milliseconds timeout) { target_.WaitAndPump(timeout); }
  // Pumps until the operation ends or Ctrl-C; false on Ctrl-C.
  bool WaitForOutcome();

 private:
  void OnBoardNotify(int code, std::intptr_t arg);

  CommandIo io_;
  board::QueuedNotifyTarget target_;
  TerminalView view_;
  app::ToolbarController controller_;
  bool started_ = false;
  std::optional<platform::Millis> last_look_;
};

bool IsTerminal(std::ostream& out);

}  // namespace tavlix::cli
