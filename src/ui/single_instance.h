// One copy of the toolbar per logon session: an exclusive lock on the file
// "tvconnect" in the session's runtime folder ($XDG_RUNTIME_DIR, which the
// system gives each user session; /tmp with the user id when it is unset).
// The lock is held for the life of the object and released by the system if
// the process dies. Not copyable; any thread.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace TavlixSoft {

inline constexpr const char* kInstanceLockName = "tvconnect";

class SingleInstanceLock {
 public:
  // Takes the lock in `folder` without waiting. nullopt when another process
  // holds it; a lock that cannot be made at all (no folder, no permission) is
  // treated as taken by nobody, so the program still starts.
  static std::optional<SingleInstanceLock> Acquire(const std::filesystem::path& folder);
  // The session's runtime folder.
  static std::filesystem::path SessionFolder();

  SingleInstanceLock(SingleInstanceLock&& other) noexcept;
  SingleInstanceLock& operator=(SingleInstanceLock&& other) noexcept;
  SingleInstanceLock(const SingleInstanceLock&) = delete;
  SingleInstanceLock& operator=(const SingleInstanceLock&) = delete;
  ~SingleInstanceLock();

  // False for the stand-in of a lock that could not be made.
  bool held() const { return fd_ >= 0; }

 private:
  explicit SingleInstanceLock(int fd) : fd_(fd) {}
  int fd_ = -1;
};

}  // namespace TavlixSoft
