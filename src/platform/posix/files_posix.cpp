#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "platform/files.h"
#include "platform/random_name.h"
#include "platform/posix/unique_fd.h"

namespace tavlix::platform {
namespace {

Error ErrnoError(const char* what, const fs::path& path, int err) {
  return Fail(std::string(what) + " " + path.string() + ": " + std::strerror(err));
}

// Opens a regular file for reading under a shared, non-blocking lock. The
// open itself never blocks (a FIFO or a device in the file's place would) and
// never follows a link in the last component: anything but a regular file is
// refused before a byte is read.
Result<UniqueFd> OpenLockedForRead(const fs::path& path, Links links = Links::refuse) {
  const int no_follow = links == Links::refuse ? O_NOFOLLOW : 0;
  UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK | no_follow));
  if (!fd) {
    if (errno == ELOOP) return Fail("cannot read " + path.string() + ": it is a link");
    return ErrnoError("cannot open", path, errno);
  }
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0) return ErrnoError("cannot inspect", path, errno);
  if (S_ISDIR(st.st_mode)) return Fail("cannot read " + path.string() + ": it is a folder");
  if (!S_ISREG(st.st_mode)) return Fail("cannot read " + path.string() + ": it is not a regular file");
  if (::flock(fd.get(), LOCK_SH | LOCK_NB) != 0) {
    if (errno == EWOULDBLOCK) return Fail("cannot read " + path.string() + ": the file is in use");
    return ErrnoError("cannot lock", path, errno);
  }
  return fd;
}

}  // namespace

bool FileExists(const fs::path& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool DirectoryExists(const fs::path& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool MakeDirectory(const fs::path& path) {
  return ::mkdir(path.c_str(), 0777) == 0;
}

Result<fs::path> MakeUniqueFolder(const fs::path& parent, const std::string& prefix) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    fs::path candidate = parent / (prefix + RandomFileName(8, 0));
    if (::mkdir(candidate.c_str(), 0700) == 0) return candidate;
    if (errno != EEXIST) return ErrnoError("cannot make a folder in", parent, errno);
  }
  return Fail("cannot make a folder in " + parent.string() + ": no free name");
}

Result<std::vector<std::uint8_t>> ReadFileBytes(const fs::path& path, std::uint64_t max_bytes, Links links) {
  auto fd = OpenLockedForRead(path, links);
  if (!fd) return Error{fd.error()};
  struct stat st {};
  if (::fstat(fd->get(), &st) != 0) return ErrnoError("cannot inspect", path, errno);
  if (st.st_size < 0 || static_cast<std::uint64_t>(st.st_size) > max_bytes)
    return Fail("cannot read " + path.string() + ": the file is too large");
  std::vector<std::uint8_t> bytes;
  bytes.reserve(static_cast<std::size_t>(st.st_size));
  std::uint8_t chunk[65536];
  for (;;) {
    const ssize_t got = ::read(fd->get(), chunk, sizeof chunk);
    if (got < 0) {
      if (errno == EINTR) continue;
      return ErrnoError("cannot read", path, errno);
    }
    if (got == 0) break;
    if (bytes.size() + static_cast<std::size_t>(got) > max_bytes)
      return Fail("cannot read " + path.string() + ": the file is too large");
    bytes.insert(bytes.end(), chunk, chunk + got);
  }
  return bytes;
}

Result<std::vector<std::uint8_t>> ReadFileHead(const fs::path& path, std::size_t max_bytes) {
  auto fd = OpenLockedForRead(path);
  if (!fd) return Error{fd.error()};
  std::vector<std::uint8_t> bytes(max_bytes);
  std::size_t done = 0;
  while (done < max_bytes) {
    const ssize_t got = ::read(fd->get(), bytes.data() + done, max_bytes - done);
    if (got < 0) {
      if (errno == EINTR) continue;
      return ErrnoError("cannot read", path, errno);
    }
    if (got == 0) break;
    done += static_cast<std::size_t>(got);
  }
  bytes.resize(done);
  return bytes;
}

Result<std::uint64_t> ReadFileLength(const fs::path& path) {
  auto fd = OpenLockedForRead(path);
  if (!fd) return Error{fd.error()};
  struct stat st {};
  if (::fstat(fd->get(), &st) != 0) return ErrnoError("cannot inspect", path, errno);
  return static_cast<std::uint64_t>(st.st_size);
}

WriteOutcome WriteAtStartWriteThrough(const fs::path& path, std::span<const std::uint8_t> bytes) {
  UniqueFd fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_SYNC | O_CLOEXEC | O_NOCTTY, 0666));
  if (!fd) return WriteOutcome::cannot_open;
  // Nobody else may touch the file while the command goes out.
  if (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0) return WriteOutcome::cannot_open;
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t put =
        ::pwrite(fd.get(), bytes.data() + done, bytes.size() - done, static_cast<off_t>(done));
    if (put < 0) {
      if (errno == EINTR) continue;
      return WriteOutcome::failed;
    }
    done += static_cast<std::size_t>(put);
  }
  if (::fsync(fd.get()) != 0) return WriteOutcome::failed;
  if (::close(fd.release()) != 0) return WriteOutcome::failed;
  return WriteOutcome::written;
}

Result<bool> RemoveFile(const fs::path& path) {
  if (::unlink(path.c_str()) == 0) return true;
  if (errno == ENOENT) return false;
  return ErrnoError("cannot delete", path, errno);
}

}  // namespace tavlix::platform
