// Where the help document is: the HTML page in the program files folder,
// which the system opens in the user's browser. Built afresh from the
// environment on every call. Any thread.
#pragma once

#include <filesystem>

namespace tavlix::app {

std::filesystem::path HelpDocumentPath();

}  // namespace tavlix::app
