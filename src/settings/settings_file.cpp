#include "settings/settings_file.h"

#include <chrono>
#include <filesystem>
#include <limits>

#include "platform/clock.h"
#include "platform/files.h"
#include "platform/known_folders.h"
#include "platform/path_text.h"
#include "platform/profile_file.h"
#include "settings/settings_paths.h"

namespace tavlix::settings {
namespace {

constexpr const char* kSection = "setting";
constexpr const char* kSavePrmKey = "saveprm";
constexpr const char* kSavePathKey = "savepath";
// Room for three characters of "saveprm".
constexpr std::size_t kSavePrmBufferSize = 4;
constexpr platform::Millis kFolderCreationPause{100};

bool IsAtoiSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

}  // namespace

bool EnsureSettingFolder() {
  const std::filesystem::path folder = platform::PathFromUtf8(SettingFolderPath());
  if (platform::DirectoryExists(folder)) return true;
  // The vendor folder above ours is made by the installer on a lettered
  // system; a desktop's configuration folder has none, so make it too, and
  // the configuration folder itself where the desktop's rules say so.
  platform::MakeProgramDataFolder();
  const std::filesystem::path vendor = folder.parent_path().parent_path();
  if (!platform::DirectoryExists(vendor)) platform::MakeDirectory(vendor);
  platform::MakeDirectory(folder);
  platform::SleepFor(kFolderCreationPause);
  return platform::DirectoryExists(folder);
}

int SavePrmFromText(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && IsAtoiSpace(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  // Accumulate towards the sign, stopping at the int's limit rather than overflowing.
  long long value = 0;
  constexpr long long kLimit = static_cast<long long>(std::numeric_limits<int>::max()) + 1;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > kLimit) value = kLimit;
  }
  if (negative) return static_cast<int>(-value);
  return static_cast<int>(value > kLimit - 1 ? kLimit - 1 : value);
}

IniSettings LoadIniSettings() {
  EnsureSettingFolder();
  const std::filesystem::path file = platform::PathFromUtf8(SettingFilePath());
  IniSettings settings;
  settings.Setting_SavePrm = FormatFromCode(
      SavePrmFromText(platform::ProfileReadString(kSection, kSavePrmKey, "2", kSavePrmBufferSize, file)));
  std::string folder = platform::ProfileReadString(kSection, kSavePathKey, "", kSavePathBufferSize, file);
  settings.Setting_ImgSaveTo_FolderPath = folder.empty() ? DefaultSaveFolderPath() : std::move(folder);
  return settings;
}

Status SaveIniSettings(const IniSettings& settings) {
  if (!EnsureSettingFolder()) return Fail("the settings folder " + SettingFolderPath() + " does not exist");
  const std::filesystem::path file = platform::PathFromUtf8(SettingFilePath());
  // Both keys are written even when the first fails, as they always were.
  const Status prm = platform::ProfileWriteString(kSection, kSavePrmKey,
                                                  std::to_string(FormatCode(settings.Setting_SavePrm)), file);
  const Status path =
      platform::ProfileWriteString(kSection, kSavePathKey, settings.Setting_ImgSaveTo_FolderPath, file);
  if (!prm) return prm;
  return path;
}

}  // namespace tavlix::settings
