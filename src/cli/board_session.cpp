#include "cli/board_session.h"

#include <iostream>

#include "board/driver_facade.h"
#include "cli/interrupt.h"
#include "cli/options.h"
#include "platform/console.h"
#include "platform/path_text.h"
#include "platform/shell.h"
#include "settings/output_format.h"
#include "settings/settings_file.h"

namespace tavlix::cli {
namespace fs = std::filesystem;

// How often a collector without a board looks for one.
constexpr platform::Millis kLookPeriod{1000};

bool IsTerminal(std::ostream& out) {
  return &out == &std::cout && platform::StandardOutputIsTerminal();
}

void AddSessionOptions(CLI::App& command, SessionOptions& options, const std::string& format_default,
                       const std::string& folder_default) {
  AddParsedOption(command, "--format", "FORMAT", options.format, settings::FormatFromName,
                  "png, jpeg, pdf or board", "png, jpeg, pdf or board (default: " + format_default + ")");
  AddParsedOption(command, "--save-to", "DIR", options.save_to, NonEmpty, "a folder",
                  "the folder pictures go to (default: " + folder_default + ")");
}

app::ControllerSettings LoadSessionSettings(const SessionOptions& options) {
  const settings::IniSettings ini = settings::LoadIniSettings();
  app::ControllerSettings session{options.format.value_or(ini.Setting_SavePrm),
                                  ini.Setting_ImgSaveTo_FolderPath};
  if (options.save_to) {
    std::error_code ec;
    session.save_folder = platform::PathToUtf8(fs::absolute(platform::PathFromUtf8(*options.save_to), ec));
  }
  return session;
}

int ExitStatusOf(app::Outcome outcome) {
  switch (outcome) {
    case app::Outcome::saved: return kExitOk;
    case app::Outcome::none: return kExitFailure;
    case app::Outcome::timed_out: return kExitTimeout;
    case app::Outcome::detached: return kExitDetached;
    case app::Outcome::board_error: return kExitBoardError;
    case app::Outcome::save_failed: return kExitSaveFailed;
  }
  return kExitFailure;
}

int ExitStatusOf(app::CommandResult result, const app::ToolbarController& controller, CommandIo io) {
  switch (result) {
    case app::CommandResult::handed_over: return kExitOk;
    case app::CommandResult::no_board: return kExitNoBoard;
    case app::CommandResult::collector_busy: return kExitCollectorBusy;
    case app::CommandResult::lock_unavailable:
      io.err << "tavlix: cannot lock the board for this collector: " << controller.collector_lock_error()
             << "\n";
      return kExitFailure;
    case app::CommandResult::command_waiting:
      io.err << "tavlix: an earlier command is still waiting for the board\n";
      return kExitFailure;
    case app::CommandResult::timed_out: return kExitTimeout;
    case app::CommandResult::failed: break;
  }
  return kExitFailure;
}

BoardSession::BoardSession(CommandIo io, const app::ControllerSettings& settings, bool terminal,
                           std::string program)
    : io_(io),
      target_([this](int code, std::intptr_t arg) { OnBoardNotify(code, arg); }),
      view_(io.out, io.err, terminal, [this] { target_.Pump(); }),
      controller_(view_, std::move(program)) {
  platform::SetShellOpenHook([](const fs::path&) { return true; });
  app::StartOptions options;
  options.settings = settings;
  options.save_settings_at_exit = false;
  options.place_toolbar = false;
  options.collect_at_start = false;
  options.default_texts_without_table = true;
  started_ = controller_.Start(&target_, options);
  if (!started_) io_.err << "tavlix: the board link cannot start\n";
}

BoardSession::~BoardSession() {
  controller_.Shutdown();
  target_.Pump();
  platform::SetShellOpenHook(nullptr);
}

// The controller reacts as the toolbar does; the terminal adds what a
// window shows by its looks alone.
void BoardSession::OnBoardNotify(int code, std::intptr_t arg) {
  if (code == board::BOARD_LOST) {
    view_.EndProgressLine();
    io_.out << "The board was removed.\n" << std::flush;
  }
  if (code == board::BOARD_JOB_END) {
    view_.EndProgressLine();
    view_.HoldProgress(true);
  }
  controller_.OnBoardNotify(code, arg);
  view_.HoldProgress(false);
}

int BoardSession::KeepCollecting() {
  if (!controller_.collecting()) {
    if (last_look_ && platform::Clock()->Now() - *last_look_ < kLookPeriod) return kExitNoBoard;
    last_look_ = platform::Clock()->Now();
  }
  switch (controller_.KeepCollecting()) {
    case app::Collecting::yes: return kExitOk;
    case app::Collecting::no_board: return kExitNoBoard;
    case app::Collecting::busy: return kExitCollectorBusy;
    case app::Collecting::unavailable: break;
  }
  return ExitStatusOf(app::CommandResult::lock_unavailable, controller_, io_);
}

bool BoardSession::WaitForOutcome() {
  while (controller_.outcome() == app::Outcome::none) {
    if (Interrupted()) {
      board::SetFlgAppScan(false);
      return false;
    }
    target_.WaitAndPump(std::chrono::milliseconds(50));
  }
  return true;
}

}  // namespace tavlix::cli
