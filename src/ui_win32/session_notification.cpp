#include "ui_win32/session_notification.h"

#include <wtsapi32.h>

namespace tavlix::ui_win32 {
namespace {

using RegisterCall = BOOL(WINAPI*)(HWND, DWORD);
using UnregisterCall = BOOL(WINAPI*)(HWND);

template <typename Call>
Call Entry(HMODULE library, const char* name) {
  // The entry's own type, as the library's header declares it.
  return reinterpret_cast<Call>(reinterpret_cast<void*>(::GetProcAddress(library, name)));
}

}  // namespace

SessionNotification::~SessionNotification() {
  Stop();
  if (library_ != nullptr) ::FreeLibrary(library_);
}

bool SessionNotification::Start(HWND window) {
  Stop();
  if (library_ == nullptr)
    library_ = ::LoadLibraryExW(L"wtsapi32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  if (library_ == nullptr) return false;
  const auto start = Entry<RegisterCall>(library_, "WTSRegisterSessionNotification");
  if (start == nullptr || start(window, NOTIFY_FOR_THIS_SESSION) == FALSE) return false;
  window_ = window;
  return true;
}

void SessionNotification::Stop() {
  if (window_ == nullptr) return;
  if (const auto stop = Entry<UnregisterCall>(library_, "WTSUnRegisterSessionNotification")) stop(window_);
  window_ = nullptr;
}

}  // namespace tavlix::ui_win32
