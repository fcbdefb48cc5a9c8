#include "settings/settings_paths.h"

#include <filesystem>
#include <string_view>
#include <vector>

#include "platform/files.h"
#include "platform/known_folders.h"
#include "platform/path_text.h"

namespace tavlix::settings {
namespace {

constexpr char kSep = static_cast<char>(std::filesystem::path::preferred_separator);

// Joins "a", "b", "c" into "a/b/c" with the platform's separator; the prefix
// may end with a separator of its own, and an empty prefix gives a path from
// the root.
std::string Under(std::string prefix, std::initializer_list<std::string_view> parts) {
  if (!prefix.empty() && prefix.back() == kSep) prefix.pop_back();
  for (const std::string_view part : parts) {
    prefix += kSep;
    prefix += part;
  }
  return prefix;
}

std::string ProductPath(std::string prefix, std::string_view file) {
  return Under(std::move(prefix), {"Orvane Tavlix", "TavlixConnect", file});
}

std::string MachinePath(std::string_view file) {
  const std::vector<std::string> folders = platform::ProgramDataFolders();
  for (const std::string& folder : folders)
    if (platform::DirectoryExists(platform::PathFromUtf8(ProductPath(folder, ""))))
      return ProductPath(folder, file);
  return ProductPath(folders.front(), file);
}

}  // namespace

std::string SettingFolderPath() {
  return ProductPath(platform::UserDataFolder(), "");
}

std::string SettingFilePath() {
  return ProductPath(platform::UserDataFolder(), kSettingFileName);
}

std::string MachineFolderPath() {
  return MachinePath("");
}

std::string MachineSettingFilePath() {
  return MachinePath(kSettingFileName);
}

std::string LocFolderPath() {
  return MachinePath("");
}

std::string LocFilePath() {
  return MachinePath(kLocFileName);
}

std::string HelpFilePath() {
  return Under(platform::ProgramFilesFolder(), {"Orvane Tavlix", "TavlixConnect", kHelpFileName});
}

std::string DefaultSaveFolderPath() {
  if (auto pictures = platform::UserPicturesFolder()) return Under(*pictures, {"TavlixConnect", ""});
  return Under(platform::UserProfileFolder(), {"Pictures", "TavlixConnect", ""});
}

}  // namespace tavlix::settings
