#include "platform/known_folders.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/odd_files.h"
#include "support/temp_dir.h"

namespace tavlix::platform {
namespace {

// Set variables winning is seen through the settings paths; here the
// Linux side. Empty variables count as unset, which lets a test clear one.
TEST(KnownFolders, UnsetVariablesMapToTheXdgAndHomeFolders) {
  if (!test::kXdgFolders) GTEST_SKIP() << "the Linux folders (XDG, HOME); Windows takes its known folders";
  test::ScopedEnv all_users(kAllUsersProfileVariable, "");
  test::ScopedEnv user_data(kUserDataVariable, "");
  test::ScopedEnv program_files(kProgramFilesVariable, "");
  test::ScopedEnv user_profile(kUserProfileVariable, "");
  test::ScopedEnv home("HOME", "/home/u");
  {
    test::ScopedEnv config("XDG_CONFIG_HOME", "/cfg");
    EXPECT_EQ(UserDataFolder(), "/cfg");
  }
  {
    test::ScopedEnv config("XDG_CONFIG_HOME", "relative/cfg");
    EXPECT_EQ(UserDataFolder(), "/home/u/.config") << "a relative XDG folder is ignored";
  }
  EXPECT_EQ(UserProfileFolder(), "/home/u");
  const std::filesystem::path program_files_folder = ProgramFilesFolder();
  EXPECT_TRUE(program_files_folder.is_absolute()) << program_files_folder;
}

TEST(KnownFolders, PicturesFolderComesFromTheUserDirsFile) {
  if (!test::kXdgFolders) GTEST_SKIP() << "the Linux folders (XDG, HOME); Windows takes its known folders";
  test::TempDir dir;
  test::ScopedEnv config("XDG_CONFIG_HOME", dir.path().string());
  test::ScopedEnv home("HOME", "/home/u");
  const auto file = dir / "user-dirs.dirs";
  EXPECT_EQ(UserPicturesFolder(), std::nullopt) << "no file";

  struct Case {
    const char* content;
    std::optional<std::string> expected;
  };
  const Case cases[] = {
      {"# written by xdg-user-dirs-update\nXDG_PICTURES_DIR=\"$HOME/Bilder\"\n", "/home/u/Bilder"},
      {"XDG_PICTURES_DIR=\"/data/pics/\"\n", "/data/pics"},
      {"XDG_PICTURES_DIR=\"$HOME/My \\\"Best\\\" Pictures\"", "/home/u/My \"Best\" Pictures"},
      {"XDG_PICTURES_DIR=\"$HOME/a\"\nXDG_PICTURES_DIR=\"$HOME/b\"\n", "/home/u/b"},
      {"XDG_DESKTOP_DIR=\"$HOME/Desktop\"\n", std::nullopt},
      {"XDG_PICTURES_DIR=\"relative/pics\"\n", std::nullopt},
      {"XDG_PICTURES_DIR=\"$HOMEWORK/pics\"\n", std::nullopt},
      {"XDG_PICTURES_DIR=\"/unterminated\n", std::nullopt},
      {"#XDG_PICTURES_DIR=\"/commented\"\n", std::nullopt},
  };
  for (const auto& c : cases) {
    test::WriteFile(file, c.content);
    EXPECT_EQ(UserPicturesFolder(), c.expected) << c.content;
  }
}

}  // namespace
}  // namespace tavlix::platform
