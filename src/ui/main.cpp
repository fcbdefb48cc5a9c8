// TavlixConnect: the toolbar and tray icon. One copy per logon session; the
// command line is ignored and the exit code is always 0.
#include <QApplication>
#include <QSystemTrayIcon>
#include <optional>

#include "ui/form1.h"
#include "ui/single_instance.h"

int main(int argc, char** argv) {
  std::optional<TavlixSoft::SingleInstanceLock> lock =
      TavlixSoft::SingleInstanceLock::Acquire(TavlixSoft::SingleInstanceLock::SessionFolder());
  if (!lock) return 0;  // another copy runs in this session: leave it be

  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("TavlixConnect"));
  QApplication::setDesktopFileName(QStringLiteral("tavlixconnect"));
  // The toolbar is often hidden; only Exit (closing the window) ends the program.
  QApplication::setQuitOnLastWindowClosed(false);

  TavlixSoft::Form1Options options;
  options.system_tray = QSystemTrayIcon::isSystemTrayAvailable();
  TavlixSoft::Form1 form(options);
  form.Form1_Load();
  QApplication::exec();
  return 0;
}
