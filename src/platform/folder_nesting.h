// Whether one path lies inside a folder, as the file system sees it. Pure
// path arithmetic plus a look at the links on the way; any thread; never
// throws.
#pragma once

#include <filesystem>

namespace tavlix::platform {

// Whether `path` is `folder` or lies inside it, comparing normalised absolute
// paths with symbolic links resolved, whole component by whole component (a
// drive letter without regard to case). "/media/R-61x" is not inside
// "/media/R-61".
bool IsInsideFolder(const std::filesystem::path& path, const std::filesystem::path& folder);

}  // namespace tavlix::platform
