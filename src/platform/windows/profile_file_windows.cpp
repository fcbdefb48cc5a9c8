#include <algorithm>
#include <cstdint>

#include "platform/atomic_file.h"
#include "platform/files.h"
#include "platform/profile_file.h"
#include "platform/profile_text.h"
#include "platform/windows/unique_handle.h"
#include "platform/windows/win32_text.h"

namespace tavlix::platform {
namespace {

// Far above any profile file; a larger one is not read (nor replaced).
constexpr std::uint64_t kMaxProfileBytes = 16u << 20;

std::string_view AsText(const std::vector<std::uint8_t>& bytes) {
  return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

// The folder as one name for the lock: full, in one case, as Windows compares
// paths. A mutex name holds no backslash, so the name is hashed (FNV-1a).
std::wstring LockName(const fs::path& folder) {
  const std::wstring given = folder.empty() ? std::wstring(L".") : folder.native();
  std::wstring full(32768, L'\0');
  const DWORD length =
      ::GetFullPathNameW(given.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
  full.resize(length > 0 && length < full.size() ? length : 0);
  if (full.empty()) full = given;
  ::CharUpperBuffW(full.data(), static_cast<DWORD>(full.size()));
  std::uint64_t hash = 14695981039346656037ull;
  for (const wchar_t c : full) hash = (hash ^ static_cast<std::uint16_t>(c)) * 1099511628211ull;
  return L"Local\\tavlix-profile-" + std::to_wstring(hash);
}

// Serialises the read-modify-write of profile files in one folder among the
// processes that write them, so that two writers never lose each other's key.
class FolderLock {
 public:
  explicit FolderLock(const fs::path& folder)
      : mutex_(::CreateMutexW(nullptr, FALSE, LockName(folder).c_str())) {
    if (!mutex_) {
      error_ = ::GetLastError();
      return;
    }
    // An owner that died leaves the mutex abandoned, and it is ours then.
    const DWORD waited = ::WaitForSingleObject(mutex_.get(), INFINITE);
    held_ = waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
    if (!held_) error_ = ::GetLastError();
  }
  ~FolderLock() {
    if (held_) ::ReleaseMutex(mutex_.get());
  }
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;
  explicit operator bool() const { return held_; }
  DWORD error() const { return error_; }

 private:
  UniqueHandle mutex_;
  bool held_ = false;
  DWORD error_ = 0;
};

// Only a regular file is read: a device or a pipe in the file's place could
// block or never end. A link is followed, as for the user's own files.
bool IsRegularFile(const fs::path& file) {
  const DWORD attributes = ::GetFileAttributesW(file.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES &&
         (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) == 0;
}

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
  if (!DirectoryExists(file.parent_path().empty() ? fs::path(L".") : file.parent_path()))
    return Fail("cannot write " + PathText(file) + ": the folder is missing");
  FolderLock lock(file.parent_path());
  if (!lock) return Fail("cannot write " + PathText(file) + ": " + SystemErrorText(lock.error()));
  std::vector<std::uint8_t> old;
  const bool existed = FileExists(file);
  if (existed && !IsRegularFile(file)) return Fail("cannot write " + PathText(file) + ": not a regular file");
  if (existed) {
    auto read = ReadFileBytes(file, kMaxProfileBytes, Links::follow);
    if (!read) return Error{read.error()};
    old = std::move(*read);
  }
  auto updated = SetProfileValue(AsText(old), section, key, value);
  if (!updated) return Error{"cannot write " + PathText(file) + ": " + updated.error()};
  if (existed && *updated == AsText(old)) return Success();
  return ReplaceFileContents(file, *updated);
}

}  // namespace tavlix::platform
