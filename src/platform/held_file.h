// A file held in use: the exclusive advisory lock that readers honour (see
// files.h), kept until the object is destroyed. The simulated board holds its
// pictures this way to play a board that is still busy with a file.
// Move-only; each object belongs to one thread at a time.
#pragma once

#include <filesystem>
#include <memory>

#include "core/result.h"

namespace tavlix::platform {

class HeldFile {
 public:
  // Opens the regular file (never through a link) and takes its exclusive
  // lock without waiting; fails when it cannot.
  static Result<HeldFile> Hold(const std::filesystem::path& path);

  HeldFile(HeldFile&&) noexcept;
  HeldFile& operator=(HeldFile&&) noexcept;
  ~HeldFile();

 private:
  struct Handle;  // the open file; closing it releases the lock
  explicit HeldFile(std::unique_ptr<Handle> handle);
  std::unique_ptr<Handle> handle_;
};

}  // namespace tavlix::platform
