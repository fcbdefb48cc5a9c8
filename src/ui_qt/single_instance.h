// One copy of the toolbar per user: the process lock "tvconnect" in the
// user's private runtime folder (platform/process_lock.h). The lock is held
// for the life of the returned object and released by the system if the
// process dies. Any thread.
//
// A second start asks the running copy to show its toolbar through a local
// socket beside the lock ("tvconnect.show"); the folder is the user's alone
// (mode 0700), so nobody else can ring it.
#pragma once

#include <QObject>
#include <filesystem>
#include <functional>
#include <memory>

#include "platform/process_lock.h"

class QLocalServer;

namespace tavlix::ui_qt {

inline constexpr const char* kInstanceLockName = "tvconnect";
inline constexpr const char* kToolbarProgramName = "TavlixConnect";
inline constexpr const char* kShowSocketName = "tvconnect.show";

// Takes the lock without waiting. held: this copy runs; taken: another copy
// runs; unavailable: there is no private folder for the lock, and the program
// must not start (two copies could run otherwise).
tavlix::platform::ProcessLock AcquireInstanceLock();
// The same in `folder` (tests).
tavlix::platform::ProcessLock AcquireInstanceLock(const std::filesystem::path& folder);

// The running copy's side, made by the lock's holder only: calls `show` on the
// GUI thread for every later start that rings. Listening replaces a socket a
// crashed copy left behind. GUI thread; needs the application object.
class ShowRequests final : public QObject {
  Q_OBJECT
 public:
  // nullptr when the socket cannot be made (the copy runs all the same; a
  // second start then only exits).
  static std::unique_ptr<ShowRequests> Listen(const std::filesystem::path& folder,
                                              std::function<void()> show);
  ~ShowRequests() override;

 private:
  explicit ShowRequests(std::function<void()> show);
  QLocalServer* server_;
  std::function<void()> show_;
};

// The second start's side: asks the copy that runs to show its toolbar and
// waits at most about a second for it to take the request. false when no copy
// answered. Needs no application object; any thread.
bool AskRunningCopyToShow(const std::filesystem::path& folder);

}  // namespace tavlix::ui_qt
