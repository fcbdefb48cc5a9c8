// Replacing a file's contents so that a crash never leaves it half written.
#pragma once

#include <filesystem>
#include <string_view>

#include "core/result.h"

namespace tavlix::platform {

// Writes `bytes` to a new temporary file beside `path`, flushes it to the
// device, and renames it over `path`: afterwards the file holds either its old
// contents or all the new ones. An existing file keeps its permission bits
// (and owner, where allowed); a new one gets the usual 0666 less the umask. A
// symbolic link is followed and the file it names is replaced. On failure the
// file is untouched and no temporary file is left. Thread-safe; concurrent
// replacements of one file each land whole, the last one winning.
Status ReplaceFileContents(const std::filesystem::path& path, std::string_view bytes);

}  // namespace tavlix::platform
