// Where the help document is: the HTML page in the program files folder,
// which the system opens in the user's browser; where none is there (the
// program installed into another folder), the page beside the program. Built
// afresh from the environment on every call. Any thread.
#pragma once

#include <filesystem>
#include <optional>

namespace tavlix::app {

std::filesystem::path HelpDocumentPath();

// The same choice with the program's folder given: the usual place when a
// file is there, else the page in `program_folder` when a file is there, else
// the usual place (which then opens to nothing, as before).
std::filesystem::path HelpDocumentPathBeside(const std::optional<std::filesystem::path>& program_folder);

}  // namespace tavlix::app
