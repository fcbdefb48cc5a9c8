// A private world for one settings test: program data (the machine's),
// user data, user profile, XDG configuration and drive table in a fresh
// temporary folder, and a virtual clock so that the 100 ms pause costs
// nothing.
#pragma once

#include <filesystem>
#include <memory>

#include "platform/clock.h"
#include "platform/drives.h"
#include "platform/known_folders.h"
#include "support/odd_files.h"
#include "support/temp_dir.h"

namespace tavlix::test {

class SettingsSandbox {
 public:
  // With `vendor_folder` the program data's "Orvane Tavlix" folder exists, as
  // an installation leaves it; "TavlixConnect" below it never does at first.
  explicit SettingsSandbox(bool vendor_folder = true)
      : all_users_(platform::kAllUsersProfileVariable, (dir_ / "programdata").string()),
        user_data_(platform::kUserDataVariable, (dir_ / "config").string()),
        user_profile_(platform::kUserProfileVariable, (dir_ / "profile").string()),
        config_home_("XDG_CONFIG_HOME", (dir_ / "config").string()),
        drive_table_(platform::kDriveTableVariable, (dir_ / "drives").string()),
        clock_guard_(clock_) {
    std::filesystem::create_directories(dir_ / "programdata");
    std::filesystem::create_directories(dir_ / "config");
    if (vendor_folder) std::filesystem::create_directories(dir_ / "programdata" / "Orvane Tavlix");
    WriteFile(dir_ / "drives", "C fixed System " + SystemRoot("/") + "\n");
  }

  const TempDir& dir() const { return dir_; }
  // The user's folder and file.
  std::filesystem::path SettingFolder() const { return dir_ / "config" / "Orvane Tavlix" / "TavlixConnect"; }
  std::filesystem::path SettingFile() const { return SettingFolder() / "TavlixConnect_setup.ini"; }
  // The machine's folder (made here, as the installation makes it) and files.
  std::filesystem::path MachineFolder() const {
    std::filesystem::create_directories(dir_ / "programdata" / "Orvane Tavlix" / "TavlixConnect");
    return dir_ / "programdata" / "Orvane Tavlix" / "TavlixConnect";
  }
  std::filesystem::path MachineFile() const { return MachineFolder() / "TavlixConnect_setup.ini"; }
  std::filesystem::path LocFile() const { return MachineFolder() / "TavlixConnect_loc.ini"; }
  // Neither the machine's nor the user's folder exists, nor can be made.
  void RemoveDataFolders() const {
    std::filesystem::remove_all(dir_ / "programdata");
    std::filesystem::remove_all(dir_ / "config");
  }
  // The default save folder when no picture folder is configured.
  std::string FallbackSaveFolder() const {
    return (dir_ / "profile" / "Pictures" / "TavlixConnect").string() + "/";
  }
  platform::VirtualClock& clock() { return *clock_; }

  // Plugs a simulated board labelled R-61 into drive E, rooted at `root`.
  void PlugBoard(const std::filesystem::path& root) const {
    WriteFile(dir_ / "drives",
              "C fixed System " + SystemRoot("/") + "\nE removable R-61 " + root.string() + "\n");
  }

 private:
  TempDir dir_;
  ScopedEnv all_users_;
  ScopedEnv user_data_;
  ScopedEnv user_profile_;
  ScopedEnv config_home_;
  ScopedEnv drive_table_;
  std::shared_ptr<platform::VirtualClock> clock_ = std::make_shared<platform::VirtualClock>();
  platform::ScopedClock clock_guard_;
};

}  // namespace tavlix::test
