#include "ui_qt/session_watch.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusObjectPath>
#include <QDBusReply>

namespace tavlix::ui_qt {
namespace {

const QString kLogin1 = QStringLiteral("org.freedesktop.login1");
const QString kSessionInterface = QStringLiteral("org.freedesktop.login1.Session");
const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");

// The object path of this process's logind session; empty without one.
QString FindSessionPath(QDBusConnection& bus) {
  QDBusInterface manager(kLogin1, QStringLiteral("/org/freedesktop/login1"),
                         QStringLiteral("org.freedesktop.login1.Manager"), bus);
  if (!manager.isValid()) return {};
  const QString id = qEnvironmentVariable("XDG_SESSION_ID");
  QDBusReply<QDBusObjectPath> reply =
      id.isEmpty() ? manager.call(QStringLiteral("GetSessionByPID"),
                                  static_cast<quint32>(QCoreApplication::applicationPid()))
                   : manager.call(QStringLiteral("GetSession"), id);
  return reply.isValid() ? reply.value().path() : QString();
}

bool ReadActive(QDBusConnection& bus, const QString& path, bool fallback) {
  QDBusInterface properties(kLogin1, path, kProperties, bus);
  QDBusReply<QVariant> reply =
      properties.call(QStringLiteral("Get"), kSessionInterface, QStringLiteral("Active"));
  return reply.isValid() ? reply.value().toBool() : fallback;
}

}  // namespace

SessionWatch::SessionWatch(Callback callback, QObject* parent)
    : QObject(parent), callback_(std::move(callback)) {
  QDBusConnection bus = QDBusConnection::systemBus();
  if (!bus.isConnected()) return;
  const QString path = FindSessionPath(bus);
  if (path.isEmpty()) return;
  if (!bus.connect(kLogin1, path, kProperties, QStringLiteral("PropertiesChanged"), this,
                   SLOT(OnPropertiesChanged(QString, QVariantMap, QStringList))))
    return;
  session_path_ = path;
  active_ = ReadActive(bus, path, true);
}

SessionWatch::~SessionWatch() {
  if (session_path_.isEmpty()) return;
  QDBusConnection::systemBus().disconnect(kLogin1, session_path_, kProperties,
                                          QStringLiteral("PropertiesChanged"), this,
                                          SLOT(OnPropertiesChanged(QString, QVariantMap, QStringList)));
}

void SessionWatch::ActiveChanged(bool active) {
  if (active == active_) return;
  active_ = active;
  if (callback_) callback_(active ? kConsoleConnect : kConsoleDisconnect);
}

void SessionWatch::OnPropertiesChanged(const QString& interface_name, const QVariantMap& changed,
                                       const QStringList& invalidated) {
  if (interface_name != kSessionInterface) return;
  const QString active = QStringLiteral("Active");
  if (const auto it = changed.constFind(active); it != changed.constEnd()) {
    ActiveChanged(it->toBool());
  } else if (invalidated.contains(active)) {
    QDBusConnection bus = QDBusConnection::systemBus();
    ActiveChanged(ReadActive(bus, session_path_, active_));
  }
}

}  // namespace tavlix::ui_qt
