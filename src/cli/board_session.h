// What `tavlix scan`, `feed`, `watch` and `demo` share: the settings in force
// (the settings file, overridden by --format and --save-to), and a running
// board link with the command line's window as its notification target.
//
// A BoardSession sets the link up on construction and stops it on
// destruction; one a process (the link is set up once). The command line
// never opens saved pictures in a viewer: the session replaces the shell's
// "open" while it lives.
#pragma once

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "cli/cli_window.h"
#include "cli/command_line.h"
#include "cli/options.h"
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
  BoardSession(CommandIo io, const SessionSettings& settings, bool terminal);
  ~BoardSession();
  BoardSession(const BoardSession&) = delete;
  BoardSession& operator=(const BoardSession&) = delete;

  CliWindow& window() { return window_; }
  bool started() const { return started_; }

  // Asks up to five times, 100 ms apart, whether the board is present; when
  // it is not, ends the operation and shows the no-board text.
  bool BoardPresent();
  // Pumps the window until the operation ends or Ctrl-C; false on Ctrl-C.
  bool WaitForOutcome();
  // Names of files that appeared in the save folder since the last call.
  std::vector<std::filesystem::path> NewSavedFiles();

 private:
  CommandIo io_;
  const SessionSettings& settings_;
  CliWindow window_;
  bool started_ = false;
  std::set<std::filesystem::path> known_files_;
};

bool IsTerminal(std::ostream& out);

}  // namespace tavlix::cli
