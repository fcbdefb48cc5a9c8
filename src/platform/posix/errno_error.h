// Errors of failed POSIX calls, with the kind the rest of the program acts on
// (POSIX backend only). Thread-safe.
#pragma once

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>

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

// "<what> <path>: <the system's text>".
inline Error ErrnoError(const std::string& what, const std::filesystem::path& path, int err) {
  return Fail(what + " " + path.string() + ": " + std::strerror(err), KindOfErrno(err));
}

}  // namespace tavlix::platform
