#include <fcntl.h>
#include <unistd.h>

#include "platform/linux/linux_drives.h"
#include "platform/posix/unique_fd.h"
#include "platform/system_drives.h"

namespace tavlix::platform {

std::vector<DriveInfo> ListSystemDrives() {
  return ListLinuxDrives(SystemRoots{});
}

// Linux shows no box about a drive.
void QuietDriveErrors() {}

bool ReadVolumeDevice(const std::filesystem::path& device) {
  // A block device never blocks an open; O_NONBLOCK still guards against a
  // device path that names something else.
  UniqueFd fd(::open(device.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
  if (!fd) return false;
  unsigned char sector[512];
  return ::read(fd.get(), sector, sizeof sector) == static_cast<ssize_t>(sizeof sector);
}

}  // namespace tavlix::platform
