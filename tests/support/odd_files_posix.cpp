#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "support/odd_files.h"

namespace tavlix::test {

const bool kXdgFolders = true;
const bool kHasFifos = true;
const bool kHasPermissionBits = true;

bool MakeFifo(const std::filesystem::path& path) {
  return ::mkfifo(path.c_str(), 0600) == 0;
}

void ReleaseFifo(const std::filesystem::path& path) {
  const int fd = ::open(path.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
  if (fd >= 0) ::close(fd);
}

std::filesystem::perms NewFilePermissions() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return static_cast<std::filesystem::perms>(0666 & ~mask);
}

bool MakeSymlink(const std::filesystem::path& target, const std::filesystem::path& link) {
  std::error_code ec;
  std::filesystem::create_symlink(target, link, ec);
  return !ec;
}

std::optional<std::filesystem::path> MakeFileNamedWithoutUtf8(const std::filesystem::path& /*folder*/) {
  return std::nullopt;
}

std::string SystemRoot(std::string_view posix) {
  return std::string(posix);
}

bool IgnoresPermissions() {
  return ::geteuid() == 0;
}

}  // namespace tavlix::test
