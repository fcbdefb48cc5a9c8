#include <gtest/gtest.h>

#include <filesystem>

#include "cli/cli_run.h"
#include "cli/command_line.h"
#include "settings/settings_sandbox.h"
#include "support/odd_files.h"

namespace tavlix::cli {
namespace {

namespace fs = std::filesystem;

bool Has(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

TEST(SettingsCommand, ShowsTheSettingsAsLoadedAndWhereEachComesFrom) {
  if (!test::kXdgFolders) GTEST_SKIP() << "the Linux folders (XDG, HOME); Windows takes its known folders";
  test::SettingsSandbox sandbox;
  CliRun run = Tavlix({"settings"});
  EXPECT_EQ(run.status, kExitOk) << run.err;
  EXPECT_TRUE(Has(run.out, "Settings file: " + sandbox.SettingFile().string() + " (not present)\n"))
      << run.out;
  EXPECT_TRUE(Has(run.out, "Format:        2 (PNG)  [built-in default]\n")) << run.out;
  EXPECT_TRUE(Has(run.out, "Save folder:   " + sandbox.FallbackSaveFolder() + "  [built-in default]\n"))
      << run.out;

  test::WriteFile(sandbox.MachineFile(), "[setting]\nsaveprm=1\nsavepath=/share\n");
  test::WriteFile(sandbox.SettingFile(), "[setting]\nsaveprm=7\n");
  run = Tavlix({"settings"});
  EXPECT_TRUE(Has(run.out, "Machine file:  " + sandbox.MachineFile().string() + "\n")) << run.out;
  EXPECT_TRUE(Has(run.out, "Format:        7 (not a known format; pictures are saved as PDF)  [user file]\n"))
      << run.out;
  EXPECT_TRUE(Has(run.out, "Save folder:   /share  [machine default]\n")) << run.out;
}

TEST(SettingsCommand, MachineStoresTheDefaultWhereTheRightsAllow) {
  test::SettingsSandbox sandbox;
  const fs::path share = sandbox.dir() / "share";
  fs::create_directory(share);
  // No machine folder (the installation makes it, with the rights to it).
  CliRun run = Tavlix({"settings", "--machine", "--format", "jpeg"});
  EXPECT_EQ(run.status, kExitFailure);
  EXPECT_TRUE(Has(run.err, "not stored: the machine settings folder")) << run.err;
  if (test::kHasPermissionBits && !test::IgnoresPermissions()) {
    fs::permissions(sandbox.MachineFolder(), fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_EQ(Tavlix({"settings", "--machine", "--format", "jpeg"}).status, kExitFailure);
    fs::permissions(sandbox.MachineFolder(), fs::perms::owner_all);
  }

  sandbox.MachineFolder();
  run = Tavlix({"settings", "--machine", "--format", "jpeg", "--save-to", share.string()});
  ASSERT_EQ(run.status, kExitOk) << run.err;
  EXPECT_TRUE(Has(run.out, "Machine default stored.\n")) << run.out;
  EXPECT_TRUE(Has(run.out, "[machine default]")) << run.out;
  EXPECT_EQ(test::ReadText(sandbox.MachineFile()), "[setting]\nsaveprm=1\nsavepath=" + share.string() + "\n");
  EXPECT_FALSE(fs::exists(sandbox.SettingFile())) << "the user's file is not touched";
}

TEST(SettingsCommand, StoresFormatAndFolderThroughTheSettingsFile) {
  test::SettingsSandbox sandbox;
  const fs::path pictures = sandbox.dir() / "pictures";
  fs::create_directory(pictures);
  CliRun run = Tavlix({"settings", "--format", "jpeg", "--save-to", pictures.string()});
  ASSERT_EQ(run.status, kExitOk) << run.err;
  EXPECT_EQ(test::ReadText(sandbox.SettingFile()),
            "[setting]\nsaveprm=1\nsavepath=" + pictures.string() + "\n");
  EXPECT_TRUE(Has(run.out, "Format:        1 (JPEG)  [user file]\n")) << run.out;

  run = Tavlix({"settings", "--format=board"});
  ASSERT_EQ(run.status, kExitOk) << run.err;
  EXPECT_EQ(test::ReadText(sandbox.SettingFile()),
            "[setting]\nsaveprm=0\nsavepath=" + pictures.string() + "\n")
      << "the folder stays";
}

TEST(SettingsCommand, RefusesAFolderOnTheBoardAndChangesNothing) {
  test::SettingsSandbox sandbox;
  const fs::path board = sandbox.dir() / "board";
  fs::create_directories(board / "sub");
  sandbox.PlugBoard(board);
  fs::create_directories(sandbox.SettingFolder());
  test::WriteFile(sandbox.SettingFile(), "[setting]\nsaveprm=2\nsavepath=/before\n");

  CliRun run = Tavlix({"settings", "--format", "pdf", "--save-to", (board / "sub").string()});
  EXPECT_EQ(run.status, kExitFailure);
  EXPECT_TRUE(Has(run.err, "Couldn't setup selected folder.\n")) << run.err;
  EXPECT_TRUE(Has(run.err, "on the board's drive")) << run.err;
  EXPECT_EQ(test::ReadText(sandbox.SettingFile()), "[setting]\nsaveprm=2\nsavepath=/before\n");

  test::WriteFile(sandbox.LocFile(), "[language]\nstr_nofo=Ordner nicht nutzbar.\n");
  run = Tavlix({"settings", "--save-to", (sandbox.dir() / "missing").string()});
  EXPECT_EQ(run.status, kExitFailure);
  EXPECT_TRUE(Has(run.err, "Ordner nicht nutzbar.\n")) << run.err;
  EXPECT_EQ(test::ReadText(sandbox.SettingFile()), "[setting]\nsaveprm=2\nsavepath=/before\n");
}

TEST(SettingsCommand, SaysSoWhenTheSettingsCannotBeStored) {
  test::SettingsSandbox sandbox(/*vendor_folder=*/false);
  sandbox.RemoveDataFolders();  // nowhere to keep them
  const CliRun run = Tavlix({"settings", "--format", "png"});
  EXPECT_EQ(run.status, kExitFailure);
  EXPECT_TRUE(Has(run.err, "not stored")) << run.err;
}

TEST(SettingsCommand, UsageErrors) {
  test::SettingsSandbox sandbox;
  EXPECT_EQ(Tavlix({"settings", "--help"}).status, kExitOk);
  EXPECT_TRUE(Has(Tavlix({"--help"}).out, "settings"));
  const CliRun unknown = Tavlix({"settings", "--format", "gif"});
  EXPECT_EQ(unknown.status, kExitUsage);
  EXPECT_TRUE(Has(unknown.err, "'gif' is not png, jpeg, pdf or board")) << unknown.err;
  EXPECT_EQ(Tavlix({"settings", "--save-to"}).status, kExitUsage);
  EXPECT_EQ(Tavlix({"settings", "extra"}).status, kExitUsage);
  EXPECT_FALSE(fs::exists(sandbox.SettingFile())) << "bad usage stores nothing";
}

}  // namespace
}  // namespace tavlix::cli
