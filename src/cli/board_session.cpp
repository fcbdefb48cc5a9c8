#include "cli/board_session.h"

#include <algorithm>
#include <iostream>

#include "board/driver_facade.h"
#include "cli/interrupt.h"
#include "platform/clock.h"
#include "platform/console.h"
#include "platform/shell.h"
#include "settings/output_format.h"
#include "settings/settings_file.h"

namespace tavlix::cli {
namespace fs = std::filesystem;

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

BoardSession::BoardSession(CommandIo io, const SessionSettings& settings, bool terminal)
    : io_(io), settings_(settings), window_(io.out, io.err, settings.texts, terminal) {
  platform::SetShellOpenHook([](const fs::path&) { return true; });
  NewSavedFiles();  // what is there already is not news
  SetMessagePump([this] { window_.Pump(); });
  if (!DriverInit(&window_)) {
    io_.err << "tavlix: the board link cannot start\n";
    return;
  }
  OfferSetting(settings_.format, settings_.save_folder);
  started_ = DriverOpen();
}

BoardSession::~BoardSession() {
  DriverClose();
  SetNewHandle(nullptr);
  DriverUninit();
  SetMessagePump(nullptr);
  window_.Pump();
  platform::SetShellOpenHook(nullptr);
}

bool BoardSession::BoardPresent() {
  for (int i = 0; i < 5; ++i) {
    ProcessMessages();
    if (IsConnected()) return true;
    platform::SleepFor(platform::Millis(100));
  }
  ProcessMessages();
  if (IsConnected()) return true;
  SetFlgAppScan(false);
  window_.ShowMessage(settings_.texts.msg_usbreturnerr);
  return false;
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

std::vector<fs::path> BoardSession::NewSavedFiles() {
  std::vector<fs::path> fresh;
  std::error_code ec;
  for (fs::directory_iterator it(settings_.save_folder, ec), end; !ec && it != end; it.increment(ec)) {
    if (!it->is_regular_file(ec) || it->path().filename().string().front() == '.') continue;
    if (known_files_.insert(it->path()).second) fresh.push_back(it->path());
  }
  std::sort(fresh.begin(), fresh.end());
  return fresh;
}

}  // namespace tavlix::cli
