// Whether one path lies inside a folder, as the file system sees it. Pure
// path arithmetic plus a look at the links on the way; any thread; never
// throws.
#pragma once

#include <filesystem>

namespace tavlix::platform {

// Whether `path` is `folder` or lies inside it, comparing normalised absolute
// paths with symbolic links resolved, whole component by whole component.
// Windows names (after a drive letter or a network share's \\server) are
// compared without regard to case, Linux names with it. "/media/R-61x" is not
// inside "/media/R-61"; "\\srv\scans\room12" is inside "\\SRV\Scans" and
// not inside "\\srv\scan" nor a drive's root.
bool IsInsideFolder(const std::filesystem::path& path, const std::filesystem::path& folder);

}  // namespace tavlix::platform
