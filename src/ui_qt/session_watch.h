// Follows whether this logon session has the console: logind's "Active"
// property of the session over the system D-Bus. The session becoming
// inactive (another session took the seat) is reported as the console
// disconnect, becoming active again as the console connect. Without a system
// bus or without logind there is nothing to follow: no report, no error.
//
// Lives on the GUI thread; reports through the callback from its event loop.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariantMap>
#include <functional>

namespace tavlix::ui_qt {

// Reasons, numbered as the platform's session-switch notification numbers them.
inline constexpr int kConsoleConnect = 1;
inline constexpr int kConsoleDisconnect = 2;

class SessionWatch final : public QObject {
  Q_OBJECT
 public:
  using Callback = std::function<void(int reason)>;
  explicit SessionWatch(Callback callback, QObject* parent = nullptr);
  ~SessionWatch() override;

  // True when logind's session was found and is being followed.
  bool watching() const { return !session_path_.isEmpty(); }
  // Turns an "Active" value into a reason, reporting only changes.
  void ActiveChanged(bool active);

 private slots:
  void OnPropertiesChanged(const QString& interface_name, const QVariantMap& changed,
                           const QStringList& invalidated);

 private:
  Callback callback_;
  QString session_path_;
  bool active_ = true;
};

}  // namespace tavlix::ui_qt
