// Where the settings file, the localisation file, the help file and the
// default save folder are.
//
// Each is the folder named by an environment variable (with its Linux
// equivalent, see platform/known_folders.h) followed by a fixed tail, built
// afresh on every call so that a changed environment takes effect at once.
// Texts are 8-bit, in the system's code page. Thread-safe.
#pragma once

#include <string>

namespace tavlix::settings {

inline constexpr const char* kSettingFileName = "TavlixConnect_setup.ini";
inline constexpr const char* kLocFileName = "TavlixConnect_loc.ini";
inline constexpr const char* kHelpFileName = "TavlixConnect_help.html";

// The program data folder, ending with a separator: "<program data>/Orvane
// Tavlix/TavlixConnect/". It holds the settings and the localisation file.
std::string SettingFolderPath();
std::string SettingFilePath();
// The same folder; its presence switches the localised texts on.
std::string LocFolderPath();
std::string LocFilePath();
// The help page (HTML, which the system opens in the browser), under the
// program files folder.
std::string HelpFilePath();

// Where pictures go when no save folder is set: the desktop's picture folder,
// else "<user profile>/Pictures", followed by "/TavlixConnect/" (always with
// the trailing separator). Not created here.
std::string DefaultSaveFolderPath();

}  // namespace tavlix::settings
