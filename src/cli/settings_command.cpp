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
    "Without options, shows the settings files, the output format and the save\n"
    "folder as the toolbar loads them, each with where it comes from (user file,\n"
    "machine default, built-in default). The collector and the other commands\n"
    "that save pictures take their defaults from these settings.\n"
    "A new save folder must be an existing folder in which a file can be\n"
    "created, and must not lie on the board's drive; otherwise the bad-folder\n"
    "text is printed and nothing is changed.\n"
    "\n"
    "Each user's settings file lives in \"<user data>/Orvane Tavlix/TavlixConnect/\",\n"
    "where <user data> is $APPDATA, else $XDG_CONFIG_HOME or ~/.config; its folders\n"
    "are made when missing. A key it lacks comes from the machine default of the\n"
    "same name in \"<program data>/Orvane Tavlix/TavlixConnect/\", where <program\n"
    "data> is $AllUsersProfile, else the first of $XDG_CONFIG_DIRS (or /etc/xdg)\n"
    "holding that folder. With --machine the changes go to the machine default,\n"
    "which needs the right to write there (the folder must exist).\n"
    "Exit status: 0 success, 1 folder refused or settings not stored, 2 bad usage.";

struct SettingsOptions {
  std::optional<settings::OutputFormat> format;
  std::optional<std::string> save_to;
  bool machine = false;
};

void ShowFile(const char* label, const std::string& file, std::ostream& out) {
  out << label << file;
  if (!platform::FileExists(platform::PathFromUtf8(file))) out << " (not present)";
  out << '\n';
}

void ShowSettings(const settings::LayeredSettings& settings, std::ostream& out) {
  ShowFile("Settings file: ", settings::SettingFilePath(), out);
  ShowFile("Machine file:  ", settings::MachineSettingFilePath(), out);
  out << "Format:        " << settings::DescribeFormat(settings.values.Setting_SavePrm) << "  ["
      << settings::DescribeSource(settings.format_source)
      << "]\nSave folder:   " << settings.values.Setting_ImgSaveTo_FolderPath << "  ["
      << settings::DescribeSource(settings.folder_source) << "]\n";
}

int ChangeSettings(const SettingsOptions& options, CommandIo io) {
  settings::SettingsChange change;
  if (options.save_to) {
    std::string folder = *options.save_to;
    // A relative folder means the one under the caller's working folder, not
    // under whichever folder the toolbar happens to run in.
    std::error_code ec;
    if (const auto path = platform::PathFromUtf8(folder); !folder.empty() && path.is_relative()) {
      const auto absolute = std::filesystem::absolute(path, ec);
      if (!ec) folder = platform::PathToUtf8(absolute);
    }
    const settings::SaveFolderCheck check = settings::CheckSaveFolder(folder, board::BoardDriveRoot);
    if (check != settings::SaveFolderCheck::accepted) {
      io.err << BadFolderText() << '\n'
             << "tavlix settings: '" << folder << "': " << settings::SaveFolderCheckReason(check) << '\n';
      return kExitFailure;
    }
    change.folder = folder;
  }
  change.format = options.format;
  const Status saved =
      settings::StoreSettings(change, options.machine ? settings::SettingsTarget::machine_default
                                                      : settings::SettingsTarget::user_file);
  if (!saved) {
    io.err << "tavlix settings: the settings were not stored: " << saved.error() << '\n';
    return kExitFailure;
  }
  io.out << (options.machine ? "Machine default stored.\n" : "Settings stored.\n");
  ShowSettings(settings::ReadLayeredSettings(), io.out);
  return kExitOk;
}

int RunSettings(const SettingsOptions& options, CommandIo io) {
  if (!options.format && !options.save_to) {
    settings::EnsureSettingFolder();
    ShowSettings(settings::ReadLayeredSettings(), io.out);
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
  command.add_flag("--machine", options->machine,
                   "store the given values as the machine default (for every user; needs the rights)");
}

}  // namespace tavlix::cli
