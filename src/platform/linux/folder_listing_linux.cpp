#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <memory>

#include "platform/folder_listing.h"
#include "platform/posix/errno_error.h"

namespace tavlix::platform {
namespace {

struct DirCloser {
  void operator()(DIR* dir) const { ::closedir(dir); }
};

WallTime FromTimestamp(const struct statx_timestamp& stamp) {
  return WallTime{} + std::chrono::duration_cast<WallTime::duration>(std::chrono::seconds(stamp.tv_sec) +
                                                                     std::chrono::nanoseconds(stamp.tv_nsec));
}

}  // namespace

Result<std::vector<FolderFile>> ListFolderFiles(const std::filesystem::path& folder) {
  // Non-blocking, so that a FIFO in the folder's place cannot hold the open.
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return ErrnoError("cannot list", folder, errno);
  const std::unique_ptr<DIR, DirCloser> dir(::fdopendir(fd));
  if (!dir) {
    const int error = errno;
    ::close(fd);
    return ErrnoError("cannot list", folder, error);
  }
  std::vector<FolderFile> files;
  errno = 0;
  // readdir shares nothing between streams, and this stream is this call's own.
  while (const dirent* entry = ::readdir(dir.get())) {  // NOLINT(concurrency-mt-unsafe)
    struct statx info {};
    // The entry itself, never what a link in its place points at.
    if (::statx(fd, entry->d_name, AT_SYMLINK_NOFOLLOW | AT_NO_AUTOMOUNT,
                STATX_TYPE | STATX_BTIME | STATX_MTIME, &info) == 0 &&
        S_ISREG(info.stx_mode))
      files.push_back({entry->d_name,
                       FromTimestamp((info.stx_mask & STATX_BTIME) != 0 ? info.stx_btime : info.stx_mtime)});
    errno = 0;
  }
  if (errno != 0) return ErrnoError("cannot list", folder, errno);
  return files;
}

}  // namespace tavlix::platform
