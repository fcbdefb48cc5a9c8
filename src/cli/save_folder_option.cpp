#include "cli/save_folder_option.h"

#include <filesystem>

#include "board/drive_discovery.h"
#include "platform/files.h"
#include "platform/path_text.h"
#include "settings/localised_texts.h"
#include "settings/save_folder_check.h"

namespace tavlix::cli {

std::string BadFolderText() {
  settings::LocalisedTexts texts = settings::LoadLocalisedTexts();
  if (!texts.loc_flg) texts = settings::DefaultLocalisedTexts();
  return texts.message_badfolder;
}

std::optional<std::string> SaveToRefusal(const std::string& folder) {
  const std::filesystem::path path = platform::PathFromUtf8(folder);
  std::string checked = folder;
  std::error_code ec;
  if (!std::filesystem::exists(std::filesystem::symlink_status(path, ec)) && path.has_parent_path())
    checked = platform::PathToUtf8(path.parent_path());
  const settings::SaveFolderCheck check = settings::CheckSaveFolder(checked, board::BoardDriveRoot);
  if (check == settings::SaveFolderCheck::accepted) return std::nullopt;
  if (checked != folder && check == settings::SaveFolderCheck::not_a_folder)
    return "neither the folder nor the one it would be made in exists";
  return std::string(settings::SaveFolderCheckReason(check));
}

}  // namespace tavlix::cli
