#include "board/communication_thread.h"

#include <utility>

#include "platform/environment.h"

namespace tavlix::board {
namespace {

// Where pictures go until the window offers the user's choice.
std::string DefaultSaveFolder() {
  auto home = platform::GetEnv("USERPROFILE");
  if (!home) home = platform::GetEnv("HOME");
  return home.value_or("") + "/Pictures/TavlixConnect/";
}

}  // namespace

TCommunicationThread::TCommunicationThread(NotifyTarget* hWnd)
    : hWnd_Form_(hWnd), OutputFileSavePath(std::make_shared<const std::string>(DefaultSaveFolder())) {
  // Pictures already on the board now are the user's old ones: never copy them.
  CheckImageFile(false);
}

TCommunicationThread::~TCommunicationThread() {
  RequestTerminate();
}

bool TCommunicationThread::ChangeImageFileSetting(settings::OutputFormat Setting_OutputFileExt,
                                                  const std::string& Setting_OutputFileSavePath) {
  auto copy = std::make_shared<const std::string>(Setting_OutputFileSavePath);
  OutputFileExt = Setting_OutputFileExt;
  std::lock_guard lock(save_path_mutex_);
  OutputFileSavePath = std::move(copy);
  return true;
}

std::shared_ptr<const std::string> TCommunicationThread::SavePath() const {
  std::lock_guard lock(save_path_mutex_);
  return OutputFileSavePath;
}

void TCommunicationThread::SetFlgAppScan(bool flg) {
  // transition_ keeps a nested or concurrent call from sending the same
  // notes twice while the first call is still delivering them.
  if (flg) {
    if (FlgAppScan.load() || transition_.exchange(true)) return;
    HiddenWaitCount = 0;
    StallCount = 0;  // a new scan is not timed out by the last one's stall
    Notify(BOARD_JOB_BEGIN, 1);
    FlgAppScan = true;
    transition_ = false;
    return;
  }
  if (FlgAppScan.load() && !transition_.exchange(true)) {
    HiddenWaitCount = 0;
    Notify(BOARD_JOB_END, 1);
    Notify(BOARD_PROGRESS, -1);
    FlgAppScanTimeout = false;
    FlgAppScan = false;
    transition_ = false;
    return;
  }
  if (!transition_.load()) {
    FlgAppScanTimeout = false;
    FlgAppScan = false;
  }
}

void TCommunicationThread::Notify(int code, std::intptr_t arg) const {
  if (OnWorkerThread() && !Checkpoint()) return;  // terminating: the window may be gone
  SendBoardNotify(hWnd_Form_.load(), code, arg);
}

void TCommunicationThread::RequestHalt() {
  std::lock_guard lock(halt_mutex_);
  ++halt_requests_;
}

void TCommunicationThread::Resume() {
  {
    std::lock_guard lock(halt_mutex_);
    halt_requests_ = 0;
  }
  halt_cv_.notify_all();
}

void TCommunicationThread::RequestTerminate() {
  {
    std::lock_guard lock(halt_mutex_);
    FlgTerminate = 1;
  }
  halt_cv_.notify_all();
}

bool TCommunicationThread::Checkpoint() const {
  std::unique_lock lock(halt_mutex_);
  if (halt_requests_ > 0 && FlgTerminate.load() == 0) {
    parked_ = true;
    halt_cv_.wait(lock, [&] { return halt_requests_ == 0 || FlgTerminate.load() != 0; });
    parked_ = false;
  }
  return FlgTerminate.load() == 0;
}

bool TCommunicationThread::Wait(platform::Millis duration) const {
  // Short slices, so a halt or the end of the program is noticed within 100 ms.
  while (duration > platform::Millis(0)) {
    if (!Checkpoint()) return false;
    const auto step = std::min(duration, kCyclePresent);
    platform::SleepFor(step);
    duration -= step;
  }
  return Checkpoint();
}

}  // namespace tavlix::board
