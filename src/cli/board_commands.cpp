// `tavlix scan`, `feed`, `watch` and `status`: the board through the same
// facade calls, in the same order, as the toolbar's commands.
#include <memory>
#include <ostream>

#include "board/collector_lock.h"
#include "board/command_files.h"
#include "board/drive_discovery.h"
#include "board/driver_facade.h"
#include "board/model_table.h"
#include "cli/board_session.h"
#include "cli/command_line.h"
#include "cli/interrupt.h"
#include "cli/options.h"
#include "cli/save_folder_option.h"
#include "platform/attributes.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/path_text.h"

namespace tavlix::cli {
namespace fs = std::filesystem;
namespace {

// The exit statuses the board commands share; each command adds its own.
constexpr const char* kCollectorBusyHelp =
    "8 another collector (the toolbar or another tavlix) is collecting from the board.";

using SessionBody = int (*)(BoardSession& session, CommandIo io);

// Starts the board link with the command line's window and runs `body` in it,
// with Ctrl-C caught. `program` names this collector to a refused one.
int RunInSession(const SessionOptions& options, CommandIo io, const std::string& program, SessionBody body) {
  const app::ControllerSettings settings = LoadSessionSettings(options);
  if (options.save_to) {
    if (const auto refused = SaveToRefusal(settings.save_folder)) {
      io.err << BadFolderText() << '\n'
             << program << ": '" << settings.save_folder << "': " << *refused << '\n';
      return kExitFailure;
    }
  }
  CatchInterrupts();
  BoardSession session(io, settings, IsTerminal(io.out), program);
  if (!session.started()) return kExitFailure;
  return body(session, io);
}

// Adds a command that runs `body` in a session, with the session options.
void AddSessionCommand(CommandLine& line, const std::string& name, const std::string& summary,
                       const std::string& details, SessionBody body) {
  auto options = std::make_shared<SessionOptions>();
  CLI::App& command = line.Add(
      name, summary, details + kCollectorBusyHelp,
      [options, name, body](CommandIo io) { return RunInSession(*options, io, "tavlix " + name, body); });
  AddSessionOptions(command, *options, "the settings file's", "the settings file's");
}

// Each line goes out at once: a pipe (a log, a script) reads it as it comes.
void ReportSaved(CommandIo io) {
  for (const board::SavedFile& file : board::DriverTakeSavedFiles()) {
    const char* what = !file.saved          ? "kept after a failed save: "
                       : file.after_failure ? "saved after all: "
                                            : "saved ";
    io.out << what << platform::PathToUtf8(file.path) << "\n" << std::flush;
  }
}

int Scan(BoardSession& session, CommandIo io) {
  app::ToolbarController& controller = session.controller();
  const app::CommandResult result = controller.Scan();
  if (result != app::CommandResult::handed_over) return ExitStatusOf(result, controller, io);
  if (!session.WaitForOutcome()) {
    io.err << "tavlix: interrupted\n";
    return kExitInterrupted;
  }
  ReportSaved(io);
  return ExitStatusOf(controller.outcome());
}

// Every failure after the board was found counts as not taken in time.
int Feed(BoardSession& session, CommandIo io) {
  app::ToolbarController& controller = session.controller();
  switch (const app::CommandResult result = controller.Feed()) {
    case app::CommandResult::handed_over:
      io.out << "The feed command was handed to the board.\n";
      return kExitOk;
    case app::CommandResult::failed: return kExitTimeout;
    default: return ExitStatusOf(result, controller, io);
  }
}

int Watch(BoardSession& session, CommandIo io) {
  app::ToolbarController& controller = session.controller();
  // A watch that is refused never says it watches.
  if (const int status = session.KeepCollecting(); status != kExitOk && status != kExitNoBoard) return status;
  io.out << "Watching for pictures; they go to " << controller.settings().save_folder << ". Ctrl-C stops.\n"
         << std::flush;
  while (!Interrupted()) {
    if (const int status = session.KeepCollecting(); status != kExitOk && status != kExitNoBoard)
      return status;
    session.WaitAndPump(std::chrono::milliseconds(100));
    ReportSaved(io);
    controller.ResetOutcome();
  }
  io.out << controller.pictures_saved() << " picture(s) saved";
  if (const int failed = controller.pictures_failed(); failed > 0) {
    io.out << ", " << failed << " failed.\n";
    return kExitSaveFailed;
  }
  io.out << ".\n";
  return kExitOk;
}

int Status(CommandIo io) {
  std::string model, drive;
  if (!board::GetTargetDrive(model, drive)) {
    io.out << "No board is present.\n";
    return kExitNoBoard;
  }
  if (!model.empty() && model.back() == ' ') model.pop_back();
  io.out << "Board " << model << " on " << drive << "\n";
  if (const auto holder = board::BoardCollector(drive))
    io.out << "Collector: " << platform::DescribeHolder(*holder) << " is collecting from it\n";
  else
    io.out << "Collector: none\n";
  const fs::path path = board::CommandFolderPath(drive);
  if (!platform::DirectoryExists(path)) {
    io.out << "Command folder: missing (made at the next operation)\n";
    return kExitOk;
  }
  // Never through a link: a `cmd` that is one is reported, not looked into.
  const auto folder = platform::FolderHandle::Open(path);
  if (!folder) {
    io.out << "Command folder: unusable: " << folder.error() << "\n";
    return kExitOk;
  }
  const bool hidden = (platform::GetAttributes(*folder) & platform::kAttrHidden) != 0;
  io.out << "Command folder: " << (hidden ? "hidden (the board's turn)" : "visible (the computer's turn)")
         << "\n";
  for (const auto name : {board::kCommandFileName, board::kProgressFileName, board::kResultFileName}) {
    const auto length = folder->FileLength(name);
    if (length) io.out << "  " << name << ": " << *length << " bytes\n";
  }
  return kExitOk;
}

}  // namespace

int RunScan(const SessionOptions& options, CommandIo io) {
  return RunInSession(options, io, "tavlix scan", Scan);
}

void AddBoardCommands(CommandLine& line) {
  line.Add("status", "tell whether a board is present and whose turn its folder shows",
           "Tells whether a board is present: its model, its drive, whether a\n"
           "collector holds it and whose turn its command folder shows.\n"
           "Exit status: 0 present, 3 no board.",
           Status);
  AddSessionCommand(line, "scan", "scan the board and save the picture",
                    "Tells the board to scan, shows the progress and saves the picture.\n"
                    "Exit status: 0 picture saved, 1 failure, 2 bad usage, 3 no board, 4 time-out,\n"
                    "5 board detached, 6 board error, 7 save failed, 130 interrupted,\n",
                    Scan);
  AddSessionCommand(line, "feed", "send the board the sheet-feed (stop) command",
                    "Sends the board the sheet-feed command (also its stop command).\n"
                    "Exit status: 0 command handed over, 1 failure, 2 bad usage, 3 no board,\n"
                    "4 not taken in time,\n",
                    Feed);
  AddSessionCommand(line, "watch", "collect every new picture from the board until Ctrl-C",
                    "Collects every new picture the board stores, until Ctrl-C. Waits for a\n"
                    "board when none is present. Refuses to run while another collector (the\n"
                    "toolbar or another tavlix) collects from the board.\n"
                    "Exit status (after Ctrl-C): 0 every picture saved, 1 failure, 2 bad usage,\n"
                    "7 some picture failed,\n",
                    Watch);
}

}  // namespace tavlix::cli
