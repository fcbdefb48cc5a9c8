#include "settings/settings_paths.h"

#include <filesystem>
#include <string_view>

#include "platform/known_folders.h"

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

std::string ProgramDataPath(std::string_view file) {
  return Under(platform::ProgramDataFolder(), {"Orvane Tavlix", "TavlixConnect", file});
}

}  // namespace

std::string SettingFolderPath() {
  return ProgramDataPath("");
}

std::string SettingFilePath() {
  return ProgramDataPath(kSettingFileName);
}

std::string LocFolderPath() {
  return ProgramDataPath("");
}

std::string LocFilePath() {
  return ProgramDataPath(kLocFileName);
}

std::string HelpFilePath() {
  return Under(platform::ProgramFilesFolder(), {"Orvane Tavlix", "TavlixConnect", kHelpFileName});
}

std::string DefaultSaveFolderPath() {
  if (auto pictures = platform::UserPicturesFolder()) return Under(*pictures, {"TavlixConnect", ""});
  return Under(platform::UserProfileFolder(), {"Pictures", "TavlixConnect", ""});
}

}  // namespace tavlix::settings
