#include <atomic>
#include <random>
#include <utility>

#include "platform/pending_file.h"
#include "platform/process.h"
#include "platform/windows/system_error.h"
#include "platform/windows/unique_handle.h"
#include "platform/windows/win32_text.h"

namespace tavlix::platform {
namespace {

HANDLE Handle(std::intptr_t handle) {
  return reinterpret_cast<HANDLE>(handle);
}

constexpr std::intptr_t kClosed = -1;  // INVALID_HANDLE_VALUE

// The pending file's own handle reads and sets attributes only, which no
// sharing rule counts: the program may read the file while it is pending
// (a reader shares only reading, so that a file somebody writes reads as in
// use). The data go through a handle opened for each write, and the flush
// through one opened at the commit.
constexpr DWORD kHeldAccess = FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES;
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

UniqueHandle OpenForWriting(const fs::path& temp, DWORD access) {
  return UniqueHandle(::CreateFileW(temp.c_str(), access, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
}

// Attributes a replacement keeps from the file it replaces. Read-only is
// kept too, but only given once the replacement is in place (CommitAs): a
// read-only temporary could be neither written, flushed nor removed.
constexpr DWORD kKeptAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE;

// Moves `temp` over `final_path`. A read-only file in the way loses the
// attribute for the move (the system refuses to replace it otherwise) and
// the new file gets it back; a failed move gives it back to the old one.
BOOL MoveOver(const fs::path& temp, const fs::path& final_path, DWORD flags) {
  const DWORD old = (flags & MOVEFILE_REPLACE_EXISTING) != 0 ? ::GetFileAttributesW(final_path.c_str())
                                                             : INVALID_FILE_ATTRIBUTES;
  const bool read_only = old != INVALID_FILE_ATTRIBUTES && (old & FILE_ATTRIBUTE_DIRECTORY) == 0 &&
                         (old & FILE_ATTRIBUTE_READONLY) != 0;
  if (read_only) ::SetFileAttributesW(final_path.c_str(), old & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
  const BOOL moved = ::MoveFileExW(temp.c_str(), final_path.c_str(), flags);
  const DWORD error = ::GetLastError();
  if (read_only) {
    const DWORD now = ::GetFileAttributesW(final_path.c_str());
    if (now != INVALID_FILE_ATTRIBUTES)
      ::SetFileAttributesW(final_path.c_str(), now | FILE_ATTRIBUTE_READONLY);
  }
  ::SetLastError(error);
  return moved;
}

}  // namespace

// A rename is durable once MoveFileExW with write-through returns.
void SyncFolder(const fs::path& /*folder*/) {}

Result<PendingFile> PendingFile::Create(const fs::path& folder) {
  const fs::path base = folder.empty() ? fs::path(L".") : folder;
  for (int attempt = 0; attempt < 100; ++attempt) {
    fs::path temp = base / Widen(PendingFileName());
    UniqueHandle file(::CreateFileW(temp.c_str(), kHeldAccess, kShareAll, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file) return PendingFile(reinterpret_cast<std::intptr_t>(file.release()), std::move(temp));
    const DWORD error = ::GetLastError();
    if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS)
      return SystemError("cannot create a file in", base, error);
  }
  return Fail("cannot create a file in " + PathText(base) + ": no free temporary name");
}

PendingFile::PendingFile(PendingFile&& other) noexcept
    : handle_(std::exchange(other.handle_, kClosed)), temp_(std::exchange(other.temp_, {})) {}

PendingFile& PendingFile::operator=(PendingFile&& other) noexcept {
  if (this != &other) {
    Discard();
    handle_ = std::exchange(other.handle_, kClosed);
    temp_ = std::exchange(other.temp_, {});
  }
  return *this;
}

PendingFile::~PendingFile() {
  Discard();
}

void PendingFile::Discard() {
  if (handle_ != kClosed) ::CloseHandle(Handle(std::exchange(handle_, kClosed)));
  if (!temp_.empty()) ::DeleteFileW(temp_.c_str());
  temp_.clear();
}

Status PendingFile::Write(std::span<const std::uint8_t> bytes) {
  if (handle_ == kClosed) return Fail("cannot write " + PathText(temp_) + ": the file is closed");
  if (bytes.empty()) return Success();
  const UniqueHandle file = OpenForWriting(temp_, FILE_APPEND_DATA);
  if (!file) return SystemError("cannot write", temp_, ::GetLastError());
  constexpr std::size_t kMaxCall = 1u << 20;
  while (!bytes.empty()) {
    const DWORD ask = static_cast<DWORD>(bytes.size() < kMaxCall ? bytes.size() : kMaxCall);
    DWORD put = 0;
    if (!::WriteFile(file.get(), bytes.data(), ask, &put, nullptr) || put == 0)
      return SystemError("cannot write", temp_, ::GetLastError());
    bytes = bytes.subspan(put);
  }
  return Success();
}

// Windows files have no permission bits here; the replacement keeps the
// model's attributes (hidden, read-only, ...) instead.
Status PendingFile::TakePermissionsOf(const fs::path& model) {
  const DWORD attributes = ::GetFileAttributesW(model.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return SystemError("cannot inspect", model, ::GetLastError());
  FILE_BASIC_INFO info{};
  if (!::GetFileInformationByHandleEx(Handle(handle_), FileBasicInfo, &info, sizeof info))
    return SystemError("cannot inspect", temp_, ::GetLastError());
  info.FileAttributes =
      (attributes & kKeptAttributes) != 0 ? attributes & kKeptAttributes : FILE_ATTRIBUTE_NORMAL;
  if (!::SetFileInformationByHandle(Handle(handle_), FileBasicInfo, &info, sizeof info))
    return SystemError("cannot set the attributes of", temp_, ::GetLastError());
  return Success();
}

Status PendingFile::CommitAs(const fs::path& final_path, CommitMode mode) {
  if (handle_ == kClosed || temp_.empty())
    return Fail("cannot save " + PathText(final_path) + ": nothing was written");
  // The data must be on the device before the name appears; a full disk
  // shows here at the latest.
  ::CloseHandle(Handle(std::exchange(handle_, kClosed)));
  UniqueHandle file = OpenForWriting(temp_, GENERIC_WRITE);
  if (!file || !::FlushFileBuffers(file.get()))
    return SystemError("cannot write", final_path, ::GetLastError());
  if (!::CloseHandle(file.release())) return SystemError("cannot write", final_path, ::GetLastError());
  if (mode == CommitMode::never_replace) {
    Status renamed = RenameNoReplace(temp_, final_path);
    if (renamed) temp_.clear();  // the name now belongs to the saved file
    return renamed;
  }
  if (!MoveOver(temp_, final_path, MOVEFILE_WRITE_THROUGH | MOVEFILE_REPLACE_EXISTING))
    return SystemError("cannot save", final_path, ::GetLastError());
  temp_.clear();  // the name now belongs to the saved file
  return Success();
}

Status RenameNoReplace(const fs::path& from, const fs::path& to) {
  if (::MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_WRITE_THROUGH)) return Success();
  const DWORD error = ::GetLastError();
  if (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS)
    return Fail("cannot save " + PathText(to) + ": a file of that name exists", ErrorKind::name_taken);
  return SystemError("cannot save", to, error);
}

}  // namespace tavlix::platform
