// The settings file: the output format and the save folder, kept from one run
// to the next in section "setting" of TavlixConnect_setup.ini.
//
// Plain functions the main window (and the command line) call on their own
// thread; each builds its paths afresh. Loading never fails: whatever is
// missing or unreadable takes its default.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/result.h"
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
};

// Makes sure the program data folder exists: when it does not, creates that
// one folder (never its parents) and then pauses 100 ms on the program's
// clock, whether the creation worked or not. true when the folder exists
// afterwards.
bool EnsureSettingFolder();

// Reads both settings. "saveprm" is read with room for three characters and
// converted as atoi does (default 2; no digits give 0); an empty or missing
// "savepath" gives the default save folder. Ensures the program data folder
// first.
IniSettings LoadIniSettings();

// Writes both keys, also when nothing changed, so that the file exists after
// the first save. "saveprm" is written as the full decimal value. Ensures the
// program data folder first. Fails when the folder is missing or the file
// cannot be written (the window ignores that; the command line reports it).
Status SaveIniSettings(const IniSettings& settings);

// The "saveprm" text as atoi reads it: leading blanks, an optional sign, the
// decimal digits up to the first other character; 0 without digits.
int SavePrmFromText(std::string_view text);

}  // namespace tavlix::settings
