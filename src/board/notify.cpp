#include "board/notify.h"

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>

namespace tavlix::board {
namespace {

std::atomic<std::int64_t> g_bound_ms{kNotifyDeliveryBound.count()};

struct Delivery {
  std::mutex mutex;
  std::condition_variable done_cv;
  bool done = false;
};

}  // namespace

const char* BoardNotifyName(int code) {
  switch (code) {
    case BOARD_IMAGE_SAVED: return "BOARD_IMAGE_SAVED";
    case BOARD_LOST: return "BOARD_LOST";
    case BOARD_FOUND: return "BOARD_FOUND";
    case BOARD_JOB_BEGIN: return "BOARD_JOB_BEGIN";
    case BOARD_JOB_END: return "BOARD_JOB_END";
    case BOARD_PROGRESS: return "BOARD_PROGRESS";
    case BOARD_SAVE_FAILED: return "BOARD_SAVE_FAILED";
    case BOARD_BUSY: return "BOARD_BUSY";
    case BOARD_ERR_E1: return "BOARD_ERR_E1";
    case BOARD_ERR_E2: return "BOARD_ERR_E2";
    case BOARD_ERR_E3: return "BOARD_ERR_E3";
    case BOARD_ERR_E4: return "BOARD_ERR_E4";
    case BOARD_ERR_E5: return "BOARD_ERR_E5";
    case BOARD_ERR_E6: return "BOARD_ERR_E6";
    case BOARD_ERR_US: return "BOARD_ERR_US";
    case BOARD_ERR_FL: return "BOARD_ERR_FL";
    case BOARD_ERR_EL: return "BOARD_ERR_EL";
    case BOARD_TIMEOUT: return "BOARD_TIMEOUT";
    case BOARD_DETACHED: return "BOARD_DETACHED";
    case BOARD_ERR_OTHER: return "BOARD_ERR_OTHER";
    default: return "unknown code";
  }
}

void SetNotifyDeliveryBound(std::chrono::milliseconds bound) {
  g_bound_ms.store(bound.count());
}

std::chrono::milliseconds NotifyDeliveryBound() {
  return std::chrono::milliseconds(g_bound_ms.load());
}

void SendBoardNotify(NotifyTarget* target, int code, std::intptr_t arg) {
  if (target == nullptr) return;
  if (target->IsOwnThread()) {
    target->HandleBoardNotify(code, arg);
    return;
  }
  // The delivery record is shared with the queued task, which may still run
  // after the sender has given up waiting.
  auto delivery = std::make_shared<Delivery>();
  const bool queued = target->PostToOwnThread([target, code, arg, delivery] {
    target->HandleBoardNotify(code, arg);
    std::lock_guard lock(delivery->mutex);
    delivery->done = true;
    delivery->done_cv.notify_all();
  });
  if (!queued) return;
  std::unique_lock lock(delivery->mutex);
  delivery->done_cv.wait_for(lock, NotifyDeliveryBound(), [&] { return delivery->done; });
}

}  // namespace tavlix::board
