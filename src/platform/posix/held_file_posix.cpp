#include <fcntl.h>
#include <sys/file.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "platform/held_file.h"
#include "platform/posix/errno_error.h"
#include "platform/posix/unique_fd.h"

namespace tavlix::platform {

struct HeldFile::Handle {
  UniqueFd fd;
};

HeldFile::HeldFile(std::unique_ptr<Handle> handle) : handle_(std::move(handle)) {}
HeldFile::HeldFile(HeldFile&&) noexcept = default;
HeldFile& HeldFile::operator=(HeldFile&&) noexcept = default;
HeldFile::~HeldFile() = default;

Result<HeldFile> HeldFile::Hold(const std::filesystem::path& path) {
  UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK | O_NOFOLLOW));
  if (!fd) return ErrnoError("cannot open", path, errno);
  if (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0) return ErrnoError("cannot lock", path, errno);
  return HeldFile(std::make_unique<Handle>(Handle{std::move(fd)}));
}

}  // namespace tavlix::platform
