#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <optional>
#include <string>
#include <utility>

#include "platform/files.h"
#include "platform/portable/random_name.h"
#include "platform/posix/errno_error.h"
#include "platform/posix/unique_fd.h"

namespace tavlix::platform {
namespace {

// A file to open: `name` looked up in the folder open as `dir` (AT_FDCWD for
// a path of the caller's), and the path that names it in messages.
struct Place {
  int dir;
  std::string name;
  fs::path shown;
};

Place AtPath(const fs::path& path) {
  return {AT_FDCWD, path.string(), path};
}

// Why an opened entry is refused, or nothing when it is a regular file.
std::optional<Error> NotRegular(int fd, const fs::path& shown) {
  struct stat st {};
  if (::fstat(fd, &st) != 0) return ErrnoError("cannot inspect", shown, errno);
  if (S_ISDIR(st.st_mode))
    return Fail("cannot read " + shown.string() + ": it is a folder", ErrorKind::not_a_file);
  if (!S_ISREG(st.st_mode))
    return Fail("cannot read " + shown.string() + ": it is not a regular file", ErrorKind::not_a_file);
  return std::nullopt;
}

// Opens a regular file for reading under a shared, non-blocking lock. The
// open itself never blocks (a FIFO or a device in the file's place would) and
// never follows a link in the last component: anything but a regular file is
// refused before a byte is read.
Result<UniqueFd> OpenLockedForRead(const Place& at, Links links = Links::refuse) {
  const int no_follow = links == Links::refuse ? O_NOFOLLOW : 0;
  UniqueFd fd(::openat(at.dir, at.name.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK | no_follow));
  if (!fd) {
    if (errno == ELOOP)
      return Fail("cannot read " + at.shown.string() + ": it is a link", ErrorKind::not_a_file);
    return ErrnoError("cannot open", at.shown, errno);
  }
  if (auto refused = NotRegular(fd.get(), at.shown)) return std::move(*refused);
  if (::flock(fd.get(), LOCK_SH | LOCK_NB) != 0) {
    if (errno == EWOULDBLOCK)
      return Fail("cannot read " + at.shown.string() + ": the file is in use", ErrorKind::in_use);
    return ErrnoError("cannot lock", at.shown, errno);
  }
  return fd;
}

Result<std::vector<std::uint8_t>> ReadHeadAt(const Place& at, std::size_t max_bytes) {
  auto fd = OpenLockedForRead(at);
  if (!fd) return fd.failure();
  std::vector<std::uint8_t> bytes(max_bytes);
  std::size_t done = 0;
  while (done < max_bytes) {
    const ssize_t got = ::read(fd->get(), bytes.data() + done, max_bytes - done);
    if (got < 0) {
      if (errno == EINTR) continue;
      return ErrnoError("cannot read", at.shown, errno);
    }
    if (got == 0) break;
    done += static_cast<std::size_t>(got);
  }
  bytes.resize(done);
  return bytes;
}

Result<std::uint64_t> LengthAt(const Place& at) {
  auto fd = OpenLockedForRead(at);
  if (!fd) return fd.failure();
  struct stat st {};
  if (::fstat(fd->get(), &st) != 0) return ErrnoError("cannot inspect", at.shown, errno);
  return static_cast<std::uint64_t>(st.st_size);
}

WriteOutcome WriteAtStartAt(const Place& at, std::span<const std::uint8_t> bytes) {
  // O_NONBLOCK: a FIFO without a reader fails at once instead of waiting.
  UniqueFd fd(::openat(at.dir, at.name.c_str(),
                       O_WRONLY | O_CREAT | O_SYNC | O_CLOEXEC | O_NOCTTY | O_NOFOLLOW | O_NONBLOCK, 0666));
  if (!fd || NotRegular(fd.get(), at.shown)) return WriteOutcome::cannot_open;
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

Result<bool> RemoveAt(const Place& at) {
  if (::unlinkat(at.dir, at.name.c_str(), 0) == 0) return true;
  if (errno == ENOENT) return false;
  return ErrnoError("cannot delete", at.shown, errno);
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
  auto fd = OpenLockedForRead(AtPath(path), links);
  if (!fd) return fd.failure();
  struct stat st {};
  if (::fstat(fd->get(), &st) != 0) return ErrnoError("cannot inspect", path, errno);
  if (st.st_size < 0 || static_cast<std::uint64_t>(st.st_size) > max_bytes)
    return Fail("cannot read " + path.string() + ": the file is too large", ErrorKind::too_large);
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
      return Fail("cannot read " + path.string() + ": the file is too large", ErrorKind::too_large);
    bytes.insert(bytes.end(), chunk, chunk + got);
  }
  return bytes;
}

Result<std::vector<std::uint8_t>> ReadFileHead(const fs::path& path, std::size_t max_bytes) {
  return ReadHeadAt(AtPath(path), max_bytes);
}

Result<std::uint64_t> ReadFileLength(const fs::path& path) {
  return LengthAt(AtPath(path));
}

WriteOutcome WriteAtStartWriteThrough(const fs::path& path, std::span<const std::uint8_t> bytes) {
  return WriteAtStartAt(AtPath(path), bytes);
}

Result<bool> RemoveFile(const fs::path& path) {
  return RemoveAt(AtPath(path));
}

Result<FolderHandle> FolderHandle::Open(const fs::path& path) {
  UniqueFd fd(::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK));
  if (!fd) {
    const int err = errno;
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode))
      return Fail("cannot use " + path.string() + ": it is a link");
    if (err == ENOTDIR) return Fail("cannot use " + path.string() + ": it is not a folder");
    return ErrnoError("cannot open", path, err);
  }
  return FolderHandle(path, fd.release());
}

FolderHandle::FolderHandle(FolderHandle&& other) noexcept
    : path_(std::move(other.path_)), handle_(std::exchange(other.handle_, -1)) {}

FolderHandle& FolderHandle::operator=(FolderHandle&& other) noexcept {
  if (this != &other) {
    if (handle_ >= 0) ::close(static_cast<int>(handle_));
    path_ = std::move(other.path_);
    handle_ = std::exchange(other.handle_, -1);
  }
  return *this;
}

FolderHandle::~FolderHandle() {
  if (handle_ >= 0) ::close(static_cast<int>(handle_));
}

namespace {

// An entry of the folder: one plain name, never a path that leads elsewhere.
std::optional<Place> Entry(const FolderHandle& folder, std::string_view name) {
  if (name.empty() || name == "." || name == ".." || name.find('/') != std::string_view::npos)
    return std::nullopt;
  return Place{static_cast<int>(folder.native_handle()), std::string(name), folder.path() / name};
}

Error NotAnEntry(const FolderHandle& folder, std::string_view name) {
  return Fail("\"" + std::string(name) + "\" is not a name in " + folder.path().string());
}

}  // namespace

bool FolderHandle::Contains(std::string_view name) const {
  const auto at = Entry(*this, name);
  struct stat st {};
  return at && ::fstatat(at->dir, at->name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0;
}

Result<std::uint64_t> FolderHandle::FileLength(std::string_view name) const {
  const auto at = Entry(*this, name);
  if (!at) return NotAnEntry(*this, name);
  return LengthAt(*at);
}

Result<std::vector<std::uint8_t>> FolderHandle::ReadHead(std::string_view name, std::size_t max_bytes) const {
  const auto at = Entry(*this, name);
  if (!at) return NotAnEntry(*this, name);
  return ReadHeadAt(*at, max_bytes);
}

WriteOutcome FolderHandle::WriteAtStart(std::string_view name, std::span<const std::uint8_t> bytes) const {
  const auto at = Entry(*this, name);
  return at ? WriteAtStartAt(*at, bytes) : WriteOutcome::cannot_open;
}

Result<bool> FolderHandle::Remove(std::string_view name) const {
  const auto at = Entry(*this, name);
  if (!at) return NotAnEntry(*this, name);
  return RemoveAt(*at);
}

}  // namespace tavlix::platform
