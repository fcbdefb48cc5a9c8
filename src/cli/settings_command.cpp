// `tavlix settings`: shows or changes the output format and the save folder,
// through the same code as the toolbar and its settings dialog.
#include <filesystem>
#include <memory>
#include <optional>
#include <ostream>

#include "board/drive_discovery.h"
#include "cli/command_line.h"
#include "cli/options.h"
#include "cli/save_folder_option.h"
#include "platform/files.h"
#include "platform/path_text.h"
#include "settings/save_folder_check.h"
#include "settings/settings_file.h"
#include "settings/settings_paths.h"

namespace tavlix::cli {
namespace {

constexpr const char* kSettingsHelp =
    "Without options, shows the settings file, the output format and the save\n"
    "folder as the toolbar loads them. The collector and the other commands that\n"
    "save pictures take their defaults from these settings.\n"
    "A new save folder must be an existing folder in which a file can be\n"
    "created, and must not lie on the board's drive; otherwise the bad-folder\n"
    "text is printed and nothing is changed.\n"
    "\n"
    "The settings file lives in \"<program data>/Orvane Tavlix/TavlixConnect/\",\n"
    "where <program data> is $AllUsersProfile, else $XDG_CONFIG_HOME or ~/.config.\n"
    "Its two folders are made when missing (and the configuration folder itself\n"
    "where no $AllUsersProfile names the program data folder).\n"
    "Exit status: 0 success, 1 folder refused or settings not stored, 2 bad usage.";

struct SettingsOptions {
  std::optional<OutputFormat> format;
  std::optional<std::string> save_to;
};

void ShowSettings(const settings::IniSettings& settings, std::ostream& out) {
  const std::string file = settings::SettingFilePath();
  out << "Settings file: " << file;
  if (!platform::FileExists(platform::PathFromUtf8(file))) out << " (not present: defaults in use)";
  out << "\nFormat:        " << settings::DescribeFormat(settings.Setting_SavePrm)
      << "\nSave folder:   " << settings.Setting_ImgSaveTo_FolderPath << '\n';
}

int ChangeSettings(const SettingsOptions& options, CommandIo io) {
  settings::IniSettings settings = settings::LoadIniSettings();
  if (options.save_to) {
    std::string folder = *options.save_to;
    // A relative folder means the one under the caller's working folder, not
    // under whichever folder the toolbar happens to run in.
    std::error_code ec;
    if (const auto path = platform::PathFromUtf8(folder); !folder.empty() && path.is_relative()) {
      const auto absolute = std::filesystem::absolute(path, ec);
      if (!ec) folder = platform::PathToUtf8(absolute);
    }
    const settings::SaveFolderCheck check = settings::CheckSaveFolder(folder, BoardDriveRoot);
    if (check != settings::SaveFolderCheck::accepted) {
      io.err << BadFolderText() << '\n'
             << "tavlix settings: '" << folder << "': " << settings::SaveFolderCheckReason(check) << '\n';
      return kExitFailure;
    }
    settings.Setting_ImgSaveTo_FolderPath = folder;
  }
  if (options.format) settings.Setting_SavePrm = *options.format;
  if (const Status saved = settings::SaveIniSettings(settings); !saved) {
    io.err << "tavlix settings: the settings were not stored: " << saved.error() << '\n';
    return kExitFailure;
  }
  io.out << "Settings stored.\n";
  ShowSettings(settings::LoadIniSettings(), io.out);
  return kExitOk;
}

int RunSettings(const SettingsOptions& options, CommandIo io) {
  if (!options.format && !options.save_to) {
    ShowSettings(settings::LoadIniSettings(), io.out);
    return kExitOk;
  }
  return ChangeSettings(options, io);
}

}  // namespace

void AddSettingsCommand(CommandLine& line) {
  auto options = std::make_shared<SettingsOptions>();
  CLI::App& command = line.Add("settings", "show or change the output format and the save folder",
                               kSettingsHelp, [options](CommandIo io) { return RunSettings(*options, io); });
  AddParsedOption(command, "--format", "FORMAT", options->format, settings::FormatFromName,
                  "png, jpeg, pdf or board", "store the output format (board: as the board stored it)");
  AddParsedOption(command, "--save-to", "DIR", options->save_to, NonEmpty, "a folder",
                  "store the save folder");
}

}  // namespace tavlix::cli
