// The checks a new save folder must pass before it is accepted, shared by the
// settings dialog (after OK) and the command line.
//
// Any rejection is shown to the user with the one text message_badfolder; the
// caller then changes nothing. Blocking file-system calls; any thread.
#pragma once

#include <filesystem>
#include <functional>
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

// Looks the board up: its drive's root folder, or nullopt when no board is
// present. A look-up may tell the window of a board that came or went.
using BoardRootLookup = std::function<std::optional<std::string>()>;

// Checks `folder` as the user gave it, in this order: empty, storable,
// existing, writable (one randomly named file is created and deleted in it),
// and only then not on the board's drive, so that a folder that fails its own
// checks never makes the board be looked up.
SaveFolderCheck CheckSaveFolder(const std::string& folder, const BoardRootLookup& board_drive_root);

// Why a folder was refused, in English, for diagnostics ("" when accepted).
std::string_view SaveFolderCheckReason(SaveFolderCheck check);

}  // namespace tavlix::settings
