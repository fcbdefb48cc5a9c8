#include <cstdint>
#include <memory>
#include <utility>

#include "platform/profile_file.h"
#include "platform/profile_file_backend.h"
#include "platform/windows/unique_handle.h"
#include "platform/windows/win32_text.h"

// A named mutex per folder carries the lock; the system gives it to the next
// waiter when its owner dies (abandoned).
namespace tavlix::platform {
namespace fs = std::filesystem;
namespace {

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

}  // namespace

// Holds the mutex it owns.
struct ProfileFolderLock::Handle {
  explicit Handle(UniqueHandle owned) : mutex(std::move(owned)) {}
  ~Handle() { ::ReleaseMutex(mutex.get()); }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  UniqueHandle mutex;
};

ProfileFolderLock::ProfileFolderLock(std::unique_ptr<Handle> handle) : handle_(std::move(handle)) {}
ProfileFolderLock::ProfileFolderLock(ProfileFolderLock&& other) noexcept = default;
ProfileFolderLock& ProfileFolderLock::operator=(ProfileFolderLock&& other) noexcept = default;
ProfileFolderLock::~ProfileFolderLock() = default;

Result<ProfileFolderLock> LockProfileFolder(const fs::path& folder) {
  UniqueHandle mutex(::CreateMutexW(nullptr, FALSE, LockName(folder).c_str()));
  if (!mutex) return Fail(SystemErrorText(::GetLastError()));
  const DWORD waited = ::WaitForSingleObject(mutex.get(), INFINITE);
  if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED) return Fail(SystemErrorText(::GetLastError()));
  return ProfileFolderLock(std::make_unique<ProfileFolderLock::Handle>(std::move(mutex)));
}

bool IsLinkEntry(const fs::path& path) {
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

// A link is followed, as for the user's own files; a folder or a device is no
// profile file.
bool IsRegularProfileFile(const fs::path& file) {
  const DWORD attributes = ::GetFileAttributesW(file.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES &&
         (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) == 0;
}

}  // namespace tavlix::platform
