#include "ui/single_instance.h"

namespace TavlixSoft {

tavlix::platform::ProcessLock AcquireInstanceLock() {
  return tavlix::platform::ProcessLock::TryTake(kInstanceLockName, kToolbarProgramName);
}

tavlix::platform::ProcessLock AcquireInstanceLock(const std::filesystem::path& folder) {
  return tavlix::platform::ProcessLock::TryTake(folder, kInstanceLockName, kToolbarProgramName);
}

}  // namespace TavlixSoft
