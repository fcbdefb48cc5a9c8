#include <sys/stat.h>

#include "platform/folder_nesting.h"

namespace tavlix::platform {

std::optional<bool> IsSameFolder(const std::filesystem::path& a, const std::filesystem::path& b) {
  struct stat x {};
  struct stat y {};
  const char* first = a.empty() ? "." : a.c_str();
  const char* second = b.empty() ? "." : b.c_str();
  if (::stat(first, &x) != 0 || ::stat(second, &y) != 0) return std::nullopt;
  return x.st_dev == y.st_dev && x.st_ino == y.st_ino;
}

}  // namespace tavlix::platform
