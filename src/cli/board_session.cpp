#include "cli/board_session.h"

#include <algorithm>
#include <iostream>

#include "board/driver_facade.h"
#include "cli/interrupt.h"
#include "imaging/stale_temporaries.h"
#include "platform/clock.h"
#include "platform/console.h"
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

Result<SessionSettings> LoadSessionSettings(const ParsedOptions& options) {
  SessionSettings session;
  const settings::IniSettings ini = settings::LoadIniSettings();
  session.format = ini.Setting_SavePrm;
  session.save_folder = ini.Setting_ImgSaveTo_FolderPath;
  session.texts = settings::LoadLocalisedTexts();
  if (const auto format = options.value("--format")) {
    const auto code = settings::FormatCodeFromName(*format);
    if (!code) return Fail("unknown format '" + *format + "' (png, jpeg, pdf or board)");
    session.format = *code;
  }
  if (const auto folder = options.value("--save-to")) {
    if (folder->empty()) return Fail("--save-to needs a folder");
    std::error_code ec;
    session.save_folder = fs::absolute(*folder, ec).string();
  }
  return session;
}

BoardSession::BoardSession(CommandIo io, const SessionSettings& settings, bool terminal, std::string program)
    : io_(io),
      settings_(settings),
      window_(io.out, io.err, settings.texts, terminal),
      lock_(std::move(program)) {
  platform::SetShellOpenHook([](const fs::path&) { return true; });
  imaging::RemoveStaleTemporaries(settings_.save_folder, platform::Clock()->WallNow());
  SetMessagePump([this] { window_.Pump(); });
  // The worker is made halted; it runs once the board's lock is held.
  if (!DriverInit(&window_)) {
    io_.err << "tavlix: the board link cannot start\n";
    return;
  }
  OfferSetting(settings_.format, settings_.save_folder);
  started_ = true;
}

BoardSession::~BoardSession() {
  DriverClose();
  SetNewHandle(nullptr);
  DriverUninit();
  SetMessagePump(nullptr);
  window_.Pump();
  platform::SetShellOpenHook(nullptr);
}

int BoardSession::ClaimBoard() {
  last_look_ = platform::Clock()->Now();
  switch (lock_.ClaimPresentBoard()) {
    case CollectorLock::Claim::held:
      collecting_ = true;
      DriverOpen();
      return kExitOk;
    case CollectorLock::Claim::no_board: return kExitNoBoard;
    case CollectorLock::Claim::taken:
      io_.err << "tavlix: " << platform::DescribeHolder(lock_.holder())
              << " is collecting from the board already; only one collector may run at a time\n";
      return kExitCollectorBusy;
    case CollectorLock::Claim::unavailable: break;
  }
  io_.err << "tavlix: cannot lock the board for this collector: " << lock_.error() << "\n";
  return kExitFailure;
}

int BoardSession::AwaitBoard() {
  for (int i = 0;; ++i) {
    ProcessMessages();
    const int status = ClaimBoard();
    if (status != kExitNoBoard) return status;
    if (i == 5) break;
    platform::SleepFor(platform::Millis(100));
  }
  SetFlgAppScan(false);
  window_.ShowMessage(settings_.texts.msg_usbreturnerr);
  return kExitNoBoard;
}

int BoardSession::KeepCollecting() {
  if (collecting_) {
    if (IsConnected() || GetFlgAppScan()) return kExitOk;
    // Gone between operations: whatever comes next must be locked first.
    DriverClose();
    collecting_ = false;
  }
  if (last_look_ && platform::Clock()->Now() - *last_look_ < kLookPeriod) return kExitNoBoard;
  return ClaimBoard();
}

bool BoardSession::WaitForOutcome() {
  while (window_.outcome() == Outcome::none) {
    if (Interrupted()) {
      SetFlgAppScan(false);
      return false;
    }
    window_.WaitAndPump(std::chrono::milliseconds(50));
  }
  return true;
}

std::vector<fs::path> BoardSession::TakeSavedFiles() {
  return DriverTakeSavedPaths();
}

}  // namespace tavlix::cli
