#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <utility>

#include "ui/single_instance.h"

namespace TavlixSoft {

std::optional<SingleInstanceLock> SingleInstanceLock::Acquire(const std::filesystem::path& folder) {
  const std::filesystem::path file = folder / kInstanceLockName;
  const int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd < 0) return SingleInstanceLock(-1);
  while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    if (errno == EINTR) continue;
    const bool taken = errno == EWOULDBLOCK;
    ::close(fd);
    if (taken) return std::nullopt;
    return SingleInstanceLock(-1);
  }
  return SingleInstanceLock(fd);
}

std::filesystem::path SingleInstanceLock::SessionFolder() {
  if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime != nullptr && *runtime != '\0')
    return runtime;
  std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("tavlixconnect-" + std::to_string(::getuid()));
  std::error_code ec;
  if (std::filesystem::create_directory(folder, ec))
    std::filesystem::permissions(folder, std::filesystem::perms::owner_all, ec);
  return folder;
}

SingleInstanceLock::SingleInstanceLock(SingleInstanceLock&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)) {}

SingleInstanceLock& SingleInstanceLock::operator=(SingleInstanceLock&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = std::exchange(other.fd_, -1);
  }
  return *this;
}

SingleInstanceLock::~SingleInstanceLock() {
  if (fd_ >= 0) ::close(fd_);
}

}  // namespace TavlixSoft
