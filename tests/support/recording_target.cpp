#include "support/recording_target.h"

#include "board/notify.h"

namespace tavlix::test {

std::ostream& operator<<(std::ostream& os, const Note& note) {
  return os << board::BoardNotifyName(note.code) << "(" << note.arg << ")";
}

RecordingTarget::RecordingTarget()
    : QueuedNotifyTarget([this](int code, std::intptr_t arg) {
        const Note note{code, arg};
        {
          std::lock_guard lock(mutex_);
          notes_.push_back(note);
        }
        if (on_note) on_note(note);
      }) {}

std::vector<Note> RecordingTarget::notes() const {
  std::lock_guard lock(mutex_);
  return notes_;
}

std::vector<int> RecordingTarget::codes() const {
  std::vector<int> codes;
  for (const auto& n : notes()) codes.push_back(n.code);
  return codes;
}

void RecordingTarget::clear() {
  std::lock_guard lock(mutex_);
  notes_.clear();
}

std::vector<std::intptr_t> ArgsOf(const std::vector<Note>& notes, int code) {
  std::vector<std::intptr_t> args;
  for (const auto& n : notes)
    if (n.code == code) args.push_back(n.arg);
  return args;
}

}  // namespace tavlix::test
