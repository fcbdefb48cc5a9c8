#include "platform/atomic_file.h"

#include <optional>
#include <string>

#include "platform/files.h"
#include "platform/pending_file.h"

namespace tavlix::platform {
namespace {

namespace fs = std::filesystem;

// The file a path names, through any symbolic links; the path itself when it
// names nothing yet.
fs::path RealTarget(const fs::path& path) {
  std::error_code ec;
  if (fs::is_symlink(fs::symlink_status(path, ec))) {
    fs::path real = fs::weakly_canonical(path, ec);
    if (!ec) return real;
  }
  return path;
}

}  // namespace

Status ReplaceFileContents(const fs::path& path, std::string_view bytes) {
  const fs::path target = RealTarget(path);
  if (!target.has_filename()) return Fail("cannot write " + path.string() + ": not a file name");
  if (DirectoryExists(target)) return Fail("cannot write " + path.string() + ": it is a folder");
  const fs::path folder = target.parent_path();

  auto temp = PendingFile::Create(folder);
  if (!temp) return temp.failure();
  std::error_code ec;
  if (fs::exists(target, ec))
    if (Status kept = temp->TakePermissionsOf(target); !kept) return kept;
  const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
  if (Status written = temp->Write(std::span(data, bytes.size())); !written) return written;
  if (Status committed = temp->CommitAs(target, CommitMode::replace); !committed) return committed;
  // Make the rename itself durable; the new contents are in place either way.
  SyncFolder(folder);
  return Success();
}

}  // namespace tavlix::platform
