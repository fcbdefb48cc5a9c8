#include "ui_qt/desktop_notification.h"

#include <QDBusConnection>
#include <QStringList>
#include <QVariantMap>

namespace tavlix::ui_qt {

QDBusMessage MakeDesktopNotification(const QString& text, int milliseconds) {
  QDBusMessage call = QDBusMessage::createMethodCall(
      QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("/org/freedesktop/Notifications"),
      QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
  // app_name, replaces_id, app_icon, summary, body, actions, hints, expire_timeout
  call << QStringLiteral("TavlixConnect") << 0U << QStringLiteral("tavlixconnect")
       << QStringLiteral("Tavlix Connect") << text << QStringList() << QVariantMap() << milliseconds;
  return call;
}

bool SendDesktopNotification(const QString& text, int milliseconds) {
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected()) return false;
  return bus.send(MakeDesktopNotification(text, milliseconds));
}

}  // namespace tavlix::ui_qt
