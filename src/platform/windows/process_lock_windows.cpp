#include <string>
#include <utility>

#include "platform/clock.h"
#include "platform/portable/lock_holder_text.h"
#include "platform/process_lock.h"
#include "platform/windows/unique_handle.h"
#include "platform/windows/win32_text.h"

// A lock is a file in the user's folder that its holder keeps open for
// writing while letting others only read it: a second taker (who asks to
// write) meets a sharing violation, a reader can still see who holds it. The
// system closes the file when the holder dies.
namespace tavlix::platform {
namespace fs = std::filesystem;

struct ProcessLock::Handle {
  UniqueHandle file;
};

namespace {

std::string SystemText(const std::string& what, const fs::path& path, DWORD error) {
  return what + " " + PathText(path) + ": " + SystemErrorText(error);
}

bool IsSharingViolation(DWORD error) {
  return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION;
}

// Opens the lock file without following a link; it must be a regular file.
// On failure, the system's error code is left for GetLastError().
UniqueHandle OpenLockFile(const fs::path& file, DWORD access, DWORD share, DWORD disposition) {
  UniqueHandle handle(::CreateFileW(file.c_str(), access, share, nullptr, disposition,
                                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  if (!handle) return handle;
  BY_HANDLE_FILE_INFORMATION info{};
  if (!::GetFileInformationByHandle(handle.get(), &info) ||
      (info.dwFileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)) != 0) {
    handle.reset();
    ::SetLastError(ERROR_ACCESS_DENIED);
  }
  return handle;
}

LockHolder ReadHolderOf(const fs::path& file) {
  LockHolder holder;
  const UniqueHandle handle =
      OpenLockFile(file, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, OPEN_EXISTING);
  if (!handle) return holder;
  char text[kHolderTextLimit] = {};
  DWORD got = 0;
  if (!::ReadFile(handle.get(), text, static_cast<DWORD>(sizeof text - 1), &got, nullptr) || got == 0)
    return holder;
  return ParseHolderLine(std::string_view(text, got));
}

void WriteHolder(HANDLE file, std::string_view program) {
  const std::string line = HolderLine(program);
  if (!::SetEndOfFile(file)) return;
  DWORD put = 0;
  ::WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &put, nullptr);
  ::FlushFileBuffers(file);
}

}  // namespace

// The user's temporary folder is the user's own (its rights let nobody else
// in), so a folder made in it is too; links are refused.
Result<fs::path> PrivateFolder(const fs::path& folder) {
  if (folder.empty() || !folder.is_absolute()) return Fail("no private folder: '" + PathText(folder) + "'");
  if (!::CreateDirectoryW(folder.c_str(), nullptr) && ::GetLastError() != ERROR_ALREADY_EXISTS)
    return Fail(SystemText("cannot make", folder, ::GetLastError()));
  const DWORD attributes = ::GetFileAttributesW(folder.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES)
    return Fail(SystemText("cannot inspect", folder, ::GetLastError()));
  if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0)
    return Fail("cannot use " + PathText(folder) + ": it is a link");
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
    return Fail("cannot use " + PathText(folder) + ": it is not a folder");
  return folder;
}

Result<fs::path> UserRuntimeFolder() {
  wchar_t temp[MAX_PATH + 2] = {};
  const DWORD length = ::GetTempPathW(MAX_PATH + 1, temp);
  if (length == 0 || length > MAX_PATH + 1)
    return Fail("no private folder for the program's locks: no temporary folder");
  auto folder = PrivateFolder(fs::path(std::wstring(temp, length)) / L"TavlixConnect");
  if (!folder) return Fail("no private folder for the program's locks (" + folder.error() + ")");
  return folder;
}

ProcessLock ProcessLock::TryTake(const fs::path& folder, std::string_view name, std::string_view program) {
  ProcessLock lock;
  const fs::path file = folder / Widen(name);
  const auto open = [&] {
    return OpenLockFile(file, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, OPEN_ALWAYS);
  };
  UniqueHandle handle = open();
  // A look by Holder() shares the file for an instant: try once more then.
  if (!handle && IsSharingViolation(::GetLastError())) {
    SleepFor(Millis(20));
    handle = open();
  }
  if (!handle) {
    const DWORD error = ::GetLastError();
    if (IsSharingViolation(error)) {
      lock.state_ = State::taken;
      lock.holder_ = ReadHolderOf(file);
    } else {
      lock.error_ = SystemText("cannot lock", file, error);
    }
    return lock;
  }
  WriteHolder(handle.get(), program);
  lock.state_ = State::held;
  lock.handle_.reset(new Handle{std::move(handle)});
  return lock;
}

std::optional<LockHolder> ProcessLock::Holder(const fs::path& folder, std::string_view name) {
  const fs::path file = folder / Widen(name);
  // Sharing nothing but reading fails exactly while a holder writes to it.
  if (OpenLockFile(file, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING)) return std::nullopt;
  if (!IsSharingViolation(::GetLastError())) return std::nullopt;
  return ReadHolderOf(file);
}

void ProcessLock::HandleDeleter::operator()(Handle* handle) const noexcept {
  delete handle;
}

}  // namespace tavlix::platform
