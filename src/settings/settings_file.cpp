#include "settings/settings_file.h"

#include <chrono>
#include <filesystem>
#include <limits>
#include <optional>

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

const char* DescribeSource(SettingSource source) {
  switch (source) {
    case SettingSource::user_file: return "user file";
    case SettingSource::machine_default: return "machine default";
    case SettingSource::built_in: break;
  }
  return "built-in default";
}

bool EnsureSettingFolder() {
  const std::filesystem::path folder = platform::PathFromUtf8(SettingFolderPath());
  if (platform::DirectoryExists(folder)) return true;
  platform::MakeUserDataFolder();
  const std::filesystem::path vendor = folder.parent_path().parent_path();
  if (platform::DirectoryExists(vendor.parent_path()) && !platform::DirectoryExists(vendor))
    platform::MakeDirectory(vendor);
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

namespace {

// The machine's file, unless it or a folder of ours above it is a link: the
// administrator's settings are read only where nobody can have redirected
// them.
std::optional<std::filesystem::path> MachineFile() {
  const std::filesystem::path file = platform::PathFromUtf8(MachineSettingFilePath());
  const std::filesystem::path folder = file.parent_path();
  for (const auto& entry : {file, folder, folder.parent_path()})
    if (platform::IsLinkEntry(entry)) return std::nullopt;
  return file;
}

struct FileLayer {
  std::optional<std::string> prm;
  std::optional<std::string> path;
};

FileLayer ReadLayer(const std::optional<std::filesystem::path>& file, platform::Links links) {
  if (!file) return {};
  return {platform::ProfileReadValue(kSection, kSavePrmKey, kSavePrmBufferSize, *file, links),
          platform::ProfileReadValue(kSection, kSavePathKey, kSavePathBufferSize, *file, links)};
}

// The folder as stored: the user's own default is kept as an empty text.
std::string StoredFolder(const std::string& folder) {
  return folder == DefaultSaveFolderPath() ? std::string() : folder;
}

std::string StoredFormat(OutputFormat format) {
  return std::to_string(FormatCode(format));
}

Status WriteKeys(const std::filesystem::path& file, const std::optional<std::string>& prm,
                 const std::optional<std::string>& path) {
  // Both keys are written even when the first fails, as they always were.
  Status prm_written = Success();
  if (prm) prm_written = platform::ProfileWriteString(kSection, kSavePrmKey, *prm, file);
  Status path_written = Success();
  if (path) path_written = platform::ProfileWriteString(kSection, kSavePathKey, *path, file);
  if (!prm_written) return prm_written;
  return path_written;
}

}  // namespace

LayeredSettings ReadLayeredSettings() {
  const FileLayer user = ReadLayer(platform::PathFromUtf8(SettingFilePath()), platform::Links::follow);
  const FileLayer machine = ReadLayer(MachineFile(), platform::Links::refuse);
  LayeredSettings layered;
  if (user.prm || machine.prm) {
    layered.format_source = user.prm ? SettingSource::user_file : SettingSource::machine_default;
    layered.values.Setting_SavePrm = FormatFromCode(SavePrmFromText(user.prm ? *user.prm : *machine.prm));
  }
  std::string folder;
  if (user.path || machine.path) {
    layered.folder_source = user.path ? SettingSource::user_file : SettingSource::machine_default;
    folder = user.path ? *user.path : *machine.path;
  }
  layered.values.Setting_ImgSaveTo_FolderPath = folder.empty() ? DefaultSaveFolderPath() : std::move(folder);
  return layered;
}

IniSettings LoadIniSettings() {
  EnsureSettingFolder();
  return ReadLayeredSettings().values;
}

Status SaveIniSettings(const IniSettings& settings) {
  if (!EnsureSettingFolder()) return Fail("the settings folder " + SettingFolderPath() + " does not exist");
  return WriteKeys(platform::PathFromUtf8(SettingFilePath()), StoredFormat(settings.Setting_SavePrm),
                   StoredFolder(settings.Setting_ImgSaveTo_FolderPath));
}

Status SaveChangedSettings(const IniSettings& now, const IniSettings& before) {
  if (!EnsureSettingFolder()) return Fail("the settings folder " + SettingFolderPath() + " does not exist");
  // Read again just before the write: what another program stored since
  // stays unless this process changed that key itself.
  const LayeredSettings fresh = ReadLayeredSettings();
  std::optional<std::string> prm;
  if (now.Setting_SavePrm != before.Setting_SavePrm || fresh.format_source == SettingSource::built_in)
    prm = StoredFormat(now.Setting_SavePrm);
  std::optional<std::string> path;
  if (now.Setting_ImgSaveTo_FolderPath != before.Setting_ImgSaveTo_FolderPath ||
      fresh.folder_source == SettingSource::built_in)
    path = StoredFolder(now.Setting_ImgSaveTo_FolderPath);
  return WriteKeys(platform::PathFromUtf8(SettingFilePath()), prm, path);
}

Status StoreSettings(const SettingsChange& change, SettingsTarget target) {
  std::optional<std::string> prm;
  if (change.format) prm = StoredFormat(*change.format);
  std::optional<std::string> path;
  if (change.folder) path = StoredFolder(*change.folder);
  if (target == SettingsTarget::user_file) {
    if (!EnsureSettingFolder()) return Fail("the settings folder " + SettingFolderPath() + " does not exist");
    return WriteKeys(platform::PathFromUtf8(SettingFilePath()), prm, path);
  }
  const std::string folder = MachineFolderPath();
  if (!platform::DirectoryExists(platform::PathFromUtf8(folder)))
    return Fail("the machine settings folder " + folder + " does not exist (the installation makes it)");
  const auto file = MachineFile();
  if (!file) return Fail("the machine settings folder " + folder + " or its file is a link");
  return WriteKeys(*file, prm, path);
}

}  // namespace tavlix::settings
