// The system's folder picker (IFileOpenDialog with FOS_PICKFOLDERS), modal
// over `owner`, titled `description`, with no folder preselected; the user
// may make a new folder in it. The chosen folder (a drive root keeps its
// backslash), or nullopt when the user cancelled or no picker could be made.
// UI thread, in a single-threaded COM apartment.
#pragma once

#include <optional>
#include <string>

#include "ui_win32/win32.h"

namespace tavlix::ui_win32 {

std::optional<std::wstring> PickFolder(HWND owner, const std::wstring& description);

}  // namespace tavlix::ui_win32
