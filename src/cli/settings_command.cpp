// `tavlix settings`: shows or changes the output format and the save folder,
// through the same code as the toolbar and its settings dialog.
#include <filesystem>
#include <optional>
#include <ostream>

#include "board/drive_discovery.h"
#include "cli/command_line.h"
#include "platform/files.h"
#include "settings/localised_text_table.h"
#include "settings/localised_texts.h"
#include "settings/save_folder_check.h"
#include "settings/settings_file.h"
#include "settings/settings_paths.h"

namespace tavlix::cli {
namespace {

constexpr std::string_view kSettingsHelp =
    "Usage: tavlix settings [--format png|jpeg|pdf|board] [--save-to DIR]\n"
    "\n"
    "Without options, shows the settings file, the output format and the save\n"
    "folder as the toolbar loads them. The collector and the other commands that\n"
    "save pictures take their defaults from these settings.\n"
    "\n"
    "  --format F    store the output format: png, jpeg, pdf, or board (keep the\n"
    "                format in which the board stored the picture)\n"
    "  --save-to DIR store the save folder. It must be an existing folder in\n"
    "                which a file can be created, and must not lie on the\n"
    "                board's drive; otherwise the bad-folder text is printed and\n"
    "                nothing is changed.\n"
    "\n"
    "The settings file lives in \"<program data>/Orvane Tavlix/TavlixConnect/\",\n"
    "where <program data> is $AllUsersProfile, else $XDG_CONFIG_HOME or ~/.config.\n"
    "Only the last folder level is created when missing.\n"
    "Exit status: 0 success, 1 folder refused or settings not stored, 2 bad usage.\n";

struct SettingsOptions {
  std::optional<OutputFormat> format;
  std::optional<std::string> save_to;
};

// Takes the value of "--name VALUE" or "--name=VALUE" at args[i].
std::optional<std::string> OptionValue(std::span<const std::string> args, std::size_t& i,
                                       std::string_view name) {
  const std::string& arg = args[i];
  if (arg == name && i + 1 < args.size()) return args[++i];
  if (arg.size() > name.size() && arg.starts_with(name) && arg[name.size()] == '=')
    return arg.substr(name.size() + 1);
  return std::nullopt;
}

void ShowSettings(const settings::IniSettings& settings, std::ostream& out) {
  const std::string file = settings::SettingFilePath();
  out << "Settings file: " << file;
  if (!platform::FileExists(file)) out << " (not present: defaults in use)";
  out << "\nFormat:        " << settings::DescribeFormat(settings.Setting_SavePrm)
      << "\nSave folder:   " << settings.Setting_ImgSaveTo_FolderPath << '\n';
}

// The bad-folder text as the toolbar would show it; the built-in default when
// the localised texts are not available at all.
std::string BadFolderText() {
  const settings::LocalisedTexts texts = settings::LoadLocalisedTexts();
  if (texts.loc_flg) return texts.message_badfolder;
  return std::string(settings::DefaultLocText(&settings::LocalisedTexts::message_badfolder));
}

int ChangeSettings(const SettingsOptions& options, CommandIo io) {
  settings::IniSettings settings = settings::LoadIniSettings();
  if (options.save_to) {
    std::string folder = *options.save_to;
    // A relative folder means the one under the caller's working folder, not
    // under whichever folder the toolbar happens to run in.
    std::error_code ec;
    if (!folder.empty() && std::filesystem::path(folder).is_relative()) {
      const auto absolute = std::filesystem::absolute(folder, ec);
      if (!ec) folder = absolute.string();
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

}  // namespace

int RunSettingsCommand(std::span<const std::string> args, CommandIo io) {
  SettingsOptions options;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (IsHelpFlag(args[i])) {
      io.out << kSettingsHelp;
      return kExitOk;
    }
    if ((args[i] == "--format" || args[i] == "--save-to") && i + 1 == args.size()) {
      io.err << "tavlix settings: " << args[i] << " needs a value\n";
      return kExitUsage;
    }
    if (auto name = OptionValue(args, i, "--format")) {
      options.format = settings::FormatFromName(*name);
      if (!options.format) {
        io.err << "tavlix settings: unknown format '" << *name << "' (png, jpeg, pdf or board)\n";
        return kExitUsage;
      }
    } else if (auto folder = OptionValue(args, i, "--save-to")) {
      options.save_to = std::move(folder);
    } else {
      io.err << "tavlix settings: unexpected argument '" << args[i] << "'\n"
             << "Run 'tavlix settings --help' for the options.\n";
      return kExitUsage;
    }
  }
  if (!options.format && !options.save_to) {
    ShowSettings(settings::LoadIniSettings(), io.out);
    return kExitOk;
  }
  return ChangeSettings(options, io);
}

}  // namespace tavlix::cli
