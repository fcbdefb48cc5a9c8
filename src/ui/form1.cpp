// The toolbar's life: construction, start-up, the session switch and closing.
#include "ui/form1.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QRadioButton>
#include <QScreen>
#include <QSystemTrayIcon>
#include <QTimer>

#include "board/driver_facade.h"
#include "imaging/stale_temporaries.h"
#include "platform/clock.h"
#include "settings/settings_file.h"
#include "settings/settings_paths.h"
#include "ui/bitmaps.h"
#include "ui/form_setting.h"
#include "ui/help_page.h"
#include "ui/image_button.h"
#include "ui/local_text.h"
#include "ui/presenter.h"
#include "ui/session_watch.h"
#include "ui/single_instance.h"
#include "ui/toolbar_geometry.h"

namespace TavlixSoft {
namespace {

std::unique_ptr<Presenter> DesktopPresenterUnless(Presenter* given) {
  if (given != nullptr) return nullptr;
  return std::make_unique<DesktopPresenter>();
}

}  // namespace

QRect DesktopRect() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen != nullptr ? screen->geometry() : QRect();
}

Form1::Form1(Form1Options options)
    : QWidget(nullptr,
              Qt::FramelessWindowHint | (options.system_tray ? Qt::Tool : Qt::Window) | Qt::WindowTitleHint),
      options_(options),
      own_presenter_(DesktopPresenterUnless(options.presenter)),
      presenter_(options.presenter != nullptr ? *options.presenter : *own_presenter_),
      notify_target_([this](int code, std::intptr_t arg) { WndProc(code, arg); }),
      collector_lock_(kToolbarProgramName) {
  InitializeComponent();
  collector_timer_ = new QTimer(this);
  collector_timer_->setInterval(static_cast<int>(tavlix::kCycleAbsent.count()));
  connect(collector_timer_, &QTimer::timeout, this, [this] { KeepCollecting(); });
  if (options_.watch_session)
    session_watch_ =
        std::make_unique<SessionWatch>([this](int reason) { SystemEvents_SessionSwitch(reason); });
}

Form1::~Form1() {
  if (!disposed_) StopBoardLink();
}

void Form1::Form1_Load() {
  progress_save = 0;
  RenewProgress();
  mousePoint = QPoint(0, 0);
  setFocusPolicy(Qt::NoFocus);

  const QRect desktop = DesktopRect();
  move(ToolbarPlacement(desktop.x() + desktop.width(), desktop.y() + desktop.height(), width()));

  Setting_FolderPath = tavlix::settings::SettingFolderPath();
  Setting_FilePath = tavlix::settings::SettingFilePath();
  Loc_FolderPath = tavlix::settings::LocFolderPath();
  Loc_FilePath = tavlix::settings::LocFilePath();
  Help_FilePath = HelpDocumentPath().string();

  const tavlix::settings::IniSettings ini = tavlix::settings::LoadIniSettings();
  Setting_SavePrm = ini.Setting_SavePrm;
  Setting_ImgSaveTo_FolderPath = ini.Setting_ImgSaveTo_FolderPath;

  FormSettingObj = new FormSetting(presenter_, this);
  LoadLocSettings();

  // While a command waits for the worker, the window keeps handling events,
  // notifications included.
  tavlix::SetMessagePump([] { QCoreApplication::processEvents(); });
  tavlix::imaging::RemoveStaleTemporaries(Setting_ImgSaveTo_FolderPath, tavlix::platform::Clock()->WallNow());
  tavlix::DriverInit(Handle());  // halted until the board's lock is held
  tavlix::OfferSetting(Setting_SavePrm, Setting_ImgSaveTo_FolderPath);
  loaded_ = true;
  KeepCollecting();
  collector_timer_->start();

  // Without a tray there is no icon to bring the toolbar up: show it now.
  if (!options_.system_tray) show();
}

void Form1::LoadLocSettings() {
  Loc = tavlix::settings::LoadLocalisedTexts();
  if (!Loc.loc_flg) return;  // no program data folder: the layout's texts stay
  FormSettingObj->setWindowTitle(FromLocal(Loc.caption_FormSetting));
  button_usb_scan->setToolTip(FromLocal(Loc.tooltip_button_usb_scan));
  button_usb_feed->setToolTip(FromLocal(Loc.tooltip_button_usb_feed));
  FormSettingObj->label_FilePath_SaveTo->setText(FromLocal(Loc.text_label_FilePath_SaveTo));
  FormSettingObj->label_FileExt_SaveAs->setText(FromLocal(Loc.text_label_FileExt_SaveAs));
  FormSettingObj->radioButton_FileExt_notcare->setText(FromLocal(Loc.text_radioButton_FileExt_notcare));
  FormSettingObj->label_Browse_Description->setText(FromLocal(Loc.text_label_Browse_Description));
  button_folder_open->setToolTip(FromLocal(Loc.tooltip_button_folder_open));
  button_help->setToolTip(FromLocal(Loc.text_help));
  ToolStripMenuItem_help->setText(FromLocal(Loc.text_help));
  ToolStripMenuItem_showToolbar->setText(FromLocal(Loc.text_ToolStripMenuItem_showToolbar));
  button_setting_open->setToolTip(FromLocal(Loc.tooltip_button_setting_open));
  ToolStripMenuItem_close->setText(FromLocal(Loc.text_ToolStripMenuItem_close));
  button_close->setToolTip(FromLocal(Loc.tooltip_button_close));
  for (QLabel* label : {FormSettingObj->label_FilePath_SaveTo, FormSettingObj->label_FileExt_SaveAs,
                        FormSettingObj->label_Browse_Description})
    label->adjustSize();
  FormSettingObj->radioButton_FileExt_notcare->adjustSize();
}

void Form1::SystemEvents_SessionSwitch(int reason) {
  if (reason == kConsoleConnect) {
    session_away_ = false;
    if (collecting_) tavlix::DriverOpen();
  }
  if (reason == kConsoleDisconnect) {
    session_away_ = true;
    tavlix::DriverClose();
  }
}

void Form1::KeepCollecting(bool tell) {
  if (!loaded_ || disposed_ || session_away_) return;
  if (collecting_) {
    if (tavlix::IsConnected() || tavlix::GetFlgAppScan()) return;
    // Gone between operations: a board that comes must be locked first.
    tavlix::DriverClose();
    collecting_ = false;
  }
  const tavlix::CollectorLock::Claim claim = collector_lock_.ClaimPresentBoard();
  board_busy_ = claim == tavlix::CollectorLock::Claim::taken;
  switch (claim) {
    case tavlix::CollectorLock::Claim::held:
      collecting_ = true;
      busy_told_ = false;
      tavlix::DriverOpen();
      return;
    case tavlix::CollectorLock::Claim::taken:
      if (busy_told_ && !tell) return;
      busy_told_ = true;
      ShowMessage(Loc.msg_collectorbusy + "\n" + tavlix::platform::DescribeHolder(collector_lock_.holder()));
      return;
    // The one-copy lock needs the same private folder, so a lock that cannot
    // be made does not happen to a running toolbar.
    case tavlix::CollectorLock::Claim::unavailable:
    case tavlix::CollectorLock::Claim::no_board: return;
  }
}

void Form1::SaveSettings() {
  // The values are in force for this run whether or not the file could be
  // written; the user must know they will be lost at the next start.
  if (!tavlix::settings::SaveIniSettings({Setting_SavePrm, Setting_ImgSaveTo_FolderPath}))
    ShowMessage(Loc.msg_settingsaveerr + "\n" + tavlix::settings::SettingFilePath());
}

void Form1::closeEvent(QCloseEvent* event) {
  Dispose();
  event->accept();
  QCoreApplication::quit();
}

void Form1::Dispose() {
  if (disposed_) return;
  disposed_ = true;  // from here on WndProc ignores notifications
  session_watch_.reset();
  collector_timer_->stop();
  SaveSettings();
  StopBoardLink();
  notifyIcon1->hide();
}

void Form1::StopBoardLink() {
  notify_target_.Close();
  if (!loaded_) return;
  tavlix::DriverClose();
  // A notification the worker queued before the close waits for this thread;
  // let it run (WndProc ignores it now) so the worker is not held up.
  QCoreApplication::processEvents();
  tavlix::DriverUninit();
  tavlix::SetNewHandle(nullptr);
  tavlix::SetMessagePump(nullptr);
}

void Form1::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), palette().window());
  painter.drawPixmap(0, 0, LoadBitmapById(kBackgroundBitmap));
}

}  // namespace TavlixSoft
