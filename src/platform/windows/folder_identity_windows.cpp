#include "platform/folder_nesting.h"
#include "platform/windows/unique_handle.h"

namespace tavlix::platform {
namespace {

// The folder's volume serial number and file index; links and junctions on
// the way are followed, so the folder itself is described.
std::optional<BY_HANDLE_FILE_INFORMATION> FolderIdentity(const std::filesystem::path& path) {
  const std::filesystem::path shown = path.empty() ? std::filesystem::path(L".") : path;
  // Backup semantics open a folder; no access right is asked but the
  // attributes, so neither a lock nor a share mode can refuse it.
  UniqueHandle folder(::CreateFileW(shown.c_str(), FILE_READ_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  BY_HANDLE_FILE_INFORMATION info{};
  if (!folder || !::GetFileInformationByHandle(folder.get(), &info)) return std::nullopt;
  return info;
}

}  // namespace

std::optional<bool> IsSameFolder(const std::filesystem::path& a, const std::filesystem::path& b) {
  const auto x = FolderIdentity(a);
  const auto y = FolderIdentity(b);
  if (!x || !y) return std::nullopt;
  return x->dwVolumeSerialNumber == y->dwVolumeSerialNumber && x->nFileIndexHigh == y->nFileIndexHigh &&
         x->nFileIndexLow == y->nFileIndexLow;
}

}  // namespace tavlix::platform
