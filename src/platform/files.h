// File and folder services used by the board link and the picture copy.
//
// All functions are thread-safe and report failures as results, never by
// exceptions. Paths are std::filesystem::path in the system's encoding.
//
// "In use": the board (or the simulated board) holds an exclusive advisory
// lock (flock) on a file while it writes it; readers here take a shared lock
// without waiting and report the file as in use when they cannot get it. The
// command file is written under an exclusive lock, so neither side reads a
// half-written file.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string_view>
#include <utility>
#include <vector>

#include "core/result.h"

namespace tavlix::platform {

namespace fs = std::filesystem;

bool FileExists(const fs::path& path);       // a regular file (or anything but a folder)
bool DirectoryExists(const fs::path& path);  // an existing folder
// Creates one folder level; fails when it exists or the parent is missing.
bool MakeDirectory(const fs::path& path);

// Creates a new folder of a name nobody else has, `prefix` and random
// letters, in `parent`; only this program's user may enter it (where the
// system has such rights).
Result<fs::path> MakeUniqueFolder(const fs::path& parent, const std::string& prefix);

// Whether a read follows a link in the file's own name. Files on the board,
// in a drive table or named on the command line are outside data and never
// follow one; only the user's own files (the settings) do.
enum class Links { refuse, follow };

// Reads the whole file under a shared lock. Fails when the file is missing,
// in use, a link (unless followed), anything but a regular file, or
// unreadable; the open never blocks. Refuses files above max_bytes.
Result<std::vector<std::uint8_t>> ReadFileBytes(const fs::path& path, std::uint64_t max_bytes = 64u << 20,
                                                Links links = Links::refuse);

// Reads at most the first max_bytes of the file under a shared lock; fails as
// ReadFileBytes does.
Result<std::vector<std::uint8_t>> ReadFileHead(const fs::path& path, std::size_t max_bytes);

// The length of the file in bytes, opened under a shared lock as a read would
// be (so a file in use fails the same way, and so does a link).
Result<std::uint64_t> ReadFileLength(const fs::path& path);

enum class WriteOutcome {
  written,      // all bytes written and flushed to the device
  cannot_open,  // the file could not be opened or created; nothing written
  failed,       // opened, but writing or flushing failed
};

// Opens the file for writing, creating it if missing and never truncating it,
// under an exclusive lock, writes the bytes from offset 0 with write-through,
// flushes and closes. Longer old content stays behind the new bytes. A link or
// anything but a regular file in the file's place is never opened (nor a
// link's target created): cannot_open. The open never blocks.
WriteOutcome WriteAtStartWriteThrough(const fs::path& path, std::span<const std::uint8_t> bytes);

// Deletes a file. true when it existed and was deleted, false when it did not
// exist; an error when it exists but cannot be deleted.
Result<bool> RemoveFile(const fs::path& path);

// A folder on the board, held open: it is opened once without following a
// link in its own name, so every entry reached through it lies inside that
// very folder whatever its name points to later. Entries are single names,
// looked up without following a link; reads and writes obey the rules of the
// functions above. Move-only; one thread at a time.
class FolderHandle {
 public:
  // Fails when the path is missing, a link or anything but a folder.
  static Result<FolderHandle> Open(const fs::path& path);
  FolderHandle(FolderHandle&& other) noexcept;
  FolderHandle& operator=(FolderHandle&& other) noexcept;
  FolderHandle(const FolderHandle&) = delete;
  FolderHandle& operator=(const FolderHandle&) = delete;
  ~FolderHandle();

  const fs::path& path() const { return path_; }
  // The system's handle of the open folder, for the platform's own use.
  std::intptr_t native_handle() const { return handle_; }

  // Whether an entry of that name exists: a file, a folder, a link, anything.
  bool Contains(std::string_view name) const;
  // As ReadFileLength, ReadFileHead, WriteAtStartWriteThrough and RemoveFile.
  Result<std::uint64_t> FileLength(std::string_view name) const;
  Result<std::vector<std::uint8_t>> ReadHead(std::string_view name, std::size_t max_bytes) const;
  WriteOutcome WriteAtStart(std::string_view name, std::span<const std::uint8_t> bytes) const;
  Result<bool> Remove(std::string_view name) const;

 private:
  FolderHandle(fs::path path, std::intptr_t handle) : path_(std::move(path)), handle_(handle) {}
  fs::path path_;
  std::intptr_t handle_ = -1;
};

}  // namespace tavlix::platform
