#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <mutex>
#include <thread>

#include "platform/shell.h"

extern char** environ;  // NOLINT(readability-redundant-declaration)

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

bool SpawnXdgOpen(const std::filesystem::path& path) {
  std::string program = "xdg-open";
  std::string target = path.string();
  char* argv[] = {program.data(), target.data(), nullptr};
  pid_t pid = 0;
  if (::posix_spawnp(&pid, "xdg-open", nullptr, nullptr, argv, environ) != 0) return false;
  // Reap the child in the background so it never lingers as a zombie.
  std::thread([pid] {
    int status = 0;
    ::waitpid(pid, &status, 0);
  }).detach();
  return true;
}

}  // namespace

bool ShellOpen(const std::filesystem::path& path) {
  ShellOpenHook hook;
  {
    std::lock_guard lock(HookMutex());
    hook = Hook();
  }
  if (hook) return hook(path);
  return SpawnXdgOpen(path);
}

void SetShellOpenHook(ShellOpenHook hook) {
  std::lock_guard lock(HookMutex());
  Hook() = std::move(hook);
}

}  // namespace tavlix::platform
