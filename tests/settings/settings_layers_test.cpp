#include <gtest/gtest.h>

#include <filesystem>

#include "settings/localised_texts.h"
#include "settings/settings_file.h"
#include "settings/settings_paths.h"
#include "settings_sandbox.h"
#include "support/odd_files.h"

namespace tavlix::settings {
namespace {

namespace fs = std::filesystem;

TEST(SettingsLayers, UserFileOverMachineDefaultKeyByKey) {
  test::SettingsSandbox sandbox;
  const std::string own = DefaultSaveFolderPath();
  LayeredSettings read = ReadLayeredSettings();
  EXPECT_EQ(read.format_source, SettingSource::built_in);
  EXPECT_EQ(read.values.Setting_ImgSaveTo_FolderPath, own);

  test::WriteFile(sandbox.MachineFile(), "[setting]\nsaveprm=3\nsavepath=/share/room12\n");
  fs::create_directories(sandbox.SettingFolder());
  test::WriteFile(sandbox.SettingFile(), "[setting]\nsaveprm=1\n");
  read = ReadLayeredSettings();
  EXPECT_EQ(read.values.Setting_SavePrm, OutputFormat::jpeg);
  EXPECT_EQ(read.format_source, SettingSource::user_file);
  EXPECT_EQ(read.values.Setting_ImgSaveTo_FolderPath, "/share/room12");
  EXPECT_EQ(read.folder_source, SettingSource::machine_default);

  // An empty folder in the user's file is the user's own, whatever the machine says.
  test::WriteFile(sandbox.SettingFile(), "[setting]\nsavepath=\n");
  read = ReadLayeredSettings();
  EXPECT_EQ(read.values.Setting_SavePrm, OutputFormat::pdf);
  EXPECT_EQ(read.values.Setting_ImgSaveTo_FolderPath, own);
  EXPECT_EQ(read.folder_source, SettingSource::user_file);
}

TEST(SettingsLayers, WritesGoToTheUserFileAndNeverPinTheMachineOrOwnFolder) {
  test::SettingsSandbox sandbox;
  const std::string machine = "[setting]\nsaveprm=3\nsavepath=/share/room12\n";
  test::WriteFile(sandbox.MachineFile(), machine);
  const IniSettings loaded = LoadIniSettings();

  // Nothing changed: neither machine value is copied into the user's file.
  ASSERT_TRUE(SaveChangedSettings(loaded, loaded).ok());
  EXPECT_FALSE(fs::exists(sandbox.SettingFile()));

  // The user picks the own default folder: stored empty; another program's
  // format stays, as this process did not change the format.
  test::WriteFile(sandbox.SettingFile(), "[setting]\nsaveprm=1\n");
  IniSettings now = loaded;
  now.Setting_ImgSaveTo_FolderPath = DefaultSaveFolderPath();
  ASSERT_TRUE(SaveChangedSettings(now, loaded).ok());
  EXPECT_EQ(test::ReadText(sandbox.SettingFile()), "[setting]\nsaveprm=1\nsavepath=\n");
  EXPECT_EQ(test::ReadText(sandbox.MachineFile()), machine);

  // Without any file, the first save leaves a user's file behind.
  fs::remove(sandbox.MachineFile());
  fs::remove(sandbox.SettingFile());
  const IniSettings defaults = LoadIniSettings();
  ASSERT_TRUE(SaveChangedSettings(defaults, defaults).ok());
  EXPECT_EQ(test::ReadText(sandbox.SettingFile()), "[setting]\nsaveprm=2\nsavepath=\n");
}

TEST(SettingsLayers, AMachineFileOrFolderBehindALinkIsNotRead) {
  test::SettingsSandbox sandbox;
  if (!test::MakesLinksIn(sandbox.dir().path())) GTEST_SKIP() << "this system makes no links here";
  fs::create_directories(sandbox.dir() / "elsewhere");
  test::WriteFile(sandbox.dir() / "elsewhere" / kSettingFileName,
                  "[setting]\nsaveprm=0\nsavepath=\\\\x\\y\n");
  ASSERT_TRUE(test::MakeSymlink(sandbox.dir() / "elsewhere" / kSettingFileName, sandbox.MachineFile()));
  EXPECT_EQ(ReadLayeredSettings().format_source, SettingSource::built_in) << "the file is a link";

  fs::remove(sandbox.MachineFile());
  fs::remove(sandbox.MachineFolder());
  ASSERT_TRUE(test::MakeSymlink(sandbox.dir() / "elsewhere",
                                sandbox.dir() / "programdata" / "Orvane Tavlix" / "TavlixConnect"));
  test::WriteFile(sandbox.dir() / "elsewhere" / kLocFileName, "[language]\nstr_scan=Phish\n");
  EXPECT_EQ(ReadLayeredSettings().format_source, SettingSource::built_in) << "the folder is a link";
  EXPECT_EQ(LoadLocalisedTexts().tooltip_button_usb_scan, "Scan") << "nor the text table there";
  EXPECT_FALSE(StoreSettings({OutputFormat::pdf, std::nullopt}, SettingsTarget::machine_default).ok());
}

}  // namespace
}  // namespace tavlix::settings
