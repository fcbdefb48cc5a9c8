// The toolbar's start-up, presentation, exit, and one copy per session.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QAction>
#include <QCoreApplication>
#include <QLabel>
#include <QProcess>
#include <QRadioButton>
#include <QSystemTrayIcon>
#include <QThread>
#include <thread>

#include "app/ui_notify_target.h"
#include "board/driver_facade.h"
#include "board/link_state.h"
#include "support/temp_dir.h"
#include "ui_fixture.h"
#include "ui_qt/image_button.h"
#include "ui_qt/notify_target.h"
#include "ui_qt/setting_dialog.h"
#include "ui_qt/single_instance.h"

namespace tavlix::test {
namespace {

using tavlix::ui_qt::Form1;

class Life : public ToolbarTest {};

TEST_F(Life, LoadPlacesTheHiddenToolbarAppliesTheTextsAndStartsTheLink) {
  auto form = MakeForm();
  EXPECT_EQ(form->button_usb_scan->toolTip(), QString());
  form->Form1_Load();
  EXPECT_FALSE(form->isVisible());
  EXPECT_TRUE(form->notifyIcon1->isVisible());
  const QRect desktop = tavlix::ui_qt::DesktopRect();
  EXPECT_EQ(form->pos(),
            QPoint((desktop.x() + desktop.width()) * 9 / 10 - 217, (desktop.y() + desktop.height()) / 10));
  EXPECT_EQ(form->size(), QSize(217, 80));
  EXPECT_EQ(form->button_usb_scan->toolTip(), QString("Scan"));
  EXPECT_EQ(form->button_help->toolTip(), QString("Help"));
  EXPECT_EQ(form->ToolStripMenuItem_showToolbar->text(), QString("Show"));
  EXPECT_EQ(form->ToolStripMenuItem_help->text(), QString("Help"));
  EXPECT_EQ(form->ToolStripMenuItem_close->text(), QString("Exit"));
  EXPECT_FALSE(form->FormSettingObj->radioButton_FileExt_notcare->isVisible());
  EXPECT_NE(board::DriverWorker(), nullptr);
  EXPECT_EQ(board::Link().hWnd_Form.load(), form->Handle());
}

TEST_F(Life, LocalisationFileTextsReachTheControls) {
  std::filesystem::create_directories(sandbox_.SettingFolder());
  WriteFile(sandbox_.LocFile(),
            "[language]\nstr_scan=Scannen\nstr_titl=Einstellungen\nstr_sefo=Ordner\nstr_show=Zeigen\n");
  auto form = MakeForm();
  form->Form1_Load();
  EXPECT_EQ(form->button_usb_scan->toolTip(), QString("Scannen"));
  EXPECT_EQ(form->FormSettingObj->windowTitle(), QString("Einstellungen"));
  EXPECT_EQ(form->FormSettingObj->label_FilePath_SaveTo->text(), QString("Ordner"));
  EXPECT_EQ(form->ToolStripMenuItem_showToolbar->text(), QString("Zeigen"));
}

TEST(LifeWithoutDataFolder, LayoutTextsStayAndNoToolTips) {
  EnsureApplication();
  board::ResetDriverForTests();
  SettingsSandbox sandbox(false);
  sandbox.RemoveDataFolders();  // the data folders cannot be made
  RecordingPresenter presenter;
  Form1 form({&presenter, true, false});
  form.Form1_Load();
  EXPECT_EQ(form.button_usb_scan->toolTip(), QString());
  EXPECT_EQ(form.ToolStripMenuItem_showToolbar->text(), QString("show toolbar"));
  EXPECT_EQ(form.ToolStripMenuItem_close->text(), QString("close"));
  EXPECT_EQ(form.FormSettingObj->windowTitle(), QString("Orvane Tavlix Connect"));
  EXPECT_EQ(form.FormSettingObj->label_FileExt_SaveAs->text(), QString("File format setting"));
  board::ResetDriverForTests();
}

TEST_F(Life, CloseHidesAndALeftPressOnTheTrayBringsItBack) {
  auto form = MakeForm(true);
  form->Form1_Load();
  form->notifyIcon1_MouseDown(Qt::RightButton);
  EXPECT_FALSE(form->isVisible());
  form->notifyIcon1_MouseDown(Qt::LeftButton);
  EXPECT_TRUE(form->isVisible());
  EXPECT_FALSE(form->windowFlags().testFlag(Qt::Tool));  // with a taskbar button
  const QPoint where = form->pos();
  form->button_close->click();
  EXPECT_FALSE(form->isVisible());
  EXPECT_TRUE(form->windowFlags().testFlag(Qt::Tool));
  EXPECT_TRUE(form->notifyIcon1->isVisible());
  // The hidden toolbar still follows the board.
  form->WndProc(board::BOARD_LOST, 1);
  EXPECT_FALSE(form->button_usb_scan->isEnabled());
  form->notifyIcon1_MouseDown(Qt::LeftButton);
  EXPECT_TRUE(form->isVisible());
  EXPECT_EQ(form->pos(), where);
  EXPECT_EQ(board::Link().hWnd_Form.load(), form->Handle());
}

TEST_F(Life, WithoutATrayTheToolbarShowsAtStartAndCloseOnlyMinimises) {
  auto form = MakeForm(false);
  form->Form1_Load();
  EXPECT_TRUE(form->isVisible());
  EXPECT_FALSE(form->notifyIcon1->isVisible());
  EXPECT_FALSE(form->windowFlags().testFlag(Qt::Tool));
  form->button_close->click();
  EXPECT_TRUE(form->isMinimized());
  EXPECT_TRUE(form->isVisible());
}

TEST_F(Life, ExitWritesTheSettingsStopsTheLinkAndEndsTheLoop) {
  auto form = MakeForm();
  form->Form1_Load();
  ASSERT_FALSE(std::filesystem::exists(sandbox_.SettingFile()));
  form->ToolStripMenuItem_close->trigger();
  EXPECT_NE(ReadText(sandbox_.SettingFile()).find("saveprm=2"), std::string::npos);
  EXPECT_EQ(board::Link().hWnd_Form.load(), nullptr);
  EXPECT_FALSE(form->notifyIcon1->isVisible());
}

TEST(QtNotifyTarget, WorkerNotificationRunsOnTheGuiThreadWhileTheSenderWaits) {
  EnsureApplication();
  std::vector<std::pair<int, bool>> seen;
  tavlix::ui_qt::QtUiThread gui_thread;
  tavlix::app::UiNotifyTarget target(gui_thread, [&](int code, std::intptr_t) {
    seen.emplace_back(code, QThread::currentThread() == QCoreApplication::instance()->thread());
  });
  std::atomic<bool> returned{false};
  std::size_t seen_when_returned = 0;
  std::thread worker([&] {
    SendBoardNotify(&target, board::BOARD_FOUND, 1);
    seen_when_returned = seen.size();
    returned = true;
  });
  const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!returned && std::chrono::steady_clock::now() < give_up) QCoreApplication::processEvents();
  worker.join();
  EXPECT_EQ(seen_when_returned, 1u);  // the sender waited for the handler
  // On its own thread the handler runs at once, nested.
  SendBoardNotify(&target, board::BOARD_LOST, 1);
  EXPECT_EQ(seen, (std::vector<std::pair<int, bool>>{{board::BOARD_FOUND, true}, {board::BOARD_LOST, true}}));
  // Closed: nothing is queued any more, so a sender does not wait.
  gui_thread.Close();
  EXPECT_FALSE(target.PostToOwnThread([] {}));
}

TEST(SingleInstance, OneLockPerUserAndASecondProgramShowsTheFirstAndLeaves) {
  EnsureApplication();
  TempDir runtime;
  std::filesystem::permissions(runtime.path(), std::filesystem::perms::owner_all);
  auto first = tavlix::ui_qt::AcquireInstanceLock(runtime.path());
  ASSERT_TRUE(first.held()) << first.error();
  EXPECT_EQ(tavlix::ui_qt::AcquireInstanceLock(runtime.path()).state(), platform::ProcessLock::State::taken);
  // A socket a crashed copy left behind does not stop the running one listening.
  test::WriteFile(runtime / tavlix::ui_qt::kShowSocketName, "");
  int shown = 0;
  const auto requests = tavlix::ui_qt::ShowRequests::Listen(runtime.path(), [&shown] { ++shown; });
  ASSERT_NE(requests, nullptr);

  // The real program, started by the same user, rings and exits 0 without a window.
  QProcess second;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("XDG_RUNTIME_DIR", QString::fromStdString(runtime.path().string()));
  env.insert("QT_QPA_PLATFORM", "offscreen");
  second.setProcessEnvironment(env);
  const auto started = std::chrono::steady_clock::now();
  second.start(TAVLIX_CONNECT_EXE, {});
  ASSERT_TRUE(second.waitForFinished(10000));
  EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(second.exitCode(), 0);
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5));
  EXPECT_TRUE(first.held());
  const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (shown == 0 && std::chrono::steady_clock::now() < give_up)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
  EXPECT_EQ(shown, 1);

  first = tavlix::ui_qt::AcquireInstanceLock(runtime.path() / "elsewhere");  // lets go of the lock
  EXPECT_TRUE(tavlix::ui_qt::AcquireInstanceLock(runtime.path()).held());
}

// A runtime folder that others may write to, that is a link, or that cannot
// be written is passed over: the lock never fails open, and nobody else can
// plant it.
TEST(SingleInstance, AnUnsafeRuntimeFolderIsPassedOverAndTheLockStillHolds) {
  namespace fs = std::filesystem;
  TempDir dir;
  fs::create_directory(dir / "shared");
  fs::permissions(dir / "shared", fs::perms::all);
  fs::create_directory(dir / "readonly");
  fs::permissions(dir / "readonly", fs::perms::owner_read | fs::perms::owner_exec);
  fs::create_directory(dir / "private");
  fs::permissions(dir / "private", fs::perms::owner_all);
  fs::create_directory_symlink(dir / "private", dir / "link");
  for (const char* bad : {"shared", "readonly", "link"}) {
    EXPECT_FALSE(platform::PrivateFolder(dir / bad)) << bad;
    ScopedEnv runtime("XDG_RUNTIME_DIR", (dir / bad).string());
    const auto folder = platform::UserRuntimeFolder();
    ASSERT_TRUE(folder) << folder.error();
    EXPECT_NE(*folder, dir / bad);
    auto first = tavlix::ui_qt::AcquireInstanceLock();
    ASSERT_TRUE(first.held()) << bad << ": " << first.error();
    const auto second = tavlix::ui_qt::AcquireInstanceLock();
    EXPECT_EQ(second.state(), platform::ProcessLock::State::taken) << bad;
    EXPECT_EQ(second.holder().pid, ::getpid());
    EXPECT_EQ(second.holder().program, "TavlixConnect");
  }
  EXPECT_TRUE(fs::is_empty(dir / "shared"));
  EXPECT_TRUE(fs::is_empty(dir / "private"));
}

}  // namespace
}  // namespace tavlix::test
