#include "board/drive_discovery.h"

#include "board/link_state.h"
#include "board/model_table.h"

namespace tavlix::board {

std::optional<BoardMatch> FindBoardDrive(const std::vector<platform::DriveInfo>& drives) {
  for (std::size_t i = 0; i < drives.size(); ++i) {
    const platform::DriveInfo& drive = drives[i];
    if (drive.type != platform::DriveType::removable || !drive.label) continue;
    if (const auto row = ModelRow(*drive.label)) return BoardMatch{static_cast<int>(i), *row};
  }
  return std::nullopt;
}

bool GetTargetDrive(std::string& cModelName, std::string& TargetDriveName) {
  LinkState& link = Link();
  const auto drives = platform::ListDrives();
  const auto match = FindBoardDrive(drives);
  if (!match) {
    if (link.Connected.load()) SendBoardNotify(link.hWnd_Form.load(), BOARD_LOST, 1);
    return false;
  }
  const platform::DriveInfo& drive = drives[static_cast<std::size_t>(match->position)];
  cModelName = *drive.label + " ";
  TargetDriveName = drive.root;
  if (!link.Connected.load()) SendBoardNotify(link.hWnd_Form.load(), BOARD_FOUND, BoardFoundArgument(*match));
  return true;
}

std::optional<std::string> BoardDriveRoot() {
  std::string model;
  std::string root;
  if (!GetTargetDrive(model, root)) return std::nullopt;
  return root;
}

}  // namespace tavlix::board
