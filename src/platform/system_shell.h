// The system's own "open" action, behind the test hook of shell.h. One
// backend per system; thread-safe.
#pragma once

#include <filesystem>

namespace tavlix::platform {

// Starts the default program for the file or folder without waiting for it.
bool SystemShellOpen(const std::filesystem::path& path);

}  // namespace tavlix::platform
