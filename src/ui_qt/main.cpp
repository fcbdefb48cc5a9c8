// TavlixConnect: the toolbar and tray icon. One copy per user; the command
// line is ignored. A second start asks the running copy to show its toolbar
// and exits 0. The exit code is 0, or 1 when the one-copy lock cannot be made
// at all (after saying why). Once loaded, the end of the session (SIGTERM,
// SIGHUP, SIGINT) ends it as Exit does.
#include <QApplication>
#include <QMessageBox>
#include <QSystemTrayIcon>
#include <cstdio>

#include "ui_qt/exit_on_end_request.h"
#include "ui_qt/single_instance.h"
#include "ui_qt/toolbar_window.h"

int main(int argc, char** argv) {
  const auto folder = tavlix::platform::UserRuntimeFolder();
  const tavlix::platform::ProcessLock lock =
      folder ? tavlix::ui_qt::AcquireInstanceLock(*folder) : tavlix::ui_qt::AcquireInstanceLock();
  if (lock.state() == tavlix::platform::ProcessLock::State::taken) {
    // Another copy runs: it shows its toolbar, as its tray icon would.
    if (folder) tavlix::ui_qt::AskRunningCopyToShow(*folder);
    return 0;
  }

  QApplication app(argc, argv);
  if (!lock.held()) {
    QMessageBox box(QMessageBox::NoIcon, QString(),
                    QStringLiteral("TavlixConnect cannot start: ") + QString::fromStdString(lock.error()),
                    QMessageBox::Ok, nullptr);
    box.exec();
    return 1;
  }
  QApplication::setApplicationName(QStringLiteral("TavlixConnect"));
  QApplication::setDesktopFileName(QStringLiteral("tavlixconnect"));
  // The toolbar is often hidden; only Exit (closing the window) ends the program.
  QApplication::setQuitOnLastWindowClosed(false);

  tavlix::ui_qt::Form1Options options;
  options.system_tray = QSystemTrayIcon::isSystemTrayAvailable();
  tavlix::ui_qt::Form1 form(options);
  form.Form1_Load();
  const auto show_requests = folder ? tavlix::ui_qt::ShowRequests::Listen(
                                          *folder, [&form] { form.controller().ShowForSecondStart(); })
                                    : nullptr;
  if (!show_requests) std::fprintf(stderr, "TavlixConnect: a second start cannot reach this copy\n");
  // Only after loading: an Exit before it would save the defaults over the
  // user's settings.
  auto watch = tavlix::platform::EndRequestWatch::Start();
  if (!watch) std::fprintf(stderr, "TavlixConnect: %s\n", watch.error().c_str());
  tavlix::ui_qt::ExitOnEndRequest(form, watch ? watch->get() : nullptr);
  QApplication::exec();
  return 0;
}
