// Writing files safely: every file is written to a temporary file in its
// final folder, flushed to the device, and given its final name only then,
// either never replacing a file of that name or replacing it whole. A crash,
// a full disk or a failed encoder leaves no partial file under a final name.
//
// Thread-safe (each PendingFile belongs to one thread at a time); failures are
// Results with a message naming the file.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>

#include "core/result.h"
#include "platform/byte_sink.h"

namespace tavlix::platform {

namespace fs = std::filesystem;

enum class CommitMode {
  never_replace,  // fails when a file of the final name exists, which stays as it was
  replace,        // takes the place of a file of that name, whole
};

// The prefix and ending of every temporary file the program writes, so that
// leftovers of a killed run can be told from anybody else's files.
inline constexpr std::string_view kPendingPrefix = ".tavlix-";
inline constexpr std::string_view kPendingSuffix = ".part";

// A temporary file waiting for its final name. Move-only; the destructor
// removes the temporary file unless it was committed.
class PendingFile final : public ByteSink {
 public:
  // Creates a new temporary file (".tavlix-*.part") in `folder`, with the
  // permissions a new file of the user gets; an empty folder is the current
  // one.
  static Result<PendingFile> Create(const fs::path& folder);

  PendingFile(PendingFile&& other) noexcept;
  PendingFile& operator=(PendingFile&& other) noexcept;
  PendingFile(const PendingFile&) = delete;
  PendingFile& operator=(const PendingFile&) = delete;
  ~PendingFile() override;

  Status Write(std::span<const std::uint8_t> bytes) override;

  // Gives the temporary file the permission bits (and, where allowed, the
  // owner) of the existing file `model`, for a replacement that keeps them.
  Status TakePermissionsOf(const fs::path& model);

  // Flushes the data to the device, closes the file and gives it
  // `final_path` (which must be in the same folder) as `mode` says.
  Status CommitAs(const fs::path& final_path, CommitMode mode = CommitMode::never_replace);

  const fs::path& temp_path() const { return temp_; }

 private:
  PendingFile(std::intptr_t handle, fs::path temp) : handle_(handle), temp_(std::move(temp)) {}
  void Discard();

  std::intptr_t handle_ = -1;  // the backend's open file: a descriptor or a HANDLE
  fs::path temp_;
};

// A name for a temporary file: the prefix, this process, a counter and a
// random part, then the ending.
std::string PendingFileName();

// Gives the file `from` the name `to` (in the same folder) unless an entry of
// that name exists: then an error of kind name_taken, and both stay as they
// were.
Status RenameNoReplace(const fs::path& from, const fs::path& to);

// Makes the names in `folder` durable after a rename, where the system needs
// it (a no-op elsewhere).
void SyncFolder(const fs::path& folder);

}  // namespace tavlix::platform
