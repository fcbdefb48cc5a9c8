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

namespace tavlix::ui_win32 {

UINT ShowRequestMessage() {
  static const UINT message = ::RegisterWindowMessageW(kShowRequestName);
  return message;
}

bool AskRunningCopyToShow() {
  const UINT message = ShowRequestMessage();
  if (message == 0) return false;
  DWORD own_session = 0;
  ::ProcessIdToSessionId(::GetCurrentProcessId(), &own_session);
  // The class is this program's; the window is on this session's desktop,
  // and its process is checked to be in this session too.
  for (HWND window = ::FindWindowExW(nullptr, nullptr, kToolbarClassName, nullptr); window != nullptr;
       window = ::FindWindowExW(nullptr, window, kToolbarClassName, nullptr)) {
    DWORD process = 0;
    DWORD session = 0;
    ::GetWindowThreadProcessId(window, &process);
    if (process == 0 || ::ProcessIdToSessionId(process, &session) == FALSE || session != own_session)
      continue;
    // A started program may hand the foreground on; the first copy takes it.
    ::AllowSetForegroundWindow(process);
    return ::PostMessageW(window, message, 0, 0) != FALSE;
  }
  return false;
}

}  // namespace tavlix::ui_win32
