// The settings: the output format and the save folder, kept from one run to
// the next in section "setting" of TavlixConnect_setup.ini.
//
// Two files of that name and format are read key by key: the user's own
// (settings_paths.h: SettingFilePath), then the machine default
// (MachineSettingFilePath), then the built-in default. The machine default is
// the administrator's: read only where neither it nor its folders is a link,
// and written only on request (SaveMachineSettings). Every other change goes
// to the user's file.
//
// Plain functions the main window (and the command line) call on their own
// thread; each builds its paths afresh. Loading never fails: whatever is
// missing or unreadable takes its default.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "core/result.h"
#include "settings/output_format.h"

namespace tavlix::settings {

// "savepath" is read with room for 1023 characters; a longer folder could not
// be read back whole, so it is never accepted.
inline constexpr std::size_t kSavePathBufferSize = 1024;

struct IniSettings {
  // The output format ("saveprm"); any code is kept as read.
  OutputFormat Setting_SavePrm = kDefaultOutputFormat;
  // The save folder ("savepath"), taken as stored: with or without a trailing
  // separator, not tested for existence.
  std::string Setting_ImgSaveTo_FolderPath;

  bool operator==(const IniSettings&) const = default;
};

// Where a value in force comes from.
enum class SettingSource { user_file, machine_default, built_in };
const char* DescribeSource(SettingSource source);

struct LayeredSettings {
  IniSettings values;
  SettingSource format_source = SettingSource::built_in;
  SettingSource folder_source = SettingSource::built_in;
};

// Makes sure the user's settings folder exists: when it does not, creates its
// two levels (and on Linux the configuration folder above them, where the
// desktop's rules say so; never a folder a variable names) and then pauses
// 100 ms on the program's clock, whether the creation worked or not. true
// when the folder exists afterwards.
bool EnsureSettingFolder();

// Reads both settings, layer by layer, creating nothing. "saveprm" is read
// with room for three characters and converted as atoi does (default 2; no
// digits give 0). An empty "savepath" is the user's own default save folder;
// a missing one falls to the next layer.
LayeredSettings ReadLayeredSettings();

// The values of ReadLayeredSettings, after ensuring the user's folder.
IniSettings LoadIniSettings();

// Writes both keys to the user's file (the command line's change). The
// user's own default save folder is written as an empty "savepath". Fails
// when the folder cannot be made or the file cannot be written.
Status SaveIniSettings(const IniSettings& settings);

// The toolbar's write (OK in the dialog, Exit): `now` against `before`, the
// values this process last took from the files. A key this process changed
// is written; a key the user's file already holds and this process did not
// change is left as the file has it now (another program may have changed
// it); a key neither file holds is written with its value in force, so that
// the user's file exists after the first save. A machine default is never
// copied into the user's file.
Status SaveChangedSettings(const IniSettings& now, const IniSettings& before);

// A change the command line asks for: only the keys given are written.
struct SettingsChange {
  std::optional<OutputFormat> format;
  std::optional<std::string> folder;
};
enum class SettingsTarget { user_file, machine_default };

// Writes the change to the user's file (making its folders as needed) or to
// the machine default (the administrator's deployment: into the machine
// folder, which must exist and be no link; never made here). A save folder
// that is the caller's own default is written empty. Fails without the
// right to write there.
Status StoreSettings(const SettingsChange& change, SettingsTarget target);

// The "saveprm" text as atoi reads it: leading blanks, an optional sign, the
// decimal digits up to the first other character; 0 without digits.
int SavePrmFromText(std::string_view text);

}  // namespace tavlix::settings
