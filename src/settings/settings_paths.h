// Where the settings file, the localisation file, the help file and the
// default save folder are.
//
// Each is the folder named by an environment variable (with its Linux
// equivalent, see platform/known_folders.h) followed by a fixed tail, built
// afresh on every call so that a changed environment takes effect at once.
// Texts are UTF-8. Thread-safe.
#pragma once

#include <string>

namespace tavlix::settings {

inline constexpr const char* kSettingFileName = "TavlixConnect_setup.ini";
inline constexpr const char* kLocFileName = "TavlixConnect_loc.ini";
inline constexpr const char* kHelpFileName = "TavlixConnect_help.html";

// The user's folder, ending with a separator: "<user data>/Orvane Tavlix/
// TavlixConnect/". It holds the user's settings file, which every change goes to.
std::string SettingFolderPath();
std::string SettingFilePath();
// The machine's folder, ending with a separator: "<program data>/Orvane
// Tavlix/TavlixConnect/" (on Linux the first XDG configuration folder that
// has one, else the first of them). It holds the machine default settings
// and the localisation file, which are the administrator's.
std::string MachineFolderPath();
std::string MachineSettingFilePath();
// The machine folder; its presence switches the localised texts on.
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
