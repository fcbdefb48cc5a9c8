// The files of one folder, listed once, as the picture listing reads the
// board's folder.
//
// Every name is returned; the caller filters names itself (the system's
// pattern matching would miss "c.jpeg" for "*.jpg" where a file has no short
// name). Only regular files: folders, links (reparse points, junctions),
// FIFOs and devices are left out, and so is a file whose creation time cannot
// be read. Names are UTF-8; where the system's names are UTF-16, a name that
// is no valid UTF-16 (a lone surrogate) cannot be written as UTF-8 and is
// left out too. Where the system takes some names for devices (Windows:
// platform/portable/device_names.h), files with those names are left out, since
// opening them would open the device. Never throws. Thread-safe.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "core/result.h"
#include "platform/clock.h"

namespace tavlix::platform {

struct FolderFile {
  std::string name;
  // The creation time; the last write where the file system records none.
  WallTime created;
};

// Fails when the folder cannot be listed (missing, not a folder, no right).
Result<std::vector<FolderFile>> ListFolderFiles(const std::filesystem::path& folder);

}  // namespace tavlix::platform
