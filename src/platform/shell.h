// The desktop's "open" action on a file or folder (the user's default viewer
// or file manager). Thread-safe. Tests install a hook that records the call
// instead of launching anything.
#pragma once

#include <filesystem>
#include <functional>

namespace tavlix::platform {

using ShellOpenHook = std::function<bool(const std::filesystem::path&)>;

// Opens the file or folder with the desktop's default program, without
// waiting for it. false when nothing could be started.
bool ShellOpen(const std::filesystem::path& path);

// Replaces the real action; an empty hook restores it.
void SetShellOpenHook(ShellOpenHook hook);

}  // namespace tavlix::platform
