#include "ui_qt/exit_on_end_request.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include "ui_qt/toolbar_window.h"

namespace tavlix::ui_qt {

void ExitOnEndRequest(Form1& form, tavlix::platform::EndRequestWatch* watch) {
  // Dispose runs once, whichever way comes first.
  // Exit has run Dispose already; anything else here is the session manager's quit.
  QObject::connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, &form,
                   [&form] { form.Dispose(tavlix::app::EndReason::session_end); });
  if (watch == nullptr || watch->descriptor() < 0) return;
  auto* notifier = new QSocketNotifier(watch->descriptor(), QSocketNotifier::Read, &form);
  QObject::connect(notifier, &QSocketNotifier::activated, &form, [&form, watch] {
    if (watch->Take() != tavlix::platform::EndRequest::none)
      form.EndSession();  // what Exit in the tray menu does, with no box
  });
}

}  // namespace tavlix::ui_qt
