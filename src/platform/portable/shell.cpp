#include "platform/shell.h"

#include <mutex>

#include "platform/system_shell.h"

namespace tavlix::platform {
namespace {

std::mutex& HookMutex() {
  static std::mutex mutex;
  return mutex;
}
ShellOpenHook& Hook() {
  static ShellOpenHook hook;
  return hook;
}

}  // namespace

bool ShellOpen(const std::filesystem::path& path) {
  ShellOpenHook hook;
  {
    std::lock_guard lock(HookMutex());
    hook = Hook();
  }
  if (hook) return hook(path);
  return SystemShellOpen(path);
}

void SetShellOpenHook(ShellOpenHook hook) {
  std::lock_guard lock(HookMutex());
  Hook() = std::move(hook);
}

}  // namespace tavlix::platform
