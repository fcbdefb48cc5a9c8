// The checks a new save folder must pass before it is accepted, shared by the
// settings dialog (after OK) and the command line.
//
// Any rejection is shown to the user with the one text message_badfolder; the
// caller then changes nothing. Blocking file-system calls; any thread.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace tavlix::settings {

enum class SaveFolderCheck {
  accepted,
  empty,             // no folder given
  cannot_be_stored,  // a line break, a NUL or over 1023 characters: the settings file cannot keep it
  not_a_folder,      // does not name an existing folder
  on_board_drive,    // lies inside the board drive's root
  not_writable,      // a file cannot be created in it
};

// Checks `folder` as the user gave it. `board_drive_root` is the board
// drive's root folder as the drive lookup found it, or nullopt when no board
// is present. The board-drive test comes before the write test, so that no
// file is ever made on the board. The write test creates and deletes one
// randomly named file in the folder.
SaveFolderCheck CheckSaveFolder(const std::string& folder,
                                const std::optional<std::string>& board_drive_root);

// Why a folder was refused, in English, for diagnostics ("" when accepted).
std::string_view SaveFolderCheckReason(SaveFolderCheck check);

// Whether `path` is `folder` or lies inside it, comparing normalised absolute
// paths with symbolic links resolved, whole component by whole component (a
// drive letter without regard to case). "/media/R-61x" is not inside
// "/media/R-61".
bool IsInsideFolder(const std::filesystem::path& path, const std::filesystem::path& folder);

}  // namespace tavlix::settings
