// The board link's shared state: the notification window, the board-present
// flag and the one-slot command mailbox between the window's thread and the
// worker thread.
//
// One instance for the process (Link()); ResetLinkStateForTests() puts it back
// to its starting values. Every field that both threads touch is an atomic or
// is guarded by `result_mutex`; the mailbox buffer is published by storing
// WriteRequest with release order after filling it and read by the worker only
// after loading WriteRequest with acquire order.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>

#include "board/command_files.h"
#include "board/notify.h"

namespace tavlix::board {

inline constexpr int kMailboxEmpty = 0;
inline constexpr int kMailboxWaiting = 1;
inline constexpr int kMailboxClaimed = 2;

struct LinkState {
  std::atomic<NotifyTarget*> hWnd_Form{nullptr};
  std::atomic<bool> Connected{false};

  // Command mailbox (window -> worker): kMailboxEmpty, kMailboxWaiting (a
  // command waits in WriteBuffer) or kMailboxClaimed (the worker took it and is
  // writing it). The worker claims with a compare-and-swap, and a sender whose
  // time-out runs out withdraws only a command still waiting, so a command is
  // either written once or withdrawn, never both.
  std::atomic<int> WriteRequest{0};
  std::array<std::uint8_t, 256> WriteBuffer{};
  std::atomic<int> WriteBufferSize{0};

  // Reading mailbox (worker -> window).
  std::atomic<bool> ReadRequest{false};
  std::array<std::uint8_t, 256> ReadBuffer{};
  std::atomic<int> ReadBufferSize{0};

  // The last parsed result and its companion.
  std::mutex result_mutex;
  TResultFile ResultFile{};
  std::atomic<int> CurrentProgress{0};
};

LinkState& Link();
void ResetLinkStateForTests();

}  // namespace tavlix::board
