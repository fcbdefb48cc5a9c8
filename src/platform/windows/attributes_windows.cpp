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
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0)
    return kInvalidAttributes;
  // Normal stands alone: it is reported only when no other bit is set.
  const std::uint32_t bits = attributes & ~kAttrNormal;
  return bits == 0 ? kAttrNormal : bits;
}

namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
constexpr DWORD kAttributeAccess = FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES;
// Opens the entry itself, a folder too, never what a link leads to.
constexpr DWORD kEntryItself = FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT;

// Sets the attributes of what `file` has open, unless it is a link; the
// times stay as they are (zero leaves a time unchanged).
bool SetThroughHandle(HANDLE file, std::uint32_t attributes) {
  FILE_BASIC_INFO info{};
  if (!::GetFileInformationByHandleEx(file, FileBasicInfo, &info, sizeof info)) return false;
  if ((info.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) return false;
  const std::uint32_t bits = attributes & ~(kAttrNormal | kAttrDirectory);
  FILE_BASIC_INFO change{};
  change.FileAttributes = bits == 0 ? FILE_ATTRIBUTE_NORMAL : bits;
  return ::SetFileInformationByHandle(file, FileBasicInfo, &change, sizeof change) != 0;
}

}  // namespace

bool SetAttributes(const std::filesystem::path& path, std::uint32_t attributes) {
  const UniqueHandle file(::CreateFileW(path.c_str(), kAttributeAccess, kShareAll, nullptr, OPEN_EXISTING,
                                        kEntryItself, nullptr));
  return file && SetThroughHandle(file.get(), attributes);
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

// Through the held folder itself, so that no name is looked up again.
bool SetAttributes(const FolderHandle& folder, std::uint32_t attributes) {
  const UniqueHandle file(::ReOpenFile(reinterpret_cast<HANDLE>(folder.native_handle()), kAttributeAccess,
                                       kShareAll, kEntryItself));
  return file && SetThroughHandle(file.get(), attributes);
}

}  // namespace tavlix::platform
