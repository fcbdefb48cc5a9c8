#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <thread>

#include "platform/system_shell.h"

extern char** environ;  // NOLINT(readability-redundant-declaration)

namespace tavlix::platform {

bool SystemShellOpen(const std::filesystem::path& path) {
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

}  // namespace tavlix::platform
