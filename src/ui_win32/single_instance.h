// One copy of the toolbar per logon session: the named mutex "tvconnect" in
// the session's own namespace, taken without waiting and held for the life of
// the object. The system releases it if the process dies. Any thread.
#pragma once

#include "ui_win32/win32.h"

namespace tavlix::ui_win32 {

inline constexpr wchar_t kInstanceMutexName[] = L"Local\\tvconnect";

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

}  // namespace tavlix::ui_win32
