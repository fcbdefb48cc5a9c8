// A file written under a temporary name in its final folder and committed
// under its final name only when complete (Windows backend only).
//
// The data is flushed to the device (FlushFileBuffers) before the name
// appears; the commit is MoveFileExW with write-through, either replacing a
// file of the final name or, in CommitMode::never_replace, failing when one
// exists. A crash or a failed write leaves no partial file under the final
// name; an uncommitted file is deleted by the destructor. Move-only; one
// object is used by one thread at a time.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string_view>

#include "platform/result.h"
#include "platform/windows/unique_handle.h"

namespace tavlix::platform {

enum class CommitMode { replace, never_replace };

class PendingFile {
 public:
  // Creates "<stem>.<random>.tmp" in `folder` (the current folder when empty).
  static Result<PendingFile> Create(const std::filesystem::path& folder, std::string_view stem);

  PendingFile(PendingFile&& other) noexcept;
  PendingFile& operator=(PendingFile&& other) noexcept;
  PendingFile(const PendingFile&) = delete;
  PendingFile& operator=(const PendingFile&) = delete;
  ~PendingFile() { Discard(); }

  const std::filesystem::path& temp_path() const { return temp_; }

  // Appends the bytes; fails (the file then cannot be committed) when the
  // device refuses them.
  Status Write(std::span<const std::uint8_t> bytes);

  // Flushes and closes the file and gives it `final_path`, which must be in
  // the same folder. "a file of that name exists" when never_replace meets one.
  // `attributes` (FILE_ATTRIBUTE_*, 0 for none) are set before the rename.
  Status CommitAs(const std::filesystem::path& final_path, CommitMode mode, DWORD attributes = 0);

 private:
  PendingFile(UniqueHandle file, std::filesystem::path temp)
      : file_(std::move(file)), temp_(std::move(temp)) {}
  void Discard();

  UniqueHandle file_;
  std::filesystem::path temp_;
  bool failed_ = false;
};

}  // namespace tavlix::platform
