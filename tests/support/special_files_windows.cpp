#include "support/special_files.h"

namespace tavlix::test {

// Windows has no named pipes in the file system (they live in \\.\pipe\) and
// no permission bits (access control lists instead).
const bool kHasFifos = false;
const bool kHasPermissionBits = false;

bool MakeFifo(const std::filesystem::path& /*path*/) {
  return false;
}

void ReleaseFifo(const std::filesystem::path& /*path*/) {}

std::filesystem::perms NewFilePermissions() {
  return std::filesystem::perms::none;
}

bool IgnoresPermissions() {
  return false;
}

}  // namespace tavlix::test
