// Errors of failed Win32 calls, with the kind the rest of the program acts on
// (Windows backend only). Thread-safe.
#pragma once

#include <filesystem>
#include <string>

#include "core/result.h"

namespace tavlix::platform {

// The kind of a GetLastError() code.
ErrorKind KindOfSystemError(unsigned long error);

// "<what> <path>: <the system's text>".
Error SystemError(const std::string& what, const std::filesystem::path& path, unsigned long error);

}  // namespace tavlix::platform
