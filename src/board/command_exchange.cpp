// The worker's two file-exchange steps with the board.
#include <algorithm>
#include <climits>

#include "board/command_files.h"
#include "board/communication_thread.h"
#include "board/link_state.h"
#include "platform/files.h"

namespace tavlix::board {
namespace {

constexpr std::array<std::uint8_t, 3> kUtf8ByteOrderMark = {0xEF, 0xBB, 0xBF};

// A deleted file may linger a moment on a slow device: look up to ten times,
// 10 ms apart, and carry on regardless.
void WaitUntilGone(const platform::FolderHandle& folder, std::string_view name) {
  for (int check = 0; check < 10 && folder.Contains(name); ++check) platform::SleepFor(platform::Millis(10));
}

}  // namespace

// Both steps reach the files only through the folder opened without following
// a link: a `cmd` that is a link, or links and FIFOs in place of the files, can
// neither lead outside the board's drive nor block.
bool TCommunicationThread::WriteCommandFile(const std::filesystem::path& targetpath) {
  LinkState& link = Link();
  const auto size = static_cast<std::size_t>(std::clamp(link.WriteBufferSize.load(), 0, 256));
  const auto folder = platform::FolderHandle::Open(targetpath);
  if (folder &&
      folder->WriteAtStart(kCommandFileName, std::span<const std::uint8_t>(link.WriteBuffer.data(), size)) ==
          platform::WriteOutcome::written)
    return true;
  // The board never saw the command: say so rather than count it delivered.
  Notify(BOARD_ERR_OTHER, 1);
  return false;
}

bool TCommunicationThread::ReadCommandFile(const std::filesystem::path& targetpath) {
  LinkState& link = Link();
  const auto folder = platform::FolderHandle::Open(targetpath);
  if (!folder) {
    Notify(BOARD_ERR_OTHER, 1);
    return false;
  }

  if (folder->Contains(kProgressFileName)) {
    const auto length = folder->FileLength(kProgressFileName);
    if (!length) {
      Notify(BOARD_ERR_OTHER, 1);
      return false;
    }
    const int progress = static_cast<int>(std::min<std::uint64_t>(*length, INT_MAX));
    link.ReadBufferSize = progress;
    Notify(BOARD_PROGRESS, progress);
    ScanProgress = progress;
    if (folder->Contains(kResultFileName)) {
      if (!folder->Remove(kProgressFileName).ok()) {
        Notify(BOARD_ERR_OTHER, 1);
        return false;
      }
      WaitUntilGone(*folder, kProgressFileName);
    }
  } else {
    Notify(BOARD_PROGRESS, 0);
  }

  if (!folder->Contains(kResultFileName)) {
    link.ReadBufferSize = 0;
    return true;
  }
  // Raw bytes: every byte value reaches the parser as the board wrote it.
  auto bytes = folder->ReadHead(kResultFileName, kMaxResultBytes + kUtf8ByteOrderMark.size());
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
  if (!folder->Remove(kResultFileName).ok()) {
    Notify(BOARD_ERR_OTHER, 1);
    return false;
  }
  WaitUntilGone(*folder, kResultFileName);
  return true;
}

}  // namespace tavlix::board
