#include "platform/windows/windows_drives.h"

#include "platform/windows/error_mode.h"
#include "platform/windows/win32_text.h"

namespace tavlix::platform {
namespace {

DriveType TypeOf(UINT type) {
  switch (type) {
    case DRIVE_REMOVABLE: return DriveType::removable;
    case DRIVE_FIXED: return DriveType::fixed;
    case DRIVE_REMOTE: return DriveType::remote;
    case DRIVE_CDROM: return DriveType::cdrom;
    case DRIVE_RAMDISK: return DriveType::ramdisk;
    default: return DriveType::unknown;
  }
}

std::optional<std::string> VolumeLabel(const std::wstring& root) {
  wchar_t label[MAX_PATH + 1] = {};
  if (!::GetVolumeInformationW(root.c_str(), label, MAX_PATH + 1, nullptr, nullptr, nullptr, nullptr, 0))
    return std::nullopt;
  return Narrow(label);
}

}  // namespace

std::vector<DriveInfo> ListWindowsDrives() {
  const ScopedNoDriveErrorBoxes no_boxes;
  std::vector<DriveInfo> drives;
  const DWORD letters = ::GetLogicalDrives();
  for (int index = 0; index < 26; ++index) {
    if ((letters & (1u << index)) == 0) continue;
    const char letter = static_cast<char>('A' + index);
    const std::wstring root = {static_cast<wchar_t>(letter), L':', L'\\'};
    DriveInfo drive;
    drive.name = std::string(1, letter);
    drive.root = Narrow(root);
    drive.type = TypeOf(::GetDriveTypeW(root.c_str()));
    // Only a removable drive can be a board; the label of a network drive
    // would wait for its server, which may be gone.
    if (drive.type == DriveType::removable) drive.label = VolumeLabel(root);
    drive.device = std::wstring{L'\\', L'\\', L'.', L'\\', static_cast<wchar_t>(letter), L':'};
    drives.push_back(std::move(drive));
  }
  return drives;
}

bool ReadVolumeDeviceHead(const std::filesystem::path& device) {
  const ScopedNoDriveErrorBoxes no_boxes;
  UniqueHandle volume(::CreateFileW(device.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!volume) return false;
  unsigned char sector[512];
  DWORD got = 0;
  return ::ReadFile(volume.get(), sector, sizeof sector, &got, nullptr) && got == sizeof sector;
}

}  // namespace tavlix::platform
