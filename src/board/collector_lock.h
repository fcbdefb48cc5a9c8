// One collector a board: the toolbar and `tavlix scan`, `feed` and `watch`
// each collect every new picture of the board, so two of them on one board
// would save every picture twice. A collector lets its worker run only while
// it holds the lock of the board's drive (named after the drive's root, in the
// user's private runtime folder); a second collector is refused and told who
// holds it.
//
// Window's thread only (the look-up may notify BOARD_FOUND or BOARD_LOST, as
// any look-up does). Not copyable.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <utility>

#include "platform/process_lock.h"

namespace tavlix::board {

// The lock's name for the board drive at `root`.
std::string CollectorLockName(const std::string& root);

// Where the holder of the board's lock at `root` keeps its picture record
// (TCommunicationThread::SetPictureRecord), beside the lock; nullopt without
// a private runtime folder.
std::optional<std::filesystem::path> PictureRecordPath(const std::string& root);

// Who collects from the board at `root`, if anybody.
std::optional<platform::LockHolder> BoardCollector(const std::string& root);

class CollectorLock {
 public:
  enum class Claim {
    held,         // the board is present and this collector holds its lock
    no_board,     // no board is present
    taken,        // another collector holds it: holder()
    unavailable,  // the lock cannot be made: error()
  };

  // `program` is what a refused collector is told ("tavlix watch").
  explicit CollectorLock(std::string program) : program_(std::move(program)) {}

  // Looks the board up, stores its presence in the link's Connected flag,
  // and makes sure this collector holds the lock of its drive (letting go of
  // the lock of another drive it held).
  Claim ClaimPresentBoard();

  const platform::LockHolder& holder() const { return holder_; }
  const std::string& error() const { return error_; }
  // The drive whose lock is held; empty when none.
  const std::string& root() const { return root_; }

 private:
  std::string program_;
  std::optional<platform::ProcessLock> lock_;
  std::string root_;
  platform::LockHolder holder_;
  std::string error_;
};

}  // namespace tavlix::board
