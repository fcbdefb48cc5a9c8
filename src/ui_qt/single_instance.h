// One copy of the toolbar per user: the process lock "tvconnect" in the
// user's private runtime folder (platform/process_lock.h). The lock is held
// for the life of the returned object and released by the system if the
// process dies. Any thread.
#pragma once

#include <filesystem>

#include "platform/process_lock.h"

namespace tavlix::ui_qt {

inline constexpr const char* kInstanceLockName = "tvconnect";
inline constexpr const char* kToolbarProgramName = "TavlixConnect";

// Takes the lock without waiting. held: this copy runs; taken: another copy
// runs; unavailable: there is no private folder for the lock, and the program
// must not start (two copies could run otherwise).
tavlix::platform::ProcessLock AcquireInstanceLock();
// The same in `folder` (tests).
tavlix::platform::ProcessLock AcquireInstanceLock(const std::filesystem::path& folder);

}  // namespace tavlix::ui_qt
