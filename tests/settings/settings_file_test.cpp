#include "settings/settings_file.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "settings/settings_paths.h"
#include "settings_sandbox.h"
#include "support/odd_files.h"

namespace tavlix::settings {
namespace {

namespace fs = std::filesystem;
using platform::Millis;

TEST(SettingsPaths, BuiltFromTheEnvironmentEachTime) {
  if (!test::kXdgFolders) GTEST_SKIP() << "the Linux folders (XDG, HOME); Windows takes its known folders";
  test::SettingsSandbox sandbox;
  const std::string user = sandbox.dir().path().string() + "/config/Orvane Tavlix/TavlixConnect/";
  const std::string data = sandbox.dir().path().string() + "/programdata/Orvane Tavlix/TavlixConnect/";
  EXPECT_EQ(SettingFolderPath(), user);
  EXPECT_EQ(SettingFilePath(), user + "TavlixConnect_setup.ini");
  EXPECT_EQ(MachineSettingFilePath(), data + "TavlixConnect_setup.ini");
  EXPECT_EQ(LocFolderPath(), data);
  EXPECT_EQ(LocFilePath(), data + "TavlixConnect_loc.ini");
  {
    test::ScopedEnv trailing(platform::kAllUsersProfileVariable, "/pd/");
    EXPECT_EQ(MachineSettingFilePath(), "/pd/Orvane Tavlix/TavlixConnect/TavlixConnect_setup.ini");
  }
  {
    // Without AllUsersProfile: the XDG system folders, the first holding ours.
    test::ScopedEnv all_users(platform::kAllUsersProfileVariable, "");
    const std::string second = sandbox.dir().path().string() + "/xdg2";
    test::ScopedEnv dirs("XDG_CONFIG_DIRS", "relative:/xdg1:" + second);
    EXPECT_EQ(MachineFolderPath(), "/xdg1/Orvane Tavlix/TavlixConnect/");
    fs::create_directories(second + "/Orvane Tavlix/TavlixConnect");
    EXPECT_EQ(MachineFolderPath(), second + "/Orvane Tavlix/TavlixConnect/");
    test::ScopedEnv no_dirs("XDG_CONFIG_DIRS", "");
    EXPECT_EQ(MachineFolderPath(), "/etc/xdg/Orvane Tavlix/TavlixConnect/");
  }
  test::ScopedEnv program_files(platform::kProgramFilesVariable, "/pf");
  EXPECT_EQ(HelpFilePath(), "/pf/Orvane Tavlix/TavlixConnect/TavlixConnect_help.html");
}

TEST(SettingsPaths, DefaultSaveFolderIsThePictureFolderElseTheProfiles) {
  if (!test::kXdgFolders) GTEST_SKIP() << "the Linux folders (XDG, HOME); Windows takes its known folders";
  test::SettingsSandbox sandbox;
  EXPECT_EQ(DefaultSaveFolderPath(), sandbox.FallbackSaveFolder()) << "no picture folder configured";
  fs::create_directories(sandbox.dir() / "config");
  test::WriteFile(sandbox.dir() / "config" / "user-dirs.dirs", "XDG_PICTURES_DIR=\"/data/Bilder\"\n");
  EXPECT_EQ(DefaultSaveFolderPath(), "/data/Bilder/TavlixConnect/");
}

TEST(SettingsFile, FirstRunGivesDefaultsAndCreatesTheFolderWithAPause) {
  if (!test::kXdgFolders) GTEST_SKIP() << "the Linux folders (XDG, HOME); Windows takes its known folders";
  test::SettingsSandbox sandbox;
  const IniSettings loaded = LoadIniSettings();
  EXPECT_EQ(FormatCode(loaded.Setting_SavePrm), 2);
  EXPECT_EQ(loaded.Setting_ImgSaveTo_FolderPath, sandbox.FallbackSaveFolder());
  EXPECT_TRUE(fs::is_directory(sandbox.SettingFolder()));
  EXPECT_EQ(sandbox.clock().TotalSlept(), Millis(100));
  EXPECT_FALSE(fs::exists(sandbox.SettingFile())) << "loading writes nothing";

  LoadIniSettings();
  EXPECT_EQ(sandbox.clock().TotalSlept(), Millis(100)) << "no pause once the folder exists";
}

TEST(SettingsFile, FirstRunOnADesktopMakesTheVendorFolderToo) {
  test::SettingsSandbox sandbox(/*vendor_folder=*/false);
  EXPECT_EQ(FormatCode(LoadIniSettings().Setting_SavePrm), 2);
  EXPECT_TRUE(fs::is_directory(sandbox.SettingFolder()));
  EXPECT_TRUE(SaveIniSettings({OutputFormat::pdf, "/x"}).ok());
  EXPECT_EQ(FormatCode(LoadIniSettings().Setting_SavePrm), 3);
  if (!test::kXdgFolders) return;
  // A fresh account has no configuration folder yet: it is made, private.
  test::ScopedEnv user_data(platform::kUserDataVariable, "");
  test::ScopedEnv config_home("XDG_CONFIG_HOME", (sandbox.dir() / "fresh").string());
  EXPECT_TRUE(SaveIniSettings({OutputFormat::jpeg, "/y"}).ok());
  EXPECT_EQ(fs::status(sandbox.dir() / "fresh").permissions(), fs::perms::owner_all);
  EXPECT_EQ(FormatCode(LoadIniSettings().Setting_SavePrm), 1);
}

TEST(SettingsFile, NothingIsCreatedWithoutTheDataFolders) {
  test::SettingsSandbox sandbox(/*vendor_folder=*/false);
  sandbox.RemoveDataFolders();
  const IniSettings loaded = LoadIniSettings();
  EXPECT_EQ(FormatCode(loaded.Setting_SavePrm), 2);
  EXPECT_EQ(sandbox.clock().TotalSlept(), Millis(100)) << "the pause comes whether or not creation worked";
  EXPECT_FALSE(SaveIniSettings({OutputFormat::pdf, "/x"}).ok());
  EXPECT_FALSE(StoreSettings({OutputFormat::pdf, std::nullopt}, SettingsTarget::machine_default).ok())
      << "the machine folder is the installation's to make";
  EXPECT_FALSE(fs::exists(sandbox.dir() / "programdata"));
  EXPECT_FALSE(fs::exists(sandbox.dir() / "config"));
}

TEST(SettingsFile, SavePrmReadsAtMostThreeCharactersAsAtoiDoes) {
  test::SettingsSandbox sandbox;
  fs::create_directories(sandbox.SettingFolder());
  const std::pair<const char*, int> cases[] = {
      {"1", 1},   {"3", 3},  {"0", 0},  {"00002", 0}, {"12345", 123}, {"abc", 0}, {"", 0},
      {"-5", -5}, {"+4", 4}, {"2x", 2}, {"7", 7},     {"\"9\"", 9},   {" 1 ", 1}, {"-123", -12},
  };
  for (const auto& [text, expected] : cases) {
    test::WriteFile(sandbox.SettingFile(), std::string("[setting]\nsaveprm=") + text + "\n");
    EXPECT_EQ(FormatCode(LoadIniSettings().Setting_SavePrm), expected) << "saveprm=" << text;
  }
  test::WriteFile(sandbox.SettingFile(), "[setting]\nsavepath=/p\n[other]\nsaveprm=1\n");
  EXPECT_EQ(FormatCode(LoadIniSettings().Setting_SavePrm), 2) << "key in another section";
}

TEST(SettingsFile, SavePrmConversionNeverOverflows) {
  EXPECT_EQ(SavePrmFromText("  \t42"), 42);
  EXPECT_EQ(SavePrmFromText("99999999999999"), 2147483647);
  EXPECT_EQ(SavePrmFromText("-99999999999999"), -2147483647 - 1);
  EXPECT_EQ(SavePrmFromText("- 1"), 0);
}

TEST(SettingsFile, SavePathIsTakenAsStoredAndCut) {
  if (!test::kXdgFolders) GTEST_SKIP() << "the Linux folders (XDG, HOME); Windows takes its known folders";
  test::SettingsSandbox sandbox;
  fs::create_directories(sandbox.SettingFolder());
  test::WriteFile(sandbox.SettingFile(), "[setting]\nsavepath=/no/such/folder\n");
  EXPECT_EQ(LoadIniSettings().Setting_ImgSaveTo_FolderPath, "/no/such/folder");
  test::WriteFile(sandbox.SettingFile(), "[setting]\nsavepath=/" + std::string(1100, 'p') + "\n");
  EXPECT_EQ(LoadIniSettings().Setting_ImgSaveTo_FolderPath, "/" + std::string(1022, 'p'));
  test::WriteFile(sandbox.SettingFile(), "[setting]\nsavepath=\n");
  EXPECT_EQ(LoadIniSettings().Setting_ImgSaveTo_FolderPath, sandbox.FallbackSaveFolder());
}

TEST(SettingsFile, SaveWritesBothKeysEveryTimeAndKeepsTheRest) {
  if (!test::kXdgFolders) GTEST_SKIP() << "the Linux folders (XDG, HOME); Windows takes its known folders";
  test::SettingsSandbox sandbox;
  const IniSettings unchanged = LoadIniSettings();
  ASSERT_TRUE(SaveIniSettings(unchanged).ok());
  EXPECT_EQ(test::ReadText(sandbox.SettingFile()), "[setting]\nsaveprm=2\nsavepath=\n")
      << "the own default folder is stored empty";

  fs::remove(sandbox.SettingFile());
  ASSERT_TRUE(SaveIniSettings(unchanged).ok());
  EXPECT_TRUE(fs::exists(sandbox.SettingFile())) << "written again although nothing changed";

  test::WriteFile(sandbox.SettingFile(), "; mine\r\n[setting]\r\nsaveprm=1\r\nwindow=3\r\n[x]\r\ny=z\r\n");
  ASSERT_TRUE(SaveIniSettings({FormatFromCode(12), " /pics with blanks "}).ok());
  EXPECT_EQ(
      test::ReadText(sandbox.SettingFile()),
      "; mine\r\n[setting]\r\nsaveprm=12\r\nwindow=3\r\nsavepath=\" /pics with blanks \"\r\n[x]\r\ny=z\r\n");
  const IniSettings back = LoadIniSettings();
  EXPECT_EQ(FormatCode(back.Setting_SavePrm), 12) << "two digits are written whole";
  EXPECT_EQ(back.Setting_ImgSaveTo_FolderPath, " /pics with blanks ");
}

}  // namespace
}  // namespace tavlix::settings
