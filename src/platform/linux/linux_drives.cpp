#include "platform/linux/linux_drives.h"

#include <algorithm>
#include <fstream>
#include <map>
#include <sstream>

namespace tavlix::platform {
namespace fs = std::filesystem;
namespace {

struct Mount {
  std::string device_number;  // "major:minor"
  std::string mount_point;
};

std::string ReadFirstLine(const fs::path& path) {
  std::ifstream in(path);
  std::string line;
  std::getline(in, line);
  return line;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::vector<Mount> ReadMounts(const fs::path& mountinfo) {
  std::vector<Mount> mounts;
  std::ifstream in(mountinfo);
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    std::string id, parent, device_number, root, mount_point;
    if (!(fields >> id >> parent >> device_number >> root >> mount_point)) continue;
    // Only whole volumes: a bind mount of a sub-folder is not a drive root.
    if (root != "/") continue;
    std::string word;
    while (fields >> word && word != "-") {
    }
    std::string fs_type, source;
    if (word != "-" || !(fields >> fs_type >> source)) continue;
    if (device_number.rfind("0:", 0) == 0) continue;  // no block device behind it
    mounts.push_back({device_number, DecodeMountField(mount_point)});
  }
  return mounts;
}

// Kernel name of every labelled device, keyed by kernel name ("sdb1").
std::map<std::string, std::string> ReadLabels(const fs::path& by_label) {
  std::map<std::string, std::string> labels;
  std::error_code ec;
  for (fs::directory_iterator it(by_label, ec), end; !ec && it != end; it.increment(ec)) {
    const fs::path target = fs::read_symlink(it->path(), ec);
    if (ec) {
      ec.clear();
      continue;
    }
    labels.emplace(target.filename().string(), DecodeUdevLabel(it->path().filename().string()));
  }
  return labels;
}

DriveType ClassifyDevice(const fs::path& sys_device, const std::string& device_number) {
  const auto colon = device_number.find(':');
  const std::string major = device_number.substr(0, colon);
  if (major == "11") return DriveType::cdrom;   // SCSI CD-ROM (sr)
  if (major == "1") return DriveType::ramdisk;  // RAM disk (ram)
  std::error_code ec;
  // A partition's flags live on its disk, one folder up.
  const fs::path disk = fs::exists(sys_device / "partition", ec) ? sys_device.parent_path() : sys_device;
  if (ReadFirstLine(disk / "removable") == "1") return DriveType::removable;
  const std::string where = sys_device.generic_string();
  if (where.find("/usb") != std::string::npos) return DriveType::removable;
  return DriveType::fixed;
}

}  // namespace

std::string DecodeMountField(std::string_view field) {
  std::string out;
  out.reserve(field.size());
  for (std::size_t i = 0; i < field.size(); ++i) {
    if (field[i] == '\\' && i + 3 < field.size() && field[i + 1] >= '0' && field[i + 1] <= '3' &&
        field[i + 2] >= '0' && field[i + 2] <= '7' && field[i + 3] >= '0' && field[i + 3] <= '7') {
      out.push_back(
          static_cast<char>((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 + (field[i + 3] - '0')));
      i += 3;
    } else {
      out.push_back(field[i]);
    }
  }
  return out;
}

std::string DecodeUdevLabel(std::string_view name) {
  std::string out;
  out.reserve(name.size());
  for (std::size_t i = 0; i < name.size(); ++i) {
    if (name[i] == '\\' && i + 3 < name.size() && name[i + 1] == 'x' && HexDigit(name[i + 2]) >= 0 &&
        HexDigit(name[i + 3]) >= 0) {
      out.push_back(static_cast<char>(HexDigit(name[i + 2]) * 16 + HexDigit(name[i + 3])));
      i += 3;
    } else {
      out.push_back(name[i]);
    }
  }
  return out;
}

std::vector<DriveInfo> ListLinuxDrives(const SystemRoots& roots) {
  const auto labels = ReadLabels(roots.dev / "disk" / "by-label");
  std::vector<DriveInfo> drives;
  for (const Mount& mount : ReadMounts(roots.proc / "self" / "mountinfo")) {
    std::error_code ec;
    const fs::path link = roots.sys / "dev" / "block" / mount.device_number;
    if (!fs::exists(link, ec)) continue;  // not a block device
    const fs::path sys_device = fs::weakly_canonical(link, ec);
    if (ec) continue;
    const std::string kernel_name = sys_device.filename().string();

    DriveInfo drive;
    drive.name = mount.mount_point;
    drive.root = mount.mount_point;
    if (drive.root.empty() || drive.root.back() != '/') drive.root.push_back('/');
    drive.type = ClassifyDevice(sys_device, mount.device_number);
    if (auto it = labels.find(kernel_name); it != labels.end()) drive.label = it->second;
    drive.device = roots.dev / kernel_name;
    drives.push_back(std::move(drive));
  }
  std::stable_sort(drives.begin(), drives.end(),
                   [](const DriveInfo& a, const DriveInfo& b) { return a.name < b.name; });
  return drives;
}

}  // namespace tavlix::platform
