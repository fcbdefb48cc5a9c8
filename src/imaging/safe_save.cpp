#include "imaging/safe_save.h"

#include "platform/files.h"

namespace tavlix::imaging {

fs::path FolderOf(const fs::path& path) {
  return path.parent_path();
}

Status WriteNewFile(const fs::path& final_path, const std::function<Status(PendingFile&)>& write,
                    SaveMode mode) {
  auto file = PendingFile::Create(FolderOf(final_path));
  if (!file) return file.failure();
  if (Status written = write(*file); !written) return written;
  return file->CommitAs(final_path, mode);
}

Status WriteNewFileBytes(const fs::path& final_path, std::span<const std::uint8_t> bytes) {
  return WriteNewFile(final_path, [&](PendingFile& out) { return out.Write(bytes); });
}

Status CopyFileNoReplace(const fs::path& source, const fs::path& target, std::uint64_t max_bytes) {
  const auto bytes = platform::ReadFileBytes(source, max_bytes);
  if (!bytes) return bytes.failure();
  return WriteNewFileBytes(target, *bytes);
}

}  // namespace tavlix::imaging
