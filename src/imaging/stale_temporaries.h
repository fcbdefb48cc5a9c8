// Leftovers of interrupted saves. A collector killed while it writes a picture
// leaves its temporary file (kPendingPrefix "<pid>-<n>-<random>" kPendingSuffix,
// see safe_save.h) in the save folder; a starting collector removes them.
//
// Only this program's own temporaries go: a regular file, or a save's staging
// folder with the regular files in it (never a link or anything else), whose
// whole name has the saver's form, and which nobody has
// written for kStaleTemporaryAge (so a save in progress by another process is
// left alone). Thread-safe; failures to remove are skipped silently.
#pragma once

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/clock.h"

namespace tavlix::imaging {

inline constexpr std::chrono::minutes kStaleTemporaryAge{10};

// Whether `name` has the exact form of a temporary file of the saver.
bool IsPendingFileName(const std::string& name);

// Removes the stale temporaries of `folder` at the time `now` (the platform
// clock's wall time) and returns them.
std::vector<std::filesystem::path> RemoveStaleTemporaries(const std::filesystem::path& folder,
                                                          platform::WallTime now);

}  // namespace tavlix::imaging
