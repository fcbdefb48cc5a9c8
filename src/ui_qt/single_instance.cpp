#include "ui_qt/single_instance.h"

namespace tavlix::ui_qt {

tavlix::platform::ProcessLock AcquireInstanceLock() {
  return tavlix::platform::ProcessLock::TryTake(kInstanceLockName, kToolbarProgramName);
}

tavlix::platform::ProcessLock AcquireInstanceLock(const std::filesystem::path& folder) {
  return tavlix::platform::ProcessLock::TryTake(folder, kInstanceLockName, kToolbarProgramName);
}

}  // namespace tavlix::ui_qt
