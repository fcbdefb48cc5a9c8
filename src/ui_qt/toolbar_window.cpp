// The toolbar's life and its side of the controller's view: what the
// controller asks to show, drawn with Qt widgets.
#include "ui_qt/toolbar_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QRadioButton>
#include <QScreen>
#include <QSystemTrayIcon>
#include <QTimer>
#include <cstdio>

#include "ui_qt/bitmap_set.h"
#include "ui_qt/image_button.h"
#include "ui_qt/local_text.h"
#include "ui_qt/presenter.h"
#include "ui_qt/session_watch.h"
#include "ui_qt/setting_dialog.h"
#include "ui_qt/single_instance.h"

namespace tavlix::ui_qt {
namespace {

namespace app = tavlix::app;

std::unique_ptr<Presenter> DesktopPresenterUnless(Presenter* given) {
  if (given != nullptr) return nullptr;
  return std::make_unique<DesktopPresenter>();
}

app::Rect PlainRect(const QRect& rect) {
  return {rect.x(), rect.y(), rect.width(), rect.height()};
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
      notify_target_(gui_thread_, [this](int code, std::intptr_t arg) { WndProc(code, arg); }),
      controller_(std::make_unique<app::ToolbarController>(*this, kToolbarProgramName)) {
  InitializeComponent();
  FormSettingObj = new FormSetting(presenter_, this);
  collector_timer_ = new QTimer(this);
  collector_timer_->setInterval(static_cast<int>(app::kCollectInterval.count()));
  connect(collector_timer_, &QTimer::timeout, this, [this] { controller_->KeepCollecting(); });
  if (options_.watch_session)
    session_watch_ =
        std::make_unique<SessionWatch>([this](int reason) { controller_->OnSessionSwitch(reason); });
}

Form1::~Form1() {
  disposed_ = true;  // no event reaches the controller any more
  gui_thread_.Close();
  controller_.reset();  // stops the board link unless Dispose did
}

void Form1::Form1_Load() {
  setFocusPolicy(Qt::NoFocus);
  controller_->Start(Handle());
  collector_timer_->start();
  // Without a tray there is no icon to bring the toolbar up: show it now.
  if (!options_.system_tray) show();
}

void Form1::WndProc(int wParam, std::intptr_t lParam) {
  if (!disposed_) controller_->OnBoardNotify(wParam, lParam);
}

void Form1::notifyIcon1_MouseDown(Qt::MouseButton button) {
  controller_->TrayShow(button == Qt::LeftButton);
}

void Form1::closeEvent(QCloseEvent* event) {
  Dispose(end_reason_);
  event->accept();
  QCoreApplication::quit();
}

void Form1::EndSession() {
  end_reason_ = app::EndReason::session_end;
  close();
}

void Form1::Dispose(app::EndReason reason) {
  if (disposed_) return;
  disposed_ = true;
  session_watch_.reset();
  collector_timer_->stop();
  // Nothing more is queued to this thread, so the worker never waits for it.
  gui_thread_.Close();
  if (const std::string unsaid = controller_->Shutdown(reason); !unsaid.empty())
    std::fprintf(stderr, "TavlixConnect: %s\n", unsaid.c_str());
  notifyIcon1->hide();
}

void Form1::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), palette().window());
  painter.drawPixmap(0, 0, LoadBitmapById(app::kBackgroundBitmap));
}

void Form1::ShowMessageBox(const std::string& text) {
  presenter_.ShowMessageBox(FromLocal(text));
}

void Form1::ShowBalloon(app::Balloon, const std::string& text) {
  presenter_.ShowBalloon(*notifyIcon1, FromLocal(text));
}

ImageButton* Form1::ButtonWidget(app::ToolbarButton button) const {
  switch (button) {
    case app::ToolbarButton::scan: return button_usb_scan;
    case app::ToolbarButton::feed: return button_usb_feed;
    case app::ToolbarButton::folder_open: return button_folder_open;
    case app::ToolbarButton::setting_open: return button_setting_open;
    case app::ToolbarButton::help: return button_help;
    case app::ToolbarButton::close: break;
  }
  return button_close;
}

void Form1::SetButtonPicture(app::ToolbarButton button, int bitmap) {
  ButtonWidget(button)->SetBitmap(bitmap);
}

void Form1::SetButtonEnabled(app::ToolbarButton button, bool enabled) {
  ButtonWidget(button)->setEnabled(enabled);
}

void Form1::SetToolTip(app::ToolbarButton button, const std::string& text) {
  ButtonWidget(button)->setToolTip(FromLocal(text));
}

void Form1::SetTrayItemText(app::TrayItem item, const std::string& text) {
  QAction* action = item == app::TrayItem::show   ? ToolStripMenuItem_showToolbar
                    : item == app::TrayItem::help ? ToolStripMenuItem_help
                                                  : ToolStripMenuItem_close;
  action->setText(FromLocal(text));
}

void Form1::SetSettingsDialogTexts(const app::SettingsDialogTexts& texts) {
  FormSetting& dialog = *FormSettingObj;
  dialog.setWindowTitle(FromLocal(texts.caption));
  dialog.label_FilePath_SaveTo->setText(FromLocal(texts.folder_label));
  dialog.label_FileExt_SaveAs->setText(FromLocal(texts.format_label));
  dialog.radioButton_FileExt_notcare->setText(FromLocal(texts.board_format_choice));
  dialog.label_Browse_Description->setText(FromLocal(texts.browse_description));
  for (QLabel* label :
       {dialog.label_FilePath_SaveTo, dialog.label_FileExt_SaveAs, dialog.label_Browse_Description})
    label->adjustSize();
  dialog.radioButton_FileExt_notcare->adjustSize();
}

void Form1::ShowProgress(const app::ProgressStrip& strip) {
  pictureBox_progress_bg->setAutoFillBackground(strip.uncovered);
  pictureBox_progress_bg->update();
  setFixedSize(app::kToolbarWidth, strip.window_height);
  pictureBox_progress_bar->resize(strip.bar_width, pictureBox_progress_bar->height());
  // A full bar is held by a pause of the GUI thread: paint it now.
  if (strip.bar_width == app::kProgressStripWidth) pictureBox_progress_bar->repaint();
}

app::Rect Form1::DesktopRect() {
  return PlainRect(tavlix::ui_qt::DesktopRect());
}

app::Rect Form1::ToolbarRect() {
  return PlainRect(frameGeometry());
}

void Form1::MoveToolbar(app::Point top_left) {
  move(top_left.x, top_left.y);
}

void Form1::ShowToolbar() {
  SetShowInTaskbar(true);
  hide();
  showNormal();
  raise();
  activateWindow();
}

void Form1::HideToolbar() {
  if (!options_.system_tray) {
    // Without a tray a hidden toolbar could not be brought back.
    showMinimized();
    return;
  }
  SetShowInTaskbar(false);
  hide();
}

// A tool window has no taskbar button; an ordinary one has.
void Form1::SetShowInTaskbar(bool shown) {
  if (!options_.system_tray) return;  // always in the taskbar
  if (windowFlags().testFlag(Qt::Tool) == !shown) return;
  setWindowFlag(Qt::Tool, !shown);
}

int Form1::SettingsDialogHeight() {
  return FormSettingObj->frameGeometry().height();
}

std::optional<app::SettingsDialogValues> Form1::RunSettingsDialog(const app::SettingsDialogValues& shown,
                                                                  app::Point top_left) {
  FormSetting& dialog = *FormSettingObj;
  dialog.textBox_FilePath_SaveTo->setText(FromLocal(shown.folder));
  dialog.SetChoice(ChoiceForFormat(shown.format));
  dialog.move(top_left.x, top_left.y);
  if (presenter_.RunModal(dialog) != QDialog::Accepted) return std::nullopt;
  return app::SettingsDialogValues{ToLocal(dialog.textBox_FilePath_SaveTo->text()),
                                   FormatFromChoice(dialog.Choice())};
}

void Form1::RunPendingEvents() {
  QCoreApplication::processEvents();
}

}  // namespace tavlix::ui_qt
