#include "platform/system_drives.h"
#include "platform/windows/unique_handle.h"
#include "platform/windows/windows_drives.h"

namespace tavlix::platform {

std::vector<DriveInfo> ListSystemDrives() {
  return ListWindowsDrives();
}

void QuietDriveErrors() {
  ::SetErrorMode(::GetErrorMode() | SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
}

bool ReadVolumeDevice(const std::filesystem::path& device) {
  return ReadVolumeDeviceHead(device);
}

}  // namespace tavlix::platform
