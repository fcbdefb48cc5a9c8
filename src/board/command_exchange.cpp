// The worker's two file-exchange steps with the board.
#include <algorithm>
#include <climits>

#include "board/command_files.h"
#include "board/communication_thread.h"
#include "board/link_state.h"
#include "platform/files.h"

namespace tavlix {
namespace {

constexpr std::array<std::uint8_t, 3> kUtf8ByteOrderMark = {0xEF, 0xBB, 0xBF};

// A deleted file may linger a moment on a slow device: look up to ten times,
// 10 ms apart, and carry on regardless.
void WaitUntilGone(const std::filesystem::path& path) {
  for (int check = 0; check < 10 && platform::FileExists(path); ++check)
    platform::SleepFor(platform::Millis(10));
}

}  // namespace

bool TCommunicationThread::WriteCommandFile(const std::filesystem::path& targetpath) {
  LinkState& link = Link();
  const auto size = static_cast<std::size_t>(std::clamp(link.WriteBufferSize.load(), 0, 256));
  const auto outcome = platform::WriteAtStartWriteThrough(
      targetpath / kCommandFileName, std::span<const std::uint8_t>(link.WriteBuffer.data(), size));
  if (outcome == platform::WriteOutcome::written) return true;
  // The board never saw the command: say so rather than count it delivered.
  Notify(BOARD_ERR_OTHER, 1);
  return false;
}

bool TCommunicationThread::ReadCommandFile(const std::filesystem::path& targetpath) {
  LinkState& link = Link();
  const auto progress_path = targetpath / kProgressFileName;
  const auto result_path = targetpath / kResultFileName;

  if (platform::FileExists(progress_path)) {
    const auto length = platform::ReadFileLength(progress_path);
    if (!length) {
      Notify(BOARD_ERR_OTHER, 1);
      return false;
    }
    const int progress = static_cast<int>(std::min<std::uint64_t>(*length, INT_MAX));
    link.ReadBufferSize = progress;
    Notify(BOARD_PROGRESS, progress);
    ScanProgress = progress;
    if (platform::FileExists(result_path)) {
      if (!platform::RemoveFile(progress_path).ok()) {
        Notify(BOARD_ERR_OTHER, 1);
        return false;
      }
      WaitUntilGone(progress_path);
    }
  } else {
    Notify(BOARD_PROGRESS, 0);
  }

  if (!platform::FileExists(result_path)) {
    link.ReadBufferSize = 0;
    return true;
  }
  // Raw bytes: every byte value reaches the parser as the board wrote it.
  auto bytes = platform::ReadFileHead(result_path, kMaxResultBytes + kUtf8ByteOrderMark.size());
  std::span<const std::uint8_t> received;
  if (bytes) received = *bytes;
  if (received.size() >= kUtf8ByteOrderMark.size() &&
      std::equal(kUtf8ByteOrderMark.begin(), kUtf8ByteOrderMark.end(), received.begin()))
    received = received.subspan(kUtf8ByteOrderMark.size());
  // A result the board has not finished writing (in use, or still empty)
  // stays where it is for the next exchange.
  if (!bytes || received.empty()) {
    Notify(BOARD_ERR_OTHER, 1);
    return false;
  }
  received = received.first(std::min(received.size(), kMaxResultBytes));
  ParseReceiveCommand(received);
  if (!platform::RemoveFile(result_path).ok()) {
    Notify(BOARD_ERR_OTHER, 1);
    return false;
  }
  WaitUntilGone(result_path);
  return true;
}

}  // namespace tavlix
