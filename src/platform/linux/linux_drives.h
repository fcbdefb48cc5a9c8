// Drive enumeration on Linux: the mounted block-device file systems.
//
// The mount table comes from <proc>/self/mountinfo; whether a drive is
// removable from sysfs (the disk's `removable` flag, or a device that hangs off
// a USB bus); the label from <dev>/disk/by-label (udev's \xNN escapes decoded).
// The three roots are parameters so that tests run this against a fake tree.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "platform/drives.h"

namespace tavlix::platform {

struct SystemRoots {
  std::filesystem::path proc = "/proc";
  std::filesystem::path sys = "/sys";
  std::filesystem::path dev = "/dev";
};

// Drives ordered by mount point; the name is the mount point.
std::vector<DriveInfo> ListLinuxDrives(const SystemRoots& roots);

// Decodes the octal escapes of a mountinfo field ("\040" is a space).
std::string DecodeMountField(std::string_view field);
// Decodes udev's "\x20" escapes in a by-label link name.
std::string DecodeUdevLabel(std::string_view name);

}  // namespace tavlix::platform
