// The worker's loop: one cycle every 100 ms with the board present, every
// 3000 ms without it.
#include <filesystem>

#include "board/command_files.h"
#include "board/communication_thread.h"
#include "board/drive_discovery.h"
#include "board/link_state.h"
#include "platform/attributes.h"
#include "platform/drives.h"
#include "platform/files.h"

namespace tavlix::board {
namespace {

// Frees the mailbox after a claimed command, also when writing it threw.
class ClaimedCommand {
 public:
  explicit ClaimedCommand(LinkState& link) : link_(link) {}
  ~ClaimedCommand() { link_.WriteRequest.store(kMailboxEmpty, std::memory_order_release); }
  ClaimedCommand(const ClaimedCommand&) = delete;
  ClaimedCommand& operator=(const ClaimedCommand&) = delete;

 private:
  LinkState& link_;
};

// Whether something stands at `path`: a file, a folder, or a link that leads
// to one (only looked up, never opened).
bool SomethingAt(const std::filesystem::path& path) {
  std::error_code ec;
  return std::filesystem::exists(std::filesystem::status(path, ec));
}

// Whether `path` is a folder itself, not a link to one.
bool IsRealFolder(const std::filesystem::path& path) {
  std::error_code ec;
  return std::filesystem::is_directory(std::filesystem::symlink_status(path, ec));
}

}  // namespace

int TCommunicationThread::TVExecute() {
  loop_thread_ = std::this_thread::get_id();
  while (Checkpoint()) {
    if (!Wait(RunGuardedCycle())) break;
  }
  return 0;
}

platform::Millis TCommunicationThread::RunGuardedCycle() {
  try {
    const platform::Millis wait = RunCycle();
    error_reported_ = false;
    return wait;
  } catch (...) {
    // A failing step must not end the worker: say so once, carry on.
    if (!error_reported_) {
      error_reported_ = true;
      Notify(BOARD_ERR_OTHER, 1);
    }
    return Link().Connected.load() ? kCyclePresent : kCycleAbsent;
  }
}

platform::Millis TCommunicationThread::RunCycle() {
  LinkState& link = Link();
  Connected_last = link.Connected.load();
  const bool found = GetTargetDrive(model_name_, drive_root_);
  link.Connected = found;
  // Keeps the board's drive awake; the bytes are not looked at.
  if (!drive_root_.empty()) platform::ReadVolumeHead(drive_root_);
  if (!found) return AbsentBoard();
  LostCount = 0;  // back within the grace: a later absence has its own
  if (FlgAppScan.load()) {
    bool completed = false;
    const platform::Millis wait = Exchange(completed);
    if (!completed) return wait;
  }
  CheckImageFile(true);
  return kCyclePresent;
}

platform::Millis TCommunicationThread::Exchange(bool& completed) {
  if (exchange_probe) exchange_probe();
  LinkState& link = Link();
  // `cmd` is resolved once an exchange, without following a link; everything
  // below reaches the folder through that handle or through steps that refuse
  // a link the same way, so nothing leads outside the board's drive.
  const auto path = CommandFolderPath(drive_root_);
  auto folder = platform::FolderHandle::Open(path);
  if (!folder) {
    if (platform::MakeDirectory(path)) return kFolderCreatedPause;
    if (!Wait(kFolderCreatedPause)) return platform::Millis(0);
    folder = platform::FolderHandle::Open(path);
  }
  // A folder that could not be made (a read-only drive, a link to nothing in
  // its place) reads as hidden; a file, or a link to anything, is used as no
  // folder at all.
  const bool not_a_folder = !folder && SomethingAt(path);
  const std::uint32_t attributes = folder ? platform::GetAttributes(*folder) : platform::kInvalidAttributes;

  if (FlgAppScanTimeout.load()) {
    if (ScanProgressLast == ScanProgress.load()) {
      if ((StallCount += kCountStep) >= kCountLimit) {
        StallCount = 0;
        SetFlgAppScan(false);
        Notify(BOARD_TIMEOUT, 1);
        return kCyclePresent;  // no exchange after the time-out
      }
    } else {
      StallCount = 0;
    }
  }
  ScanProgressLast = ScanProgress.load();

  int waiting = kMailboxWaiting;
  if (not_a_folder) {
    // Nothing in it is touched; a command waiting for it never reaches the
    // board, which is said as for any command that cannot be written.
    if (link.WriteRequest.compare_exchange_strong(waiting, kMailboxClaimed, std::memory_order_acq_rel)) {
      ClaimedCommand claimed(link);
      Notify(BOARD_ERR_OTHER, 1);
    }
    return kCyclePresent;
  }

  if ((attributes & platform::kAttrHidden) != 0) {  // the board still has the turn
    if ((HiddenWaitCount += kCountStep) >= kCountLimit) {
      HiddenWaitCount = 0;
      SetFlgAppScan(false);
      Notify(BOARD_TIMEOUT, 1);
    }
    return kCyclePresent;
  }
  HiddenWaitCount = 0;

  if (link.WriteRequest.compare_exchange_strong(waiting, kMailboxClaimed, std::memory_order_acq_rel)) {
    ClaimedCommand claimed(link);
    WriteCommandFile(path);
  }
  ReadCommandFile(path);
  if (!IsRealFolder(path)) return kCyclePresent;
  // Hand the folder back to the board.
  if (!platform::SetAttributes(*folder, platform::kAttrHidden)) Notify(BOARD_ERR_OTHER, 1);
  completed = true;
  return kCyclePresent;
}

platform::Millis TCommunicationThread::AbsentBoard() {
  if (Connected_last || LostCount > 0) {
    if (ScanProgressLast > kGraceProgress) {
      if (LostCount >= kLostGraceCycles)
        GiveUp();
      else
        ++LostCount;
    } else {
      GiveUp();
    }
  }
  return LostCount > 0 ? kCyclePresent : kCycleAbsent;
}

void TCommunicationThread::GiveUp() {
  if (FlgAppScan.load()) Notify(BOARD_DETACHED, 1);
  SetFlgAppScan(false);
  FlgAppScanTimeout = false;
  LostCount = 0;
}

}  // namespace tavlix::board
