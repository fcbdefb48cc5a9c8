#include <unistd.h>

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

}  // namespace tavlix::platform
