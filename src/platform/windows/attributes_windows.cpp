#include "platform/attributes.h"
#include "platform/windows/unique_handle.h"

namespace tavlix::platform {

// The file system's own attribute bits are the ones the board reads:
// FILE_ATTRIBUTE_HIDDEN is kAttrHidden, and so on.
static_assert(kAttrReadOnly == FILE_ATTRIBUTE_READONLY && kAttrHidden == FILE_ATTRIBUTE_HIDDEN &&
              kAttrSystem == FILE_ATTRIBUTE_SYSTEM && kAttrDirectory == FILE_ATTRIBUTE_DIRECTORY &&
              kAttrArchive == FILE_ATTRIBUTE_ARCHIVE && kAttrNormal == FILE_ATTRIBUTE_NORMAL &&
              kInvalidAttributes == INVALID_FILE_ATTRIBUTES);

std::uint32_t GetAttributes(const std::filesystem::path& path) {
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return kInvalidAttributes;
  // Normal stands alone: it is reported only when no other bit is set.
  const std::uint32_t bits = attributes & ~kAttrNormal;
  return bits == 0 ? kAttrNormal : bits;
}

bool SetAttributes(const std::filesystem::path& path, std::uint32_t attributes) {
  const std::uint32_t bits = attributes & ~(kAttrNormal | kAttrDirectory);
  return ::SetFileAttributesW(path.c_str(), bits == 0 ? FILE_ATTRIBUTE_NORMAL : bits) != 0;
}

// The folder is held open without sharing deletion, so its name keeps
// leading to it.
std::uint32_t GetAttributes(const FolderHandle& folder) {
  BY_HANDLE_FILE_INFORMATION info{};
  if (!::GetFileInformationByHandle(reinterpret_cast<HANDLE>(folder.native_handle()), &info))
    return kInvalidAttributes;
  const std::uint32_t bits = info.dwFileAttributes & ~kAttrNormal;
  return bits == 0 ? kAttrNormal : bits;
}

bool SetAttributes(const FolderHandle& folder, std::uint32_t attributes) {
  return SetAttributes(folder.path(), attributes);
}

}  // namespace tavlix::platform
