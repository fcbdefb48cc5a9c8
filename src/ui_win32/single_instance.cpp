#include "ui_win32/single_instance.h"

namespace tavlix::ui_win32 {

InstanceMutex::InstanceMutex() : mutex_(::CreateMutexW(nullptr, FALSE, kInstanceMutexName)) {
  if (mutex_ == nullptr) return;
  const DWORD waited = ::WaitForSingleObject(mutex_, 0);
  // An abandoned mutex (its holder died) is ours now all the same.
  held_ = waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
}

InstanceMutex::~InstanceMutex() {
  if (mutex_ == nullptr) return;
  if (held_) ::ReleaseMutex(mutex_);
  ::CloseHandle(mutex_);
}

}  // namespace tavlix::ui_win32
