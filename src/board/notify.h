// The board link's one report channel to the window: WM_BOARD_NOTIFY.
//
// A notification target (the toolbar's window, the command line's pump, a
// test's recorder) lives on one thread and is not owned by the board link.
// Delivery rule, for every sender:
//   - a null target: the notification is lost, silently;
//   - a target whose thread is the sender's: its handler runs at once, nested;
//   - otherwise the handler is queued to the target's thread and the sender
//     waits until it has run or the delivery bound (5000 ms) has passed; then
//     it carries on either way, and the outcome is not examined.
// No lock of the board link is held while a notification is delivered.
// The board link holds its target as a plain non-owning pointer (the window
// handle). A target must outlive every sender that can still see it: replace it with
// SetNewHandle (or stop the worker) before destroying it.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>

namespace tavlix::board {

inline constexpr unsigned WM_BOARD_NOTIFY = 0x8001;  // WM_APP + 1

// Event codes (wParam); the argument (lParam) is 1 unless said otherwise.
inline constexpr int BOARD_IMAGE_SAVED = 1;
// BOARD_IMAGE_SAVED's argument for a picture whose BOARD_SAVE_FAILED was sent
// before: it counts as saved, no longer as failed.
inline constexpr std::intptr_t kSavedAfterFailure = 2;
inline constexpr int BOARD_LOST = 2;
inline constexpr int BOARD_FOUND = 3;  // lParam: drive position * 16 + model row
inline constexpr int BOARD_JOB_BEGIN = 4;
inline constexpr int BOARD_JOB_END = 5;
inline constexpr int BOARD_PROGRESS = 6;  // lParam: percent; 0 without progress file; -1 at the end
inline constexpr int BOARD_SAVE_FAILED = 7;
inline constexpr int BOARD_BUSY = 8;
inline constexpr int BOARD_ERR_E1 = 10;
inline constexpr int BOARD_ERR_E2 = 11;
inline constexpr int BOARD_ERR_E3 = 12;
inline constexpr int BOARD_ERR_E4 = 13;
inline constexpr int BOARD_ERR_E5 = 14;
inline constexpr int BOARD_ERR_E6 = 15;
inline constexpr int BOARD_ERR_US = 16;
inline constexpr int BOARD_ERR_FL = 17;
inline constexpr int BOARD_ERR_EL = 18;
inline constexpr int BOARD_TIMEOUT = 19;
inline constexpr int BOARD_DETACHED = 20;
inline constexpr int BOARD_ERR_OTHER = 21;

// The symbolic name of a code ("BOARD_FOUND"), or "code N" for others.
const char* BoardNotifyName(int code);

class NotifyTarget {
 public:
  virtual ~NotifyTarget() = default;
  // Runs on the target's thread: the window procedure for WM_BOARD_NOTIFY.
  virtual void HandleBoardNotify(int code, std::intptr_t arg) = 0;
  // True when the calling thread is the target's own.
  virtual bool IsOwnThread() const = 0;
  // Queues `task` to run on the target's thread. false tells the sender not
  // to wait for it: it could not be queued (the target is shutting down, the
  // task is dropped), or the target already waited its bound for it (the
  // task then runs late).
  virtual bool PostToOwnThread(std::function<void()> task) = 0;
};

// Sends WM_BOARD_NOTIFY with `code` and `arg` to `target` by the rule above.
void SendBoardNotify(NotifyTarget* target, int code, std::intptr_t arg);

// How long a sender waits for a target on another thread (5000 ms); tests
// shorten it. Thread-safe.
void SetNotifyDeliveryBound(std::chrono::milliseconds bound);
std::chrono::milliseconds NotifyDeliveryBound();
inline constexpr std::chrono::milliseconds kNotifyDeliveryBound{5000};

}  // namespace tavlix::board
