#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <optional>
#include <string>

#include "platform/atomic_file.h"
#include "platform/random_name.h"
#include "platform/unique_fd.h"

namespace tavlix::platform {
namespace {

namespace fs = std::filesystem;

Error ErrnoError(const std::string& what, const fs::path& path, int err) {
  return Fail(what + " " + path.string() + ": " + std::strerror(err));
}

// The file a path names, through any symbolic links; the path itself when it
// names nothing yet.
fs::path RealTarget(const fs::path& path) {
  std::error_code ec;
  if (fs::is_symlink(fs::symlink_status(path, ec))) {
    const fs::path real = fs::weakly_canonical(path, ec);
    if (!ec) return real;
  }
  return path;
}

// A temporary file that is deleted unless it was renamed into place.
class TempFile {
 public:
  ~TempFile() {
    if (!path_.empty()) ::unlink(path_.c_str());
  }
  Status Create(const fs::path& folder, const std::string& stem) {
    for (int attempt = 0; attempt < 16; ++attempt) {
      fs::path candidate = folder / ("." + stem + "." + RandomFileName(8, 0) + ".tmp");
      UniqueFd fd(::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666));
      if (fd) {
        fd_ = std::move(fd);
        path_ = std::move(candidate);
        return Success();
      }
      if (errno != EEXIST) return ErrnoError("cannot create a file in", folder, errno);
    }
    return Fail("cannot create a temporary file in " + folder.string());
  }
  int fd() const { return fd_.get(); }
  const fs::path& path() const { return path_; }
  UniqueFd& handle() { return fd_; }
  void Keep() { path_.clear(); }

 private:
  UniqueFd fd_;
  fs::path path_;
};

Status WriteAll(int fd, std::string_view bytes, const fs::path& path) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t put = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (put < 0) {
      if (errno == EINTR) continue;
      return ErrnoError("cannot write", path, errno);
    }
    done += static_cast<std::size_t>(put);
  }
  return Success();
}

}  // namespace

Status ReplaceFileContents(const fs::path& path, std::string_view bytes) {
  const fs::path target = RealTarget(path);
  const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
  if (!target.has_filename()) return Fail("cannot write " + path.string() + ": not a file name");

  std::optional<struct stat> old;
  struct stat st {};
  if (::stat(target.c_str(), &st) == 0) {
    if (S_ISDIR(st.st_mode)) return Fail("cannot write " + path.string() + ": it is a folder");
    old = st;
  }

  TempFile temp;
  if (Status s = temp.Create(folder, target.filename().string()); !s) return s;
  if (old) {
    // Best effort: without the right to give the file away it stays ours.
    [[maybe_unused]] const int chowned = ::fchown(temp.fd(), old->st_uid, old->st_gid);
    if (::fchmod(temp.fd(), old->st_mode & 07777) != 0)
      return ErrnoError("cannot set the mode of", temp.path(), errno);
  }
  if (Status s = WriteAll(temp.fd(), bytes, temp.path()); !s) return s;
  if (::fsync(temp.fd()) != 0) return ErrnoError("cannot flush", temp.path(), errno);
  if (::close(temp.handle().release()) != 0) return ErrnoError("cannot close", temp.path(), errno);
  if (::rename(temp.path().c_str(), target.c_str()) != 0) return ErrnoError("cannot replace", target, errno);
  temp.Keep();

  // Make the rename itself durable; the new contents are in place either way.
  UniqueFd dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir) ::fsync(dir.get());
  return Success();
}

}  // namespace tavlix::platform
