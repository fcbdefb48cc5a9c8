#include <unistd.h>

#include <system_error>

#include "platform/process.h"

namespace tavlix::platform {

// Libraries come from the loader's configured paths only.
void RestrictLibrarySearch() {}

std::uint32_t ProcessId() {
  return static_cast<std::uint32_t>(::getpid());
}

std::vector<std::string> ProcessArguments(int argc, char** argv) {
  if (argc < 1) return {};
  return std::vector<std::string>(argv + 1, argv + argc);
}

std::optional<std::filesystem::path> ProgramFolder() {
  std::error_code ec;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec || !self.is_absolute()) return std::nullopt;
  return self.parent_path();
}

}  // namespace tavlix::platform
