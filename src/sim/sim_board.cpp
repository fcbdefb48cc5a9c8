#include "sim/sim_board.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <thread>

#include "board/command_files.h"
#include "platform/attributes.h"
#include "platform/drive_table.h"
#include "platform/file_times.h"
#include "platform/files.h"
#include "platform/path_text.h"

namespace tavlix::sim {
namespace fs = std::filesystem;
namespace {

std::optional<int> ParseInt(std::string_view text) {
  int value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

// Replaces a file in one step, so the computer never sees half of it.
void WriteAtomically(const fs::path& path, std::string_view bytes) {
  const fs::path temporary = path.parent_path() / ("." + path.filename().string() + ".sim");
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
  // A reader that has the file open can hold up the replacement for a
  // moment on some systems: try again rather than leave the old one.
  std::error_code ec;
  for (int attempt = 0; attempt < 200; ++attempt) {
    fs::rename(temporary, path, ec);
    if (!ec) return;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}

std::string ReadWhole(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace

std::optional<Fault> ParseFault(std::string_view text) {
  std::vector<std::string_view> parts;
  while (true) {
    const auto colon = text.find(':');
    parts.push_back(text.substr(0, colon));
    if (colon == std::string_view::npos) break;
    text.remove_prefix(colon + 1);
  }
  const std::string_view name = parts[0];
  auto number = [&](std::size_t i) { return i < parts.size() ? ParseInt(parts[i]) : std::nullopt; };
  if (parts.size() == 1) {
    if (name == "none") return Fault{};
    if (name == "busy") return Fault{FaultKind::busy, 0, {}};
    if (name == "bad-magic") return Fault{FaultKind::bad_magic, 0, {}};
    if (name == "never-release") return Fault{FaultKind::never_release, 0, {}};
    if (name == "no-cmd-folder") return Fault{FaultKind::no_cmd_folder, 0, {}};
    return std::nullopt;
  }
  if (parts.size() == 2 && (name == "slow-write" || name == "hold")) {
    const auto ms = number(1);
    if (!ms || *ms < 0 || *ms > 600'000) return std::nullopt;
    return Fault{name == "hold" ? FaultKind::hold : FaultKind::slow_write, *ms, {}};
  }
  const auto value = number(1);
  if (!value || *value < 0 || *value > 255) return std::nullopt;
  if (parts.size() == 2) {
    if (name == "error") return Fault{FaultKind::error, *value, {}};
    if (name == "status") return Fault{FaultKind::unknown_status, *value, {}};
    if (name == "stall") return Fault{FaultKind::stall, *value, {}};
    if (name == "vanish") return Fault{FaultKind::vanish, *value, {}};
    return std::nullopt;
  }
  if (parts.size() == 3 && name == "vanish") {
    const auto back = number(2);
    if (!back || *back < 0) return std::nullopt;
    return Fault{FaultKind::vanish, *value, platform::Millis(*back)};
  }
  return std::nullopt;
}

std::string DescribeFault(const Fault& fault) {
  switch (fault.kind) {
    case FaultKind::none: return "none";
    case FaultKind::busy: return "busy";
    case FaultKind::error: return "error:" + std::to_string(fault.value);
    case FaultKind::unknown_status: return "status:" + std::to_string(fault.value);
    case FaultKind::bad_magic: return "bad-magic";
    case FaultKind::never_release: return "never-release";
    case FaultKind::stall: return "stall:" + std::to_string(fault.value);
    case FaultKind::vanish:
      return "vanish:" + std::to_string(fault.value) +
             (fault.return_after ? ":" + std::to_string(fault.return_after->count()) : "");
    case FaultKind::no_cmd_folder: return "no-cmd-folder";
    case FaultKind::slow_write: return "slow-write:" + std::to_string(fault.value);
    case FaultKind::hold: return "hold:" + std::to_string(fault.value);
  }
  return "none";
}

SimBoard::SimBoard(SimBoardOptions options)
    : options_(std::move(options)), cmd_(options_.root / "cmd"), picture_(options_.picture) {
  if (options_.progress_steps < 1) options_.progress_steps = 1;
}

SimBoard::~SimBoard() {
  Stop();
}

void SimBoard::Log(const std::string& line) const {
  if (options_.log) options_.log(line);
}

std::string SimBoard::TableLine() const {
  platform::DriveInfo drive;
  drive.name = std::string(1, options_.letter);
  drive.root = platform::PathToUtf8(options_.root);
  drive.type = platform::DriveType::removable;
  drive.label = options_.model;
  return platform::FormatDriveTableLine(drive);
}

void SimBoard::Plug() {
  std::lock_guard lock(mutex_);
  gone_ = false;
  vanished_at_.reset();
  PlugLocked();
}

void SimBoard::PlugLocked() {
  std::error_code ec;
  fs::create_directories(options_.root, ec);
  if (options_.drive_table.empty()) return;
  // Keep every other drive; replace the line of our letter.
  std::string text;
  std::istringstream old(ReadWhole(options_.drive_table));
  for (std::string line; std::getline(old, line);)
    if (line.rfind(std::string(1, options_.letter) + " ", 0) != 0) text += line + "\n";
  text += TableLine() + "\n";
  WriteAtomically(options_.drive_table, text);
  Log("plugged in as drive " + std::string(1, options_.letter) + " (" + options_.model + ")");
}

void SimBoard::Unplug() {
  std::lock_guard lock(mutex_);
  UnplugLocked();
}

void SimBoard::UnplugLocked() {
  if (options_.drive_table.empty()) return;
  std::string text;
  std::istringstream old(ReadWhole(options_.drive_table));
  for (std::string line; std::getline(old, line);)
    if (line.rfind(std::string(1, options_.letter) + " ", 0) != 0) text += line + "\n";
  WriteAtomically(options_.drive_table, text);
  Log("unplugged");
}

void SimBoard::SetNextFault(Fault fault) {
  std::lock_guard lock(mutex_);
  if (fault.kind == FaultKind::no_cmd_folder) {
    // A dangling link where the folder belongs: the folder is not there,
    // and the computer cannot create it either.
    std::error_code ec;
    fs::remove_all(cmd_, ec);
    fs::create_symlink(options_.root / ".cmd-unreachable", cmd_, ec);
    // Systems without links (Windows here) cannot block the name this way.
    Log(fs::is_symlink(cmd_, ec) ? "the command folder cannot be created now"
                                 : "the command folder cannot be blocked on this system (no links)");
    return;
  }
  next_fault_ = fault;
}

void SimBoard::ClearCommandFolderBlock() {
  std::lock_guard lock(mutex_);
  std::error_code ec;
  if (fs::is_symlink(cmd_, ec)) fs::remove(cmd_, ec);
}

fs::path SimBoard::StorePicture() {
  std::lock_guard lock(mutex_);
  return StorePictureLocked(false);
}

fs::path SimBoard::StorePictureLocked(bool with_fault) {
  const int serial = ++picture_counter_;
  char name[32];
  std::snprintf(name, sizeof name, "TV%04d", serial);
  fs::path final_path = options_.root / (name + std::string(PictureExtension(picture_.kind)));
  const fs::path temporary = options_.root / ("." + std::string(name) + ".part");
  // Every picture must be created strictly after the one before, or the
  // computer would take it for an old one; file times are coarse, so retry.
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::error_code ec;
    fs::remove(temporary, ec);
    if (const Status written = WriteSimPicture(picture_, temporary, serial); !written) {
      Log("cannot store a picture: " + written.error());
      return {};
    }
    const auto created = platform::FileCreationTime(temporary);
    if (created && (!last_created_ || *created > *last_created_)) {
      last_created_ = created;
      if (with_fault) PrepareFaultyStore(temporary, final_path);
      fs::rename(temporary, final_path, ec);  // keeps the creation time and the lock
      if (ec) {
        Log("cannot store a picture: " + ec.message());
        return {};
      }
      pictures_.push_back(final_path);
      return final_path;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  Log("cannot store a picture: the file times do not move");
  return {};
}

void SimBoard::PrepareFaultyStore(const fs::path& temporary, const fs::path& final_path) {
  const platform::Millis now = platform::Clock()->Now();
  const platform::Millis duration(fault_.value);
  if (fault_.kind == FaultKind::hold) {
    // Locked before it gets its name, so no reader ever sees it free early.
    auto held = platform::HeldFile::Hold(temporary);
    if (!held) {
      Log("cannot hold the picture: " + held.error());
      return;
    }
    held_.emplace(std::move(*held));
    held_until_ = now + duration;
    Log("picture held for " + std::to_string(duration.count()) + " ms");
  } else if (fault_.kind == FaultKind::slow_write) {
    AdvanceSlowWrite(true);  // one slow picture at a time
    // Only the first piece is there when the picture gets its name; the rest
    // is appended in place as time goes by.
    slow_write_ = SlowWrite{final_path, ReadWhole(temporary), 0, now, duration};
    std::error_code ec;
    slow_write_->written = slow_write_->bytes.size() / kSlowWritePieces;
    fs::resize_file(temporary, slow_write_->written, ec);
    Log("picture written slowly over " + std::to_string(duration.count()) + " ms");
  }
}

void SimBoard::AdvanceSlowWrite(bool finish) {
  // Finishing waits out a reader that holds the file for a moment.
  for (int attempt = 0; attempt < (finish ? 200 : 1) && slow_write_; ++attempt) {
    if (attempt > 0) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    WriteSlowPieces(finish);
  }
}

void SimBoard::WriteSlowPieces(bool finish) {
  SlowWrite& w = *slow_write_;
  const platform::Millis elapsed = platform::Clock()->Now() - w.started;
  std::size_t pieces = kSlowWritePieces;
  if (!finish && elapsed < w.duration)
    pieces = 1 + static_cast<std::size_t>(elapsed.count() * static_cast<std::int64_t>(kSlowWritePieces - 1) /
                                          std::max<std::int64_t>(w.duration.count(), 1));
  const std::size_t goal =
      pieces >= kSlowWritePieces ? w.bytes.size() : w.bytes.size() / kSlowWritePieces * pieces;
  if (goal > w.written) {
    // A reader that has the file open keeps a writer out on some systems
    // (Windows): the piece is written at a later step instead.
    std::ofstream out(w.path, std::ios::binary | std::ios::app);
    if (!out) return;
    out.write(w.bytes.data() + w.written, static_cast<std::streamsize>(goal - w.written));
    out.flush();
    if (!out) return;
    w.written = goal;
  }
  if (w.written >= w.bytes.size()) {
    Log("picture written whole: " + w.path.filename().string());
    slow_write_.reset();
  }
}

void SimBoard::ReleaseHeld(platform::Millis now) {
  if (held_ && now >= held_until_) {
    held_.reset();
    Log("picture released");
  }
}

void SimBoard::Start(platform::Millis poll) {
  if (thread_.joinable()) return;
  stop_ = false;
  thread_ = std::thread([this, poll] {
    while (!stop_.load()) {
      Step();
      platform::SleepFor(poll);
    }
  });
}

void SimBoard::Stop() {
  stop_ = true;
  if (thread_.joinable()) thread_.join();
}

void SimBoard::SetPicture(PictureSpec picture) {
  std::lock_guard lock(mutex_);
  picture_ = picture;
}

std::vector<fs::path> SimBoard::pictures() const {
  std::lock_guard lock(mutex_);
  return pictures_;
}

void SimBoard::Step() {
  std::lock_guard lock(mutex_);
  const platform::Millis now = platform::Clock()->Now();
  AdvanceSlowWrite(false);
  ReleaseHeld(now);
  if (gone_) {
    if (fault_.return_after && vanished_at_ && now - *vanished_at_ >= *fault_.return_after) {
      gone_ = false;
      vanished_at_.reset();
      fault_.return_after.reset();
      PlugLocked();
    }
    return;
  }
  if (!platform::DirectoryExists(cmd_)) return;                              // the computer creates it
  if ((platform::GetAttributes(cmd_) & platform::kAttrHidden) == 0) return;  // the computer's turn
  TakeTurn();
}

void SimBoard::TakeTurn() {
  const auto command_path = cmd_ / std::string(board::kCommandFileName);
  if (platform::FileExists(command_path)) {
    const auto bytes = platform::ReadFileBytes(command_path);
    std::error_code ec;
    fs::remove(command_path, ec);
    if (bytes && bytes->size() >= 5 &&
        std::equal(board::BOARD_MAGIC.begin(), board::BOARD_MAGIC.end(), bytes->begin())) {
      const std::uint8_t code = (*bytes)[4];
      if (code == board::CMD_SCAN) {
        if (scanning_) Log("scan abandoned for a new one");
        fault_ = next_fault_;
        next_fault_ = Fault{};
        progress_ = 0;
        step_ = 0;
        vanish_countdown_ = 0;
        last_step_ = platform::Clock()->Now();
        scanning_ = true;
        ++scans_started_;
        Log("scan command received" +
            (fault_.kind == FaultKind::none ? "" : " (fault " + DescribeFault(fault_) + ")"));
      } else if (code == board::CMD_FEED) {
        ++feeds_;
        if (scanning_) {
          scanning_ = false;
          Log("feed command received: scan stopped");
        } else {
          Log("feed command received: sheet fed");
        }
      } else {
        Log("command " + std::to_string(code) + " ignored");
      }
    } else {
      Log("command file without the magic ignored");
    }
  }
  // A board that never releases the folder is stuck: no progress either.
  if (scanning_ && fault_.kind == FaultKind::never_release) return;
  if (scanning_) AdvanceScan();
  if (gone_) return;
  platform::SetAttributes(cmd_, platform::kAttrNormal);
}

void SimBoard::Vanish(platform::Millis now) {
  Log("progress " + std::to_string(progress_) + "%: the board goes away");
  gone_ = true;
  vanished_at_ = now;
  // A board that comes back carries on with its scan; one that does not has
  // lost it.
  if (fault_.return_after)
    fault_.kind = FaultKind::none;
  else
    scanning_ = false;
  UnplugLocked();
}

void SimBoard::AdvanceScan() {
  const platform::Millis now = platform::Clock()->Now();
  if (vanish_countdown_ > 0 && --vanish_countdown_ == 0) {
    Vanish(now);
    return;
  }
  if (vanish_countdown_ > 0) return;
  if (now - last_step_ < options_.step_pace) return;
  if (fault_.kind == FaultKind::stall && progress_ >= fault_.value) return;  // stands still
  last_step_ = now;
  ++step_;
  progress_ = step_ * 100 / options_.progress_steps;
  if (fault_.kind == FaultKind::stall) progress_ = std::min(progress_, fault_.value);
  // The board goes away two exchanges after it reported the chosen progress,
  // so the computer has taken that progress as its last.
  if (fault_.kind == FaultKind::vanish && progress_ >= fault_.value && vanish_countdown_ == 0)
    vanish_countdown_ = 2;
  WriteAtomically(cmd_ / std::string(board::kProgressFileName),
                  std::string(static_cast<std::size_t>(progress_), 'P'));
  Log("progress " + std::to_string(progress_) + "%");
  if (progress_ >= 100) FinishScan();
}

void SimBoard::WriteResult() {
  std::string bytes(board::BOARD_MAGIC.begin(), board::BOARD_MAGIC.end());
  std::uint8_t status = board::kStatusNothing;
  std::uint8_t detail = 0;
  switch (fault_.kind) {
    case FaultKind::busy: status = board::kStatusBusy; break;
    case FaultKind::error:
      status = board::kStatusError;
      detail = static_cast<std::uint8_t>(fault_.value);
      break;
    case FaultKind::unknown_status: status = static_cast<std::uint8_t>(fault_.value); break;
    case FaultKind::bad_magic: bytes = "\x76\x54\x32\x10"; break;
    default: break;
  }
  bytes.push_back(static_cast<char>(status));
  bytes.push_back(static_cast<char>(detail));
  // Six values (the scan's number and picture size) and a tail byte.
  const std::uint16_t values[6] = {static_cast<std::uint16_t>(scans_started_.load()),
                                   static_cast<std::uint16_t>(picture_.width),
                                   static_cast<std::uint16_t>(picture_.height),
                                   0,
                                   0,
                                   0};
  for (const std::uint16_t v : values) {
    bytes.push_back(static_cast<char>(v >> 8));
    bytes.push_back(static_cast<char>(v & 0xFF));
  }
  bytes.push_back('\0');
  WriteAtomically(cmd_ / std::string(board::kResultFileName), bytes);
  Log("result written: status " + std::to_string(status) + ", detail " + std::to_string(detail));
}

void SimBoard::FinishScan() {
  WriteResult();
  const bool failed = fault_.kind != FaultKind::none && fault_.kind != FaultKind::never_release &&
                      fault_.kind != FaultKind::slow_write && fault_.kind != FaultKind::hold;
  if (!failed) {
    const fs::path picture = StorePictureLocked(true);
    if (!picture.empty()) Log("picture stored: " + picture.filename().string());
  }
  scanning_ = false;
  ++scans_finished_;
}

}  // namespace tavlix::sim
