#include "settings/save_folder_check.h"

#include "platform/files.h"
#include "platform/folder_nesting.h"
#include "platform/path_text.h"
#include "platform/write_probe.h"
#include "settings/settings_file.h"

namespace tavlix::settings {

namespace fs = std::filesystem;

SaveFolderCheck CheckSaveFolder(const std::string& folder, const BoardRootLookup& board_drive_root) {
  if (folder.empty()) return SaveFolderCheck::empty;
  if (folder.size() >= kSavePathBufferSize ||
      folder.find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos)
    return SaveFolderCheck::cannot_be_stored;
  const fs::path path = platform::PathFromUtf8(folder);
  if (!platform::DirectoryExists(path)) return SaveFolderCheck::not_a_folder;
  if (!platform::ProbeFolderWritable(path)) return SaveFolderCheck::not_writable;
  if (const auto root = board_drive_root();
      root && platform::IsInsideFolder(path, platform::PathFromUtf8(*root)))
    return SaveFolderCheck::on_board_drive;
  return SaveFolderCheck::accepted;
}

std::string_view SaveFolderCheckReason(SaveFolderCheck check) {
  switch (check) {
    case SaveFolderCheck::accepted: return "";
    case SaveFolderCheck::empty: return "no folder given";
    case SaveFolderCheck::cannot_be_stored:
      return "the settings file cannot keep a folder name with a line break or over 1023 characters";
    case SaveFolderCheck::not_a_folder: return "not an existing folder";
    case SaveFolderCheck::on_board_drive: return "the folder is on the board's drive";
    case SaveFolderCheck::not_writable: return "no file can be created in the folder";
  }
  return "";
}

}  // namespace tavlix::settings
