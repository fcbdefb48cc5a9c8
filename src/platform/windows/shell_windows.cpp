#include "platform/system_shell.h"
// The shell's header needs <windows.h> before it.
// clang-format off
#include "platform/windows/unique_handle.h"
#include <shellapi.h>
// clang-format on

namespace tavlix::platform {

bool SystemShellOpen(const std::filesystem::path& path) {
  // The default verb: the file's viewer, or a window on the folder. The call
  // returns once the program is started; values above 32 mean success.
  const HINSTANCE started = ::ShellExecuteW(nullptr, nullptr, path.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  return reinterpret_cast<INT_PTR>(started) > 32;
}

}  // namespace tavlix::platform
