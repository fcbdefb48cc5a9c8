// A notification target that records what it was sent, in order.
//
// It belongs to the thread that creates it: notifications from that thread are
// recorded at once, those from other threads when the owner pumps.
#pragma once

#include <cstdint>
#include <functional>
#include <mutex>
#include <ostream>
#include <vector>

#include "board/queued_target.h"

namespace tavlix::test {

struct Note {
  int code;
  std::intptr_t arg;
  bool operator==(const Note&) const = default;
};
std::ostream& operator<<(std::ostream& os, const Note& note);

class RecordingTarget : public board::QueuedNotifyTarget {
 public:
  RecordingTarget();
  // Runs inside the handler, after recording (for nested calls in tests).
  std::function<void(const Note&)> on_note;

  std::vector<Note> notes() const;
  std::vector<int> codes() const;
  void clear();

 private:
  mutable std::mutex mutex_;
  std::vector<Note> notes_;
};

// The notes of one code, in order.
std::vector<std::intptr_t> ArgsOf(const std::vector<Note>& notes, int code);

}  // namespace tavlix::test
