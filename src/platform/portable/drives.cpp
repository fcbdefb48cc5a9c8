#include "platform/drives.h"

#include <cstdio>
#include <mutex>

#include "platform/drive_table.h"
#include "platform/environment.h"
#include "platform/system_drives.h"

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

Result<std::vector<DriveInfo>> TryListDrives() {
  if (auto table_file = GetEnv(kDriveTableVariable)) {
    DriveTable table = LoadDriveTable(*table_file);
    if (table.unreadable) return Fail(table.problems.front());  // the caller says it
    ReportProblems(table.problems);
    return std::move(table.drives);
  }
  return ListSystemDrives();
}

std::vector<DriveInfo> ListDrives() {
  auto drives = TryListDrives();
  if (drives) return std::move(*drives);
  ReportProblems({drives.error()});
  return {};
}

bool ReadVolumeHead(const std::string& root) {
  for (const DriveInfo& drive : ListDrives()) {
    if (drive.root != root || drive.device.empty()) continue;
    return ReadVolumeDevice(drive.device);
  }
  return false;
}

}  // namespace tavlix::platform
