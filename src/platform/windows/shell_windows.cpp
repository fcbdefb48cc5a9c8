#include "platform/system_shell.h"
// The shell's headers need <windows.h> before them.
// clang-format off
#include "platform/windows/unique_handle.h"
#include <objbase.h>
#include <shellapi.h>
// clang-format on

namespace tavlix::platform {

bool SystemShellOpen(const std::filesystem::path& path) {
  // The viewer a file opens in may be reached through COM, which wants the
  // calling thread in an apartment; the board link's worker has none of its
  // own, so it gets one for the call. A thread already in another apartment
  // keeps it.
  const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  // The default verb: the file's viewer, or a window on the folder. No error
  // box (a caller may be a thread nobody watches), and the call returns once
  // the program is started, not before: the thread has no message loop to
  // finish it later.
  // The shell reads a network share only with backslashes ("\\server\share",
  // never "//server/share").
  const std::filesystem::path shown = std::filesystem::path(path).make_preferred();
  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
  info.lpFile = shown.c_str();
  info.nShow = SW_SHOWNORMAL;
  const bool started = ::ShellExecuteExW(&info) != FALSE;
  if (SUCCEEDED(com)) ::CoUninitialize();
  return started;
}

}  // namespace tavlix::platform
