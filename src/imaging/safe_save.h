// Saving without ever overwriting: every file is written to a temporary file
// in its final folder, flushed to the device, and renamed to its final name
// only if no file of that name exists (renameat2 with RENAME_NOREPLACE, or
// link + unlink where the file system lacks it). A crash, a full disk or a
// failed encoder leaves no partial file under a final name, and a name that a
// file took meanwhile is reported, never replaced.
//
// Thread-safe; failures are Results with a message naming the file.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>
#include <string>

#include "imaging/save_mode.h"
#include "platform/result.h"

namespace tavlix::imaging {

namespace fs = std::filesystem;

// A temporary file waiting for its final name. Move-only; the destructor
// removes the temporary file unless it was committed.
class PendingFile {
 public:
  // Creates a temporary file (".tavlix-*.part") in `folder`; an empty folder
  // is the current one.
  static Result<PendingFile> Create(const fs::path& folder);

  PendingFile(PendingFile&& other) noexcept;
  PendingFile& operator=(PendingFile&& other) noexcept;
  PendingFile(const PendingFile&) = delete;
  PendingFile& operator=(const PendingFile&) = delete;
  ~PendingFile();

  int fd() const { return fd_; }
  const fs::path& temp_path() const { return temp_; }

  // Flushes the data to the device, closes the file and gives it
  // `final_path` (which must be in the same folder): unless that name exists,
  // or, in SaveMode::replace, in place of the file of that name.
  Status CommitAs(const fs::path& final_path, SaveMode mode = SaveMode::never_replace);

 private:
  PendingFile(int fd, fs::path temp) : fd_(fd), temp_(std::move(temp)) {}
  void Discard();

  int fd_ = -1;
  fs::path temp_;
};

// Writes `bytes` to the descriptor, retrying short writes. false on error.
bool WriteAll(int fd, std::span<const std::uint8_t> bytes);

// Creates `final_path` with what `write` puts into the temporary file's
// descriptor. When `write` fails, nothing is left behind.
Status WriteNewFile(const fs::path& final_path, const std::function<Status(PendingFile&)>& write,
                    SaveMode mode = SaveMode::never_replace);

// The largest file a copy takes: far above any scan, far below a disk.
inline constexpr std::uint64_t kMaxCopyBytes = std::uint64_t{256} << 20;

// Creates `final_path` holding `bytes`.
Status WriteNewFileBytes(const fs::path& final_path, std::span<const std::uint8_t> bytes);

// Copies `source` to the new file `target` byte for byte. The source is
// outside data: a regular file only, never through a link, opened without
// blocking and under a shared lock (a file in use fails), at most max_bytes.
// The copy gets the permissions of any new file of the user, never the
// source's.
Status CopyFileNoReplace(const fs::path& source, const fs::path& target,
                         std::uint64_t max_bytes = kMaxCopyBytes);

// The folder a file is written in: the path's parent ("" for a bare name).
fs::path FolderOf(const fs::path& path);

}  // namespace tavlix::imaging
