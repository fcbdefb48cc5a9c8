// Drive enumeration on Windows: the lettered drives (Windows backend only).
//
// Letters from GetLogicalDrives, the type from GetDriveTypeW, the label of a
// removable drive from GetVolumeInformationW (nullopt when the volume cannot
// be read: an empty card reader, an unformatted medium; always nullopt for
// other drives, which are never a board and may be slow to answer). None of the calls shows the system's
// "no disk" box. Thread-safe.
#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

#include "platform/drives.h"

namespace tavlix::platform {

// Drives ordered by letter: name "E", root "E:\", device "\\.\E:".
std::vector<DriveInfo> ListWindowsDrives();

// Reads the first 512 bytes of a volume device ("\\.\E:") without taking it
// from others. true when 512 bytes came.
bool ReadVolumeDeviceHead(const std::filesystem::path& device);

}  // namespace tavlix::platform
