#include <fcntl.h>
#include <sys/file.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>

#include "platform/atomic_file.h"
#include "platform/files.h"
#include "platform/posix/unique_fd.h"
#include "platform/profile_file.h"
#include "platform/profile_text.h"

namespace tavlix::platform {
namespace {

// Far above any profile file; a larger one is not read (nor replaced).
constexpr std::uint64_t kMaxProfileBytes = 16u << 20;

// Only a regular file is read: opening a named pipe or a device in the
// file's place could block or never end.
bool IsRegularFile(const fs::path& file) {
  std::error_code ec;
  return fs::is_regular_file(file, ec);
}

std::string_view AsText(const std::vector<std::uint8_t>& bytes) {
  return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

// Serialises the read-modify-write of profile files in one folder among the
// processes that write them, so that two writers never lose each other's key.
class FolderLock {
 public:
  explicit FolderLock(const fs::path& folder)
      : fd_(::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
    if (!fd_) {
      error_ = errno;
      return;
    }
    while (::flock(fd_.get(), LOCK_EX) != 0 && errno == EINTR) {
    }
  }
  explicit operator bool() const { return static_cast<bool>(fd_); }
  int error() const { return error_; }

 private:
  UniqueFd fd_;
  int error_ = 0;
};

}  // namespace

std::string ProfileReadString(std::string_view section, std::string_view key, std::string_view default_text,
                              std::size_t buffer_size, const fs::path& file) {
  if (buffer_size == 0) return {};
  std::optional<std::string_view> found;
  Result<std::vector<std::uint8_t>> bytes = Fail("not a regular file");
  if (IsRegularFile(file)) bytes = ReadFileBytes(file, kMaxProfileBytes, Links::follow);
  if (bytes) found = FindProfileValue(AsText(*bytes), section, key);
  const std::string_view text = found ? *found : default_text;
  return std::string(text.substr(0, std::min(text.size(), buffer_size - 1)));
}

Status ProfileWriteString(std::string_view section, std::string_view key, std::string_view value,
                          const fs::path& file) {
  FolderLock lock(file.parent_path());
  if (!lock) return Fail("cannot write " + file.string() + ": " + std::strerror(lock.error()));
  std::vector<std::uint8_t> old;
  const bool existed = FileExists(file);
  if (existed && !IsRegularFile(file)) return Fail("cannot write " + file.string() + ": not a regular file");
  if (existed) {
    auto read = ReadFileBytes(file, kMaxProfileBytes, Links::follow);
    if (!read) return Error{read.error()};
    old = std::move(*read);
  }
  auto updated = SetProfileValue(AsText(old), section, key, value);
  if (!updated) return Error{"cannot write " + file.string() + ": " + updated.error()};
  if (existed && *updated == AsText(old)) return Success();
  return ReplaceFileContents(file, *updated);
}

}  // namespace tavlix::platform
