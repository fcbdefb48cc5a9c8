#include <fcntl.h>
#include <linux/msdos_fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <sys/xattr.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/attributes.h"
#include "platform/posix/unique_fd.h"

namespace tavlix::platform {
namespace {

constexpr const char* kXattrName = "user.DOSATTRIB";
// Bits that FAT stores for a file or folder; the rest have no meaning there.
constexpr std::uint32_t kFatBits = kAttrReadOnly | kAttrHidden | kAttrSystem | kAttrArchive;

bool IsVfat(int fd) {
  struct statfs info {};
  return ::fstatfs(fd, &info) == 0 && info.f_type == MSDOS_SUPER_MAGIC;
}

std::uint32_t Present(std::uint32_t bits, bool is_dir) {
  bits &= ~kAttrNormal;
  if (is_dir) bits |= kAttrDirectory;
  return bits == 0 ? kAttrNormal : bits;
}

// Reads the extended attribute through `get` (by descriptor or by name).
template <typename Get>
std::uint32_t ReadXattr(Get get, bool is_dir) {
  char text[256];
  const ssize_t got = get(text, sizeof text);
  if (got < 0) {
    // Absent, or a file system without user attributes: no attributes set.
    if (errno == ENODATA || errno == ENOTSUP) return Present(0, is_dir);
    return kInvalidAttributes;
  }
  std::uint32_t bits = 0;
  if (!ParseDosAttribText(text, static_cast<std::size_t>(got), bits)) return Present(0, is_dir);
  return Present(bits, is_dir);
}

// Writes (or, for no bits, removes) the extended attribute through `set` and
// `remove`.
template <typename Set, typename Remove>
bool WriteXattr(std::uint32_t bits, Set set, Remove remove) {
  if (bits == 0) return remove() == 0 || errno == ENODATA || errno == ENOTSUP;
  char text[16];
  const int len = std::snprintf(text, sizeof text, "0x%x", bits);
  return set(text, static_cast<std::size_t>(len)) == 0;
}

std::uint32_t AttributesOf(int fd) {
  struct stat st {};
  if (::fstat(fd, &st) != 0) return kInvalidAttributes;
  const bool is_dir = S_ISDIR(st.st_mode);
  if (IsVfat(fd)) {
    std::uint32_t fat = 0;
    if (::ioctl(fd, FAT_IOCTL_GET_ATTRIBUTES, &fat) != 0) return kInvalidAttributes;
    return Present(fat & kFatBits, is_dir);
  }
  return ReadXattr([fd](char* text, std::size_t size) { return ::fgetxattr(fd, kXattrName, text, size); },
                   is_dir);
}

bool SetAttributesOf(int fd, std::uint32_t bits) {
  if (IsVfat(fd)) {
    std::uint32_t fat = bits & kFatBits;
    return ::ioctl(fd, FAT_IOCTL_SET_ATTRIBUTES, &fat) == 0;
  }
  return WriteXattr(
      bits, [fd](const char* text, std::size_t size) { return ::fsetxattr(fd, kXattrName, text, size, 0); },
      [fd] { return ::fremovexattr(fd, kXattrName); });
}

// Opens the entry itself, never a link's target; the open never blocks.
UniqueFd OpenEntry(const std::filesystem::path& path) {
  return UniqueFd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY | O_NOFOLLOW));
}

// Whether an entry that cannot be opened can still be handled by name: it
// exists and is not a link (a link never lends its target's attributes).
bool ReachableByName(const std::filesystem::path& path, struct stat& st) {
  return ::lstat(path.c_str(), &st) == 0 && !S_ISLNK(st.st_mode);
}

}  // namespace

bool ParseDosAttribText(const char* data, std::size_t size, std::uint32_t& attributes) {
  const std::size_t end = strnlen(data, size);
  if (end < 3 || data[0] != '0' || (data[1] != 'x' && data[1] != 'X')) return false;
  std::uint64_t value = 0;
  std::size_t i = 2;
  for (; i < end; ++i) {
    const char c = data[i];
    unsigned digit = 0;
    if (c >= '0' && c <= '9') {
      digit = static_cast<unsigned>(c - '0');
    } else if (c >= 'a' && c <= 'f') {
      digit = static_cast<unsigned>(c - 'a' + 10);
    } else if (c >= 'A' && c <= 'F') {
      digit = static_cast<unsigned>(c - 'A' + 10);
    } else {
      break;
    }
    value = (value << 4) | digit;
    if (value > 0xFFFFFFFFu) return false;
  }
  if (i == 2) return false;
  attributes = static_cast<std::uint32_t>(value);
  return true;
}

std::uint32_t GetAttributes(const std::filesystem::path& path) {
  if (const UniqueFd fd = OpenEntry(path)) return AttributesOf(fd.get());
  // Unreadable entries may still carry an attribute we can read by name.
  struct stat st {};
  if (!ReachableByName(path, st)) return kInvalidAttributes;
  return ReadXattr(
      [&](char* text, std::size_t size) { return ::lgetxattr(path.c_str(), kXattrName, text, size); },
      S_ISDIR(st.st_mode));
}

bool SetAttributes(const std::filesystem::path& path, std::uint32_t attributes) {
  const std::uint32_t bits = attributes & ~(kAttrNormal | kAttrDirectory);
  if (const UniqueFd fd = OpenEntry(path)) return SetAttributesOf(fd.get(), bits);
  struct stat st {};
  if (!ReachableByName(path, st)) return false;
  return WriteXattr(
      bits,
      [&](const char* text, std::size_t size) {
        return ::lsetxattr(path.c_str(), kXattrName, text, size, 0);
      },
      [&] { return ::lremovexattr(path.c_str(), kXattrName); });
}

std::uint32_t GetAttributes(const FolderHandle& folder) {
  return AttributesOf(static_cast<int>(folder.native_handle()));
}

bool SetAttributes(const FolderHandle& folder, std::uint32_t attributes) {
  return SetAttributesOf(static_cast<int>(folder.native_handle()),
                         attributes & ~(kAttrNormal | kAttrDirectory));
}

}  // namespace tavlix::platform
