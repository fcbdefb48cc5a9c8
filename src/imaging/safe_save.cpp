#include "imaging/safe_save.h"

#include <fcntl.h>
#include <stdio.h>  // renameat2
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <random>

#include "platform/files.h"

namespace tavlix::imaging {
namespace {

Error ErrnoError(const std::string& what, const fs::path& path, int err) {
  return Fail(what + " " + path.string() + ": " + std::strerror(err));
}

std::string TempName() {
  static std::atomic<std::uint32_t> counter{0};
  thread_local std::mt19937 random{std::random_device{}()};
  return ".tavlix-" + std::to_string(::getpid()) + "-" + std::to_string(counter++) + "-" +
         std::to_string(random() % 1000000u) + ".part";
}

// Gives `temp` the name `final_path` unless a file of that name exists.
Status RenameNoReplace(const fs::path& temp, const fs::path& final_path) {
  if (::renameat2(AT_FDCWD, temp.c_str(), AT_FDCWD, final_path.c_str(), RENAME_NOREPLACE) == 0)
    return Success();
  const int err = errno;
  if (err == EEXIST) return Fail("cannot save " + final_path.string() + ": a file of that name exists");
  if (err != EINVAL && err != ENOSYS && err != EOPNOTSUPP) return ErrnoError("cannot save", final_path, err);
  // The file system cannot rename without replacing: a hard link never does.
  if (::link(temp.c_str(), final_path.c_str()) != 0) {
    const int link_err = errno;
    if (link_err == EEXIST)
      return Fail("cannot save " + final_path.string() + ": a file of that name exists");
    return ErrnoError("cannot save", final_path, link_err);
  }
  ::unlink(temp.c_str());
  return Success();
}

}  // namespace

fs::path FolderOf(const fs::path& path) {
  return path.parent_path();
}

Result<PendingFile> PendingFile::Create(const fs::path& folder) {
  const fs::path base = folder.empty() ? fs::path(".") : folder;
  for (int attempt = 0; attempt < 100; ++attempt) {
    fs::path temp = base / TempName();
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666);
    if (fd >= 0) return PendingFile(fd, std::move(temp));
    if (errno != EEXIST) return ErrnoError("cannot create a file in", base, errno);
  }
  return Fail("cannot create a file in " + base.string() + ": no free temporary name");
}

PendingFile::PendingFile(PendingFile&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), temp_(std::move(other.temp_)) {
  other.temp_.clear();
}

PendingFile& PendingFile::operator=(PendingFile&& other) noexcept {
  if (this != &other) {
    Discard();
    fd_ = std::exchange(other.fd_, -1);
    temp_ = std::move(other.temp_);
    other.temp_.clear();
  }
  return *this;
}

PendingFile::~PendingFile() {
  Discard();
}

void PendingFile::Discard() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  if (!temp_.empty()) ::unlink(temp_.c_str());
  temp_.clear();
}

Status PendingFile::CommitAs(const fs::path& final_path, SaveMode mode) {
  if (fd_ < 0 || temp_.empty()) return Fail("cannot save " + final_path.string() + ": nothing was written");
  // The data must be on the device before the name appears; a full disk
  // shows here at the latest.
  if (::fsync(fd_) != 0) return ErrnoError("cannot write", final_path, errno);
  const int fd = std::exchange(fd_, -1);
  if (::close(fd) != 0) return ErrnoError("cannot write", final_path, errno);
  Status renamed = Success();
  if (mode == SaveMode::replace) {
    if (::rename(temp_.c_str(), final_path.c_str()) != 0)
      renamed = ErrnoError("cannot save", final_path, errno);
  } else {
    renamed = RenameNoReplace(temp_, final_path);
  }
  if (renamed) temp_.clear();  // the name now belongs to the saved file
  return renamed;
}

bool WriteAll(int fd, std::span<const std::uint8_t> bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t put = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (put < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    done += static_cast<std::size_t>(put);
  }
  return true;
}

Status WriteNewFile(const fs::path& final_path, const std::function<Status(PendingFile&)>& write,
                    SaveMode mode) {
  auto file = PendingFile::Create(FolderOf(final_path));
  if (!file) return Error{file.error()};
  if (Status written = write(*file); !written) return written;
  return file->CommitAs(final_path, mode);
}

Status WriteNewFileBytes(const fs::path& final_path, std::span<const std::uint8_t> bytes) {
  return WriteNewFile(final_path, [&](PendingFile& out) -> Status {
    if (!WriteAll(out.fd(), bytes)) return ErrnoError("cannot write", final_path, errno);
    return Success();
  });
}

Status CopyFileNoReplace(const fs::path& source, const fs::path& target, std::uint64_t max_bytes) {
  const auto bytes = platform::ReadFileBytes(source, max_bytes);
  if (!bytes) return Error{bytes.error()};
  return WriteNewFileBytes(target, *bytes);
}

}  // namespace tavlix::imaging
