#include "platform/windows/system_error.h"

#include <windows.h>

#include "platform/windows/win32_text.h"

namespace tavlix::platform {
namespace {

// "The requested file operation failed because the storage quota was
// exceeded"; MinGW's headers do not name it.
constexpr unsigned long kDiskQuotaExceeded = 1295;

}  // namespace

ErrorKind KindOfSystemError(unsigned long error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_NOT_READY:
    case ERROR_DEV_NOT_EXIST: return ErrorKind::not_found;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS: return ErrorKind::name_taken;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
    case kDiskQuotaExceeded: return ErrorKind::no_space;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
    case ERROR_PRIVILEGE_NOT_HELD: return ErrorKind::no_rights;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_BUSY: return ErrorKind::in_use;
    case ERROR_FILE_CORRUPT:
    case ERROR_DISK_CORRUPT: return ErrorKind::damaged;
    case ERROR_CANT_ACCESS_FILE:
    case ERROR_DIRECTORY: return ErrorKind::not_a_file;
    default: return ErrorKind::other;
  }
}

Error SystemError(const std::string& what, const std::filesystem::path& path, unsigned long error) {
  return Fail(what + " " + PathText(path) + ": " + SystemErrorText(error), KindOfSystemError(error));
}

}  // namespace tavlix::platform
