// The system's own list of drives, behind the drive table (drives.h decides
// which one answers). One backend per system; thread-safe. The backend
// also holds QuietDriveErrors of drives.h.
#pragma once

#include <filesystem>
#include <vector>

#include "platform/drives.h"

namespace tavlix::platform {

// The drives the system has mounted, in the order of drives.h.
std::vector<DriveInfo> ListSystemDrives();

// Reads the first 512 bytes of the volume behind `device`; true when they came.
bool ReadVolumeDevice(const std::filesystem::path& device);

}  // namespace tavlix::platform
