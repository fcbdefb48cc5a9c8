// The tray-less stand-in for balloons must match the notification service's
// Notify signature exactly, or the desktop drops it.
#include "ui_qt/desktop_notification.h"

#include <gtest/gtest.h>

namespace tavlix::ui_qt {
namespace {

TEST(DesktopNotification, NotifyCallHasTheServiceSignatureAndCarriesTheText) {
  const QDBusMessage call = MakeDesktopNotification(QStringLiteral("Image file saved."), 3000);
  EXPECT_EQ(call.service().toStdString(), "org.freedesktop.Notifications");
  EXPECT_EQ(call.path().toStdString(), "/org/freedesktop/Notifications");
  EXPECT_EQ(call.member().toStdString(), "Notify");
  // Notify(s app_name, u replaces_id, s app_icon, s summary, s body,
  //        as actions, a{sv} hints, i expire_timeout)
  const auto args = call.arguments();
  ASSERT_EQ(args.size(), 8);
  const int types[] = {QMetaType::QString, QMetaType::UInt,        QMetaType::QString,     QMetaType::QString,
                       QMetaType::QString, QMetaType::QStringList, QMetaType::QVariantMap, QMetaType::Int};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(args[i].metaType().id(), types[i]) << "argument " << i;
  EXPECT_EQ(args[4].toString().toStdString(), "Image file saved.");
  EXPECT_EQ(args[7].toInt(), 3000);
}

}  // namespace
}  // namespace tavlix::ui_qt
