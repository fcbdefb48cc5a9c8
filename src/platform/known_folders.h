// The folders the program's files live in, from the environment variables
// the program has always used, with Linux equivalents where they are not set.
//
// A variable that is set to a non-empty value always wins (tests point them
// at temporary folders). Otherwise:
//   program data  "AllUsersProfile"  the first of $XDG_CONFIG_DIRS, else /etc/xdg
//   user data     "APPDATA"          $XDG_CONFIG_HOME, else ~/.config
//   program files "ProgramFiles"     the installed data folder (TAVLIX_DATA_DIR)
//   user profile  "USERPROFILE"      $HOME, else the account's home folder
// The program data folder is the machine's (the administrator's: read, never
// written by the program); the user data folder is the user's own.
// The result is the empty text when nothing names the folder, so that a path
// built on it starts from the root, as with an unset variable. Folders are
// returned as found, with or without a trailing separator. Each call reads the
// environment afresh; nothing is cached. Thread-safe (as GetEnv is).
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tavlix::platform {

inline constexpr const char* kAllUsersProfileVariable = "AllUsersProfile";
inline constexpr const char* kProgramFilesVariable = "ProgramFiles";
inline constexpr const char* kUserProfileVariable = "USERPROFILE";
inline constexpr const char* kUserDataVariable = "APPDATA";

std::string ProgramDataFolder();
// Every machine folder a machine file may be in, most important first: the
// program data folder, and on Linux the further $XDG_CONFIG_DIRS entries
// (relative ones are ignored, as the XDG rules say).
std::vector<std::string> ProgramDataFolders();
std::string UserDataFolder();
// Makes the user data folder where the system's own rules have programs make
// it: on Linux the XDG configuration folder (mode 0700, its parent must
// exist) when no "APPDATA" names another; a folder that a variable names, or
// Windows' own, is never made. true when the folder exists after.
bool MakeUserDataFolder();
std::string ProgramFilesFolder();
std::string UserProfileFolder();

// The desktop's picture folder, without creating it: on Linux the
// XDG_PICTURES_DIR of user-dirs.dirs in the XDG configuration folder. nullopt
// when none is configured; callers then fall back on the user profile.
std::optional<std::string> UserPicturesFolder();

}  // namespace tavlix::platform
