#include "platform/drives.h"

#include <fcntl.h>

#include <cstdio>
#include <mutex>

#include "platform/drive_table.h"
#include "platform/environment.h"
#include "platform/linux_drives.h"
#include "platform/unique_fd.h"

namespace tavlix::platform {
namespace {

// The table is re-read at every enumeration (every 100 ms while the board is
// present); report its problems once per change, not at every read.
void ReportProblems(const std::vector<std::string>& problems) {
  static std::mutex mutex;
  static std::vector<std::string> last;
  std::lock_guard lock(mutex);
  if (problems == last) return;
  last = problems;
  for (const auto& p : problems) std::fprintf(stderr, "tavlix: %s\n", p.c_str());
}

}  // namespace

std::vector<DriveInfo> ListDrives() {
  if (auto table_file = GetEnv(kDriveTableVariable)) {
    DriveTable table = LoadDriveTable(*table_file);
    ReportProblems(table.problems);
    return std::move(table.drives);
  }
  return ListLinuxDrives(SystemRoots{});
}

bool ReadVolumeHead(const std::string& root) {
  for (const DriveInfo& drive : ListDrives()) {
    if (drive.root != root || drive.device.empty()) continue;
    // The device comes from the system's own tables; still, never wait on it.
    UniqueFd fd(::open(drive.device.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (!fd) return false;
    unsigned char sector[512];
    return ::read(fd.get(), sector, sizeof sector) == static_cast<ssize_t>(sizeof sector);
  }
  return false;
}

}  // namespace tavlix::platform
