// The present drives, as the board link looks for the board among them.
//
// ListDrives() reads the simulated drive table named by TAVLIX_DRIVE_TABLE when
// that variable is set, and otherwise asks the operating system. It is called
// from the UI thread and the worker thread alike and is thread-safe.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/result.h"

namespace tavlix::platform {

enum class DriveType { removable, fixed, remote, cdrom, ramdisk, unknown };

std::string_view DriveTypeName(DriveType type);
std::optional<DriveType> ParseDriveType(std::string_view name);

struct DriveInfo {
  // The drive letter ("E") on a lettered system or in the drive table; the
  // mount point on Linux.
  std::string name;
  // The folder at the drive's root; always ends with a separator.
  std::string root;
  DriveType type = DriveType::unknown;
  // The volume label; nullopt when the volume information cannot be read.
  std::optional<std::string> label;
  // The block device behind the volume, for the raw read; empty when there is
  // none to read (a simulated drive).
  std::filesystem::path device;

  bool operator==(const DriveInfo&) const = default;
};

// The present drives in order: by letter, or by mount point on Linux.
std::vector<DriveInfo> ListDrives();
// The same, but a drive table that is there and cannot be read is a failure
// rather than no drives, and is left to the caller to report (ListDrives
// reports problems on the error stream, once per change).
Result<std::vector<DriveInfo>> TryListDrives();

// Reads the first 512 bytes of the volume whose root is `root`. Failures
// (no device, no permission, a simulated drive) are silently ignored: the
// read only keeps the board's drive awake. Returns true when 512 bytes came.
bool ReadVolumeHead(const std::string& root);

// Keeps the system from stopping the program with a box about a drive (an
// empty card reader, a medium pulled out under an open file) for the rest of
// the process: the call fails instead. Nothing to do where the system shows
// no such box. Call once, before the board link starts; any thread.
void QuietDriveErrors();

// Name of the variable that points at the simulated drive table.
inline constexpr const char* kDriveTableVariable = "TAVLIX_DRIVE_TABLE";

}  // namespace tavlix::platform
