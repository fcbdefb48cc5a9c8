// Everything the toolbar shows that waits for the user or lives outside its
// own window: message boxes, tray balloons, modal dialogs and the folder
// browser. The windows go through this interface so that tests read what would
// be shown instead of entering a modal loop.
//
// GUI thread only. The presenter is not owned by the windows that use it and
// must outlive them.
#pragma once

#include <QDialog>
#include <QString>
#include <optional>

class QSystemTrayIcon;
class QWidget;

namespace tavlix::ui_qt {

class Presenter {
 public:
  virtual ~Presenter() = default;
  // A message box with `text`, an empty caption, one OK button, no icon and no
  // owner window; returns when the user has closed it (other events, board
  // notifications included, run meanwhile).
  virtual void ShowMessageBox(const QString& text) = 0;
  // A balloon from `tray` with `text` for 3000 ms, no title, no icon.
  virtual void ShowBalloon(QSystemTrayIcon& tray, const QString& text) = 0;
  // Shows `dialog` modally; QDialog::Accepted or QDialog::Rejected.
  virtual int RunModal(QDialog& dialog) = 0;
  // The folder browser owned by `owner`, with `description`, no preselected
  // folder and a button for a new folder; the chosen folder, or nullopt.
  virtual std::optional<QString> BrowseFolder(QWidget* owner, const QString& description) = 0;
};

// The real thing: QMessageBox, QSystemTrayIcon::showMessage (the desktop's
// notification service where there is no tray), QDialog::exec and QFileDialog.
class DesktopPresenter final : public Presenter {
 public:
  void ShowMessageBox(const QString& text) override;
  void ShowBalloon(QSystemTrayIcon& tray, const QString& text) override;
  int RunModal(QDialog& dialog) override;
  std::optional<QString> BrowseFolder(QWidget* owner, const QString& description) override;
};

// How long a balloon stays.
inline constexpr int kBalloonMilliseconds = 3000;

}  // namespace tavlix::ui_qt
