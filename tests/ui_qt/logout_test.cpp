// The end of the desktop session: the real program, sent SIGTERM, ends as
// Exit does.
#include <gtest/gtest.h>
#include <signal.h>

#include <QProcess>
#include <filesystem>

#include "board/collector_lock.h"
#include "platform/process_lock.h"
#include "settings/settings_paths.h"
#include "support/temp_dir.h"
#include "ui_fixture.h"

namespace tavlix::test {
namespace {

namespace fs = std::filesystem;

// Another collector holds the board from the start: the toolbar's notice of
// it holds up neither the start nor the end.
TEST(Logout, TerminateEndsTheToolbarAsExitDoesAndTheSettingsAreSaved) {
  EnsureApplication();
  TempDir dir;
  fs::create_directory(dir / "run");
  fs::permissions(dir / "run", fs::perms::owner_all);
  fs::create_directory(dir / "data");
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("XDG_RUNTIME_DIR", QString::fromStdString((dir / "run").string()));
  env.insert("AllUsersProfile", QString::fromStdString((dir / "data").string()));
  env.insert("APPDATA", QString::fromStdString((dir / "data").string()));
  env.insert("HOME", QString::fromStdString(dir.path().string()));
  env.insert("TAVLIX_DRIVE_TABLE", QString::fromStdString((dir / "drives.txt").string()));
  if (!env.contains("QT_QPA_PLATFORM")) env.insert("QT_QPA_PLATFORM", "offscreen");
  fs::create_directory(dir / "board");
  const std::string root = (dir / "board").string() + "/";
  WriteFile(dir / "drives.txt", "E removable R-61 " + root + "\n");
  const auto collector =
      platform::ProcessLock::TryTake(dir / "run", board::CollectorLockName(root), "tavlix watch");
  ASSERT_TRUE(collector.held()) << collector.error();

  QProcess toolbar;
  toolbar.setProcessEnvironment(env);
  // Started with SIGTERM blocked, the program holds the signal until it
  // listens for it: no race with its start-up, and without the listening it
  // would never end.
  toolbar.setChildProcessModifier([] {
    sigset_t term;
    sigemptyset(&term);
    sigaddset(&term, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &term, nullptr);
  });
  toolbar.start(TAVLIX_CONNECT_EXE, {});
  ASSERT_TRUE(toolbar.waitForStarted(10000));
  ASSERT_EQ(::kill(static_cast<pid_t>(toolbar.processId()), SIGTERM), 0);
  const bool finished = toolbar.waitForFinished(20000);
  if (!finished) toolbar.kill();
  ASSERT_TRUE(finished) << toolbar.readAllStandardError().toStdString();
  EXPECT_EQ(toolbar.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(toolbar.exitCode(), 0);

  ScopedEnv data("APPDATA", (dir / "data").string());
  EXPECT_TRUE(fs::is_regular_file(settings::SettingFilePath()));
}

}  // namespace
}  // namespace tavlix::test
