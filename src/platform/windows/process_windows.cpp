#include "platform/process.h"
#include "platform/windows/unique_handle.h"

namespace tavlix::platform {

std::uint32_t ProcessId() {
  return static_cast<std::uint32_t>(::GetCurrentProcessId());
}

}  // namespace tavlix::platform
