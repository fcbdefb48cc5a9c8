// Locks between the user's own processes, by name: one copy of the toolbar a
// session, one collector a board drive. A lock lives in the user's private
// runtime folder; on Linux it is an exclusive flock on a file of that name, on
// Windows a named mutex or a lock file. The system releases it when its holder
// dies, so a crashed holder never blocks the next start.
//
// The holder writes its process id and program name into the lock, so that a
// refused process can say who holds it. Objects are move-only and release the
// lock when destroyed; any thread.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "core/result.h"

namespace tavlix::platform {

// The user's private folder for locks: $XDG_RUNTIME_DIR, else the system's
// per-user runtime folder, else a folder of the user's own in the temporary
// folder (created on demand). A candidate counts only when it is a folder,
// not a link, owned by the user and closed to everybody else (mode 0700), so
// that nobody else can hold or plant a lock there. Fails when no candidate
// qualifies.
Result<std::filesystem::path> UserRuntimeFolder();

// Makes `folder` (one level) when it is missing, with mode 0700, and checks it
// as above. The folder, or why it does not qualify.
Result<std::filesystem::path> PrivateFolder(const std::filesystem::path& folder);

// Who holds a lock, as the holder wrote it; pid 0 and an empty program when
// it could not be read.
struct LockHolder {
  long long pid = 0;
  std::string program;
};

// A short description: "tavlix watch (process 1234)".
std::string DescribeHolder(const LockHolder& holder);

class ProcessLock {
 public:
  enum class State {
    held,         // this object holds the lock
    taken,        // another process holds it: holder() says who
    unavailable,  // no lock could be made: error() says why
  };

  // Takes the lock `name` in `folder` without waiting and records this
  // process's id and `program` in it.
  static ProcessLock TryTake(const std::filesystem::path& folder, std::string_view name,
                             std::string_view program);
  // The same in UserRuntimeFolder().
  static ProcessLock TryTake(std::string_view name, std::string_view program);

  // Whether another process holds the lock `name` in `folder`, and who;
  // nullopt when nobody does (or no lock can be looked at). Takes nothing.
  static std::optional<LockHolder> Holder(const std::filesystem::path& folder, std::string_view name);

  ProcessLock(ProcessLock&& other) noexcept;
  ProcessLock& operator=(ProcessLock&& other) noexcept;
  ProcessLock(const ProcessLock&) = delete;
  ProcessLock& operator=(const ProcessLock&) = delete;
  ~ProcessLock();

  State state() const { return state_; }
  bool held() const { return state_ == State::held; }
  const LockHolder& holder() const { return holder_; }
  const std::string& error() const { return error_; }

 private:
  struct Handle;  // the backend's open lock
  struct HandleDeleter {
    void operator()(Handle* handle) const noexcept;  // defined where Handle is
  };
  ProcessLock() = default;  // unavailable

  State state_ = State::unavailable;
  std::unique_ptr<Handle, HandleDeleter> handle_;
  LockHolder holder_;
  std::string error_;
};

}  // namespace tavlix::platform
