#include <fcntl.h>
#include <stdio.h>  // renameat2
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <random>
#include <utility>

#include "platform/pending_file.h"
#include "platform/posix/errno_error.h"
#include "platform/process.h"

namespace tavlix::platform {
namespace {

int Fd(std::intptr_t handle) {
  return static_cast<int>(handle);
}

Error NameTaken(const fs::path& final_path) {
  return Fail("cannot save " + final_path.string() + ": a file of that name exists", ErrorKind::name_taken);
}

}  // namespace

Status RenameNoReplace(const fs::path& temp, const fs::path& final_path) {
  if (::renameat2(AT_FDCWD, temp.c_str(), AT_FDCWD, final_path.c_str(), RENAME_NOREPLACE) == 0)
    return Success();
  const int err = errno;
  if (err == EEXIST) return NameTaken(final_path);
  if (err != EINVAL && err != ENOSYS && err != EOPNOTSUPP) return ErrnoError("cannot save", final_path, err);
  // The file system cannot rename without replacing: a hard link never does.
  if (::link(temp.c_str(), final_path.c_str()) != 0) {
    const int link_err = errno;
    if (link_err == EEXIST) return NameTaken(final_path);
    return ErrnoError("cannot save", final_path, link_err);
  }
  ::unlink(temp.c_str());
  return Success();
}

void SyncFolder(const fs::path& folder) {
  const int dir = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir < 0) return;
  ::fsync(dir);
  ::close(dir);
}

Result<PendingFile> PendingFile::Create(const fs::path& folder) {
  const fs::path base = folder.empty() ? fs::path(".") : folder;
  for (int attempt = 0; attempt < 100; ++attempt) {
    fs::path temp = base / PendingFileName();
    const int fd =
        ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY | O_NOFOLLOW, 0666);
    if (fd >= 0) return PendingFile(fd, std::move(temp));
    if (errno != EEXIST) return ErrnoError("cannot create a file in", base, errno);
  }
  return Fail("cannot create a file in " + base.string() + ": no free temporary name");
}

PendingFile::PendingFile(PendingFile&& other) noexcept
    : handle_(std::exchange(other.handle_, -1)), temp_(std::exchange(other.temp_, {})) {}

PendingFile& PendingFile::operator=(PendingFile&& other) noexcept {
  if (this != &other) {
    Discard();
    handle_ = std::exchange(other.handle_, -1);
    temp_ = std::exchange(other.temp_, {});
  }
  return *this;
}

PendingFile::~PendingFile() {
  Discard();
}

void PendingFile::Discard() {
  if (handle_ >= 0) ::close(Fd(std::exchange(handle_, -1)));
  if (!temp_.empty()) ::unlink(temp_.c_str());
  temp_.clear();
}

Status PendingFile::Write(std::span<const std::uint8_t> bytes) {
  if (handle_ < 0) return Fail("cannot write " + temp_.string() + ": the file is closed");
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t put = ::write(Fd(handle_), bytes.data() + done, bytes.size() - done);
    if (put < 0) {
      if (errno == EINTR) continue;
      return ErrnoError("cannot write", temp_, errno);
    }
    done += static_cast<std::size_t>(put);
  }
  return Success();
}

Status PendingFile::TakePermissionsOf(const fs::path& model) {
  struct stat st {};
  if (::stat(model.c_str(), &st) != 0) return ErrnoError("cannot inspect", model, errno);
  // Best effort: without the right to give the file away it stays ours.
  [[maybe_unused]] const int chowned = ::fchown(Fd(handle_), st.st_uid, st.st_gid);
  if (::fchmod(Fd(handle_), st.st_mode & 07777) != 0)
    return ErrnoError("cannot set the mode of", temp_, errno);
  return Success();
}

Status PendingFile::CommitAs(const fs::path& final_path, CommitMode mode) {
  if (handle_ < 0 || temp_.empty())
    return Fail("cannot save " + final_path.string() + ": nothing was written");
  // The data must be on the device before the name appears; a full disk
  // shows here at the latest.
  const int fd = Fd(std::exchange(handle_, -1));
  if (::fsync(fd) != 0) {
    const int err = errno;
    ::close(fd);
    return ErrnoError("cannot write", final_path, err);
  }
  if (::close(fd) != 0) return ErrnoError("cannot write", final_path, errno);
  Status renamed = Success();
  if (mode == CommitMode::replace) {
    if (::rename(temp_.c_str(), final_path.c_str()) != 0)
      renamed = ErrnoError("cannot save", final_path, errno);
  } else {
    renamed = RenameNoReplace(temp_, final_path);
  }
  if (renamed) temp_.clear();  // the name now belongs to the saved file
  return renamed;
}

}  // namespace tavlix::platform
