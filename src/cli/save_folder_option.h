// Save folders named on the command line. `tavlix settings --save-to` stores
// only a folder that passes the toolbar's checks; `scan`, `feed`, `watch` and
// `demo` check theirs before the board is touched, so that a folder that can
// take nothing is said at once rather than after a scan. Blocking
// file-system calls; the board may be looked up.
#pragma once

#include <optional>
#include <string>

namespace tavlix::cli {

// The bad-folder text as the toolbar would show it; the built-in default when
// the localised texts are not available at all.
std::string BadFolderText();

// Why `folder` (absolute) cannot take the pictures of a board command, or
// nullopt when it can. A missing folder counts by the folder it would be made
// in, as the copy step makes one level; a folder on the board's drive is
// refused (copies there would be new pictures on the board).
std::optional<std::string> SaveToRefusal(const std::string& folder);

}  // namespace tavlix::cli
