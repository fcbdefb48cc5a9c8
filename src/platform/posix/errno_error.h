// Errors of failed POSIX calls, with the kind the rest of the program acts on
// (POSIX backend only). Thread-safe.
#pragma once

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>
#include <type_traits>

#include "core/result.h"

namespace tavlix::platform {

inline ErrorKind KindOfErrno(int err) {
  switch (err) {
    case ENOENT:
    case ENOTDIR: return ErrorKind::not_found;
    case EEXIST: return ErrorKind::name_taken;
    case ENOSPC:
    case EDQUOT:
    case EFBIG: return ErrorKind::no_space;
    case EACCES:
    case EPERM:
    case EROFS: return ErrorKind::no_rights;
    case EWOULDBLOCK:
    case EBUSY:
    case ETXTBSY: return ErrorKind::in_use;
    case ELOOP:
    case EISDIR: return ErrorKind::not_a_file;
    default: return ErrorKind::other;
  }
}

// The system's text for an errno value. strerror_r, as std::strerror may
// share one buffer between threads; the GNU and the XSI form are both taken.
inline std::string ErrnoText(int err) {
  char buffer[256] = {};
  const auto text = [&](auto result) -> std::string {
    if constexpr (std::is_same_v<decltype(result), char*>) {
      return result != nullptr ? result : "error " + std::to_string(err);  // GNU: may point elsewhere
    } else {
      return result == 0 ? buffer : "error " + std::to_string(err);  // XSI: fills the buffer
    }
  };
  return text(::strerror_r(err, buffer, sizeof buffer));
}

// "<what> <path>: <the system's text>".
inline Error ErrnoError(const std::string& what, const std::filesystem::path& path, int err) {
  return Fail(what + " " + path.string() + ": " + ErrnoText(err), KindOfErrno(err));
}

}  // namespace tavlix::platform
