#include <optional>
#include <string>
#include <utility>

#include "platform/files.h"
#include "platform/path_text.h"
#include "platform/portable/random_name.h"
#include "platform/windows/system_error.h"
#include "platform/windows/unique_handle.h"
#include "platform/windows/win32_text.h"

namespace tavlix::platform {
namespace {

Error ReadRefused(const fs::path& path, const char* why, ErrorKind kind) {
  return Fail("cannot read " + PathText(path) + ": " + why, kind);
}

// Opens a regular file for reading. Sharing only with other readers plays the
// part of the shared lock on Linux: while the board (or the simulated board)
// has the file open for writing, or open without sharing, the open fails with
// a sharing violation and the file reads as in use. Renaming or deleting the
// file stays possible while it is read, as on Linux, so a reader never stops
// the board (or a drive table's writer) from replacing a file. With Links::refuse a
// reparse point (a symbolic link or a junction) is opened itself, not
// followed, and refused; anything but a file on a disk (a folder, a pipe, a
// device) is refused before a byte is read. No open here waits.
Result<UniqueHandle> OpenForRead(const fs::path& path, Links links = Links::refuse) {
  const DWORD no_follow = links == Links::refuse ? FILE_FLAG_OPEN_REPARSE_POINT : 0;
  // Backup semantics let a folder open, so that it is refused as a folder.
  UniqueHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL | FILE_FLAG_BACKUP_SEMANTICS | no_follow, nullptr));
  if (!file) {
    const DWORD error = ::GetLastError();
    if (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION)
      return ReadRefused(path, "the file is in use", ErrorKind::in_use);
    return SystemError("cannot open", path, error);
  }
  BY_HANDLE_FILE_INFORMATION info{};
  if (!::GetFileInformationByHandle(file.get(), &info))
    return SystemError("cannot inspect", path, ::GetLastError());
  if ((info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 && links == Links::refuse)
    return ReadRefused(path, "it is a link", ErrorKind::not_a_file);
  if ((info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
    return ReadRefused(path, "it is a folder", ErrorKind::not_a_file);
  if (::GetFileType(file.get()) != FILE_TYPE_DISK)
    return ReadRefused(path, "it is not a regular file", ErrorKind::not_a_file);
  return file;
}

Result<std::uint64_t> LengthOf(const UniqueHandle& file, const fs::path& path) {
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(file.get(), &size)) return SystemError("cannot inspect", path, ::GetLastError());
  return static_cast<std::uint64_t>(size.QuadPart);
}

// Reads up to `size` bytes into `data`; how many came, or an error.
Result<std::size_t> ReadSome(const UniqueHandle& file, const fs::path& path, std::uint8_t* data,
                             std::size_t size) {
  constexpr std::size_t kMaxCall = 1u << 20;
  DWORD got = 0;
  if (!::ReadFile(file.get(), data, static_cast<DWORD>(size < kMaxCall ? size : kMaxCall), &got, nullptr))
    return SystemError("cannot read", path, ::GetLastError());
  return static_cast<std::size_t>(got);
}

}  // namespace

bool FileExists(const fs::path& path) {
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool DirectoryExists(const fs::path& path) {
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool MakeDirectory(const fs::path& path) {
  return ::CreateDirectoryW(path.c_str(), nullptr) != 0;
}

Result<std::vector<std::uint8_t>> ReadFileBytes(const fs::path& path, std::uint64_t max_bytes, Links links) {
  auto file = OpenForRead(path, links);
  if (!file) return file.failure();
  auto length = LengthOf(*file, path);
  if (!length) return length.failure();
  if (*length > max_bytes) return ReadRefused(path, "the file is too large", ErrorKind::too_large);
  std::vector<std::uint8_t> bytes;
  bytes.reserve(static_cast<std::size_t>(*length));
  std::uint8_t chunk[65536];
  for (;;) {
    auto got = ReadSome(*file, path, chunk, sizeof chunk);
    if (!got) return got.failure();
    if (*got == 0) break;
    // The file may grow while it is read: the limit holds for what comes.
    if (bytes.size() + *got > max_bytes)
      return ReadRefused(path, "the file is too large", ErrorKind::too_large);
    bytes.insert(bytes.end(), chunk, chunk + *got);
  }
  return bytes;
}

Result<std::vector<std::uint8_t>> ReadFileHead(const fs::path& path, std::size_t max_bytes) {
  auto file = OpenForRead(path);
  if (!file) return file.failure();
  std::vector<std::uint8_t> bytes(max_bytes);
  std::size_t done = 0;
  while (done < max_bytes) {
    auto got = ReadSome(*file, path, bytes.data() + done, max_bytes - done);
    if (!got) return got.failure();
    if (*got == 0) break;
    done += *got;
  }
  bytes.resize(done);
  return bytes;
}

Result<std::uint64_t> ReadFileLength(const fs::path& path) {
  auto file = OpenForRead(path);
  if (!file) return file.failure();
  return LengthOf(*file, path);
}

WriteOutcome WriteAtStartWriteThrough(const fs::path& path, std::span<const std::uint8_t> bytes) {
  // No sharing: nobody else may touch the file while the command goes out,
  // and a file the board holds cannot be opened.
  UniqueHandle file(
      ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_WRITE_THROUGH | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  if (!file) return WriteOutcome::cannot_open;
  // A link in the file's place is opened itself, never its target: refused.
  BY_HANDLE_FILE_INFORMATION info{};
  if (!::GetFileInformationByHandle(file.get(), &info) ||
      (info.dwFileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)) != 0 ||
      ::GetFileType(file.get()) != FILE_TYPE_DISK)
    return WriteOutcome::cannot_open;
  std::size_t done = 0;
  while (done < bytes.size()) {
    const std::size_t left = bytes.size() - done;
    const DWORD ask = static_cast<DWORD>(left < (1u << 20) ? left : (1u << 20));
    DWORD put = 0;
    if (!::WriteFile(file.get(), bytes.data() + done, ask, &put, nullptr) || put == 0)
      return WriteOutcome::failed;
    done += put;
  }
  if (!::FlushFileBuffers(file.get())) return WriteOutcome::failed;
  if (!::CloseHandle(file.release())) return WriteOutcome::failed;
  return WriteOutcome::written;
}

Result<bool> RemoveFile(const fs::path& path) {
  if (::DeleteFileW(path.c_str())) return true;
  const DWORD error = ::GetLastError();
  if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return false;
  return SystemError("cannot delete", path, error);
}

Result<fs::path> MakeUniqueFolder(const fs::path& parent, const std::string& prefix) {
  // A new folder inherits the parent's rights: under the user's own folders
  // only the user may enter it.
  for (int attempt = 0; attempt < 100; ++attempt) {
    fs::path candidate = parent / PathFromUtf8(prefix + RandomFileName(8, 0));
    if (::CreateDirectoryW(candidate.c_str(), nullptr)) return candidate;
    if (const DWORD error = ::GetLastError(); error != ERROR_ALREADY_EXISTS)
      return SystemError("cannot make a folder in", parent, error);
  }
  return Fail("cannot make a folder in " + PathText(parent) + ": no free name");
}

// The folder stays open while the object lives, which keeps it from being
// renamed or replaced by a link; entries are reached by name below it.
Result<FolderHandle> FolderHandle::Open(const fs::path& path) {
  UniqueHandle folder(::CreateFileW(path.c_str(), FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  if (!folder) return SystemError("cannot open", path, ::GetLastError());
  BY_HANDLE_FILE_INFORMATION info{};
  if (!::GetFileInformationByHandle(folder.get(), &info))
    return SystemError("cannot inspect", path, ::GetLastError());
  if ((info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0)
    return Fail("cannot use " + PathText(path) + ": it is a link");
  if ((info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
    return Fail("cannot use " + PathText(path) + ": it is not a folder");
  return FolderHandle(path, reinterpret_cast<std::intptr_t>(folder.release()));
}

FolderHandle::FolderHandle(FolderHandle&& other) noexcept
    : path_(std::move(other.path_)), handle_(std::exchange(other.handle_, -1)) {}

FolderHandle& FolderHandle::operator=(FolderHandle&& other) noexcept {
  if (this != &other) {
    if (handle_ != -1) ::CloseHandle(reinterpret_cast<HANDLE>(handle_));
    path_ = std::move(other.path_);
    handle_ = std::exchange(other.handle_, -1);
  }
  return *this;
}

FolderHandle::~FolderHandle() {
  if (handle_ != -1) ::CloseHandle(reinterpret_cast<HANDLE>(handle_));
}

namespace {

// An entry of the folder: one plain name, never a path that leads elsewhere
// (no separator of either kind, no drive, no stream).
std::optional<fs::path> Entry(const FolderHandle& folder, std::string_view name) {
  if (name.empty() || name == "." || name == ".." || name.find_first_of("/\\:") != std::string_view::npos)
    return std::nullopt;
  return folder.path() / PathFromUtf8(name);
}

Error NotAnEntry(const FolderHandle& folder, std::string_view name) {
  return Fail("\"" + std::string(name) + "\" is not a name in " + PathText(folder.path()));
}

}  // namespace

bool FolderHandle::Contains(std::string_view name) const {
  const auto entry = Entry(*this, name);
  return entry && ::GetFileAttributesW(entry->c_str()) != INVALID_FILE_ATTRIBUTES;
}

Result<std::uint64_t> FolderHandle::FileLength(std::string_view name) const {
  const auto entry = Entry(*this, name);
  if (!entry) return NotAnEntry(*this, name);
  return ReadFileLength(*entry);
}

Result<std::vector<std::uint8_t>> FolderHandle::ReadHead(std::string_view name, std::size_t max_bytes) const {
  const auto entry = Entry(*this, name);
  if (!entry) return NotAnEntry(*this, name);
  return ReadFileHead(*entry, max_bytes);
}

WriteOutcome FolderHandle::WriteAtStart(std::string_view name, std::span<const std::uint8_t> bytes) const {
  const auto entry = Entry(*this, name);
  return entry ? WriteAtStartWriteThrough(*entry, bytes) : WriteOutcome::cannot_open;
}

Result<bool> FolderHandle::Remove(std::string_view name) const {
  const auto entry = Entry(*this, name);
  if (!entry) return NotAnEntry(*this, name);
  return RemoveFile(*entry);
}

}  // namespace tavlix::platform
