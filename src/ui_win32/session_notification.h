// The session's console changes (WM_WTSSESSION_CHANGE) for one window, from
// wtsapi32.dll, which is loaded at run time from the system's folder only: it
// is no known library, so a copy planted beside the program would otherwise
// be loaded.
//
// UI thread only; the window must outlive the object or be unregistered
// first with Stop().
#pragma once

#include "ui_win32/win32.h"

namespace tavlix::ui_win32 {

class SessionNotification {
 public:
  SessionNotification() = default;
  ~SessionNotification();
  SessionNotification(const SessionNotification&) = delete;
  SessionNotification& operator=(const SessionNotification&) = delete;

  // Starts the notifications for `window` (this session only); false when the
  // library or the registration is not there (the toolbar runs without them).
  bool Start(HWND window);
  // Ends them; harmless when not started.
  void Stop();

 private:
  HMODULE library_ = nullptr;
  HWND window_ = nullptr;
};

}  // namespace tavlix::ui_win32
