// Keeps the system from asking the user about a drive (Windows backend only).
//
// Touching an empty card-reader slot or a removed medium makes Windows show a
// "no disk" box and stop the calling thread until somebody answers it; the
// worker thread polls the drives, so such a box would stop the board link.
// While the guard lives, the calling thread's drive errors fail the call
// instead. The previous mode is restored at the end.
#pragma once

#include "platform/windows/unique_handle.h"

namespace tavlix::platform {

class ScopedNoDriveErrorBoxes {
 public:
  ScopedNoDriveErrorBoxes() {
    if (!::SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &old_)) restore_ = false;
  }
  ~ScopedNoDriveErrorBoxes() {
    if (restore_) ::SetThreadErrorMode(old_, nullptr);
  }
  ScopedNoDriveErrorBoxes(const ScopedNoDriveErrorBoxes&) = delete;
  ScopedNoDriveErrorBoxes& operator=(const ScopedNoDriveErrorBoxes&) = delete;

 private:
  DWORD old_ = 0;
  bool restore_ = true;
};

}  // namespace tavlix::platform
