// The toolbar's controls: positions, sizes, pictures, colours and wiring.
#include <QAction>
#include <QMenu>
#include <QStyle>
#include <QSystemTrayIcon>
#include <QTimer>

#include "tavlix_version.h"
#include "ui_qt/bitmap_set.h"
#include "ui_qt/image_button.h"
#include "ui_qt/toolbar_window.h"

namespace tavlix::ui_qt {
namespace {

using namespace tavlix::app;

QWidget* MakeStrip(QWidget* parent, QRect geometry) {
  auto* strip = new QWidget(parent);
  strip->setGeometry(geometry);
  strip->setFocusPolicy(Qt::NoFocus);
  return strip;
}

}  // namespace

void Form1::InitializeComponent() {
  setWindowTitle(QStringLiteral("Orvane Tavlix Connect"));
  setWindowIcon(ProgramIcon());
  setFocusPolicy(Qt::NoFocus);
  setContentsMargins(2, 2, 2, 2);
  setLayoutDirection(Qt::LeftToRight);
  setFixedSize(kToolbarWidth, kToolbarHeight);

  // Back to front: a widget created later lies on top of earlier siblings.
  button_usb_feed = new ImageButton(this, kFeedBitmaps.normal);
  button_usb_feed->setGeometry(58, 27, 48, 48);
  button_usb_scan = new ImageButton(this, kScanBitmaps.normal);
  button_usb_scan->setGeometry(5, 27, 48, 48);
  button_folder_open = new ImageButton(this, kFolderBitmaps.normal);
  button_folder_open->setGeometry(111, 27, 48, 48);
  button_setting_open = new ImageButton(this, kSettingBitmaps.normal);
  button_setting_open->setGeometry(164, 27, 48, 48);
  button_help = new ImageButton(this, kHelpBitmaps.normal);
  button_help->setGeometry(164, 2, 25, 13);
  button_close = new ImageButton(this, kCloseBitmaps.normal);
  button_close->setGeometry(190, 2, 25, 13);
  pictureBox_title = MakeStrip(this, {0, 0, 158, 15});
  pictureBox_progress_bg = MakeStrip(this, {2, kToolbarHeight, kProgressStripWidth, 5});
  pictureBox_progress_bar = MakeStrip(this, {2, kToolbarHeight, kProgressStripWidth, 5});
  QPalette bar = pictureBox_progress_bar->palette();
  bar.setColor(QPalette::Window, QColor(0, 0, 255));
  pictureBox_progress_bar->setPalette(bar);
  pictureBox_progress_bar->setAutoFillBackground(true);
  QPalette bg = pictureBox_progress_bg->palette();
  bg.setColor(QPalette::Window, Qt::white);
  pictureBox_progress_bg->setPalette(bg);

  for (ImageButton* button :
       {button_usb_scan, button_usb_feed, button_folder_open, button_setting_open, button_help, button_close})
    button->installEventFilter(this);
  pictureBox_title->installEventFilter(this);
  connect(button_usb_scan, &QAbstractButton::clicked, this, [this] { controller_->Scan(); });
  connect(button_usb_feed, &QAbstractButton::clicked, this, [this] { controller_->Feed(); });
  connect(button_folder_open, &QAbstractButton::clicked, this, [this] { controller_->OpenFolder(); });
  connect(button_setting_open, &QAbstractButton::clicked, this, [this] { controller_->OpenSettings(); });
  connect(button_help, &QAbstractButton::clicked, this, [this] { controller_->ShowHelp(); });
  connect(button_close, &QAbstractButton::clicked, this, [this] { controller_->CloseToolbar(); });
  // The hover picture shows once the pointer has rested over a button.
  hover_timer_ = new QTimer(this);
  hover_timer_->setSingleShot(true);
  hover_timer_->setInterval(options_.hover_rest_ms >= 0 ? options_.hover_rest_ms
                                                        : style()->styleHint(QStyle::SH_ToolTip_WakeUpDelay));
  connect(hover_timer_, &QTimer::timeout, this, [this] {
    if (hovered_ != nullptr && !disposed_) ForwardButtonMouse(hovered_, nullptr);
  });

  // The tray icon and its menu: show, help, exit.
  contextMenuStrip1 = new QMenu(this);
  ToolStripMenuItem_showToolbar = contextMenuStrip1->addAction(QStringLiteral("show toolbar"));
  contextMenuStrip1->addSeparator();
  ToolStripMenuItem_help = contextMenuStrip1->addAction(QStringLiteral("help"));
  contextMenuStrip1->addSeparator();
  ToolStripMenuItem_close = contextMenuStrip1->addAction(QStringLiteral("close"));
  // The show item reacts to a left mouse press on it, not to being chosen.
  contextMenuStrip1->installEventFilter(this);
  connect(ToolStripMenuItem_help, &QAction::triggered, this, [this] { controller_->ShowHelp(); });
  connect(ToolStripMenuItem_close, &QAction::triggered, this, [this] { close(); });

  notifyIcon1 = new QSystemTrayIcon(ProgramIcon(), this);
  notifyIcon1->setToolTip(QStringLiteral("Orvane Tavlix Connect ") + QLatin1String(tavlix::kVersion));
  notifyIcon1->setContextMenu(contextMenuStrip1);
  connect(notifyIcon1, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
    // Trigger is the primary (left) button; the menu opens by itself on Context.
    if (reason == QSystemTrayIcon::Trigger) notifyIcon1_MouseDown(Qt::LeftButton);
  });
  if (options_.system_tray) notifyIcon1->show();
}

}  // namespace tavlix::ui_qt
