// File-system features that only some systems have, for the tests that need
// them: named pipes, POSIX permission bits, a user above all rights. One
// implementation a system (odd_files_posix/_windows.cpp). Thread-safe.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace tavlix::test {

// Whether the user's folders come from the XDG variables and HOME (Linux),
// not from the system's known folders (Windows).
extern const bool kXdgFolders;

// Whether the system has named pipes in the file system and permission bits
// (rwx for owner, group and others) on files.
extern const bool kHasFifos;
extern const bool kHasPermissionBits;

// Makes a named pipe; false when it cannot (always where kHasFifos is false).
bool MakeFifo(const std::filesystem::path& path);

// Opens the pipe at both ends for a moment, which lets a blocked open or read
// of it go.
void ReleaseFifo(const std::filesystem::path& path);

// The permission bits a new file of this process gets (0666 less the umask);
// none where kHasPermissionBits is false.
std::filesystem::perms NewFilePermissions();

// Makes a symbolic link at `link` to the file or folder `target` (which may
// be missing); false when the system makes none (MinGW's std::filesystem has
// no links, and Wine makes none).
bool MakeSymlink(const std::filesystem::path& target, const std::filesystem::path& link);

// Makes a file in `folder` whose name has no UTF-8 form: an unpaired
// surrogate where names are UTF-16. Its path, or nullopt where every name has
// one (names are bytes) or the system refuses such a name.
std::optional<std::filesystem::path> MakeFileNamedWithoutUtf8(const std::filesystem::path& folder);

// Whether the system makes symbolic links in `folder` (tries one and removes it).
inline bool MakesLinksIn(const std::filesystem::path& folder) {
  const std::filesystem::path probe = folder / ".link-probe";
  const bool made = MakeSymlink(folder / ".link-probe-target", probe);
  std::error_code ec;
  std::filesystem::remove(probe, ec);
  return made;
}

// An absolute folder written the POSIX way ("/media/e/") in the system's own
// form: the same on Linux, "C:\\media\\e\\" on Windows.
std::string SystemRoot(std::string_view posix);

// Whether this process may write where the permission bits forbid it (root).
bool IgnoresPermissions();

}  // namespace tavlix::test
