#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "platform/clock.h"
#include "platform/environment.h"
#include "platform/portable/lock_holder_text.h"
#include "platform/posix/errno_error.h"
#include "platform/posix/unique_fd.h"
#include "platform/process_lock.h"

namespace tavlix::platform {
namespace fs = std::filesystem;

struct ProcessLock::Handle {
  UniqueFd fd;
};

namespace {

// Opens the lock file without following a link and without blocking; it must
// be a regular file of the user's.
Result<UniqueFd> OpenLockFile(const fs::path& file, bool create) {
  const int flags = O_RDWR | O_CLOEXEC | O_NOCTTY | O_NOFOLLOW | O_NONBLOCK | (create ? O_CREAT : 0);
  UniqueFd fd(::open(file.c_str(), flags, 0600));
  if (!fd) return ErrnoError("cannot open the lock", file, errno);
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0) return ErrnoError("cannot inspect the lock", file, errno);
  if (!S_ISREG(st.st_mode) || st.st_uid != ::geteuid())
    return Fail("cannot use the lock " + file.string() + ": not a file of this user");
  return fd;
}

LockHolder ReadHolder(int fd) {
  char text[kHolderTextLimit] = {};
  const ssize_t got = ::pread(fd, text, sizeof text - 1, 0);
  if (got <= 0) return {};
  return ParseHolderLine(std::string_view(text, static_cast<std::size_t>(got)));
}

void WriteHolder(int fd, std::string_view program) {
  const std::string line = HolderLine(program);
  if (::ftruncate(fd, 0) != 0) return;
  (void)!::pwrite(fd, line.data(), line.size(), 0);
}

bool TryFlock(int fd, int operation) {
  while (::flock(fd, operation | LOCK_NB) != 0) {
    if (errno != EINTR) return false;
  }
  return true;
}

}  // namespace

Result<fs::path> PrivateFolder(const fs::path& folder) {
  if (folder.empty() || !folder.is_absolute()) return Fail("no private folder: '" + folder.string() + "'");
  if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) return ErrnoError("cannot make", folder, errno);
  struct stat st {};
  if (::lstat(folder.c_str(), &st) != 0) return ErrnoError("cannot inspect", folder, errno);
  if (S_ISLNK(st.st_mode)) return Fail("cannot use " + folder.string() + ": it is a link");
  if (!S_ISDIR(st.st_mode)) return Fail("cannot use " + folder.string() + ": it is not a folder");
  if (st.st_uid != ::geteuid()) return Fail("cannot use " + folder.string() + ": another user owns it");
  if ((st.st_mode & 07777) != 0700)
    return Fail("cannot use " + folder.string() + ": others may write to it (it must be mode 0700)");
  if (::access(folder.c_str(), W_OK | X_OK) != 0) return ErrnoError("cannot write to", folder, errno);
  return folder;
}

Result<fs::path> UserRuntimeFolder() {
  std::string reasons;
  const std::string uid = std::to_string(::geteuid());
  std::vector<fs::path> candidates;
  if (auto runtime = GetEnv("XDG_RUNTIME_DIR"); runtime && !runtime->empty())
    candidates.emplace_back(*runtime);
  // The system's folder exists only while the user is logged on: never made here.
  if (const fs::path system = "/run/user/" + uid; ::access(system.c_str(), F_OK) == 0)
    candidates.push_back(system);
  candidates.push_back("/tmp/tavlixconnect-" + uid);
  for (const fs::path& candidate : candidates) {
    auto folder = PrivateFolder(candidate);
    if (folder) return folder;
    reasons += (reasons.empty() ? "" : "; ") + folder.error();
  }
  return Fail("no private folder for the program's locks (" + reasons + ")");
}

ProcessLock ProcessLock::TryTake(const fs::path& folder, std::string_view name, std::string_view program) {
  ProcessLock lock;
  auto fd = OpenLockFile(folder / std::string(name), true);
  if (!fd) {
    lock.error_ = fd.error();
    return lock;
  }
  // A look by Holder() shares the lock for an instant: try once more then.
  bool taken = TryFlock(fd->get(), LOCK_EX);
  if (!taken && errno == EWOULDBLOCK) {
    SleepFor(Millis(20));
    taken = TryFlock(fd->get(), LOCK_EX);
  }
  if (!taken) {
    if (errno == EWOULDBLOCK) {
      lock.state_ = State::taken;
      lock.holder_ = ReadHolder(fd->get());
    } else {
      lock.error_ = ErrnoError("cannot lock", folder / std::string(name), errno).message;
    }
    return lock;
  }
  WriteHolder(fd->get(), program);
  lock.state_ = State::held;
  lock.handle_.reset(new Handle{std::move(*fd)});
  return lock;
}

std::optional<LockHolder> ProcessLock::Holder(const fs::path& folder, std::string_view name) {
  auto fd = OpenLockFile(folder / std::string(name), false);
  if (!fd) return std::nullopt;
  if (TryFlock(fd->get(), LOCK_SH)) return std::nullopt;  // nobody holds it exclusively
  if (errno != EWOULDBLOCK) return std::nullopt;
  return ReadHolder(fd->get());
}

void ProcessLock::HandleDeleter::operator()(Handle* handle) const noexcept {
  delete handle;
}

}  // namespace tavlix::platform
