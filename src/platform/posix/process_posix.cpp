#include <unistd.h>

#include "platform/process.h"

namespace tavlix::platform {

std::uint32_t ProcessId() {
  return static_cast<std::uint32_t>(::getpid());
}

}  // namespace tavlix::platform
