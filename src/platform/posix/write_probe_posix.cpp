#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/portable/random_name.h"
#include "platform/posix/errno_error.h"
#include "platform/posix/unique_fd.h"
#include "platform/write_probe.h"

namespace tavlix::platform {

Status ProbeFolderWritable(const std::filesystem::path& folder) {
  int err = EEXIST;
  // A name already taken says nothing about the folder: try another.
  for (int attempt = 0; attempt < 8 && err == EEXIST; ++attempt) {
    const std::filesystem::path probe = folder / RandomFileName(8, 3);
    UniqueFd fd(::open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0600));
    if (fd) {
      ::unlink(probe.c_str());
      return Success();
    }
    err = errno;
  }
  return ErrnoError("cannot create a file in", folder, err);
}

}  // namespace tavlix::platform
