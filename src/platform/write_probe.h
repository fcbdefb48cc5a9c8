// Whether files can be made in a folder, found by making one.
#pragma once

#include <filesystem>

#include "core/result.h"

namespace tavlix::platform {

// Creates a new file with a random 8.3 name (eight letters or digits, a dot,
// three more) in `folder` and deletes it again. Fails when the file cannot be
// created, for whatever reason: missing folder, no right to write, read-only
// or full device. Thread-safe.
Status ProbeFolderWritable(const std::filesystem::path& folder);

}  // namespace tavlix::platform
