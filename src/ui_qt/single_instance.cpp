#include "ui_qt/single_instance.h"

#include <QLocalServer>
#include <QLocalSocket>

namespace tavlix::ui_qt {
namespace {

constexpr int kAnswerMilliseconds = 1000;
constexpr char kShowRequest[] = "show\n";

QString SocketPath(const std::filesystem::path& folder) {
  return QString::fromStdString((folder / kShowSocketName).string());
}

}  // namespace

tavlix::platform::ProcessLock AcquireInstanceLock() {
  return tavlix::platform::ProcessLock::TryTake(kInstanceLockName, kToolbarProgramName);
}

tavlix::platform::ProcessLock AcquireInstanceLock(const std::filesystem::path& folder) {
  return tavlix::platform::ProcessLock::TryTake(folder, kInstanceLockName, kToolbarProgramName);
}

ShowRequests::ShowRequests(std::function<void()> show)
    : server_(new QLocalServer(this)), show_(std::move(show)) {}

ShowRequests::~ShowRequests() = default;

std::unique_ptr<ShowRequests> ShowRequests::Listen(const std::filesystem::path& folder,
                                                   std::function<void()> show) {
  std::unique_ptr<ShowRequests> requests(new ShowRequests(std::move(show)));
  QLocalServer* server = requests->server_;
  server->setSocketOptions(QLocalServer::UserAccessOption);
  // Only the lock's holder gets here, so a socket already there is a dead copy's.
  QLocalServer::removeServer(SocketPath(folder));
  if (!server->listen(SocketPath(folder))) return nullptr;
  ShowRequests* self = requests.get();
  connect(server, &QLocalServer::newConnection, self, [self] {
    while (QLocalSocket* caller = self->server_->nextPendingConnection()) {
      connect(caller, &QLocalSocket::disconnected, caller, &QObject::deleteLater);
      const auto read = [self, caller] {
        // One line is the whole request; anything else is ignored.
        if (!caller->canReadLine()) return;
        if (caller->readLine(64) == kShowRequest) self->show_();
        caller->disconnectFromServer();
      };
      connect(caller, &QLocalSocket::readyRead, self, read);
      read();  // the line may have come with the connection
    }
  });
  return requests;
}

bool AskRunningCopyToShow(const std::filesystem::path& folder) {
  QLocalSocket socket;
  socket.connectToServer(SocketPath(folder));
  if (!socket.waitForConnected(kAnswerMilliseconds)) return false;
  socket.write(kShowRequest);
  const bool sent = socket.waitForBytesWritten(kAnswerMilliseconds);
  socket.disconnectFromServer();
  return sent;
}

}  // namespace tavlix::ui_qt
