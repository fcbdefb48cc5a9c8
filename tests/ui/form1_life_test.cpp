// The toolbar's start-up, presentation, exit, and one copy per session.
#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QLabel>
#include <QProcess>
#include <QRadioButton>
#include <QSystemTrayIcon>
#include <QThread>
#include <thread>

#include "board/driver_facade.h"
#include "board/link_state.h"
#include "support/temp_dir.h"
#include "ui/form_setting.h"
#include "ui/image_button.h"
#include "ui/qt_notify_target.h"
#include "ui/single_instance.h"
#include "ui/toolbar_geometry.h"
#include "ui_fixture.h"

namespace tavlix::test {
namespace {

using TavlixSoft::Form1;

class Life : public ToolbarTest {};

TEST_F(Life, LoadPlacesTheHiddenToolbarAppliesTheTextsAndStartsTheLink) {
  auto form = MakeForm();
  EXPECT_EQ(form->button_usb_scan->toolTip(), QString());
  form->Form1_Load();
  EXPECT_FALSE(form->isVisible());
  EXPECT_TRUE(form->notifyIcon1->isVisible() || !QSystemTrayIcon::isSystemTrayAvailable());
  const QRect desktop = TavlixSoft::DesktopRect();
  EXPECT_EQ(form->pos(),
            TavlixSoft::ToolbarPlacement(desktop.x() + desktop.width(), desktop.y() + desktop.height(), 217));
  EXPECT_EQ(form->size(), QSize(217, 80));
  EXPECT_TRUE(form->Loc.loc_flg);
  EXPECT_EQ(form->button_usb_scan->toolTip(), QString("Scan"));
  EXPECT_EQ(form->button_help->toolTip(), QString("Help"));
  EXPECT_EQ(form->ToolStripMenuItem_showToolbar->text(), QString("Show"));
  EXPECT_EQ(form->ToolStripMenuItem_help->text(), QString("Help"));
  EXPECT_EQ(form->ToolStripMenuItem_close->text(), QString("Exit"));
  EXPECT_FALSE(form->FormSettingObj->radioButton_FileExt_notcare->isVisible());
  EXPECT_EQ(form->Setting_SavePrm, 2);
  EXPECT_EQ(form->Setting_ImgSaveTo_FolderPath, sandbox_.FallbackSaveFolder());
  EXPECT_NE(DriverWorker(), nullptr);
  EXPECT_EQ(Link().hWnd_Form.load(), form->Handle());
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
  EXPECT_EQ(form->Loc.msg_errore4, "(E4 ERROR)Read error.");
}

TEST(LifeWithoutDataFolder, LayoutTextsStayAndNoToolTips) {
  EnsureApplication();
  ResetDriverForTests();
  SettingsSandbox sandbox(false);
  std::filesystem::remove_all(sandbox.dir() / "programdata");  // the data folder cannot be made
  RecordingPresenter presenter;
  Form1 form({&presenter, true, false});
  form.Form1_Load();
  EXPECT_FALSE(form.Loc.loc_flg);
  EXPECT_EQ(form.button_usb_scan->toolTip(), QString());
  EXPECT_EQ(form.ToolStripMenuItem_showToolbar->text(), QString("show toolbar"));
  EXPECT_EQ(form.ToolStripMenuItem_close->text(), QString("close"));
  EXPECT_EQ(form.FormSettingObj->windowTitle(), QString("Orvane Tavlix Connect"));
  EXPECT_EQ(form.FormSettingObj->label_FileExt_SaveAs->text(), QString("File format setting"));
  form.WndProc(BOARD_FOUND, 1);
  EXPECT_TRUE(presenter.balloons.empty());
  EXPECT_TRUE(form.button_usb_scan->isEnabled());
  ResetDriverForTests();
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
  form->button_close_Click();
  EXPECT_FALSE(form->isVisible());
  EXPECT_TRUE(form->windowFlags().testFlag(Qt::Tool));
  // The hidden toolbar still follows the board.
  form->WndProc(BOARD_LOST, 1);
  EXPECT_FALSE(form->button_usb_scan->isEnabled());
  form->notifyIcon1_MouseDown(Qt::LeftButton);
  EXPECT_TRUE(form->isVisible());
  EXPECT_EQ(form->pos(), where);
  EXPECT_EQ(Link().hWnd_Form.load(), form->Handle());
}

TEST_F(Life, WithoutATrayTheToolbarShowsAtStartAndCloseOnlyMinimises) {
  auto form = MakeForm(false);
  form->Form1_Load();
  EXPECT_TRUE(form->isVisible());
  EXPECT_FALSE(form->windowFlags().testFlag(Qt::Tool));
  form->button_close_Click();
  EXPECT_TRUE(form->isMinimized());
  EXPECT_TRUE(form->isVisible());
}

TEST_F(Life, ExitWritesTheSettingsStopsTheLinkAndEndsTheLoop) {
  auto form = MakeForm();
  form->Form1_Load();
  ASSERT_FALSE(std::filesystem::exists(sandbox_.SettingFile()));
  form->ToolStripMenuItem_close_Click();
  EXPECT_NE(ReadText(sandbox_.SettingFile()).find("saveprm=2"), std::string::npos);
  EXPECT_EQ(Link().hWnd_Form.load(), nullptr);
  // Notifications after the disposal change nothing.
  form->WndProc(BOARD_LOST, 1);
  EXPECT_TRUE(form->button_usb_scan->isEnabled());
}

TEST(QtNotifyTarget, WorkerNotificationRunsOnTheGuiThreadWhileTheSenderWaits) {
  EnsureApplication();
  std::vector<std::pair<int, bool>> seen;
  TavlixSoft::QtNotifyTarget target([&](int code, std::intptr_t) {
    seen.emplace_back(code, QThread::currentThread() == QCoreApplication::instance()->thread());
  });
  std::atomic<bool> returned{false};
  std::size_t seen_when_returned = 0;
  std::thread worker([&] {
    SendBoardNotify(&target, BOARD_FOUND, 1);
    seen_when_returned = seen.size();
    returned = true;
  });
  const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!returned && std::chrono::steady_clock::now() < give_up) QCoreApplication::processEvents();
  worker.join();
  EXPECT_EQ(seen_when_returned, 1u);  // the sender waited for the handler
  // On its own thread the handler runs at once, nested.
  SendBoardNotify(&target, BOARD_LOST, 1);
  EXPECT_EQ(seen, (std::vector<std::pair<int, bool>>{{BOARD_FOUND, true}, {BOARD_LOST, true}}));
  // Closed: nothing is queued any more, so a sender does not wait.
  target.Close();
  EXPECT_FALSE(target.PostToOwnThread([] {}));
}

TEST(SingleInstance, OneLockPerSessionFolderAndASecondProgramLeavesAtOnce) {
  EnsureApplication();
  TempDir runtime;
  auto first = TavlixSoft::SingleInstanceLock::Acquire(runtime.path());
  ASSERT_TRUE(first.has_value());
  EXPECT_TRUE(first->held());
  EXPECT_FALSE(TavlixSoft::SingleInstanceLock::Acquire(runtime.path()).has_value());

  // The real program, started in the same session, exits 0 without a window.
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
  EXPECT_TRUE(first->held());

  first.reset();
  EXPECT_TRUE(TavlixSoft::SingleInstanceLock::Acquire(runtime.path()).has_value());
}

}  // namespace
}  // namespace tavlix::test
