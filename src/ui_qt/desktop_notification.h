// Where the desktop offers no system tray, a balloon would never be seen: the
// desktop's notification service (org.freedesktop.Notifications on the
// session bus) shows the text instead, for the same 3000 ms.
#pragma once

#include <QDBusMessage>
#include <QString>

namespace tavlix::ui_qt {

// The Notify call for `text`: from the program, with its icon, the text as the
// body, expiring after `milliseconds`.
QDBusMessage MakeDesktopNotification(const QString& text, int milliseconds);

// Sends it without waiting for an answer; false when there is no session bus.
bool SendDesktopNotification(const QString& text, int milliseconds);

}  // namespace tavlix::ui_qt
