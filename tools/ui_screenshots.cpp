// Draws the toolbar (idle and with the progress strip) and the settings
// dialog into PNG files, from the real widgets, for the README:
//
//   QT_QPA_PLATFORM=offscreen tavlix_ui_screenshots OUTPUT_FOLDER
//
// The board link is not started: the pictures show the windows' own look.
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPixmap>

#include "ui_qt/presenter.h"
#include "ui_qt/setting_dialog.h"
#include "ui_qt/toolbar_window.h"

namespace {

bool Save(QWidget& widget, const QDir& folder, const char* name) {
  return widget.grab().save(folder.filePath(QString::fromUtf8(name)), "PNG");
}

// Nothing is shown: the tool only draws.
class SilentPresenter final : public tavlix::ui_qt::Presenter {
 public:
  void ShowMessageBox(const QString&) override {}
  void ShowBalloon(QSystemTrayIcon&, const QString&) override {}
  int RunModal(QDialog&) override { return QDialog::Rejected; }
  std::optional<QString> BrowseFolder(QWidget*, const QString&) override { return std::nullopt; }
};

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc < 2) return 2;
  const QDir folder(QString::fromLocal8Bit(argv[1]));
  SilentPresenter presenter;
  tavlix::ui_qt::Form1Options options;
  options.presenter = &presenter;
  options.system_tray = false;
  options.watch_session = false;
  tavlix::ui_qt::Form1 form(options);
  form.ShowProgress(tavlix::app::ProgressStripFor(0));
  form.show();
  bool ok = Save(form, folder, "toolbar.png");
  form.ShowProgress(tavlix::app::ProgressStripFor(50));
  ok = Save(form, folder, "toolbar-progress.png") && ok;

  tavlix::ui_qt::FormSetting dialog(presenter);
  dialog.textBox_FilePath_SaveTo->setText(QStringLiteral("/home/me/Pictures/TavlixConnect"));
  dialog.SetChoice(tavlix::ui_qt::ChoiceForFormat(tavlix::settings::OutputFormat::png));
  dialog.show();
  ok = Save(dialog, folder, "settings-dialog.png") && ok;
  return ok ? 0 : 1;
}
