// Whether one path lies inside a folder, or is the very same folder, as the
// file system sees it. Any thread; never throws.
#pragma once

#include <filesystem>
#include <optional>

namespace tavlix::platform {

// Whether `path` is `folder` or lies inside it, comparing normalised absolute
// paths with symbolic links resolved, whole component by whole component.
// Windows names (after a drive letter or a network share's \\server) are
// compared without regard to case, Linux names with it. "/media/R-61x" is not
// inside "/media/R-61"; "\\srv\scans\room12" is inside "\\SRV\Scans" and
// not inside "\\srv\scan" nor a drive's root.
bool IsInsideFolder(const std::filesystem::path& path, const std::filesystem::path& folder);

// Whether two paths name one folder by its identity, not its name: the
// device and file number (on Windows the volume serial number and file
// index), so a bind mount, the same volume mounted twice or a link all count
// as the same folder. nullopt when either cannot be looked at.
std::optional<bool> IsSameFolder(const std::filesystem::path& a, const std::filesystem::path& b);

}  // namespace tavlix::platform
