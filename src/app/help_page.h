// Where the help document is: the compiled help file of the program files
// folder on Windows; on Linux the HTML page installed beside where that file
// would be, which the desktop opens in the user's browser. Built afresh from
// the environment on every call. Any thread.
#pragma once

#include <filesystem>

namespace tavlix::app {

std::filesystem::path HelpDocumentPath();

}  // namespace tavlix::app
