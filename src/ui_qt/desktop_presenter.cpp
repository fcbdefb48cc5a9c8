#include <QFileDialog>
#include <QMessageBox>
#include <QSystemTrayIcon>

#include "ui_qt/desktop_notification.h"
#include "ui_qt/presenter.h"

namespace tavlix::ui_qt {

void DesktopPresenter::ShowMessageBox(const QString& text) {
  QMessageBox box(QMessageBox::NoIcon, QString(), text, QMessageBox::Ok, nullptr);
  box.exec();
}

void DesktopPresenter::ShowBalloon(QSystemTrayIcon& tray, const QString& text) {
  if (!QSystemTrayIcon::isSystemTrayAvailable()) {
    SendDesktopNotification(text, kBalloonMilliseconds);  // nowhere for a balloon to appear
    return;
  }
  tray.showMessage(QString(), text, QSystemTrayIcon::NoIcon, kBalloonMilliseconds);
}

int DesktopPresenter::RunModal(QDialog& dialog) {
  return dialog.exec();
}

std::optional<QString> DesktopPresenter::BrowseFolder(QWidget* owner, const QString& description) {
  QFileDialog browser(owner, description);
  browser.setFileMode(QFileDialog::Directory);
  browser.setOption(QFileDialog::ShowDirsOnly, true);
  if (browser.exec() != QDialog::Accepted || browser.selectedFiles().isEmpty()) return std::nullopt;
  return QDir::toNativeSeparators(browser.selectedFiles().constFirst());
}

}  // namespace tavlix::ui_qt
