// What each system gives the profile files (platform/profile_file.h): the
// lock that serialises their writers and the check that a file may be read.
// Internal to the platform layer. Thread-safe.
#pragma once

#include <filesystem>
#include <memory>

#include "core/result.h"

namespace tavlix::platform {

// Serialises the read-modify-write of profile files in one folder among the
// processes (and threads) that write them, so that two writers never lose each
// other's key. Held until destroyed; move-only.
class ProfileFolderLock {
 public:
  struct Handle;  // the system's lock, defined by the backend
  explicit ProfileFolderLock(std::unique_ptr<Handle> handle);
  ProfileFolderLock(ProfileFolderLock&& other) noexcept;
  ProfileFolderLock& operator=(ProfileFolderLock&& other) noexcept;
  ~ProfileFolderLock();

 private:
  std::unique_ptr<Handle> handle_;
};

// Waits for and takes the lock of an existing `folder`; the system's reason
// when it cannot be taken.
Result<ProfileFolderLock> LockProfileFolder(const std::filesystem::path& folder);

// Whether `file` is a regular file, a link followed (the profiles are the
// user's own files): a pipe or a device in its place could block or never end.
bool IsRegularProfileFile(const std::filesystem::path& file);

}  // namespace tavlix::platform
