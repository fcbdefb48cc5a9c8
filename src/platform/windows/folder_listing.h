// The files of one folder, listed once, as the picture listing reads the
// board's folder (Windows backend only for now).
//
// Every name is returned; the caller filters names itself (the system's
// pattern matching would miss "c.jpeg" for "*.jpg" where a file has no short
// name). Folders, reparse points (links, junctions) and devices are left out.
// Names are UTF-8. Thread-safe.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/result.h"

namespace tavlix::platform {

struct FolderFile {
  std::string name;
  // The creation time; the last write where the file system records none.
  WallTime created;
};

// Fails when the folder cannot be listed (missing, not a folder, no right).
Result<std::vector<FolderFile>> ListFolderFiles(const std::filesystem::path& folder);

}  // namespace tavlix::platform
