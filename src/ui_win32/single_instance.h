// One copy of the toolbar per logon session: the named mutex "tvconnect" in
// the session's own namespace, taken without waiting and held for the life of
// the object. The system releases it if the process dies. Any thread.
//
// A second start asks the running copy to show its toolbar: it posts the
// registered message kShowRequestName to the first copy's toolbar window
// (its class kToolbarClassName), found on this session's desktop.
#pragma once

#include "ui_win32/win32.h"

namespace tavlix::ui_win32 {

inline constexpr wchar_t kInstanceMutexName[] = L"Local\\tvconnect";
inline constexpr wchar_t kToolbarClassName[] = L"TavlixConnectToolbar";
inline constexpr wchar_t kShowRequestName[] = L"TavlixConnect.ShowToolbar";

class InstanceMutex {
 public:
  InstanceMutex();
  ~InstanceMutex();
  InstanceMutex(const InstanceMutex&) = delete;
  InstanceMutex& operator=(const InstanceMutex&) = delete;

  // false: another copy runs in this session (or no mutex could be made).
  bool held() const { return held_; }

 private:
  HANDLE mutex_;
  bool held_ = false;
};

// The registered message that asks the toolbar window to show itself.
UINT ShowRequestMessage();

// The second start's side: finds the running copy's toolbar window in this
// session, lets it come to the foreground and posts it the request. false
// when there is no such window (the first copy is still starting, or gone).
bool AskRunningCopyToShow();

}  // namespace tavlix::ui_win32
