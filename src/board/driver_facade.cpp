#include "board/driver_facade.h"

#include <algorithm>
#include <future>
#include <memory>
#include <mutex>
#include <thread>

#include "board/command_files.h"
#include "board/drive_discovery.h"
#include "board/link_state.h"
#include "platform/attributes.h"
#include "platform/clock.h"
#include "platform/drives.h"

namespace tavlix::board {
namespace {

constexpr platform::Millis kPollStep{10};
// How long ReadCommand waits for the board's answer.
constexpr int kReadCommandTimeoutMs = 2000;
// How long DriverUninit waits for the worker: a notification in delivery may
// hold it for the full delivery bound.
constexpr std::chrono::milliseconds kJoinBound{7000};

struct DriverState {
  std::unique_ptr<TCommunicationThread> worker;
  std::thread thread;
  std::future<void> finished;
  bool initialised = false;
  std::mutex pump_mutex;
  std::function<void()> pump;
};

DriverState& Driver() {
  static DriverState state;
  return state;
}

void StopWorker(DriverState& d) {
  if (!d.worker) return;
  d.worker->RequestTerminate();
  if (d.thread.joinable()) {
    if (d.finished.valid() && d.finished.wait_for(kJoinBound) == std::future_status::ready) {
      d.thread.join();
    } else {
      // The worker is stuck outside our control; let it go, and keep its
      // object alive for it rather than pull it away underneath.
      d.thread.detach();
      static_cast<void>(d.worker.release());
    }
  }
}

// Waits in 10 ms steps, pumping the window's messages, until `done` or the
// time-out (0: none) runs out. true when done.
template <typename Done>
bool PollWhilePumping(int timeout, Done done) {
  int remaining = timeout;
  while (!done()) {
    platform::SleepFor(kPollStep);
    ProcessMessages();
    if (timeout != 0) {
      remaining -= static_cast<int>(kPollStep.count());
      if (remaining < 0) return done();
    }
  }
  return true;
}

}  // namespace

bool DriverInit(NotifyTarget* hWnd) {
  DriverState& d = Driver();
  if (d.initialised) return false;
  d.initialised = true;
  platform::QuietDriveErrors();
  Link().hWnd_Form = hWnd;
  d.worker = std::make_unique<TCommunicationThread>(hWnd);
  d.worker->RequestHalt();  // created "suspended": runs from DriverOpen on
  std::promise<void> finished;
  d.finished = finished.get_future();
  try {
    d.thread = std::thread([worker = d.worker.get(), done = std::move(finished)]() mutable {
      TCommunicationThread::ThreadFunc(worker);
      done.set_value();
    });
  } catch (const std::system_error&) {
    return false;
  }
  platform::SleepFor(kPollStep);
  return true;
}

bool DriverOpen() {
  if (auto* worker = Driver().worker.get()) worker->Resume();
  return true;
}

bool DriverClose() {
  DriverState& d = Driver();
  if (!d.worker || !d.thread.joinable()) return false;
  d.worker->RequestHalt();
  return true;
}

bool DriverUninit() {
  StopWorker(Driver());
  return true;
}

int Write(std::span<const std::uint8_t> buff, int timeout, bool bsync) {
  LinkState& link = Link();
  if (link.WriteRequest.load(std::memory_order_acquire) != kMailboxEmpty) return kWriteBusy;
  if (buff.size() > link.WriteBuffer.size()) return kWriteTooLong;
  std::copy(buff.begin(), buff.end(), link.WriteBuffer.begin());
  link.WriteBufferSize = static_cast<int>(buff.size());
  link.WriteRequest.store(kMailboxWaiting, std::memory_order_release);
  if (!bsync) return kWriteHandedOver;

  auto taken = [&] { return link.WriteRequest.load(std::memory_order_acquire) != kMailboxWaiting; };
  if (!PollWhilePumping(timeout, taken)) {
    int waiting = kMailboxWaiting;
    if (link.WriteRequest.compare_exchange_strong(waiting, kMailboxEmpty, std::memory_order_acq_rel))
      return kWriteTimedOut;
    // The worker claimed it between the last look and the withdrawal.
  }
  // Claimed, perhaps at the last moment: it is being written, not lost.
  PollWhilePumping(0, [&] { return link.WriteRequest.load(std::memory_order_acquire) != kMailboxClaimed; });
  return kWriteHandedOver;
}

int Read(std::span<std::uint8_t> buff, int& readsize, int timeout) {
  LinkState& link = Link();
  if (link.ReadRequest.exchange(true)) return kReadBusy;
  // Nothing on the worker's side serves reads: a read ends by its time-out.
  if (!PollWhilePumping(timeout, [&] { return !link.ReadRequest.load(); })) {
    readsize = 0;
    link.ReadRequest = false;
    return kReadTimedOut;
  }
  int size = link.ReadBufferSize.load();
  if (size != 0) {
    size = std::clamp(size, 0, static_cast<int>(std::min(buff.size(), link.ReadBuffer.size())));
    std::copy_n(link.ReadBuffer.begin(), size, buff.begin());
  }
  readsize = size;
  return kReadDone;
}

int WriteCommand(std::uint8_t CommandNum, int timeout, bool bsync) {
  const std::array<std::uint8_t, 5> command = {BOARD_MAGIC[0], BOARD_MAGIC[1], BOARD_MAGIC[2], BOARD_MAGIC[3],
                                               CommandNum};
  int result = Write(command, timeout, bsync);
  if (result != kWriteTimedOut) return result;
  std::string model, drive;
  const bool present = GetTargetDrive(model, drive);
  Link().Connected = present;
  if (!present) return result;
  // The board kept the folder: take the turn back and try once more.
  const auto folder = CommandFolderPath(drive);
  if ((platform::GetAttributes(folder) & platform::kAttrHidden) != 0)
    platform::SetAttributes(folder, platform::kAttrNormal);
  return Write(command, timeout, bsync);
}

int ReadCommand() {
  std::array<std::uint8_t, 256> buffer{};
  int size = 0;
  if (Read(buffer, size, kReadCommandTimeoutMs) != kReadDone || size == 0) return 0;
  return ParseReceiveCommand(std::span<const std::uint8_t>(buffer.data(), static_cast<std::size_t>(size)));
}

bool IsConnected() {
  return Link().Connected.load();
}

bool OfferSetting(settings::OutputFormat Setting_OutputFileExt,
                  const std::string& Setting_OutputFileSavePath) {
  if (auto* worker = Driver().worker.get())
    worker->ChangeImageFileSetting(Setting_OutputFileExt, Setting_OutputFileSavePath);
  return true;
}

void SetFlgAppScanTimeout(bool flg) {
  if (auto* worker = Driver().worker.get()) worker->SetFlgAppScanTimeout(flg);
}

void SetFlgAppScan(bool flg) {
  if (auto* worker = Driver().worker.get()) worker->SetFlgAppScan(flg);
}

bool GetFlgAppScan() {
  auto* worker = Driver().worker.get();
  return worker != nullptr && worker->GetFlgAppScan();
}

void SetNewHandle(NotifyTarget* hWnd) {
  Link().hWnd_Form = hWnd;
  if (auto* worker = Driver().worker.get()) worker->SetNewHandle(hWnd);
}

void ProcessMessages() {
  std::function<void()> pump;
  {
    std::lock_guard lock(Driver().pump_mutex);
    pump = Driver().pump;
  }
  if (pump) pump();
}

void SetMessagePump(std::function<void()> pump) {
  std::lock_guard lock(Driver().pump_mutex);
  Driver().pump = std::move(pump);
}

std::vector<SavedFile> DriverTakeSavedFiles() {
  auto* worker = Driver().worker.get();
  if (worker == nullptr) return {};
  return worker->TakeSavedFiles();
}

void DriverSetPictureRecord(std::optional<std::filesystem::path> record) {
  if (auto* worker = Driver().worker.get()) worker->SetPictureRecord(std::move(record));
}

TCommunicationThread* DriverWorker() {
  return Driver().worker.get();
}

void ResetDriverForTests() {
  DriverState& d = Driver();
  StopWorker(d);
  d.worker.reset();
  d.thread = std::thread();
  d.finished = {};
  d.initialised = false;
  SetMessagePump(nullptr);
  ResetLinkStateForTests();
}

}  // namespace tavlix::board
