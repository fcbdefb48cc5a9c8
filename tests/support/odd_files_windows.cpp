#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include "support/odd_files.h"

namespace tavlix::test {

// Windows has no named pipes in the file system (they live in \\.\pipe\) and
// no permission bits (access control lists instead).
const bool kXdgFolders = false;
const bool kHasFifos = false;
const bool kHasPermissionBits = false;

bool MakeFifo(const std::filesystem::path& /*path*/) {
  return false;
}

void ReleaseFifo(const std::filesystem::path& /*path*/) {}

std::filesystem::perms NewFilePermissions() {
  return std::filesystem::perms::none;
}

std::optional<std::filesystem::path> MakeFileNamedWithoutUtf8(const std::filesystem::path& folder) {
  const std::filesystem::path path = folder / std::wstring(L"x\xD800.png");
  const HANDLE file =
      ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  ::CloseHandle(file);
  return path;
}

bool MakeSymlink(const std::filesystem::path& target, const std::filesystem::path& link) {
  std::error_code ec;
  const DWORD folder = std::filesystem::is_directory(target, ec) ? SYMBOLIC_LINK_FLAG_DIRECTORY : 0;
  if (!::CreateSymbolicLinkW(link.c_str(), target.c_str(),
                             folder | SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE))
    return false;
  // Wine reports success but makes no link.
  const DWORD attributes = ::GetFileAttributesW(link.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

std::string SystemRoot(std::string_view posix) {
  std::string root = "C:" + std::string(posix);
  for (char& c : root)
    if (c == '/') c = '\\';
  return root;
}

bool IgnoresPermissions() {
  return false;
}

}  // namespace tavlix::test
