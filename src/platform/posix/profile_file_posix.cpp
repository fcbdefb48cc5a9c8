#include <fcntl.h>
#include <sys/file.h>

#include <cerrno>
#include <cstring>
#include <memory>
#include <utility>

#include "platform/posix/errno_error.h"
#include "platform/posix/unique_fd.h"
#include "platform/profile_file.h"
#include "platform/profile_file_backend.h"

// The folder itself, held open, carries the lock (flock); closing it releases.
namespace tavlix::platform {
namespace fs = std::filesystem;

struct ProfileFolderLock::Handle {
  UniqueFd folder;
};

ProfileFolderLock::ProfileFolderLock(std::unique_ptr<Handle> handle) : handle_(std::move(handle)) {}
ProfileFolderLock::ProfileFolderLock(ProfileFolderLock&& other) noexcept = default;
ProfileFolderLock& ProfileFolderLock::operator=(ProfileFolderLock&& other) noexcept = default;
ProfileFolderLock::~ProfileFolderLock() = default;

Result<ProfileFolderLock> LockProfileFolder(const fs::path& folder) {
  UniqueFd fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (!fd) {
    const int err = errno;
    return Fail(ErrnoText(err), KindOfErrno(err));
  }
  // A file system without flock (some network ones) leaves the writers
  // unserialised rather than the settings unwritable.
  while (::flock(fd.get(), LOCK_EX) != 0 && errno == EINTR) {
  }
  return ProfileFolderLock(
      std::make_unique<ProfileFolderLock::Handle>(ProfileFolderLock::Handle{std::move(fd)}));
}

bool IsLinkEntry(const fs::path& path) {
  std::error_code ec;
  return fs::is_symlink(fs::symlink_status(path, ec));
}

bool IsRegularProfileFile(const fs::path& file) {
  std::error_code ec;
  return fs::is_regular_file(file, ec);
}

}  // namespace tavlix::platform
